#include "wizard/frm_tabella_rep.h"

#include "core/mappa_campi.h"
#include "wizard/frm_campi_rep.h"
#include "wizard/frm_main.h"
#include "wizard/frm_view_tab.h"
#include "wizard/navigazione.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

frmTabellaRep::frmTabellaRep(Programma& programma)
    : PaginaTabella(
          programma, kNome,
          {3, "Selezionare la tabella dei reparti", 5415, {0, 1, 2, 3}, true, "Avanti >", false},
          "lstTabelleRep",
          {"Selezionare la tabella che contiene l'elenco dei reparti:",
           "vantrel - Anteprima tabella ", true}),
      lstTabelleRep(lstTabelle),
      Data1(programma.motore) {
  Data1.Connect = "Access 2000;";
  ImpostaHelp(0, QString::fromUtf8("In questa schermata viene presentato l'elenco di tutte le "
                                   "tabelle presenti nel database esterno."));
  ImpostaHelp(1, QString::fromUtf8(
                     "E' necessario selezionare la tabella che contiene l'elenco dei reparti."));
  ImpostaHelp(2, QString::fromUtf8(
                     "Normalmente l'elenco dei reparti si trova infatti in una tabella separata; "
                     "è tuttavia possibile che reparti e articoli siano inseriti in un'unica "
                     "tabella: in questo caso sarà possibile selezionare successivamente (al "
                     "passo 4) la stessa tabella come fonte dei dati relativi agli articoli."));
  ImpostaHelp(3, QString::fromUtf8("E' possibile vedere un'anteprima della tabella utilizzando "
                                   "l'apposito tasto o facendo doppio click sul nome della "
                                   "tabella."));
}

std::string& frmTabellaRep::Tabella() { return prog_.def.gTabellaRep; }

void frmTabellaRep::cmdBack_Click() {
  // Emptying the name closes the source that the data control opened.
  Data1.DatabaseName.clear();
  try {
    Data1.Refresh();
  } catch (const dao::ErroreDao& e) {
    prog_.messaggi.Mostra(TestoErrore(e.Numero(), e.Descrizione()), Icona::Esclamazione);
  }
  prog_.gDb.reset();
  prog_.Scarica(frmViewTab::kNome);
  prog_.Form<frmMain>().Mostra();
  Scarica();
}

void frmTabellaRep::cmdImport_Click() {
  PassaA<frmCampiRep>(prog_, *this, [this](frmCampiRep& campi) {
    return prog_.gDb && PopolaCampiRep(prog_.def, *prog_.gDb, campi, prog_.messaggi);
  });
}

}  // namespace tarkpo::wizard
