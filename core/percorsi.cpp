#include "core/percorsi.h"

#include <algorithm>

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

}  // namespace tarkpo
