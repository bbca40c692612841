#include "wizard/frm_lingue.h"

namespace tarkpo::wizard {

frmLingue::frmLingue(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {9, "Scelta della lingua", 0, {0, 1, 2, 3, 4}, true, "Avanti >", true}) {}

}  // namespace tarkpo::wizard
