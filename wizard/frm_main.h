#pragma once
// Step 2, the source page: the reference for the size, icon, border, title and button row
// of every later page. For now only its frame.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmMain : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmMain";
  explicit frmMain(Programma& programma);

 protected:
  void Pagina_Load() override;
};

}  // namespace tarkpo::wizard
