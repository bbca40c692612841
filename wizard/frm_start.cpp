#include "wizard/frm_start.h"

#include "wizard/programma.h"

namespace tarkpo::wizard {

frmStart::frmStart(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {1, "Scegliere l'operazione", 5415, {0, 1, 3, 4, 5, 6, 7}, false, "Avanti >", false}) {}

void frmStart::Pagina_Load() { setWindowTitle(QString::fromUtf8(kTitoloFinestra)); }

// From here on the start-up window serves as the about box.
void frmStart::Form_Activate() { prog_.stato.gWizardAvviato = true; }

}  // namespace tarkpo::wizard
