#include "wizard/frm_campi_art.h"

namespace tarkpo::wizard {

frmCampiArt::frmCampiArt(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {6,
                    "Impostare le corrispondenze tra i campi degli articoli",
                    0,
                    {0, 1, 2, 3},
                    true,
                    "Avanti >",
                    false}) {}

}  // namespace tarkpo::wizard
