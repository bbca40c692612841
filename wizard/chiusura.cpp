#include "wizard/chiusura.h"

#include "core/file_definizione.h"
#include "core/shell.h"
#include "wizard/frm_importa.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

void ChiudiApplicazione(Programma& prog) {
  for (const char* nome : {"frmMain", "frmTabellaArt", "frmTabellaRep", "frmCampiArt",
                           "frmCampiRep", "frmImporta", "frmOpzioniDb", "frmAbout", "frmViewTab"}) {
    prog.Scarica(nome);
  }
  if (prog.gDb) {
    try {
      prog.gDb->Close();
    } catch (...) {
      // Nothing to report: the program is ending.
    }
  }
  prog.gDb.reset();
  prog.Termina(0);
}

void RiavviaApplicazione(Programma& prog, const std::string& modoRiavvio) {
  SalvaStatoTemp(prog.def, prog.cartellaProgramma);
  // The fixed name, not the one this process was started under.
  EseguiProgramma(prog.shell, "tarkpo", modoRiavvio, prog.cartellaProgramma);
  ChiudiApplicazione(prog);
}

bool MostraImportazione(Programma& prog) {
  if (!prog.ApriDatabaseOrigineMain || !prog.ApriDatabaseOrigineMain()) {
    prog.messaggi.Mostra("I dati dell'importazione non sono validi", Icona::Esclamazione);
    return false;
  }
  frmImporta& importa = prog.Form<frmImporta>();
  if (prog.def.gSovrascrivi == 1) {
    importa.optSovrascrivi[0]->setChecked(true);
  } else if (prog.def.gSovrascrivi == 2) {
    importa.optSovrascrivi[1]->setChecked(true);
  }
  importa.Mostra();
  return true;
}

}  // namespace tarkpo::wizard
