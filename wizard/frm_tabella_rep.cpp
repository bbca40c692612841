#include "wizard/frm_tabella_rep.h"

namespace tarkpo::wizard {

frmTabellaRep::frmTabellaRep(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {3, "Selezionare la tabella dei reparti", 5415, {0, 1, 2, 3}, true, "Avanti >", false}) {}

}  // namespace tarkpo::wizard
