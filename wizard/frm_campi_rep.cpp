#include "wizard/frm_campi_rep.h"

#include "core/accesso_origine.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_tabella_rep.h"
#include "wizard/geometria.h"
#include "wizard/navigazione.h"

namespace tarkpo::wizard {

frmCampiRep::frmCampiRep(Programma& programma)
    : PaginaMappa(programma, kNome,
                  {4,
                   "Impostare le corrispondenze tra i campi dei reparti",
                   0,
                   {0, 1, 2, 3},
                   true,
                   "Avanti >",
                   false}) {
  Label1->setText(
      QString::fromUtf8("Impostare le corrispondenze tra i campi del database e i "
                        "campi della scheda \"Reparti\" del negozio:"));
  PosizionaTwips(Label5, 240, 1080, 2295, 255);
  Label6->setText(QStringLiteral("Campo del negozio (Reparti):"));
  PosizionaTwips(Label6, 3120, 1080, 2295, 255);
  for (int i = 0; i < kRigheReparti; ++i)
    AggiungiRiga(Frame1, i, kEtichetteReparti[static_cast<size_t>(i)], 240, 1440 + 360 * i, 2415,
                 2760, 3120);
  ImpostaHelp(0, QString::fromUtf8("A questo punto si imposterà la corrispondenza fra i campi del "
                                   "database esterno e quelli utilizzati da Tarvelin per gestire "
                                   "i reparti."));
  ImpostaHelp(1, QString::fromUtf8("La corrispondenza deve essere univoca: ad ogni campo del "
                                   "database esterno corrisponde un solo campo di Tarvelin."));
  ImpostaHelp(2, QString::fromUtf8("Non è necessario impostare tutti i campi; sarà però "
                                   "indispensabile attribuire una corrispondenza al campo di "
                                   "Tarvelin \"Nome\"."));
  ImpostaHelp(3, QString::fromUtf8("Se reparti e articoli si trovano in tabelle separate, molto "
                                   "probabilmente esisterà nella tabella dei reparti un campo "
                                   "corrispondente a un \"codice di reparto\", richiamato poi "
                                   "nella tabella degli articoli. Questo campo deve essere "
                                   "attribuito al campo di Tarvelin \"ID\"."));
}

void frmCampiRep::cboCampo_Click(int Index) {
  // Only the title is required.
  if (Index == repTitolo) cmdImport->setEnabled(cboCampo[repTitolo]->currentIndex() > 0);
}

void frmCampiRep::cmdImport_Click() {
  if (!ValidaCampiRep(prog_.def, *this, true, prog_.messaggi)) {
    prog_.Scarica(frmTabellaArt::kNome);
    return;
  }
  if (prog_.def.gImpArt == 1) {
    PassaA<frmTabellaArt>(prog_, *this, [this](frmTabellaArt&) {
      return prog_.pagineOrigine != nullptr &&
             ElencaTabelleArt(prog_.def, prog_.gDb.get(), *prog_.pagineOrigine, prog_.messaggi);
    });
    return;
  }
  prog_.Form<frmLingue>().Mostra();
  Scarica();
}

void frmCampiRep::cmdBack_Click() {
  // Whatever is set so far is kept, valid or not.
  ValidaCampiRep(prog_.def, *this, false, prog_.messaggi);
  if (prog_.pagineOrigine == nullptr) return;
  IPagineOrigine& pagine = *prog_.pagineOrigine;
  if (!ApriDatabaseOrigine(prog_.def, pagine, prog_.messaggi, prog_.gDb)) return;
  PassaA<frmTabellaRep>(prog_, *this, [this, &pagine](frmTabellaRep&) {
    return ElencaTabelleRep(prog_.def, prog_.gDb.get(), pagine, prog_.messaggi);
  });
}

}  // namespace tarkpo::wizard
