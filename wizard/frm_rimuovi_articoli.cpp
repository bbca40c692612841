#include "wizard/frm_rimuovi_articoli.h"

namespace tarkpo::wizard {

frmRimuoviArticoli::frmRimuoviArticoli(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {8, "Articoli senza corrispondenza", 0, {0, 1, 2}, true, "Avanti >", true}) {}

}  // namespace tarkpo::wizard
