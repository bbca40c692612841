#pragma once
// Step 10, the shop price lists that receive the imported prices.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmListini : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmListini";
  explicit frmListini(Programma& programma);
};

}  // namespace tarkpo::wizard
