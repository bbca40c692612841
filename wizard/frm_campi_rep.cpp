#include "wizard/frm_campi_rep.h"

namespace tarkpo::wizard {

frmCampiRep::frmCampiRep(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {4,
                    "Impostare le corrispondenze tra i campi dei reparti",
                    0,
                    {0, 1, 2, 3},
                    true,
                    "Avanti >",
                    false}) {}

}  // namespace tarkpo::wizard
