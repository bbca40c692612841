#pragma once
// What the department and item import keep across rows of one run.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "core/immagini.h"
#include "core/percorsi.h"

namespace tarkpo::motore {

// The trimmed codes of the items imported in this run, in order, each once. Tested exactly
// (while importing) and ignoring letter case (by the missing-items pass), in constant time.
class CodiciImportati {
 public:
  void Riserva(std::size_t codici) { esatti_.reserve(codici); }
  // Records `codice` (already trimmed) unless it is empty or already there.
  void Registra(std::string_view codice);
  bool Contiene(std::string_view codice) const { return esatti_.contains(codice); }
  // Whether a code equal to `codiceMinuscolo` ignoring letter case was recorded.
  bool ContieneMinuscolo(std::string_view codiceMinuscolo) const;
  // The list as one text: every code followed by "°", no leading separator.
  std::string Testo() const;

 private:
  std::deque<std::string> voci_;  // stable: the sets look into it
  std::unordered_set<std::string_view> esatti_;
  // Made on the first case-blind test, when the run's codes are all known.
  mutable std::unordered_set<std::string> minuscoli_;
  mutable std::size_t minuscoliFino_ = 0;
};

class ColonneArticoli;  // positions of the columns of "articoli", per recordset

struct StatoImportazione {
  // The IDs of "* Articoli importati" (0) and "* Articoli orfani" (1), once obtained.
  std::array<std::string, 2> gRepartiSpeciali;
  CodiciImportati gElencoCodiciImportati;
  // The highest "ordinamento" of "articoli" when the item run opened it: every row this run
  // adds gets a higher one, so the missing-items pass can leave those rows alone.
  int32_t ordinamentoInizialeArticoli = std::numeric_limits<int32_t>::max();
  std::shared_ptr<const ColonneArticoli> colonne;
  // The source's folders as listed to find image paths written in another letter case.
  ElenchiCartelle cartelle;
  // The picture copies this run made, removed when the import is rolled back.
  CopieImmagini copie;
};

}  // namespace tarkpo::motore
