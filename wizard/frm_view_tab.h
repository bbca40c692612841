#pragma once
// The table preview: a resizable window with a grid over the rows of a source table.
#include "wizard/finestra.h"

namespace tarkpo::wizard {

class frmViewTab : public Finestra {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmViewTab";
  explicit frmViewTab(Programma& programma);
};

}  // namespace tarkpo::wizard
