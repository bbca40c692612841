#include "core/immagini.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/caratteri.h"
#include "core/percorsi.h"
#include "core/testo.h"

namespace fs = std::filesystem;

namespace tarkpo {

namespace {

// A listing finds ordinary files only: no folders, no hidden (dot) files.
bool FileOrdinario(const std::string& percorso) {
  std::error_code ec;
  if (!fs::is_regular_file(percorso, ec)) return false;
  const std::string nome = fs::path(percorso).filename().string();
  return !nome.empty() && nome[0] != '.';
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

// Whether the work copy exists with the length of the source file found on disk.
bool GiaCopiata(const std::string& suDisco, const std::string& copia) {
  if (!FileOrdinario(copia)) return false;
  std::error_code ec1, ec2;
  const auto origine = fs::file_size(suDisco, ec1);
  const auto lavoro = fs::file_size(copia, ec2);
  if (ec1 || ec2) return true;
  return origine == lavoro;
}

}  // namespace

std::string CartellaLavoro(const std::string& pathNegozio) { return pathNegozio + "/work/"; }

bool VerificaImmagine(const std::string& percorso) {
  return EstensioneAccettata(percorso) && FileOrdinario(PercorsoSuDisco(percorso));
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
  return GiaCopiata(PercorsoSuDisco(percorso),
                    CartellaLavoro(pathNegozio) + NomeImmagineLavoro(percorso));
}

std::string CopiaImmagine(const std::string& percorso, const std::string& pathNegozio,
                          IScatolaImmagine& scatola, const CampiImmagine& campi) {
  // The extension first: it costs no look at the disk. The file is the one Windows would
  // open for the path as written; the work name stays that of the path as written, so the
  // copies of earlier imports are found again.
  if (!EstensioneAccettata(percorso)) return "";
  const std::string file = PercorsoSuDisco(percorso);
  if (!FileOrdinario(file)) return "";
  if (!scatola.Carica(file)) return "";
  const std::string nome = NomeImmagineLavoro(percorso);
  if (nome.empty()) return "";
  const std::string copia = CartellaLavoro(pathNegozio) + nome;
  if (!GiaCopiata(file, copia)) {
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
