#include "wizard/pagine_origine.h"

#include "wizard/frm_main.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_tabella_rep.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

dao::DataControl& PagineOrigine::DataTabellaRep() { return prog_.Form<frmTabellaRep>().Data1; }

dao::DataControl& PagineOrigine::DataMain() { return prog_.Form<frmMain>().Data1; }

IListaTabelle& PagineOrigine::TabelleRep() { return prog_.Form<frmTabellaRep>().Tabelle; }

IListaTabelle& PagineOrigine::NomiInterniRep() { return prog_.Form<frmTabellaRep>().NomiInterni; }

IListaTabelle& PagineOrigine::TabelleArt() { return prog_.Form<frmTabellaArt>().Tabelle; }

IListaTabelle& PagineOrigine::NomiInterniArt() { return prog_.Form<frmTabellaArt>().NomiInterni; }

void CollegaPagineOrigine(Programma& prog, PagineOrigine& pagine) {
  prog.pagineOrigine = &pagine;
  prog.ApriDatabaseOrigineMain = [&prog, &pagine] {
    return ApriDatabaseOrigineMain(prog.def, pagine, prog.messaggi, prog.gDb);
  };
}

}  // namespace tarkpo::wizard
