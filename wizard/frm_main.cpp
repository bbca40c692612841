#include "wizard/frm_main.h"

namespace tarkpo::wizard {

frmMain::frmMain(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {2, "Selezionare il negozio e il database", 5415, {0, 1, 2}, true, "Avanti >", false}) {}

void frmMain::Pagina_Load() { setWindowTitle(QString::fromUtf8(kTitoloFinestra)); }

}  // namespace tarkpo::wizard
