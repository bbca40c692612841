#include "core/percorsi.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/caratteri.h"

namespace fs = std::filesystem;

namespace tarkpo {

namespace {

bool FinisceCon(const std::string& testo, const std::string& fine) {
  return testo.size() >= fine.size() &&
         testo.compare(testo.size() - fine.size(), fine.size(), fine) == 0;
}

}  // namespace

std::string CartellaDb(const DefinizioneImportazione& def) {
  std::string minuscolo = def.gPathDb;
  std::transform(minuscolo.begin(), minuscolo.end(), minuscolo.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  });
  if (FinisceCon(minuscolo, ".xls") || FinisceCon(minuscolo, ".mdb")) {
    const size_t barra = def.gPathDb.rfind('/');
    return barra == std::string::npos ? std::string() : def.gPathDb.substr(0, barra + 1);
  }
  std::string cartella = def.gPathDb + "/";
  if (FinisceCon(cartella, "//")) cartella.pop_back();
  return cartella;
}

std::string PercorsoCompleto(const DefinizioneImportazione& def, const std::string& percorso) {
  if (percorso.empty()) return percorso;
  std::string p = percorso;
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.front() == '/') return p;
  return CartellaDb(def) + p;
}

std::string ElenchiCartelle::Voce(const std::string& cartella, std::string_view nome) {
  auto [posizione, nuova] = cartelle_.try_emplace(cartella);
  auto& voci = posizione->second;
  if (nuova) {
    std::error_code ec;
    for (fs::directory_iterator it(cartella.empty() ? "." : cartella, ec), fine; !ec && it != fine;
         it.increment(ec)) {
      std::string voce = it->path().filename().string();
      auto [v, unica] = voci.try_emplace(Minuscolo(voce), voce);
      if (!unica) v->second.clear();
    }
  }
  const auto v = voci.find(Minuscolo(nome));
  return v == voci.end() ? "" : v->second;
}

std::string PercorsoSuDisco(const std::string& percorso) {
  ElenchiCartelle elenchi;
  return PercorsoSuDisco(percorso, elenchi);
}

std::string RisoltoPerNome(std::string_view percorso) {
  std::vector<std::string_view> parti;
  size_t salite = 0;  // leading ".." of a relative path, which stay
  for (size_t inizio = 0; inizio <= percorso.size();) {
    size_t fine = percorso.find('/', inizio);
    if (fine == std::string_view::npos) fine = percorso.size();
    const std::string_view parte = percorso.substr(inizio, fine - inizio);
    inizio = fine + 1;
    if (parte.empty() || parte == ".") continue;
    if (parte != "..")
      parti.push_back(parte);
    else if (parti.size() > salite)
      parti.pop_back();
    else if (percorso.front() != '/')
      parti.push_back(parte), ++salite;
  }
  std::string risolto = !percorso.empty() && percorso.front() == '/' ? "/" : "";
  for (size_t i = 0; i < parti.size(); ++i) {
    if (i > 0) risolto += '/';
    risolto += parti[i];
  }
  return risolto.empty() && !percorso.empty() ? "." : risolto;
}

std::string PercorsoSuDisco(const std::string& scritto, ElenchiCartelle& elenchi) {
  std::error_code ec;
  if (scritto.empty()) return "";
  // ".." goes back one name, as on Windows, never to the folder above a link's target.
  const std::string percorso = RisoltoPerNome(scritto);
  if (fs::exists(percorso, ec)) return percorso;
  std::vector<std::string_view> parti;
  for (size_t inizio = 0; inizio <= percorso.size();) {
    size_t fine = percorso.find('/', inizio);
    if (fine == std::string::npos) fine = percorso.size();
    if (fine > inizio) parti.push_back(std::string_view(percorso).substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  std::string trovato = percorso.front() == '/' ? "/" : "";
  for (size_t i = 0; i < parti.size(); ++i) {
    std::string_view parte = parti[i];
    const bool speciale = parte == "." || parte == "..";
    if (i + 1 == parti.size() && !speciale) {
      const size_t ultimo = parte.find_last_not_of(" .");
      if (ultimo == std::string_view::npos) return "";
      parte = parte.substr(0, ultimo + 1);
    }
    std::string voce(parte);
    if (!speciale && !fs::exists(trovato + voce, ec)) voce = elenchi.Voce(trovato, parte);
    if (voce.empty()) return "";
    trovato += voce;
    if (i + 1 < parti.size()) trovato += '/';
  }
  return fs::exists(trovato, ec) ? trovato : "";
}

}  // namespace tarkpo
