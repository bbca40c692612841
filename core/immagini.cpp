#include "core/immagini.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/caratteri.h"
#include "core/percorsi.h"
#include "core/testo.h"

namespace fs = std::filesystem;

namespace tarkpo {

namespace {

// One look at a file: its length when it is a file that a listing finds (an ordinary file,
// not hidden by a leading dot), nothing otherwise. A repeated import looks at every picture
// and its work copy, so each is looked at once.
std::optional<uintmax_t> LunghezzaFileOrdinario(const std::string& percorso) {
  struct stat info {};
  if (percorso.empty() || ::stat(percorso.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  const auto barra = percorso.rfind('/');
  if (percorso[barra == std::string::npos ? 0 : barra + 1] == '.') return std::nullopt;
  return static_cast<uintmax_t>(info.st_size);
}

// The picture file Windows would open for the path as written, with its length; empty when
// none is found.
std::string FileSuDisco(const std::string& percorso, std::optional<uintmax_t>& lunghezza,
                        ElenchiCartelle* elenchi = nullptr) {
  lunghezza = LunghezzaFileOrdinario(percorso);
  if (lunghezza) return percorso;
  std::string file = elenchi ? PercorsoSuDisco(percorso, *elenchi) : PercorsoSuDisco(percorso);
  lunghezza = LunghezzaFileOrdinario(file);
  return lunghezza ? file : "";
}

// The text after the last "." (the whole path without one), trimmed, is JPG, JPEG, GIF or
// BMP in any case.
bool EstensioneAccettata(const std::string& percorso) {
  const auto punto = percorso.rfind('.');
  std::string estensione(
      SenzaSpazi(punto == std::string::npos ? percorso : percorso.substr(punto + 1)));
  std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return estensione == "JPG" || estensione == "JPEG" || estensione == "GIF" || estensione == "BMP";
}

// Whether the work copy exists with the length of the source.
bool GiaCopiata(uintmax_t lunghezza, const std::string& copia) {
  const auto lavoro = LunghezzaFileOrdinario(copia);
  return lavoro && *lavoro == lunghezza;
}

}  // namespace

std::string CartellaLavoro(const std::string& pathNegozio) { return pathNegozio + "/work/"; }

bool VerificaImmagine(const std::string& percorso) {
  std::optional<uintmax_t> lunghezza;
  return EstensioneAccettata(percorso) && !FileSuDisco(percorso, lunghezza).empty();
}

std::string NomeImmagineLavoro(std::string_view percorso) {
  const std::string codici = Utf8ACp1252(percorso);
  uint32_t somma = 0;  // far below the 32-bit limit for any path that can exist
  for (size_t i = 0; i < codici.size(); ++i)
    somma += static_cast<uint32_t>(i + 1) * static_cast<unsigned char>(codici[i]);

  const auto barra = percorso.find_last_of("/\\");
  if (barra == std::string_view::npos) return "";
  const std::string_view file = SenzaSpazi(percorso.substr(barra + 1));
  const auto punto = file.rfind('.');
  if (punto == std::string_view::npos) return "";

  char esadecimale[16];
  std::snprintf(esadecimale, sizeof esadecimale, "%X", static_cast<unsigned>(somma));
  std::string nome =
      Minuscolo(std::string(file.substr(0, punto)) + esadecimale + std::string(file.substr(punto)));
  std::replace(nome.begin(), nome.end(), ' ', '_');
  return nome;
}

bool ImmagineGiaCopiata(const std::string& percorso, const std::string& pathNegozio) {
  std::optional<uintmax_t> lunghezza;
  FileSuDisco(percorso, lunghezza);
  // a source whose length cannot be read counts as copied once the work copy exists
  const std::string copia = CartellaLavoro(pathNegozio) + NomeImmagineLavoro(percorso);
  return lunghezza ? GiaCopiata(*lunghezza, copia) : LunghezzaFileOrdinario(copia).has_value();
}

std::string CopiaImmagine(const std::string& percorso, const std::string& pathNegozio,
                          IScatolaImmagine& scatola, const CampiImmagine& campi,
                          ElenchiCartelle* elenchi) {
  // The extension first: it costs no look at the disk. The file is the one Windows would
  // open for the path as written; the work name stays that of the path as written, so the
  // copies of earlier imports are found again.
  if (!EstensioneAccettata(percorso)) return "";
  std::optional<uintmax_t> lunghezza;
  const std::string file = FileSuDisco(percorso, lunghezza, elenchi);
  if (file.empty() || !scatola.Carica(file)) return "";
  const std::string nome = NomeImmagineLavoro(percorso);
  if (nome.empty()) return "";
  const std::string copia = CartellaLavoro(pathNegozio) + nome;
  if (!GiaCopiata(*lunghezza, copia)) {
    std::error_code ec;
    fs::copy_file(file, copia, fs::copy_options::overwrite_existing, ec);
    if (ec) return nome;
  }
  auto assegna = [](const std::function<void(const Valore&)>& campo, const Valore& v) {
    try {
      if (campo) campo(v);
    } catch (...) {
      // a column the shop lacks: the other fields are still set
    }
  };
  assegna(campi.nome, Valore::Testo(nome));
  assegna(campi.larghezza, Valore::Lungo(scatola.Larghezza()));
  assegna(campi.altezza, Valore::Lungo(scatola.Altezza()));
  return nome;
}

}  // namespace tarkpo
