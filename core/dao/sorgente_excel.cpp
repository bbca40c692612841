#include "core/dao/sorgente_excel.h"

#include <freexl.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/dao/sorgente_comune.h"
#include "core/regionali.h"

namespace tarkpo::dao {

namespace {

enum class Genere { Vuoto, Numero, Data, Testo };

struct Cella {
  Genere genere = Genere::Vuoto;
  double numero = 0;
  const char* testo = nullptr;
};

std::string TestoNumero(double v, char decimale) {
  return ImpostazioniRegionali(decimale).TestoDouble(v);
}

uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Whether the workbook stream begins with BOF and FILEPASS, the mark of an encrypted
// workbook. freexl gives the same answer (no handle, no error) for an encrypted workbook and
// for some it cannot read, so the mark is looked up in the compound file here.
bool ECifrata(const std::string& percorso) {
  std::ifstream f(percorso, std::ios::binary);
  unsigned char testa[512];
  if (!f.read(reinterpret_cast<char*>(testa), sizeof testa)) return false;
  const unsigned spostamento = Le16(testa + 0x1E);
  if (spostamento < 9 || spostamento > 12) return false;
  const size_t settore = size_t{1} << spostamento;
  auto leggi = [&](uint32_t indice, std::vector<unsigned char>& dati) {
    dati.resize(settore);
    f.clear();
    f.seekg(static_cast<std::streamoff>((static_cast<uint64_t>(indice) + 1) * settore));
    return static_cast<bool>(f.read(reinterpret_cast<char*>(dati.data()), settore));
  };
  std::vector<unsigned char> cartella, flusso;
  if (!leggi(Le32(testa + 0x30), cartella)) return false;
  for (size_t voce = 0; voce + 128 <= cartella.size(); voce += 128) {
    const unsigned char* v = cartella.data() + voce;
    const uint16_t lunghezza = Le16(v + 0x40);  // bytes of the UTF-16 name with its NUL
    std::string nome;
    for (size_t i = 0; i + 2 < lunghezza && i < 64; i += 2) nome.push_back(static_cast<char>(v[i]));
    if (v[0x42] != 2 || (nome != "Workbook" && nome != "Book")) continue;
    if (Le32(v + 0x78) < 4096 || !leggi(Le32(v + 0x74), flusso)) return false;
    const size_t dopoBof = 4 + size_t{Le16(flusso.data() + 2)};
    return Le16(flusso.data()) == 0x0809 && dopoBof + 2 <= flusso.size() &&
           Le16(flusso.data() + dopoBof) == 0x002F;
  }
  return false;
}

// The open workbook, shared by the source and its cursors; freexl reads one active sheet
// at a time.
class Cartella {
 public:
  explicit Cartella(const std::string& percorso) : percorso_(percorso) {
    const int esito = freexl_open(percorso.c_str(), &handle_);
    if (esito != FREEXL_OK) {
      handle_ = nullptr;
      ErroreFileDanneggiato(percorso, "codice " + std::to_string(esito));
    }
    if (!handle_) {
      if (ECifrata(percorso))
        throw ErroreDao(errori::kFileCifrato,
                        "Impossibile decrittografare il file '" + percorso +
                            "': la cartella di lavoro è protetta da password.");
      ErroreFileDanneggiato(percorso, "contenuto della cartella di lavoro non leggibile");
    }
  }
  ~Cartella() {
    if (handle_) freexl_close(handle_);
  }
  Cartella(const Cartella&) = delete;
  Cartella& operator=(const Cartella&) = delete;

  unsigned Fogli() const {
    unsigned n = 0;
    Verifica(freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &n));
    return n;
  }
  std::string NomeFoglio(unsigned foglio) const {
    const char* nome = nullptr;
    Verifica(freexl_get_worksheet_name(handle_, static_cast<unsigned short>(foglio), &nome));
    return nome ? nome : "";
  }
  void Seleziona(unsigned foglio) {
    if (attivo_ == static_cast<int>(foglio)) return;
    Verifica(freexl_select_active_worksheet(handle_, static_cast<unsigned short>(foglio)));
    attivo_ = static_cast<int>(foglio);
  }
  void Dimensioni(unsigned& righe, unsigned short& colonne) const {
    Verifica(freexl_worksheet_dimensions(handle_, &righe, &colonne));
  }
  Cella Leggi(unsigned riga, unsigned short colonna) const {
    FreeXL_CellValue v;
    Verifica(freexl_get_cell_value(handle_, riga, colonna, &v));
    switch (v.type) {
      case FREEXL_CELL_INT:
        return {Genere::Numero, static_cast<double>(v.value.int_value), nullptr};
      case FREEXL_CELL_DOUBLE:
        return {Genere::Numero, v.value.double_value, nullptr};
      case FREEXL_CELL_TEXT:
      case FREEXL_CELL_SST_TEXT:
        return {Genere::Testo, 0, v.value.text_value};
      case FREEXL_CELL_DATE:
      case FREEXL_CELL_DATETIME:
      case FREEXL_CELL_TIME:
        return {Genere::Data, 0, v.value.text_value};
      default:
        return {};  // empty cells and formulas, whose results freexl does not keep
    }
  }

 private:
  void Verifica(int esito) const {
    if (esito != FREEXL_OK) ErroreFileDanneggiato(percorso_, "codice " + std::to_string(esito));
  }

  std::string percorso_;
  const void* handle_ = nullptr;
  int attivo_ = -1;
};

struct Foglio {
  unsigned indice;
  unsigned righe;
  unsigned short colonne;
  unsigned primaRiga;
};

Valore ValoreCella(const Cella& c, TipoValore tipo, char decimale) {
  if (c.genere == Genere::Vuoto) return Valore::Null();
  switch (tipo) {
    case TipoValore::Double:
      return c.genere == Genere::Numero ? Valore::Doppio(c.numero) : Valore::Null();
    case TipoValore::Date:
      if (c.genere == Genere::Data)
        if (auto d = LeggiData(c.testo)) return Valore::Data(*d);
      return Valore::Null();
    default:
      if (c.genere == Genere::Numero) return Valore::Testo(TestoNumero(c.numero, decimale));
      return Valore::Testo(c.testo ? c.testo : "");
  }
}

class CursoreExcel : public CursoreSorgente {
 public:
  CursoreExcel(std::shared_ptr<Cartella> cartella, const Foglio& foglio,
               const TabellaSorgente& tabella, char decimale)
      : cartella_(std::move(cartella)),
        foglio_(foglio),
        riga_(foglio.primaRiga),
        decimale_(decimale) {
    for (const auto& campo : tabella.campi) tipi_.push_back(campo.tipo);
  }

  bool Leggi(std::vector<Valore>& riga) override {
    if (riga_ >= foglio_.righe) return false;
    cartella_->Seleziona(foglio_.indice);
    riga.resize(tipi_.size());
    for (unsigned short c = 0; c < tipi_.size(); ++c)
      riga[c] = ValoreCella(cartella_->Leggi(riga_, c), tipi_[c], decimale_);
    ++riga_;
    return true;
  }

 private:
  std::shared_ptr<Cartella> cartella_;
  Foglio foglio_;
  unsigned riga_;
  char decimale_;
  std::vector<TipoValore> tipi_;
};

class SorgenteExcel : public Sorgente {
 public:
  SorgenteExcel(const std::string& percorso, const OpzioniExcel& opzioni)
      : decimale_(opzioni.separatoreDecimale) {
    ControllaIntestazione(percorso);
    cartella_ = std::make_shared<Cartella>(percorso);
    const unsigned fogli = cartella_->Fogli();
    for (unsigned f = 0; f < fogli; ++f) Analizza(f, opzioni);
  }

  const std::vector<TabellaSorgente>& Tabelle() const override { return tabelle_; }

  std::unique_ptr<CursoreSorgente> Apri(const std::string& tabella) override {
    const size_t i = IndiceTabella(tabelle_, tabella);
    return std::make_unique<CursoreExcel>(cartella_, fogli_[i], tabelle_[i], decimale_);
  }

 private:
  static void ControllaIntestazione(const std::string& percorso) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(percorso, ec))
      throw ErroreDao(errori::kFileNonTrovato, "Impossibile trovare il file '" + percorso + "'.");
    std::ifstream f(percorso, std::ios::binary);
    char firma[8] = {};
    f.read(firma, sizeof firma);
    if (!f || std::memcmp(firma, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0 ||
        std::filesystem::file_size(percorso, ec) < 1024)
      ErroreFileDanneggiato(percorso, "non è una cartella di lavoro di Excel 97-2003");
  }

  // Field names and column types; the type is guessed over every row of the sheet.
  void Analizza(unsigned indice, const OpzioniExcel& opzioni) {
    std::string nome = cartella_->NomeFoglio(indice) + "$";
    if (nome.find(' ') != std::string::npos) nome = "'" + nome + "'";
    Foglio foglio{indice, 0, 0, opzioni.intestazione ? 1u : 0u};
    cartella_->Seleziona(indice);
    cartella_->Dimensioni(foglio.righe, foglio.colonne);

    TabellaSorgente tabella{nome, 0, {}};
    for (unsigned short c = 0; c < foglio.colonne; ++c) {
      CampoSorgente campo;
      if (opzioni.intestazione && foglio.righe > 0) {
        const Cella cella = cartella_->Leggi(0, c);
        if (cella.genere == Genere::Numero)
          campo.nome = TestoNumero(cella.numero, decimale_);
        else if (cella.testo)
          campo.nome = cella.testo;
      }
      if (campo.nome.empty()) campo.nome = "F" + std::to_string(c + 1);
      std::array<unsigned, 4> conta{};
      for (unsigned r = foglio.primaRiga; r < foglio.righe; ++r)
        ++conta[static_cast<int>(cartella_->Leggi(r, c).genere)];
      campo.tipo = TipoColonna(conta, opzioni.imex);
      tabella.campi.push_back(std::move(campo));
    }
    tabelle_.push_back(std::move(tabella));
    fogli_.push_back(foglio);
  }

  // The kind that most cells hold (text on a tie); under IMEX=1 any mix is text.
  static TipoValore TipoColonna(const std::array<unsigned, 4>& conta, bool imex) {
    const unsigned numeri = conta[1], date = conta[2], testi = conta[3];
    const int generi = (numeri > 0) + (date > 0) + (testi > 0);
    if (generi == 0 || (imex && generi > 1)) return TipoValore::Text;
    if (testi >= numeri && testi >= date) return TipoValore::Text;
    return numeri >= date ? TipoValore::Double : TipoValore::Date;
  }

  char decimale_;
  std::shared_ptr<Cartella> cartella_;
  std::vector<TabellaSorgente> tabelle_;
  std::vector<Foglio> fogli_;
};

}  // namespace

std::unique_ptr<Sorgente> ApriSorgenteExcel(const std::string& percorso,
                                            const OpzioniExcel& opzioni) {
  return std::make_unique<SorgenteExcel>(percorso, opzioni);
}

}  // namespace tarkpo::dao
