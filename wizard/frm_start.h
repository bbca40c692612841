#pragma once
// Step 1, the start page. For now only its frame: its choices come with their own page.
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmStart : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmStart";
  explicit frmStart(Programma& programma);

 protected:
  void Pagina_Load() override;
  void Form_Activate() override;
};

}  // namespace tarkpo::wizard
