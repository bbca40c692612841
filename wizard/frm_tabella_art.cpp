#include "wizard/frm_tabella_art.h"

namespace tarkpo::wizard {

frmTabellaArt::frmTabellaArt(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {5, "Selezionare la tabella degli articoli", 5415, {0, 1, 2, 3}, true, "Avanti >", false}) {}

}  // namespace tarkpo::wizard
