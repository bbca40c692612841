#pragma once
// Step 9, the shop language that receives the imported texts.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmLingue : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmLingue";
  explicit frmLingue(Programma& programma);
};

}  // namespace tarkpo::wizard
