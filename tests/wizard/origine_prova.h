#pragma once
// A program wired to reach the source through its pages, as the real one is.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/wizard/ambiente.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_tabella_rep.h"
#include "wizard/pagine_origine.h"

namespace tarkpo::test {

// A source of .csv files (comma-delimited, field names on the first row) and a program
// that imports both departments and items from it.
struct OrigineCsv {
  OrigineCsv() {
    std::filesystem::create_directories(cartella);
    Scrivi("reparti.csv", {"Codice,Nome,Note", "R1,Casa,", "R2,Giardino,x"});
    Scrivi("articoli.csv",
           {"Codice,Titolo,Reparto,Prezzo", "A1,Sedia,R1,10", "A2,Vaso,R2,4", "A3,Tavolo,R1,99"});
    Scrivi("vuota.csv", {"Uno,Due"});
    wizard::CollegaPagineOrigine(prog, pagine);
    prog.def.gPathDb = cartella;
    prog.def.gTipoDb = "Text;";
    prog.def.gOpzioniDb = "HDR=Yes";
    prog.def.gImpRep = 1;
    prog.def.gImpArt = 1;
    prog.def.gCampiRep.fill(-1);
    prog.def.gCampiArt.fill(-1);
  }

  void Scrivi(const std::string& nome, const std::vector<std::string>& righe) {
    std::ofstream f(cartella + "/" + nome);
    for (const auto& r : righe) f << r << "\r\n";
  }

  // Opens the source and fills the departments table page, as leaving the source page does.
  wizard::frmTabellaRep& ApriTabellaRep() {
    EXPECT_TRUE(ApriDatabaseOrigine(prog.def, pagine, a.messaggi, prog.gDb));
    EXPECT_TRUE(ElencaTabelleRep(prog.def, prog.gDb.get(), pagine, a.messaggi));
    auto& pagina = prog.Form<wizard::frmTabellaRep>();
    pagina.Mostra();
    return pagina;
  }
  wizard::frmTabellaArt& ApriTabellaArt() {
    if (!prog.gDb) {
      EXPECT_TRUE(ApriDatabaseOrigine(prog.def, pagine, a.messaggi, prog.gDb));
    }
    EXPECT_TRUE(ElencaTabelleArt(prog.def, prog.gDb.get(), pagine, a.messaggi));
    auto& pagina = prog.Form<wizard::frmTabellaArt>();
    pagina.Mostra();
    return pagina;
  }

  Ambiente a;
  std::string cartella = a.cartella / "origine";
  wizard::Programma& prog = a.Crea();
  wizard::PagineOrigine pagine{prog};
};

// Selects the entry of a list shown under `testo`.
inline void Scegli(QListWidget* lista, const QString& testo) {
  const auto voci = lista->findItems(testo, Qt::MatchExactly);
  ASSERT_EQ(voci.size(), 1) << testo.toStdString();
  lista->setCurrentItem(voci.front());
}

inline QStringList Voci(const QListWidget* lista) {
  QStringList voci;
  for (int i = 0; i < lista->count(); ++i) voci << lista->item(i)->text();
  return voci;
}

}  // namespace tarkpo::test
