#include "wizard/frm_listini.h"

namespace tarkpo::wizard {

frmListini::frmListini(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {10, "Scelta del listino", 0, {0, 1, 3}, true, "Avanti >", true}) {}

}  // namespace tarkpo::wizard
