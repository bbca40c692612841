#pragma once
// Step 4, the departments mapping page: the source field of each of the six department
// fields of the shop.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmCampiRep : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmCampiRep";
  explicit frmCampiRep(Programma& programma);
};

}  // namespace tarkpo::wizard
