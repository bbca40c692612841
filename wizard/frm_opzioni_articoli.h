#pragma once
// Step 7, the item options: minimum availability, price variation, rounding and keeping the
// department of items already in the shop.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmOpzioniArticoli : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmOpzioniArticoli";
  explicit frmOpzioniArticoli(Programma& programma);
};

}  // namespace tarkpo::wizard
