#include "core/dao/apri_sorgente.h"

#include <charconv>
#include <filesystem>
#include <map>

#include "core/caratteri.h"
#include "core/dao/dao.h"
#include "core/dao/errore.h"
#include "core/dao/sorgente_access.h"
#include "core/dao/sorgente_comune.h"
#include "core/dao/sorgente_excel.h"
#include "core/dao/sorgente_testo.h"
#include "core/regionali.h"

namespace tarkpo::dao {

namespace {

constexpr int kIsamMancante = 3170;
constexpr int kRigheAnalizzatePredefinite = 25;

// "Excel 8.0;HDR=Yes; IMEX=1;": the kind before the first ";", then "key=value" options
// with their keys in lower case. ";PWD=..." has an empty kind.
struct Connect {
  std::string tipo;
  std::map<std::string, std::string> opzioni;
};

Connect LeggiConnect(const std::string& connect) {
  Connect c;
  size_t inizio = 0;
  bool primo = true;
  while (inizio <= connect.size()) {
    size_t fine = connect.find(';', inizio);
    if (fine == std::string::npos) fine = connect.size();
    // Values keep their blanks: a password compares exactly.
    const std::string_view parte = std::string_view(connect).substr(inizio, fine - inizio);
    inizio = fine + 1;
    const size_t uguale = parte.find('=');
    if (primo && uguale == std::string_view::npos) {
      c.tipo = Minuscolo(SenzaSpazi(parte));
    } else if (uguale != std::string_view::npos) {
      c.opzioni[Minuscolo(SenzaSpazi(parte.substr(0, uguale)))] =
          std::string(parte.substr(uguale + 1));
    }
    primo = false;
  }
  return c;
}

// HDR: Yes unless the option says otherwise.
bool Intestazione(const Connect& c) {
  const auto hdr = c.opzioni.find("hdr");
  return hdr == c.opzioni.end() || !UgualiSenzaMaiuscole(SenzaSpazi(hdr->second), "No");
}

OpzioniTesto OpzioniDelTesto(const DBEngine& motore, const Connect& c) {
  OpzioniTesto opzioni;
  opzioni.intestazione = Intestazione(c);
  const auto formato = motore.LeggiImpostazione("Text", "Format");
  const char delimitatore = formato ? DelimitatoreDaFormato(*formato) : 0;
  opzioni.delimitatore = delimitatore ? delimitatore : ',';
  opzioni.righeAnalizzate = kRigheAnalizzatePredefinite;
  if (const auto righe = motore.LeggiImpostazione("Text", "MaxScanRows")) {
    // An unreadable value leaves the default.
    const std::string_view testo = SenzaSpazi(*righe);
    int n = -1;
    std::from_chars(testo.data(), testo.data() + testo.size(), n);
    if (n >= 0) opzioni.righeAnalizzate = n;
  }
  opzioni.regionali = Regionali();
  return opzioni;
}

}  // namespace

std::unique_ptr<Sorgente> ApriSorgenteEsterna(const DBEngine& motore, const std::string& percorso,
                                              const std::string& connect) {
  const Connect c = LeggiConnect(connect);
  std::error_code ec;
  if (c.tipo == "text") {
    if (!std::filesystem::is_directory(percorso, ec))
      throw ErroreDao(errori::kFileNonTrovato,
                      "'" + percorso +
                          "' non è una cartella: una sorgente di testo è la "
                          "cartella dei suoi file.");
    return ApriSorgenteTesto(percorso, OpzioniDelTesto(motore, c));
  }
  if (c.tipo == "excel 8.0") {
    OpzioniExcel opzioni;
    opzioni.intestazione = Intestazione(c);
    const auto imex = c.opzioni.find("imex");
    opzioni.imex = imex != c.opzioni.end() && SenzaSpazi(imex->second) == "1";
    opzioni.regionali = Regionali();
    return ApriSorgenteExcel(percorso, opzioni);
  }
  if (c.tipo.empty() || c.tipo.rfind("access", 0) == 0) {
    if (std::filesystem::is_directory(percorso, ec))
      ErroreFileDanneggiato(percorso, "è una cartella");
    const auto pwd = c.opzioni.find("pwd");
    // The Access reader checks the file's header: a SQLite file never reaches here.
    return ApriSorgenteAccess(percorso, pwd == c.opzioni.end() ? "" : pwd->second);
  }
  throw ErroreDao(kIsamMancante, "Impossibile trovare un ISAM installabile.");
}

}  // namespace tarkpo::dao
