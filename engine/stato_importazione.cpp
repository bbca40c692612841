#include "engine/stato_importazione.h"

#include "core/caratteri.h"

namespace tarkpo::motore {

void CodiciImportati::Registra(std::string_view codice) {
  if (codice.empty()) return;
  auto [it, nuovo] = esatti_.emplace(codice);
  if (!nuovo) return;
  voci_.emplace_back(codice);
  minuscoli_.insert(Minuscolo(codice));
}

std::string CodiciImportati::Testo() const {
  std::string testo;
  for (const auto& v : voci_) testo += v + "°";
  return testo;
}

}  // namespace tarkpo::motore
