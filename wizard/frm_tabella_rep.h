#pragma once
// Step 3, the departments table page. It also hosts the data control through which the
// source database is opened.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmTabellaRep : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmTabellaRep";
  explicit frmTabellaRep(Programma& programma);
};

}  // namespace tarkpo::wizard
