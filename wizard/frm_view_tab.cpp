#include "wizard/frm_view_tab.h"

namespace tarkpo::wizard {

frmViewTab::frmViewTab(Programma& programma) : Finestra(programma, kNome) {
  setWindowTitle(QStringLiteral("Anteprima dati"));
}

}  // namespace tarkpo::wizard
