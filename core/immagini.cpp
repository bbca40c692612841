#include "core/immagini.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/caratteri.h"
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

}  // namespace

std::string CartellaLavoro(const std::string& pathNegozio) { return pathNegozio + "/work/"; }

bool VerificaImmagine(const std::string& percorso) {
  // The extension first: most items name no picture, and it costs no look at the disk.
  const auto punto = percorso.rfind('.');
  std::string estensione(
      SenzaSpazi(punto == std::string::npos ? percorso : percorso.substr(punto + 1)));
  std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return (estensione == "JPG" || estensione == "JPEG" || estensione == "GIF" ||
          estensione == "BMP") &&
         FileOrdinario(percorso);
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
  const std::string copia = CartellaLavoro(pathNegozio) + NomeImmagineLavoro(percorso);
  if (!FileOrdinario(copia)) return false;
  std::error_code ec1, ec2;
  const auto origine = fs::file_size(percorso, ec1);
  const auto lavoro = fs::file_size(copia, ec2);
  if (ec1 || ec2) return true;
  return origine == lavoro;
}

std::string CopiaImmagine(const std::string& percorso, const std::string& pathNegozio,
                          IScatolaImmagine& scatola, const CampiImmagine& campi) {
  if (!VerificaImmagine(percorso)) return "";
  if (!scatola.Carica(percorso)) return "";
  const std::string nome = NomeImmagineLavoro(percorso);
  if (nome.empty()) return "";
  if (!ImmagineGiaCopiata(percorso, pathNegozio)) {
    std::error_code ec;
    fs::copy_file(percorso, CartellaLavoro(pathNegozio) + nome,
                  fs::copy_options::overwrite_existing, ec);
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
