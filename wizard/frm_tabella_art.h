#pragma once
// Step 5, the items table page, twin of the departments table page.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmTabellaArt : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmTabellaArt";
  explicit frmTabellaArt(Programma& programma);
};

}  // namespace tarkpo::wizard
