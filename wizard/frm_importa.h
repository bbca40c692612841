#pragma once
// Step 11, the import page. For now its frame and the overwrite options that the direct
// jump to this page selects.
#include <QRadioButton>
#include <array>

#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmImporta : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmImporta";
  explicit frmImporta(Programma& programma);

  // (0) overwrite, (1) leave existing rows; (2) is hidden and selected so that neither
  // visible option starts selected.
  std::array<QRadioButton*, 3> optSovrascrivi;
};

}  // namespace tarkpo::wizard
