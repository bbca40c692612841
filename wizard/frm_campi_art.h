#pragma once
// Step 6, the items mapping page: the source field of each of the fourteen item fields of
// the shop, on a panel that scrolls.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmCampiArt : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmCampiArt";
  explicit frmCampiArt(Programma& programma);
};

}  // namespace tarkpo::wizard
