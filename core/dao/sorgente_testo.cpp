#include "core/dao/sorgente_testo.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "core/caratteri.h"
#include "core/dao/sorgente_comune.h"
#include "core/file_disco.h"
#include "core/testo.h"

namespace tarkpo::dao {

namespace fs = std::filesystem;

char DelimitatoreDaFormato(const std::string& formato) {
  if (UgualiSenzaMaiuscole(formato, "CSVDelimited")) return ',';
  if (UgualiSenzaMaiuscole(formato, "TabDelimited")) return '\t';
  constexpr std::string_view kDelimitato = "Delimited(";
  if (formato.size() == kDelimitato.size() + 2 &&
      UgualiSenzaMaiuscole(std::string_view(formato).substr(0, kDelimitato.size()), kDelimitato) &&
      formato.back() == ')')
    return formato[kDelimitato.size()];
  return 0;
}

namespace {

enum class Codifica { Automatica, Utf8, Cp1252 };

// A buffered reader of records: fields split on the delimiter, a field in double quotes
// may hold the delimiter and line breaks, "" inside it stands for one quote.
class LettoreRecord {
 public:
  LettoreRecord(const std::string& percorso, char delimitatore)
      : percorso_(percorso), delimitatore_(delimitatore) {
    const FileInLettura f = ApriFileOrdinario(percorso);
    if (f.NonOrdinario())
      throw ErroreDao(errori::kFormatoNonRiconosciuto,
                      "Impossibile leggere il file '" + percorso + "': non è un file ordinario.");
    if (f.fd >= 0) file_ = ::fdopen(f.fd, "rb");
    if (!file_) {
      const int errore = f.fd < 0 ? f.errore : errno;
      if (f.fd >= 0) ::close(f.fd);
      throw ErroreDao(errori::kFileNonTrovato,
                      "Impossibile aprire il file '" + percorso + "': " + std::strerror(errore));
    }
    letto_ = {percorso, f.impronta};
    buffer_.resize(1 << 16);
  }
  ~LettoreRecord() {
    if (file_) std::fclose(file_);
  }
  LettoreRecord(const LettoreRecord&) = delete;
  LettoreRecord& operator=(const LettoreRecord&) = delete;

  void Valida(ValidatoreUtf8* validatore) { validatore_ = validatore; }

  void SaltaBom() {
    if (Riempi() && fine_ - pos_ >= 3 && std::memcmp(&buffer_[pos_], "\xEF\xBB\xBF", 3) == 0)
      pos_ += 3;
  }

  // Reads the next record; false at the end of the file. Empty lines are skipped.
  bool Prossimo(std::vector<std::string>& campi) {
    int c = Get();
    while (c == '\r' || c == '\n') c = Get();
    if (c == EOF) return false;
    size_t n = 0;
    for (;;) {
      if (n == campi.size()) campi.emplace_back();
      std::string& campo = campi[n++];
      campo.clear();
      if (c == '"') {
        for (;;) {
          c = Get();
          if (c == EOF) {
            aperto_ = true;
            break;
          }
          if (c == '"') {
            c = Get();
            if (c != '"') break;
          }
          campo.push_back(static_cast<char>(c));
        }
      }
      while (c != EOF && c != delimitatore_ && c != '\n' && c != '\r') {
        campo.push_back(static_cast<char>(c));
        c = Get();
      }
      if (c != delimitatore_) break;
      c = Get();
    }
    if (c == '\r' && Guarda() == '\n') Get();
    campi.resize(n);
    return true;
  }

  // Whether the file ended inside a quoted field: a stray quote swallowed the rest of it.
  bool Aperto() const { return aperto_; }
  const std::string& Percorso() const { return percorso_; }
  // The file as it was opened.
  const FileLetto& Letto() const { return letto_; }

  // Passes the rest of the file through the validator.
  void ValidaResto() {
    while (validatore_ && Riempi()) pos_ = fine_;
  }

 private:
  bool Riempi() {
    if (pos_ < fine_) return true;
    if (!file_) return false;
    const size_t letti = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (letti == 0) {
      if (std::ferror(file_))
        throw ErroreDao(errori::kFormatoNonRiconosciuto,
                        "Errore di lettura del file '" + percorso_ + "'.");
      std::fclose(file_);
      file_ = nullptr;
      return false;
    }
    pos_ = 0, fine_ = letti;
    if (validatore_) validatore_->Aggiungi(std::string_view(buffer_.data(), letti));
    return true;
  }
  int Get() { return Riempi() ? static_cast<unsigned char>(buffer_[pos_++]) : EOF; }
  int Guarda() { return Riempi() ? static_cast<unsigned char>(buffer_[pos_]) : EOF; }

  std::string percorso_;
  char delimitatore_;
  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  size_t pos_ = 0, fine_ = 0;
  ValidatoreUtf8* validatore_ = nullptr;
  bool aperto_ = false;
  FileLetto letto_;
};

// Spaces and tabs around a value.
std::string_view SenzaBlanchi(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

std::optional<int32_t> LeggiLong(std::string_view t) {
  t = SenzaBlanchi(t);
  bool negativo = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negativo = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty() || t.size() > 10) return std::nullopt;
  int64_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (negativo) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

// A field as the plain number it holds under the regional settings. Grouped digits and a
// currency symbol leave it text, so that codes such as "10.200" stay as written; the
// engine's conversions still read "1.234,50" into a number field. A field that is not
// UTF-8 holds Windows-1252 (a blank around it may be a no-break space).
std::optional<double> LeggiDouble(std::string_view t, const ImpostazioniRegionali& regionali,
                                  std::optional<bool> utf8 = std::nullopt) {
  const bool ascii = std::all_of(t.begin(), t.end(), [](char c) { return (c & 0x80) == 0; });
  if (ascii || (utf8 ? *utf8 : IsUtf8Valido(t))) return regionali.ADoubleSemplice(t);
  return regionali.ADoubleSemplice(Cp1252AUtf8(t));
}

// "007": a number-looking code whose zeros must survive.
bool ZeroIniziale(std::string_view t, const ImpostazioniRegionali& regionali) {
  t = SenzaBlanchi(t);
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  return t.size() >= 2 && t[0] == '0' && t[1] >= '0' && t[1] <= '9' &&
         LeggiDouble(t, regionali).has_value();
}

// What the scanned values of one column allow.
struct Indovino {
  bool valori = false, lungo = true, doppio = true, data = true, zeri = false;

  void Osserva(std::string_view v, const ImpostazioniRegionali& regionali) {
    if (v.empty()) return;
    valori = true;
    if (zeri) return;
    if (ZeroIniziale(v, regionali)) {
      zeri = true;
      return;
    }
    if (lungo && !LeggiLong(v)) lungo = false;
    if (doppio && !lungo && !LeggiDouble(v, regionali)) doppio = false;
    if (data && !LeggiData(v)) data = false;
  }
  TipoValore Tipo() const {
    if (!valori || zeri) return TipoValore::Text;
    if (lungo) return TipoValore::Long;
    if (doppio) return TipoValore::Double;
    if (data) return TipoValore::Date;
    return TipoValore::Text;
  }
};

struct Voce {  // schema.ini settings of one file
  char delimitatore = 0;
  std::optional<bool> intestazione;
  std::optional<int> righeAnalizzate;
  Codifica codifica = Codifica::Automatica;
};

std::string_view Spazi(std::string_view t) {
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
  return t;
}

// schema.ini holds a few lines for each file of the folder; a megabyte is thousands of
// files' worth, and anything larger is not a settings file.
constexpr size_t kLimiteSchemaIni = size_t{1} << 20;

// The settings of schema.ini, and the file as it was read. One that cannot be opened gives
// no settings, as when there is none; one that is no ordinary file (a FIFO, a device), too
// large or changing while it is read is refused.
std::map<std::string, Voce> LeggiSchemaIni(const fs::path& percorso,
                                           std::optional<FileLetto>& letto) {
  std::map<std::string, Voce> voci;
  std::string contenuto;
  ImprontaFile impronta;
  const char* motivo = nullptr;
  switch (LeggiFileOrdinario(percorso, kLimiteSchemaIni, contenuto, &impronta)) {
    case EsitoLettura::Letto:
      break;
    case EsitoLettura::NonAperto:
      return voci;
    case EsitoLettura::NonOrdinario:
      motivo = "non è un file ordinario";
      break;
    case EsitoLettura::TroppoGrande:
      motivo = "è più grande di 1 MB";
      break;
    case EsitoLettura::ErroreLettura:
      motivo = "errore di lettura";
      break;
    case EsitoLettura::Cambiato:
      throw FileCambiato(percorso.string());
  }
  if (motivo)
    throw ErroreDao(errori::kFormatoNonRiconosciuto,
                    "Impossibile leggere il file '" + percorso.string() + "': " + motivo + ".");
  letto = FileLetto{percorso.string(), impronta};
  Voce* corrente = nullptr;
  size_t inizio = 0;
  while (inizio <= contenuto.size()) {
    size_t fine = contenuto.find('\n', inizio);
    if (fine == std::string::npos) fine = contenuto.size();
    std::string_view riga = Spazi(std::string_view(contenuto).substr(inizio, fine - inizio));
    inizio = fine + 1;
    if (riga.empty() || riga.front() == ';') continue;
    if (riga.front() == '[') {
      const size_t chiusa = riga.find(']');
      corrente =
          &voci[Minuscolo(Spazi(riga.substr(1, chiusa == riga.npos ? riga.npos : chiusa - 1)))];
      continue;
    }
    const size_t uguale = riga.find('=');
    if (!corrente || uguale == riga.npos) continue;
    const std::string chiave = Minuscolo(Spazi(riga.substr(0, uguale)));
    const std::string valore(Spazi(riga.substr(uguale + 1)));
    if (chiave == "format") {
      corrente->delimitatore = DelimitatoreDaFormato(valore);
    } else if (chiave == "colnameheader") {
      corrente->intestazione = UgualiSenzaMaiuscole(valore, "true");
    } else if (chiave == "maxscanrows") {
      if (auto v = LeggiLong(valore); v && *v >= 0) corrente->righeAnalizzate = *v;
    } else if (chiave == "characterset") {
      if (UgualiSenzaMaiuscole(valore, "ANSI") || valore == "1252")
        corrente->codifica = Codifica::Cp1252;
      else if (UgualiSenzaMaiuscole(valore, "UTF-8") || UgualiSenzaMaiuscole(valore, "UTF8") ||
               valore == "65001")
        corrente->codifica = Codifica::Utf8;
    }
  }
  return voci;
}

struct FileTesto {
  std::string percorso;
  char delimitatore;
  bool intestazione;
  bool utf8;
};

void Converti(std::string& destinazione, const std::string& grezzo, bool utf8) {
  destinazione.clear();
  if (utf8)
    destinazione = grezzo;
  else
    AggiungiCp1252(destinazione, grezzo);
}

class CursoreTesto : public CursoreSorgente {
 public:
  CursoreTesto(const FileTesto& file, const TabellaSorgente& tabella,
               const ImpostazioniRegionali& regionali, std::optional<FileLetto> schemaIni)
      : file_(file),
        lettore_(file.percorso, file.delimitatore),
        regionali_(regionali),
        schemaIni_(std::move(schemaIni)) {
    for (const auto& campo : tabella.campi) tipi_.push_back(campo.tipo);
    lettore_.SaltaBom();  // never data, whatever the encoding
    if (file_.intestazione) Prossimo();
  }

  bool Leggi(std::vector<Valore>& riga) override {
    if (!Prossimo()) return false;
    riga.resize(tipi_.size());
    for (size_t i = 0; i < tipi_.size(); ++i)
      riga[i] = i < campi_.size() ? Valore_(campi_[i], tipi_[i]) : Valore::Null();
    return true;
  }

 private:
  // The next record. A quote still open at the end of the file is an error: the rows it
  // swallowed would read as one, and the rest of the table as missing. At the end, and at
  // any error, the file and the settings it was read with must be as they were when it was
  // opened: a file rewritten meanwhile (an export starting again) reads cut short, or mixed.
  bool Prossimo() {
    bool letto = false;
    try {
      letto = lettore_.Prossimo(campi_);
    } catch (const ErroreDao&) {
      VerificaFile();
      throw;
    }
    if (!letto || lettore_.Aperto()) VerificaFile();
    if (lettore_.Aperto())
      throw ErroreDao(errori::kFormatoNonRiconosciuto,
                      "Virgolette non chiuse alla fine del file '" + lettore_.Percorso() + "'.");
    return letto;
  }

  Valore Valore_(const std::string& v, TipoValore tipo) {
    if (v.empty()) return Valore::Null();
    switch (tipo) {
      case TipoValore::Long:
        if (auto n = LeggiLong(v)) return Valore::Lungo(*n);
        return Valore::Null();
      case TipoValore::Double:
        if (auto d = LeggiDouble(v, regionali_, file_.utf8)) return Valore::Doppio(*d);
        return Valore::Null();
      case TipoValore::Date:
        if (auto d = LeggiData(v)) return Valore::Data(*d);
        return Valore::Null();
      default: {
        std::string testo;
        Converti(testo, v, file_.utf8);
        return Valore::Testo(std::move(testo));
      }
    }
  }

  void VerificaFile() const {
    VerificaInvariato(lettore_.Letto());
    if (schemaIni_) VerificaInvariato(*schemaIni_);
  }

  FileTesto file_;
  LettoreRecord lettore_;
  ImpostazioniRegionali regionali_;
  std::optional<FileLetto> schemaIni_;
  std::vector<TipoValore> tipi_;
  std::vector<std::string> campi_;
};

class SorgenteTesto : public Sorgente {
 public:
  SorgenteTesto(const std::string& cartella, const OpzioniTesto& opzioni)
      : regionali_(opzioni.regionali) {
    std::error_code ec;
    if (!fs::is_directory(cartella, ec))
      throw ErroreDao(errori::kFileNonTrovato,
                      "Impossibile trovare la cartella '" + cartella + "'.");
    std::map<std::string, Voce> schema;
    std::vector<fs::path> percorsi;
    for (const auto& voce : fs::directory_iterator(cartella, ec)) {
      const std::string nome = voce.path().filename().string();
      if (UgualiSenzaMaiuscole(nome, "schema.ini"))
        schema = LeggiSchemaIni(voce.path(), schemaIni_);
      const std::string estensione = Minuscolo(voce.path().extension().string());
      if ((estensione == ".csv" || estensione == ".txt" || estensione == ".tab" ||
           estensione == ".asc") &&
          voce.is_regular_file(ec))
        percorsi.push_back(voce.path());
    }
    if (ec)
      throw ErroreDao(errori::kFileNonTrovato,
                      "Impossibile leggere la cartella '" + cartella + "'.");
    std::sort(percorsi.begin(), percorsi.end());
    for (const auto& percorso : percorsi) {
      const auto trovata = schema.find(Minuscolo(percorso.filename().string()));
      Analizza(percorso, opzioni, trovata == schema.end() ? Voce{} : trovata->second);
    }
  }

  const std::vector<TabellaSorgente>& Tabelle() const override { return tabelle_; }

  std::unique_ptr<CursoreSorgente> Apri(const std::string& tabella) override {
    const size_t i = IndiceTabella(tabelle_, tabella);
    return std::make_unique<CursoreTesto>(file_[i], tabelle_[i], regionali_, schemaIni_);
  }

 private:
  // The first pass: field names, the column types from the scanned rows and the encoding
  // of the whole file.
  void Analizza(const fs::path& percorso, const OpzioniTesto& opzioni, const Voce& voce) {
    FileTesto file{percorso.string(), voce.delimitatore ? voce.delimitatore : opzioni.delimitatore,
                   voce.intestazione.value_or(opzioni.intestazione), true};
    const int daAnalizzare = voce.righeAnalizzate.value_or(opzioni.righeAnalizzate);
    ValidatoreUtf8 validatore;
    LettoreRecord lettore(file.percorso, file.delimitatore);
    if (voce.codifica == Codifica::Automatica) lettore.Valida(&validatore);
    lettore.SaltaBom();
    std::vector<std::string> campi, nomi;
    if (file.intestazione && lettore.Prossimo(campi)) nomi = campi;
    std::vector<Indovino> indovini(nomi.size());
    for (int righe = 0; daAnalizzare == 0 || righe < daAnalizzare; ++righe) {
      if (!lettore.Prossimo(campi)) break;
      if (campi.size() > indovini.size()) indovini.resize(campi.size());
      for (size_t i = 0; i < campi.size(); ++i) indovini[i].Osserva(campi[i], regionali_);
    }
    lettore.ValidaResto();
    file.utf8 = voce.codifica == Codifica::Automatica ? validatore.Valido()
                                                      : voce.codifica == Codifica::Utf8;

    TabellaSorgente tabella;
    std::string nome = percorso.filename().string();
    nome[nome.size() - percorso.extension().string().size()] = '#';
    tabella.nome = nome;
    for (size_t i = 0; i < indovini.size(); ++i) {
      CampoSorgente campo;
      if (i < nomi.size()) Converti(campo.nome, nomi[i], file.utf8);
      if (campo.nome.empty()) campo.nome = "F" + std::to_string(i + 1);
      campo.tipo = indovini[i].Tipo();
      tabella.campi.push_back(std::move(campo));
    }
    tabelle_.push_back(std::move(tabella));
    file_.push_back(std::move(file));
  }

  ImpostazioniRegionali regionali_;
  std::vector<TabellaSorgente> tabelle_;
  std::vector<FileTesto> file_;
  std::optional<FileLetto> schemaIni_;  // the settings read, when the folder has them
};

}  // namespace

std::unique_ptr<Sorgente> ApriSorgenteTesto(const std::string& cartella,
                                            const OpzioniTesto& opzioni) {
  return std::make_unique<SorgenteTesto>(cartella, opzioni);
}

}  // namespace tarkpo::dao
