#include "core/dao/sorgente_access.h"

#include <unistd.h>

// libmdb's header needs these first.
#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/dao/sorgente_comune.h"
#include "core/file_disco.h"
#include "core/regionali.h"
#include "core/testo.h"

namespace tarkpo::dao {

namespace {

constexpr int32_t kOggettoDiSistema = static_cast<int32_t>(0x80000002u);
// Memo values are read whole up to this size; a longer one raises rather than being cut.
constexpr size_t kDimensioneMemo = 4u << 20;

struct Intestazione {
  std::string password;  // UTF-8
  size_t pagina = 4096;
};

void Rc4(const unsigned char* chiave, size_t lunghezzaChiave, unsigned char* dati, size_t n) {
  unsigned char s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + chiave[i % lunghezzaChiave]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  for (size_t k = 0, i = 0, j = 0; k < n; ++k) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    dati[k] ^= s[(s[i] + s[j]) & 0xFF];
  }
}

// Checks that the file is a whole Jet database and reads its password from the header
// page: 128 bytes at 0x18 RC4-encoded; in Jet 4 the password is UTF-16 masked with the
// creation date, in Jet 3 plain 8-bit text.
Intestazione LeggiIntestazione(const std::string& percorso) {
  const auto file = Impronta(percorso);
  if (!file)
    throw ErroreDao(errori::kFileNonTrovato, "Impossibile trovare il file '" + percorso + "'.");
  const auto dimensione = static_cast<uint64_t>(file->lunghezza);
  unsigned char pagina[0x18 + 128] = {};
  const std::string inizio = InizioFile(percorso, sizeof pagina);
  std::memcpy(pagina, inizio.data(), inizio.size());
  if (inizio.size() != sizeof pagina || (std::memcmp(pagina + 4, "Standard Jet DB", 15) != 0 &&
                                         std::memcmp(pagina + 4, "Standard ACE DB", 15) != 0))
    ErroreFileDanneggiato(percorso, "non è un database di Access");
  Intestazione intestazione;
  const bool jet3 = pagina[0x14] == 0;
  intestazione.pagina = jet3 ? 2048 : 4096;
  // A database is made of whole pages; the catalog lives on the third.
  if (dimensione % intestazione.pagina != 0 || dimensione < 3 * intestazione.pagina)
    ErroreFileDanneggiato(percorso, "file troncato");

  static const unsigned char kChiave[] = {0xC7, 0xDA, 0x39, 0x6B};
  unsigned char* d = pagina + 0x18;
  Rc4(kChiave, sizeof kChiave, d, 128);
  if (jet3) {
    size_t n = 0;
    while (n < 20 && d[0x42 - 0x18 + n]) ++n;
    intestazione.password =
        Cp1252AUtf8(std::string_view(reinterpret_cast<const char*>(d + 0x42 - 0x18), n));
    return intestazione;
  }
  double data;
  std::memcpy(&data, d + 0x72 - 0x18, sizeof data);
  const uint32_t maschera = data > -2147483648.0 && data < 2147483648.0
                                ? static_cast<uint32_t>(static_cast<int32_t>(data))
                                : 0;
  unsigned char chiaro[40];
  for (int i = 0; i < 40; ++i)
    chiaro[i] =
        static_cast<unsigned char>(d[0x42 - 0x18 + i] ^ ((maschera >> (8 * (i % 4))) & 0xFF));
  // A damaged header can hold half a surrogate pair, which has no UTF-8 form.
  std::u16string unita;
  for (int i = 0; i + 1 < 40; i += 2) {
    const char16_t u = static_cast<char16_t>(chiaro[i] | (chiaro[i + 1] << 8));
    if (u == 0) break;
    unita.push_back(u);
  }
  intestazione.password = Utf16AUtf8(unita);
  return intestazione;
}

struct ChiudiMdb {
  void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using HandleMdb = std::unique_ptr<MdbHandle, ChiudiMdb>;

struct LiberaTabella {
  void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TabellaMdb = std::unique_ptr<MdbTableDef, LiberaTabella>;

// The database, opened only when it is an ordinary file: libmdb would wait for ever on a
// FIFO. `letto`, when given, receives the file as it was opened.
HandleMdb ApriMdb(const std::string& percorso, FileLetto* letto = nullptr) {
  const FileInLettura f = ApriFileOrdinario(percorso);
  if (f.NonOrdinario()) ErroreFileDanneggiato(percorso, "non è un file ordinario");
  if (f.fd < 0)
    throw ErroreDao(errori::kFileNonTrovato, "Impossibile trovare il file '" + percorso + "'.");
  // libmdb opens the very file looked at, through its descriptor; it looks a name up along
  // $MDBPATH, and loops on an empty entry there.
  unsetenv("MDBPATH");
  std::string nome = "/proc/self/fd/" + std::to_string(f.fd);
  // Without /proc mounted, the path itself, which named an ordinary file a moment ago.
  if (::access(nome.c_str(), F_OK) != 0) nome = std::filesystem::absolute(percorso).string();
  HandleMdb mdb(mdb_open(nome.c_str(), MDB_NOFLAGS));
  ::close(f.fd);
  if (!mdb) ErroreFileDanneggiato(percorso, "impossibile leggere il database");
  mdb_set_bind_size(mdb.get(), kDimensioneMemo);
  if (letto) *letto = {percorso, f.impronta};
  return mdb;
}

// A table of the catalog, as much as libmdb needs to read it.
struct VoceCatalogo {
  std::string nome;
  uint32_t pagina = 0;
  int32_t flags = 0;
};

using VoceMdb = std::unique_ptr<MdbCatalogEntry>;

VoceMdb NuovaVoce(MdbHandle* mdb, const VoceCatalogo& v) {
  VoceMdb voce(new MdbCatalogEntry{});
  voce->mdb = mdb;
  std::strncpy(voce->object_name, v.nome.c_str(), MDB_MAX_OBJ_NAME);
  voce->object_type = MDB_TABLE;
  voce->table_pg = v.pagina;
  voce->flags = v.flags;
  return voce;
}

// The bits above the offset of a row slot: 0x4000 alone marks a slot that only points to
// where its row moved (mdb_fetch_row skips those), 0x8000 alone the row such a pointer leads
// to, both a deleted row.
constexpr int kMascheraPosizioneRiga = 0x1FFF;
constexpr int kPuntatoreRiga = 0x4000;
constexpr int kRigaSpostataQui = 0x8000;

// The null mask and the raw values of row `riga` of the page in the handle's buffer. A row
// stored before columns were added to its table holds fewer of them: libmdb marks the
// missing ones Null.
bool RigaDellaPagina(MdbTableDef* t, int riga, MdbField* campi) {
  int inizio = 0;
  size_t dimensione = 0;
  return t->num_cols <= MDB_MAX_COLS &&
         mdb_find_row(t->entry->mdb, riga, &inizio, &dimensione) == 0 &&
         mdb_crack_row(t, inizio & kMascheraPosizioneRiga, dimensione, campi) >= 0;
}

// The row that mdb_fetch_row has just read.
bool RigaCorrente(MdbTableDef* t, MdbField* campi) {
  return RigaDellaPagina(t, static_cast<int>(t->cur_row) - 1, campi);
}

// The slot word of row `riga` of the page in the handle's buffer.
int SlotRiga(MdbHandle* mdb, int riga) {
  return mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset + 2 + 2 * riga);
}
int RigheDellaPagina(MdbHandle* mdb) {
  return mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
}

template <typename T>
T Grezzo(const MdbField& campo) {
  T v{};
  if (campo.value && campo.siz >= static_cast<int>(sizeof v))
    std::memcpy(&v, campo.value, sizeof v);
  return v;
}

std::string TestoGrezzo(MdbHandle* mdb, const MdbField& campo) {
  char testo[4 * 256 + 4];
  const int n = campo.siz > 0
                    ? mdb_unicode2ascii(mdb, static_cast<char*>(campo.value),
                                        static_cast<size_t>(campo.siz), testo, sizeof testo)
                    : 0;
  return std::string(testo, static_cast<size_t>(std::clamp(n, 0, static_cast<int>(sizeof testo))));
}

// The tables listed in MSysObjects (its table definition is on page 2). libmdb's own
// catalog reader also decodes every object's properties, and loops for ever on a damaged
// property record: the catalog is read here without them.
std::vector<VoceCatalogo> LeggiCatalogo(MdbHandle* mdb, const std::string& percorso) {
  const VoceMdb voce = NuovaVoce(mdb, {"MSysObjects", 2, 0});
  TabellaMdb t(mdb_read_table(voce.get()));
  if (!t || !mdb_read_columns(t.get())) ErroreFileDanneggiato(percorso, "catalogo illeggibile");
  int id = -1, nome = -1, tipo = -1, flags = -1;
  for (unsigned c = 0; c < t->num_cols; ++c) {
    const std::string_view n = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, c))->name;
    const int i = static_cast<int>(c);
    if (UgualiSenzaMaiuscole(n, "Id")) id = i;
    if (UgualiSenzaMaiuscole(n, "Name")) nome = i;
    if (UgualiSenzaMaiuscole(n, "Type")) tipo = i;
    if (UgualiSenzaMaiuscole(n, "Flags")) flags = i;
  }
  if (id < 0 || nome < 0 || tipo < 0) ErroreFileDanneggiato(percorso, "catalogo illeggibile");
  std::vector<VoceCatalogo> voci;
  MdbField campi[MDB_MAX_COLS];
  mdb_rewind_table(t.get());
  while (mdb_fetch_row(t.get())) {
    if (!RigaCorrente(t.get(), campi)) ErroreFileDanneggiato(percorso, "catalogo illeggibile");
    if (campi[nome].is_null || campi[tipo].is_null || campi[id].is_null) continue;
    if ((Grezzo<int16_t>(campi[tipo]) & 0x7F) != MDB_TABLE) continue;
    VoceCatalogo v{TestoGrezzo(mdb, campi[nome]),
                   static_cast<uint32_t>(Grezzo<int32_t>(campi[id])) & 0x00FFFFFFu,
                   flags >= 0 && !campi[flags].is_null ? Grezzo<int32_t>(campi[flags]) : 0};
    if (!v.nome.empty()) voci.push_back(std::move(v));
  }
  return voci;
}

TipoValore TipoCampo(int tipoMdb) {
  switch (tipoMdb) {
    case MDB_BOOL:
      return TipoValore::Boolean;
    case MDB_BYTE:
      return TipoValore::Byte;
    case MDB_INT:
      return TipoValore::Integer;
    case MDB_LONGINT:
      return TipoValore::Long;
    case MDB_MONEY:
      return TipoValore::Currency;
    case MDB_FLOAT:
      return TipoValore::Single;
    case MDB_DOUBLE:
    case MDB_NUMERIC:
      return TipoValore::Double;
    case MDB_DATETIME:
      return TipoValore::Date;
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
      return TipoValore::Text;
    default:
      return TipoValore::Null;  // OLE objects and binary data are not read
  }
}

class CursoreAccess : public CursoreSorgente {
 public:
  CursoreAccess(const std::string& percorso, const VoceCatalogo& tabella)
      : percorso_(percorso),
        mdb_(ApriMdb(percorso, &letto_)),
        voce_(NuovaVoce(mdb_.get(), tabella)) {
    tabella_.reset(mdb_read_table(voce_.get()));
    if (!tabella_ || !mdb_read_columns(tabella_.get()))
      ErroreFileDanneggiato(percorso, "tabella '" + tabella.nome + "' illeggibile");
    const unsigned colonne = tabella_->num_cols;
    if (colonne > MDB_MAX_COLS) ErroreFileDanneggiato(percorso, "troppe colonne");
    memo_.resize(colonne);
    lunghezze_.resize(colonne);
    for (unsigned c = 0; c < colonne; ++c) {
      auto* colonna = static_cast<MdbColumn*>(g_ptr_array_index(tabella_->columns, c));
      if (colonna->col_type != MDB_MEMO) continue;
      memo_[c] = std::make_unique_for_overwrite<char[]>(kDimensioneMemo);
      mdb_bind_column(tabella_.get(), static_cast<int>(c + 1), memo_[c].get(), &lunghezze_[c]);
    }
    mdb_rewind_table(tabella_.get());
  }

  // Past the last row, and at any error, the file must be the one opened, as it was: one
  // written meanwhile may have given rows of two versions, or pages that no longer fit.
  bool Leggi(std::vector<Valore>& riga) override {
    bool letta = false;
    try {
      letta = LeggiRiga(riga);
    } catch (const ErroreDao&) {
      VerificaInvariato(letto_);
      throw;
    }
    if (!letta) VerificaInvariato(letto_);
    return letta;
  }

 private:
  // Rows in the table's order, slot by slot of its data pages: a row that grew and moved to
  // another page is read where its slot stands, through the pointer the slot holds, and
  // skipped where it now lies.
  bool LeggiRiga(std::vector<Valore>& riga) {
    MdbTableDef* t = tabella_.get();
    MdbHandle* mdb = t->entry->mdb;
    for (;;) {
      if (pagina_ == 0 || slot_ >= RigheDellaPagina(mdb)) {
        if (!mdb_read_next_dpg(t)) return false;
        pagina_ = t->cur_phys_pg;
        slot_ = 0;
        continue;
      }
      int numero = slot_++;
      int parola = SlotRiga(mdb, numero);
      if ((parola & kRigaSpostataQui) != 0) continue;
      // A pointer leads to the row on its page (or, moved again, to another pointer).
      for (int passi = 0; (parola & kPuntatoreRiga) != 0; ++passi) {
        const int posizione = parola & kMascheraPosizioneRiga;
        if (passi == 8 || posizione + 4 > mdb->fmt->pg_size)
          ErroreFileDanneggiato(percorso_, "riga spostata illeggibile");
        const uint32_t pagina = mdb->pg_buf[posizione + 1] | (mdb->pg_buf[posizione + 2] << 8) |
                                (static_cast<uint32_t>(mdb->pg_buf[posizione + 3]) << 16);
        numero = mdb->pg_buf[posizione];
        if (mdb_read_pg(mdb, pagina) != mdb->fmt->pg_size || mdb->pg_buf[0] != MDB_PAGE_DATA ||
            numero >= RigheDellaPagina(mdb))
          ErroreFileDanneggiato(percorso_, "riga spostata illeggibile");
        parola = SlotRiga(mdb, numero);
      }
      // A row libmdb cannot read is skipped, as mdb_fetch_row skips it; the bound values do
      // not tell Null from "": the row's null mask does.
      MdbField campi[MDB_MAX_COLS];
      const bool letta = mdb_read_row(t, static_cast<unsigned>(numero)) != 0;
      if (letta) {
        if (!RigaDellaPagina(t, numero, campi))
          ErroreFileDanneggiato(percorso_, "riga illeggibile");
        riga.resize(t->num_cols);
        for (unsigned c = 0; c < t->num_cols; ++c)
          riga[c] =
              Valore_(*static_cast<MdbColumn*>(g_ptr_array_index(t->columns, c)), campi[c], c);
      }
      // The values are read: the page of the slots comes back into the buffer.
      if (mdb->cur_pg != pagina_ && mdb_read_pg(mdb, pagina_) != mdb->fmt->pg_size)
        ErroreFileDanneggiato(percorso_, "pagina illeggibile");
      if (letta) return true;
    }
  }

  Valore Valore_(const MdbColumn& colonna, const MdbField& campo, unsigned c) {
    // A Boolean lives in the null mask itself: a set bit is True.
    if (colonna.col_type == MDB_BOOL) return Valore::Booleano(!campo.is_null);
    if (campo.is_null) return Valore::Null();
    switch (colonna.col_type) {
      case MDB_BYTE:
        return Valore::Byte(Grezzo<uint8_t>(campo));
      case MDB_INT:
        return Valore::Intero(Grezzo<int16_t>(campo));
      case MDB_LONGINT:
        return Valore::Lungo(Grezzo<int32_t>(campo));
      case MDB_MONEY:
        return Valore::Valuta(Grezzo<int64_t>(campo));
      case MDB_FLOAT:
        return Valore::Singolo(Grezzo<float>(campo));
      case MDB_DOUBLE:
        return Valore::Doppio(Grezzo<double>(campo));
      case MDB_DATETIME:
        return Valore::Data(Grezzo<double>(campo));
      case MDB_NUMERIC: {
        char* testo =
            mdb_numeric_to_string(mdb_.get(), campo.start, colonna.col_scale, colonna.col_prec);
        // The library writes the digits with '.' itself, not through the locale.
        const auto v = testo ? ImpostazioniRegionali('.').ADouble(testo) : std::nullopt;
        g_free(testo);
        return v ? Valore::Doppio(*v) : Valore::Null();
      }
      case MDB_TEXT:
        return Valore::Testo(TestoGrezzo(mdb_.get(), campo));
      case MDB_MEMO: {
        const size_t n = static_cast<size_t>(std::max(lunghezze_[c], 0));
        if (n + 1 >= kDimensioneMemo)
          throw ErroreDao(errori::kValoreTroppoLungo,
                          std::string("Il campo Memo '") + colonna.name + "' è troppo lungo.");
        return Valore::Testo(std::string(memo_[c].get(), n));
      }
      case MDB_REPID: {
        if (campo.siz < 16) return Valore::Null();
        char* testo = mdb_uuid_to_string(campo.value, 0);
        Valore v = Valore::Testo(testo ? testo : "");
        g_free(testo);
        return v;
      }
      default:
        return Valore::Null();
    }
  }

  std::string percorso_;
  FileLetto letto_;  // before mdb_, which fills it
  HandleMdb mdb_;
  VoceMdb voce_;  // the table definition points at it
  TabellaMdb tabella_;
  std::vector<std::unique_ptr<char[]>> memo_;
  std::vector<int> lunghezze_;
  uint32_t pagina_ = 0;  // the data page whose slots are read, 0 before the first
  int slot_ = 0;         // the next slot of that page
};

class SorgenteAccess : public Sorgente {
 public:
  explicit SorgenteAccess(const std::string& percorso) : percorso_(percorso) {
    HandleMdb mdb = ApriMdb(percorso);
    catalogo_ = LeggiCatalogo(mdb.get(), percorso);
    for (const auto& v : catalogo_) {
      const VoceMdb voce = NuovaVoce(mdb.get(), v);
      TabellaSorgente tabella{v.nome, v.flags, {}};
      if (mdb_is_system_table(voce.get())) tabella.attributi |= kOggettoDiSistema;
      TabellaMdb t(mdb_read_table(voce.get()));
      if (!t || !mdb_read_columns(t.get()))
        ErroreFileDanneggiato(percorso, "tabella '" + v.nome + "' illeggibile");
      for (unsigned c = 0; c < t->num_cols; ++c) {
        auto* colonna = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, c));
        tabella.campi.push_back({colonna->name, TipoCampo(colonna->col_type)});
      }
      tabelle_.push_back(std::move(tabella));
    }
  }

  const std::vector<TabellaSorgente>& Tabelle() const override { return tabelle_; }

  std::unique_ptr<CursoreSorgente> Apri(const std::string& tabella) override {
    // Each cursor has its own handle: libmdb keeps the current page in the handle.
    return std::make_unique<CursoreAccess>(percorso_, catalogo_[IndiceTabella(tabelle_, tabella)]);
  }

 private:
  std::string percorso_;
  std::vector<VoceCatalogo> catalogo_;  // one per table, in the same order
  std::vector<TabellaSorgente> tabelle_;
};

}  // namespace

std::string PasswordDatabaseAccess(const std::string& percorso) {
  return LeggiIntestazione(percorso).password;
}

std::unique_ptr<Sorgente> ApriSorgenteAccess(const std::string& percorso,
                                             const std::string& password) {
  const Intestazione intestazione = LeggiIntestazione(percorso);
  if (!intestazione.password.empty() && intestazione.password != password)
    throw ErroreDao(errori::kPasswordNonValida, "Password non valida.");
  return std::make_unique<SorgenteAccess>(percorso);
}

}  // namespace tarkpo::dao
