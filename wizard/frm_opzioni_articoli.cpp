#include "wizard/frm_opzioni_articoli.h"

namespace tarkpo::wizard {

frmOpzioniArticoli::frmOpzioniArticoli(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {7, "Opzioni importazione articoli", 0, {0, 1, 2, 3, 4}, true, "Avanti >", true}) {}

}  // namespace tarkpo::wizard
