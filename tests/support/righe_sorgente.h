#pragma once
// Reads every row of a source table, for tests of the source readers.
#include <string>
#include <vector>

#include "core/dao/sorgente.h"

namespace tarkpo::test {

inline std::vector<std::vector<Valore>> LeggiTutto(dao::Sorgente& s, const std::string& tabella) {
  auto cursore = s.Apri(tabella);
  std::vector<std::vector<Valore>> righe;
  std::vector<Valore> riga;
  while (cursore->Leggi(riga)) righe.push_back(riga);
  return righe;
}

}  // namespace tarkpo::test
