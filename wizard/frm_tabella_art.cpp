#include "wizard/frm_tabella_art.h"

#include "core/mappa_campi.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_campi_rep.h"
#include "wizard/frm_main.h"
#include "wizard/navigazione.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

frmTabellaArt::frmTabellaArt(Programma& programma)
    : PaginaTabella(
          programma, kNome,
          {5, "Selezionare la tabella degli articoli", 5415, {0, 1, 2, 3}, true, "Avanti >", false},
          "lstTabelleArt",
          {"Selezionare la tabella che contiene l'elenco degli articoli:", "Anteprima tabella ",
           false}),
      lstTabelleArt(lstTabelle) {
  ImpostaHelp(0, QString::fromUtf8("In questa schermata viene presentato l'elenco di tutte le "
                                   "tabelle presenti nel database esterno, compresa quella "
                                   "eventualmente già selezionata al passo 2 (la tabella dei "
                                   "reparti)."));
  ImpostaHelp(1, QString::fromUtf8("E' adesso necessario selezionare la tabella che contiene "
                                   "l'elenco degli articoli."));
  ImpostaHelp(2, QString::fromUtf8("Se articoli e reparti si trovano nella stessa tabella, sarà "
                                   "possibile selezionare la stessa tabella indicata "
                                   "precedentemente al passo 2."));
  ImpostaHelp(3, QString::fromUtf8("E' possibile vedere un'anteprima della tabella utilizzando "
                                   "l'apposito tasto o facendo doppio click sul nome della "
                                   "tabella."));
}

std::string& frmTabellaArt::Tabella() { return prog_.def.gTabellaArt; }

void frmTabellaArt::cmdBack_Click() {
  if (prog_.def.gImpRep == 1) {
    PassaA<frmCampiRep>(prog_, *this, [this](frmCampiRep& campi) {
      return prog_.gDb && PopolaCampiRep(prog_.def, *prog_.gDb, campi, prog_.messaggi);
    });
    return;
  }
  // The source stays open in the departments table page's data control, and a preview
  // left open stays on screen.
  prog_.gDb.reset();
  prog_.Form<frmMain>().Mostra();
  Scarica();
}

void frmTabellaArt::cmdImport_Click() {
  PassaA<frmCampiArt>(prog_, *this, [this](frmCampiArt& campi) {
    return prog_.gDb && PopolaCampiArt(prog_.def, *prog_.gDb, campi, prog_.messaggi);
  });
}

}  // namespace tarkpo::wizard
