// The keyed recordset over a SQLite table: it holds the rowids of its rows from the moment it
// opens, reads a row when a field of it is read, and writes through prepared statements.
// FindFirst/FindNext use an in-memory index per searched column, kept current by AddNew,
// Edit and Delete, so that a search costs no pass over the table.
#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "core/dao/conversioni.h"
#include "core/dao/interno.h"
#include "core/file_disco.h"

namespace tarkpo::dao {

namespace {

// The index of one column: for each value, the positions (into the key list) of the live
// rows holding it, in ascending order. An open-addressing table over compact entries, short
// values held inline, so that a search touches two or three cache lines however large the
// table grows; most values sit in one row and need no list of their own.
class Indice {
 public:
  void Riserva(size_t valori) {
    voci_.reserve(valori);
    size_t n = 16;
    while (n < valori * 2) n *= 2;
    if (n > slot_.size()) Ridistribuisci(n);
  }

  void Metti(std::string_view chiave, uint32_t pos) {
    const uint32_t i = TrovaOCrea(chiave);
    Voce& v = voci_[i];
    if (v.altre == kNessuna) {
      if (v.uno == kNessuna) {
        v.uno = pos;
        return;
      }
      v.altre = NuovaLista();
      liste_[v.altre].push_back(v.uno);
      v.uno = kNessuna;
    }
    auto& lista = liste_[v.altre];
    if (lista.back() < pos)
      lista.push_back(pos);
    else
      lista.insert(std::lower_bound(lista.begin(), lista.end(), pos), pos);
  }

  void Togli(std::string_view chiave, uint32_t pos) {
    const int64_t i = Trova(chiave);
    if (i < 0) return;
    Voce& v = voci_[static_cast<size_t>(i)];
    if (v.altre == kNessuna) {
      if (v.uno == pos) v.uno = kNessuna;
      return;
    }
    auto& lista = liste_[v.altre];
    auto p = std::lower_bound(lista.begin(), lista.end(), pos);
    if (p != lista.end() && *p == pos) lista.erase(p);
    if (lista.size() == 1) {
      v.uno = lista[0];
      lista.clear();
      liberi_.push_back(v.altre);
      v.altre = kNessuna;
    }
  }

  // The first position holding the value, or the first after `dopo`.
  std::optional<uint32_t> Prima(std::string_view chiave, std::optional<uint32_t> dopo) const {
    const int64_t i = Trova(chiave);
    if (i < 0) return std::nullopt;
    const Voce& v = voci_[static_cast<size_t>(i)];
    if (v.altre == kNessuna) {
      if (v.uno == kNessuna || (dopo && v.uno <= *dopo)) return std::nullopt;
      return v.uno;
    }
    const auto& lista = liste_[v.altre];
    auto p = dopo ? std::upper_bound(lista.begin(), lista.end(), *dopo) : lista.begin();
    if (p == lista.end()) return std::nullopt;
    return *p;
  }

 private:
  static constexpr uint32_t kNessuna = UINT32_MAX;
  static constexpr uint32_t kCorta = 16;

  struct Voce {
    uint32_t hash = 0;
    uint32_t lunghezza = 0;
    union {
      char corta[kCorta];  // a value of up to kCorta bytes
      uint64_t offset;     // else its place in testi_
    };
    uint32_t uno = kNessuna;    // the only position, while altre is kNessuna
    uint32_t altre = kNessuna;  // else the list of every position in liste_
  };

  static uint32_t Hash(std::string_view s) {
    return static_cast<uint32_t>(std::hash<std::string_view>{}(s));
  }
  std::string_view Testo(const Voce& v) const {
    return v.lunghezza <= kCorta ? std::string_view(v.corta, v.lunghezza)
                                 : std::string_view(testi_.data() + v.offset, v.lunghezza);
  }

  // A slot holds the hash (high half) and the entry's index plus one (low half); 0 is free.
  int64_t Trova(std::string_view chiave) const {
    if (slot_.empty()) return -1;
    const uint32_t h = Hash(chiave);
    const size_t maschera = slot_.size() - 1;
    for (size_t i = h & maschera;; i = (i + 1) & maschera) {
      const uint64_t s = slot_[i];
      if (s == 0) return -1;
      if (static_cast<uint32_t>(s >> 32) == h) {
        const uint32_t voce = static_cast<uint32_t>(s) - 1;
        if (Testo(voci_[voce]) == chiave) return voce;
      }
    }
  }

  uint32_t TrovaOCrea(std::string_view chiave) {
    if ((voci_.size() + 1) * 2 > slot_.size())
      Ridistribuisci(std::max<size_t>(16, slot_.size() * 2));
    const uint32_t h = Hash(chiave);
    const size_t maschera = slot_.size() - 1;
    size_t i = h & maschera;
    for (;; i = (i + 1) & maschera) {
      const uint64_t s = slot_[i];
      if (s == 0) break;
      if (static_cast<uint32_t>(s >> 32) == h) {
        const uint32_t voce = static_cast<uint32_t>(s) - 1;
        if (Testo(voci_[voce]) == chiave) return voce;
      }
    }
    Voce v;
    v.hash = h;
    v.lunghezza = static_cast<uint32_t>(chiave.size());
    if (chiave.size() <= kCorta) {
      std::memcpy(v.corta, chiave.data(), chiave.size());
    } else {
      v.offset = testi_.size();
      testi_.append(chiave);
    }
    voci_.push_back(v);
    const uint32_t indice = static_cast<uint32_t>(voci_.size() - 1);
    slot_[i] = (static_cast<uint64_t>(h) << 32) | (indice + 1);
    return indice;
  }

  void Ridistribuisci(size_t n) {
    slot_.assign(n, 0);
    const size_t maschera = n - 1;
    for (uint32_t k = 0; k < voci_.size(); ++k) {
      size_t i = voci_[k].hash & maschera;
      while (slot_[i] != 0) i = (i + 1) & maschera;
      slot_[i] = (static_cast<uint64_t>(voci_[k].hash) << 32) | (k + 1);
    }
  }

  uint32_t NuovaLista() {
    if (!liberi_.empty()) {
      uint32_t l = liberi_.back();
      liberi_.pop_back();
      return l;
    }
    liste_.emplace_back();
    return static_cast<uint32_t>(liste_.size() - 1);
  }

  std::vector<uint64_t> slot_;
  std::vector<Voce> voci_;
  std::string testi_;
  std::vector<std::vector<uint32_t>> liste_;
  std::vector<uint32_t> liberi_;
};

// What a recordset and its clones share.
struct DatiDynaset {
  std::shared_ptr<InfoTabella> info;
  // Rowids in ascending order; a deleted row keeps its place, flagged.
  std::vector<int64_t> chiavi;
  std::vector<uint8_t> eliminato;
  uint32_t vivi = 0;
  uint64_t versione = 0;  // grows with every write, so cached rows know they are stale
  std::unordered_map<int, Indice> indici;
  // A source, as it was when its rows were listed: SQLite's count of the commits other
  // connections made to it, and the file (a file put in its place is not seen by that count).
  struct Stato {
    int64_t commit = 0;
    std::optional<ImprontaFile> file;
    bool operator==(const Stato&) const = default;
  };
  std::optional<Stato> sorgente;
};

DatiDynaset::Stato StatoSorgente(Connessione& conn) {
  sqlite3_stmt* st = conn.Prepara("PRAGMA data_version");
  if (sqlite3_step(st) != SQLITE_ROW) conn.Errore(sqlite3_extended_errcode(conn.Db()));
  DatiDynaset::Stato stato{sqlite3_column_int64(st, 0), Impronta(conn.Percorso())};
  sqlite3_reset(st);
  return stato;
}

// The index key of a value in column `campo`; false for Null, which matches nothing.
bool ChiaveIndice(const Valore& v, const FieldDef& campo, std::string& chiave) {
  if (v.IsNull() || v.IsEmpty()) return false;
  if (campo.Type() == TipoValore::Text) {
    chiave = v.Tipo() == TipoValore::Text ? v.Stringa() : ATesto(v);
    return true;
  }
  double d;
  try {
    d = ADouble(v);
  } catch (const ErroreDao&) {
    return false;
  }
  if (d == 0) d = 0;  // -0 and 0 are one key
  chiave.assign(reinterpret_cast<const char*>(&d), sizeof d);
  return true;
}

std::shared_ptr<DatiDynaset> CaricaDati(Connessione& conn, std::shared_ptr<InfoTabella> info) {
  auto dati = std::make_shared<DatiDynaset>();
  dati->info = std::move(info);
  if (conn.sorgente) dati->sorgente = StatoSorgente(conn);
  sqlite3_stmt* st = conn.Prepara("SELECT rowid FROM " + dati->info->sqlNome + " ORDER BY rowid");
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) dati->chiavi.push_back(sqlite3_column_int64(st, 0));
  sqlite3_reset(st);
  if (rc != SQLITE_DONE) conn.Errore(rc, dati->info->nome);
  dati->eliminato.assign(dati->chiavi.size(), 0);
  dati->vivi = static_cast<uint32_t>(dati->chiavi.size());
  return dati;
}

class RecordsetTabella : public Recordset {
 public:
  RecordsetTabella(std::shared_ptr<Connessione> conn, std::shared_ptr<DatiDynaset> dati,
                   std::shared_ptr<bool> aperto)
      : conn_(std::move(conn)), dati_(std::move(dati)), aperto_(std::move(aperto)) {
    info_ = dati_->info.get();
    VaiAlPrimo();
  }

  bool Eof() const override {
    Attivo();
    return stato_ == Stato::Eof || dati_->vivi == 0;
  }
  bool Bof() const override {
    Attivo();
    return stato_ == Stato::Bof || dati_->vivi == 0;
  }
  void MoveFirst() override {
    Attivo();
    Abbandona();
    if (dati_->vivi == 0) NessunRecord();
    VaiAlPrimo();
  }
  void MoveLast() override {
    Attivo();
    Abbandona();
    if (dati_->vivi == 0) NessunRecord();
    for (size_t p = dati_->chiavi.size(); p-- > 0;) {
      if (!dati_->eliminato[p]) {
        Posiziona(p);
        return;
      }
    }
  }
  void MoveNext() override {
    Attivo();
    Abbandona();
    if (stato_ == Stato::Eof || dati_->vivi == 0) NessunRecord();
    size_t p = stato_ == Stato::Bof ? 0 : pos_ + 1;
    while (p < dati_->chiavi.size() && dati_->eliminato[p]) ++p;
    if (p < dati_->chiavi.size()) {
      Posiziona(p);
      return;
    }
    stato_ = Stato::Eof;
    // Past the last row of a source, its rows must all have come from the database as it
    // was listed: another program's commit in between, or another file put in its place,
    // may have given rows of two versions, or none of those added meanwhile.
    if (dati_->sorgente && StatoSorgente(*conn_) != *dati_->sorgente)
      throw FileCambiato(conn_->Percorso());
  }
  int32_t RecordCount() const override {
    Attivo();
    return static_cast<int32_t>(dati_->vivi);
  }

  bool Updatable() const override { return !conn_->SolaLettura(); }

  void AddNew() override {
    Attivo();
    Scrivibile();
    Abbandona();
    buffer_ = info_->predefiniti;
    modificato_.assign(buffer_.size(), 0);
    if (info_->contatore >= 0)
      buffer_[static_cast<size_t>(info_->contatore)] =
          Valore::Lungo(conn_->ProssimoContatore(*info_));
    modo_ = Modo::Nuovo;
  }

  void Edit() override {
    Attivo();
    Scrivibile();
    Abbandona();
    CaricaTutta();
    buffer_ = riga_;
    modificato_.assign(buffer_.size(), 0);
    modo_ = Modo::Modifica;
  }

  void Update() override {
    Attivo();
    if (modo_ == Modo::Nuovo)
      Inserisci();
    else if (modo_ == Modo::Modifica)
      Aggiorna();
    else
      throw ErroreDao(errori::kUpdateSenzaAddNewEdit, "Update senza AddNew o Edit");
  }

  void CancelUpdate() override { Abbandona(); }

  void Delete() override {
    Attivo();
    Scrivibile();
    Abbandona();
    if (!dati_->indici.empty())
      CaricaTutta();  // the indexes need the values it held
    else
      RigaCorrente();
    if (!info_->elimina) info_->elimina = conn_->Prepara(info_->sqlElimina);
    sqlite3_stmt* st = info_->elimina;
    sqlite3_bind_int64(st, 1, dati_->chiavi[pos_]);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) conn_->Errore(sqlite3_extended_errcode(conn_->Db()), info_->nome);
    std::string chiave;
    for (auto& [colonna, indice] : dati_->indici)
      if (ChiaveIndice(riga_[static_cast<size_t>(colonna)],
                       info_->campi[static_cast<size_t>(colonna)], chiave))
        indice.Togli(chiave, static_cast<uint32_t>(pos_));
    dati_->eliminato[pos_] = 1;
    --dati_->vivi;
    ++dati_->versione;
  }

  void FindFirst(std::string_view criterio) override { Cerca(criterio, true); }
  void FindNext(std::string_view criterio) override { Cerca(criterio, false); }
  bool NoMatch() const override { return noMatch_; }

  void Requery() override {
    Attivo();
    Abbandona();
    dati_ = CaricaDati(*conn_, dati_->info);
    cacheValida_ = false;
    inCorsa_ = false;
    VaiAlPrimo();
  }

  std::unique_ptr<Recordset> Clone() override {
    Attivo();
    return std::make_unique<RecordsetTabella>(conn_, dati_, aperto_);
  }

  ~RecordsetTabella() override { sqlite3_finalize(lettore_); }

  void Close() override {
    sqlite3_finalize(lettore_);
    lettore_ = nullptr;
    inCorsa_ = false;
    cacheValida_ = false;
    chiuso_ = true;
    modo_ = Modo::Nessuno;
    dati_.reset();
    conn_.reset();
  }

 protected:
  const std::vector<FieldDef>& CampiDef() const override { return info_->campi; }

  const Valore& ValoreCampo(int indice) override {
    Attivo();
    if (modo_ != Modo::Nessuno) return buffer_[static_cast<size_t>(indice)];
    Posizionati();
    return Colonna(static_cast<size_t>(indice));
  }

  void ImpostaCampo(int indice, const Valore& valore) override {
    Attivo();
    const size_t i = static_cast<size_t>(indice);
    const FieldDef& campo = info_->campi[i];
    if (modo_ == Modo::Nessuno)
      throw ErroreDao(errori::kUpdateSenzaAddNewEdit, "Update senza AddNew o Edit");
    if (campo.Contatore())
      throw ErroreDao(errori::kCampoNonAggiornabile,
                      "Il campo \"" + campo.Name() + "\" non può essere aggiornato");
    Valore nuovo;
    if (valore.Tipo() == campo.Type() || valore.IsNull()) {
      nuovo = valore;
    } else {
      try {
        nuovo = ConvertiA(valore, campo.Type());
      } catch (const ErroreDao& e) {
        throw ErroreDao(e.Numero(), e.Descrizione() + " nel campo \"" + campo.Name() + "\"");
      }
    }
    if (nuovo.IsEmpty()) nuovo = Valore::Null();
    if (campo.Size() > 0 && nuovo.Tipo() == TipoValore::Text) {
      const std::string& t = nuovo.Stringa();
      if (t.size() > static_cast<size_t>(campo.Size()) &&
          CaratteriUtf8(t) > static_cast<size_t>(campo.Size()))
        throw ErroreDao(errori::kValoreTroppoLungo,
                        "Il valore è troppo lungo per il campo \"" + campo.Name() +
                            "\" (al massimo " + std::to_string(campo.Size()) + " caratteri)");
    }
    buffer_[i] = std::move(nuovo);
    modificato_[i] = 1;
  }

 private:
  enum class Stato { Bof, Riga, Eof };
  enum class Modo { Nessuno, Nuovo, Modifica };

  [[noreturn]] static void NessunRecord() {
    throw ErroreDao(errori::kNessunRecordCorrente, "Nessun record corrente");
  }

  void Attivo() const {
    if (chiuso_ || !*aperto_) ErroreChiuso();
  }
  void Scrivibile() const {
    if (conn_->SolaLettura())
      throw ErroreDao(errori::kSolaLettura,
                      "Il database \"" + conn_->Percorso() + "\" è di sola lettura");
  }
  // Pending changes go at the next move, AddNew, Edit or Close.
  void Abbandona() { modo_ = Modo::Nessuno; }

  void Posiziona(size_t p) {
    pos_ = p;
    stato_ = Stato::Riga;
  }
  void VaiAlPrimo() {
    size_t p = 0;
    while (p < dati_->chiavi.size() && dati_->eliminato[p]) ++p;
    if (p < dati_->chiavi.size())
      Posiziona(p);
    else
      stato_ = Stato::Eof;
  }

  void RigaCorrente() const {
    if (stato_ != Stato::Riga) NessunRecord();
    if (dati_->eliminato[pos_])
      throw ErroreDao(errori::kRecordEliminato, "Il record è stato eliminato");
  }

  // Puts the reader on the current row; its columns are converted when first read. Moving
  // on row by row steps the same statement instead of seeking each row afresh.
  void Posizionati() {
    RigaCorrente();
    if (cacheValida_ && cachePos_ == pos_ && cacheVersione_ == dati_->versione) return;
    const int64_t obiettivo = dati_->chiavi[pos_];
    const int colonnaRowid = static_cast<int>(info_->campi.size());
    if (!lettore_) {
      const std::string sql = info_->sqlLeggiDa;
      int rc = sqlite3_prepare_v3(conn_->Db(), sql.c_str(), static_cast<int>(sql.size()),
                                  SQLITE_PREPARE_PERSISTENT, &lettore_, nullptr);
      if (rc != SQLITE_OK) conn_->Errore(rc, info_->nome);
    }
    bool trovato = false;
    if (inCorsa_ && versioneLettore_ == dati_->versione && rowidLettore_ < obiettivo) {
      for (int passi = 0; passi < 16 && rowidLettore_ < obiettivo; ++passi) {
        if (sqlite3_step(lettore_) != SQLITE_ROW) {
          inCorsa_ = false;
          break;
        }
        rowidLettore_ = sqlite3_column_int64(lettore_, colonnaRowid);
      }
      trovato = inCorsa_ && rowidLettore_ == obiettivo;
    }
    if (!trovato) {
      sqlite3_reset(lettore_);
      sqlite3_bind_int64(lettore_, 1, obiettivo);
      int rc = sqlite3_step(lettore_);
      inCorsa_ = rc == SQLITE_ROW;
      if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        conn_->Errore(sqlite3_extended_errcode(conn_->Db()), info_->nome);
      if (inCorsa_) rowidLettore_ = sqlite3_column_int64(lettore_, colonnaRowid);
      if (!inCorsa_ || rowidLettore_ != obiettivo) {
        cacheValida_ = false;
        throw ErroreDao(errori::kRecordEliminato, "Il record è stato eliminato");
      }
    }
    versioneLettore_ = dati_->versione;
    riga_.resize(info_->campi.size());
    pronto_.assign(info_->campi.size(), 0);
    cacheValida_ = true;
    cachePos_ = pos_;
    cacheVersione_ = dati_->versione;
    // A source read through shared locks holds none between two reads, so that another
    // program can commit while a preview stands on a row.
    if (conn_->SolaLettura() && !conn_->immutabile) {
      for (size_t i = 0; i < riga_.size(); ++i) Colonna(i);
      sqlite3_reset(lettore_);
      inCorsa_ = false;
    }
  }

  const Valore& Colonna(size_t i) {
    if (!pronto_[i]) {
      riga_[i] = LeggiColonna(lettore_, static_cast<int>(i), info_->campi[i]);
      pronto_[i] = 1;
    }
    return riga_[i];
  }

  void CaricaTutta() {
    Posizionati();
    for (size_t i = 0; i < riga_.size(); ++i) Colonna(i);
  }

  void Inserisci() {
    if (!info_->inserisci) info_->inserisci = conn_->Prepara(info_->sqlInserisci);
    sqlite3_stmt* st = info_->inserisci;
    for (size_t i = 0; i < buffer_.size(); ++i) LegaValore(st, static_cast<int>(i + 1), buffer_[i]);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    // A refused row leaves the table as it was and stays pending.
    if (rc != SQLITE_DONE) conn_->Errore(sqlite3_extended_errcode(conn_->Db()), info_->nome);
    const uint32_t pos = static_cast<uint32_t>(dati_->chiavi.size());
    dati_->chiavi.push_back(sqlite3_last_insert_rowid(conn_->Db()));
    dati_->eliminato.push_back(0);
    ++dati_->vivi;
    ++dati_->versione;
    std::string chiave;
    for (auto& [colonna, indice] : dati_->indici)
      if (ChiaveIndice(buffer_[static_cast<size_t>(colonna)],
                       info_->campi[static_cast<size_t>(colonna)], chiave))
        indice.Metti(chiave, pos);
    modo_ = Modo::Nessuno;
  }

  void Aggiorna() {
    RigaCorrente();
    std::vector<int> cambiati;
    for (size_t i = 0; i < modificato_.size(); ++i)
      if (modificato_[i]) cambiati.push_back(static_cast<int>(i));
    if (cambiati.empty()) {
      modo_ = Modo::Nessuno;
      return;
    }
    auto [it, nuovo] = info_->aggiorna.try_emplace(cambiati, nullptr);
    if (nuovo) {
      std::string sql = "UPDATE " + info_->sqlNome + " SET ";
      for (size_t k = 0; k < cambiati.size(); ++k)
        sql += (k ? ", " : "") +
               IdentificatoreSql(info_->campi[static_cast<size_t>(cambiati[k])].Name()) + "=?";
      try {
        it->second = conn_->Prepara(sql + " WHERE rowid=?");
      } catch (...) {
        info_->aggiorna.erase(it);
        throw;
      }
    }
    sqlite3_stmt* st = it->second;
    for (size_t k = 0; k < cambiati.size(); ++k)
      LegaValore(st, static_cast<int>(k + 1), buffer_[static_cast<size_t>(cambiati[k])]);
    sqlite3_bind_int64(st, static_cast<int>(cambiati.size() + 1), dati_->chiavi[pos_]);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) conn_->Errore(sqlite3_extended_errcode(conn_->Db()), info_->nome);
    std::string prima, dopo;
    for (auto& [colonna, indice] : dati_->indici) {
      const size_t c = static_cast<size_t>(colonna);
      if (!modificato_[c]) continue;
      if (ChiaveIndice(riga_[c], info_->campi[c], prima))
        indice.Togli(prima, static_cast<uint32_t>(pos_));
      if (ChiaveIndice(buffer_[c], info_->campi[c], dopo))
        indice.Metti(dopo, static_cast<uint32_t>(pos_));
    }
    ++dati_->versione;
    riga_.swap(buffer_);
    pronto_.assign(riga_.size(), 1);
    cacheVersione_ = dati_->versione;
    modo_ = Modo::Nessuno;
  }

  Indice& IndiceDi(int colonna) {
    auto it = dati_->indici.find(colonna);
    if (it != dati_->indici.end()) return it->second;
    Indice indice;
    indice.Riserva(dati_->vivi);
    const FieldDef& campo = info_->campi[static_cast<size_t>(colonna)];
    sqlite3_stmt* st = conn_->Prepara("SELECT rowid, " + IdentificatoreSql(campo.Name()) +
                                      " FROM " + info_->sqlNome + " ORDER BY rowid");
    const auto& chiavi = dati_->chiavi;
    const auto& eliminato = dati_->eliminato;
    size_t p = 0;
    std::string chiave;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      const int64_t rowid = sqlite3_column_int64(st, 0);
      while (p < chiavi.size() && (chiavi[p] < rowid || (chiavi[p] == rowid && eliminato[p]))) ++p;
      if (p == chiavi.size()) break;
      if (chiavi[p] != rowid) continue;  // a row this recordset does not hold
      if (ChiaveIndice(LeggiColonna(st, 1, campo), campo, chiave))
        indice.Metti(chiave, static_cast<uint32_t>(p));
    }
    sqlite3_reset(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) conn_->Errore(rc, info_->nome);
    return dati_->indici.emplace(colonna, std::move(indice)).first->second;
  }

  void Cerca(std::string_view criterio, bool primo) {
    Attivo();
    Abbandona();
    CriterioAnalizzato c = AnalizzaCriterio(criterio);
    int colonna = IndiceCampo(c.colonna);
    if (colonna < 0)
      throw ErroreDao(errori::kCampoSconosciuto, "Campo \"" + c.colonna + "\" sconosciuto");
    const FieldDef& campo = info_->campi[static_cast<size_t>(colonna)];
    std::string chiave;
    if (campo.Type() == TipoValore::Text) {
      chiave = c.testo;
    } else {
      Valore v = Valore::Doppio(c.numero);
      if (!c.numerico) {
        try {
          v = campo.Type() == TipoValore::Boolean
                  ? Valore::Booleano(ABoolean(Valore::Testo(c.testo)))
                  : Valore::Doppio(ADouble(Valore::Testo(c.testo)));
        } catch (const ErroreDao&) {
          throw ErroreDao(errori::kTipoNelCriterio,
                          "Tipo di dati non corrispondente nel criterio: " + std::string(criterio));
        }
      }
      ChiaveIndice(v, campo, chiave);
    }
    const Indice& indice = IndiceDi(colonna);
    noMatch_ = true;
    std::optional<uint32_t> dopo;
    if (!primo) {
      if (stato_ == Stato::Eof) return;
      if (stato_ == Stato::Riga) dopo = static_cast<uint32_t>(pos_);
    }
    auto p = indice.Prima(chiave, dopo);
    if (!p) return;
    Posiziona(*p);
    noMatch_ = false;
  }

  std::shared_ptr<Connessione> conn_;
  std::shared_ptr<DatiDynaset> dati_;
  std::shared_ptr<bool> aperto_;
  InfoTabella* info_;
  Stato stato_ = Stato::Bof;
  size_t pos_ = 0;
  Modo modo_ = Modo::Nessuno;
  std::vector<Valore> riga_, buffer_;
  std::vector<uint8_t> modificato_;
  std::vector<uint8_t> pronto_;  // columns of riga_ already read from the reader
  sqlite3_stmt* lettore_ = nullptr;
  bool inCorsa_ = false;  // the reader stands on a row
  int64_t rowidLettore_ = 0;
  uint64_t versioneLettore_ = 0;
  bool cacheValida_ = false;
  size_t cachePos_ = 0;
  uint64_t cacheVersione_ = 0;
  bool noMatch_ = true;
  bool chiuso_ = false;
};

}  // namespace

std::unique_ptr<Recordset> NuovoRecordsetTabella(std::shared_ptr<Connessione> connessione,
                                                 std::shared_ptr<InfoTabella> tabella,
                                                 std::shared_ptr<bool> databaseAperto) {
  auto dati = CaricaDati(*connessione, std::move(tabella));
  return std::make_unique<RecordsetTabella>(std::move(connessione), std::move(dati),
                                            std::move(databaseAperto));
}

}  // namespace tarkpo::dao
