#pragma once
// Step 8, what the import does with shop items that the source no longer holds.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmRimuoviArticoli : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmRimuoviArticoli";
  explicit frmRimuoviArticoli(Programma& programma);
};

}  // namespace tarkpo::wizard
