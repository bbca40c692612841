#include "engine/stato_importazione.h"

#include "core/caratteri.h"

namespace tarkpo::motore {

void CodiciImportati::Registra(std::string_view codice) {
  if (codice.empty() || esatti_.contains(codice)) return;
  esatti_.insert(voci_.emplace_back(codice));
}

bool CodiciImportati::ContieneMinuscolo(std::string_view codiceMinuscolo) const {
  for (; minuscoliFino_ < voci_.size(); ++minuscoliFino_)
    minuscoli_.insert(Minuscolo(voci_[minuscoliFino_]));
  return minuscoli_.contains(std::string(codiceMinuscolo));
}

std::string CodiciImportati::Testo() const {
  std::string testo;
  for (const auto& v : voci_) testo += v + "°";
  return testo;
}

}  // namespace tarkpo::motore
