// The departments and items table pages and the table preview.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPointer>

#include "support/negozio_test.h"
#include "tests/wizard/origine_prova.h"
#include "tests/wizard/tastiera.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_campi_rep.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_listini.h"
#include "wizard/frm_main.h"
#include "wizard/frm_view_tab.h"
#include "wizard/geometria.h"
#include "wizard/modello_recordset.h"

namespace tarkpo::wizard {
namespace {

using test::OrigineCsv;
using test::Scegli;
using test::Voci;

QString Cella(QTableView* grid, int riga, int colonna) {
  return grid->model()->index(riga, colonna).data().toString();
}

TEST(TabellaRep, SceltaMostraIlNomeVisibileEMemorizzaQuelloInterno) {
  OrigineCsv o;
  frmTabellaRep& p = o.ApriTabellaRep();
  EXPECT_EQ(Voci(p.lstTabelleRep), (QStringList{"articoli.csv", "reparti.csv", "vuota.csv"}));
  EXPECT_FALSE(p.cmdImport->isEnabled());
  EXPECT_FALSE(p.cmdPreview->isEnabled());

  Scegli(p.lstTabelleRep, "reparti.csv");
  EXPECT_EQ(p.txtTabSel->text(), "reparti.csv");
  EXPECT_EQ(o.prog.def.gTabellaRep, "reparti#csv");
  EXPECT_TRUE(p.cmdImport->isEnabled());
  EXPECT_TRUE(p.cmdPreview->isEnabled());

  // Filling the page again keeps the choice; a new page selects it through the same chain.
  ASSERT_TRUE(ElencaTabelleRep(o.prog.def, o.prog.gDb.get(), o.pagine, o.a.messaggi));
  ASSERT_NE(p.lstTabelleRep->currentItem(), nullptr);
  EXPECT_EQ(p.lstTabelleRep->currentItem()->text(), "reparti.csv");
  EXPECT_EQ(o.prog.def.gTabellaRep, "reparti#csv");
  p.Scarica();
  frmTabellaRep& nuova = o.ApriTabellaRep();
  EXPECT_EQ(nuova.txtTabSel->text(), "reparti.csv");
  EXPECT_EQ(o.prog.def.gTabellaRep, "reparti#csv");
  EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
}

// A catalogue copied from Windows: the file's name holds the Windows-1252 byte of "è",
// which is not UTF-8. Made here: such a name does not belong in the repository.
TEST(TabellaRep, UnFileConNomeWindows1252SiSceglieMappaEImporta) {
  OrigineCsv o;
  o.Scrivi("caff\xE8.csv", {"Codice,Nome", "R9,Bar"});
  o.prog.def.gImpArt = 0;
  o.prog.def.gListini[0] = 1;
  o.prog.def.gPathNegozio = o.a.cartella / "negozio";
  const std::string negozio = test::CreaNegozio(o.prog.def.gPathNegozio);

  frmTabellaRep& p = o.ApriTabellaRep();
  EXPECT_EQ(Voci(p.lstTabelleRep), (QStringList{"articoli.csv", QString::fromUtf8("caffè.csv"),
                                                "reparti.csv", "vuota.csv"}));
  test::Attiva(&p);
  test::TabFino(&p, p.lstTabelleRep);
  test::Scrivi(&p, "caf");
  EXPECT_EQ(p.txtTabSel->text(), QString::fromUtf8("caffè.csv"));
  EXPECT_EQ(o.prog.def.gTabellaRep, "caff\xE8#csv");
  p.cmdPreview->click();
  ASSERT_NE(o.prog.Caricata<frmViewTab>(), nullptr);
  EXPECT_EQ(o.prog.Caricata<frmViewTab>()->lblRec->text(), "Totale record: 1");
  EXPECT_TRUE(
      o.prog.Caricata<frmViewTab>()->windowTitle().endsWith(QString::fromUtf8("caffè.csv")));

  p.cmdImport->click();
  frmCampiRep* campi = o.prog.Caricata<frmCampiRep>();
  ASSERT_NE(campi, nullptr);
  test::Attiva(campi);
  test::TabFino(campi, campi->cboCampo[0]);
  test::Scrivi(campi, "C");
  test::TabFino(campi, campi->cboCampo[1]);
  test::Scrivi(campi, "N");
  EXPECT_EQ(campi->cboCampo[1]->currentText(), "Nome");
  campi->cmdImport->click();
  EXPECT_EQ(o.prog.def.gNomiCampiRep[0], "Codice");
  ASSERT_NE(o.prog.Caricata<frmLingue>(), nullptr);
  o.prog.Caricata<frmLingue>()->cmdImport->click();
  ASSERT_NE(o.prog.Caricata<frmListini>(), nullptr);
  o.prog.Caricata<frmListini>()->cmdImport->click();
  frmImporta* importa = o.prog.Caricata<frmImporta>();
  ASSERT_NE(importa, nullptr);
  importa->optSovrascrivi[0]->click();
  o.a.messaggi.Pulisci();
  importa->cmdImport->click();
  EXPECT_EQ(test::PrimoValore(negozio, "SELECT titolo FROM categorie WHERE id = 'imp0R9'"), "Bar");
  for (const auto& testo : o.a.messaggi.Testi())
    EXPECT_EQ(testo.find("Il negozio non è stato modificato"), std::string::npos) << testo;
}

// Tabbing into a table list makes an entry current without choosing it: only a selection,
// by keyboard or mouse, is the chosen table.
TEST(Tabelle, IlFuocoNonSceglieLaTabellaLaScelgonoTastieraEMouse) {
  for (bool articoli : {false, true}) {
    SCOPED_TRACE(articoli ? "items" : "departments");
    OrigineCsv o;
    PaginaTabella& p = articoli ? static_cast<PaginaTabella&>(o.ApriTabellaArt())
                                : static_cast<PaginaTabella&>(o.ApriTabellaRep());
    const std::string& scelta = articoli ? o.prog.def.gTabellaArt : o.prog.def.gTabellaRep;
    test::Attiva(&p);
    test::TabFino(&p, p.lstTabelle);
    EXPECT_TRUE(p.lstTabelle->selectedItems().isEmpty());
    EXPECT_EQ(p.txtTabSel->text(), "");
    EXPECT_EQ(scelta, "");
    EXPECT_FALSE(p.cmdImport->isEnabled());
    EXPECT_FALSE(p.cmdPreview->isEnabled());

    test::Premi(&p, Qt::Key_Space);
    EXPECT_EQ(p.txtTabSel->text(), "articoli.csv");
    EXPECT_EQ(scelta, "articoli#csv");
    EXPECT_TRUE(p.cmdImport->isEnabled());
    test::Premi(&p, Qt::Key_Down);
    EXPECT_EQ(p.txtTabSel->text(), "reparti.csv");
    EXPECT_EQ(scelta, "reparti#csv");

    QListWidgetItem* vuota = p.lstTabelle->findItems("vuota.csv", Qt::MatchExactly).front();
    QTest::mouseClick(p.lstTabelle->viewport(), Qt::LeftButton, {},
                      p.lstTabelle->visualItemRect(vuota).center());
    EXPECT_EQ(p.txtTabSel->text(), "vuota.csv");
    EXPECT_EQ(scelta, "vuota#csv");

    // Leaving and coming back by Tab keeps the choice.
    test::Premi(&p, Qt::Key_Tab);
    test::TabFino(&p, p.lstTabelle);
    EXPECT_EQ(scelta, "vuota#csv");
    EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
  }
}

TEST(TabellaRep, DueTabelleConLoStessoNomeVisibile) {
  // The lists are sorted and paired by item data: the internal name follows the entry, and
  // a click that leaves the text unchanged leaves the stored table unchanged.
  OrigineCsv o;
  frmTabellaRep& p = o.prog.Form<frmTabellaRep>();
  for (const char* interno : {"zeta", "prima", "seconda"}) {
    const int mostrata = p.Tabelle.AddItem(std::string(interno) == "zeta" ? "Zeta" : "doppia");
    p.Tabelle.SetItemData(mostrata, p.NomiInterni.AddItem(interno));
  }
  EXPECT_EQ(Voci(p.lstTabelleRep), (QStringList{"doppia", "doppia", "Zeta"}));
  p.lstTabelleRep->setCurrentRow(0);
  EXPECT_EQ(o.prog.def.gTabellaRep, "prima");
  p.lstTabelleRep->setCurrentRow(1);
  EXPECT_EQ(o.prog.def.gTabellaRep, "prima");
  p.lstTabelleRep->setCurrentRow(2);
  EXPECT_EQ(o.prog.def.gTabellaRep, "zeta");
}

TEST(TabellaRep, TestoScrittoSenzaSceltaAbilitaMaLAnteprimaFallisce) {
  OrigineCsv o;
  frmTabellaRep& p = o.ApriTabellaRep();
  p.txtTabSel->setText("  ");
  EXPECT_FALSE(p.cmdImport->isEnabled());
  p.txtTabSel->setText("reparti.csv");
  EXPECT_TRUE(p.cmdImport->isEnabled());
  EXPECT_TRUE(p.cmdPreview->isEnabled());
  EXPECT_EQ(o.prog.def.gTabellaRep, "");

  p.cmdPreview->click();
  ASSERT_EQ(o.a.messaggi.Mostrati().size(), 1u);
  EXPECT_EQ(o.a.messaggi.Mostrati()[0].testo.rfind(
                "Non è possibile vedere un'anteprima di questa tabella:\n", 0),
            0u)
      << o.a.messaggi.Mostrati()[0].testo;
  EXPECT_EQ(o.a.messaggi.Mostrati()[0].icona, Icona::Esclamazione);
  EXPECT_EQ(o.prog.Caricata<frmViewTab>(), nullptr);
}

// The preview from either table page: title, count, grid, and the failure's message.
struct CasoAnteprima {
  bool articoli;
  const char* prefisso;
  const char* messaggio;  // for a table that has gone
};

void PrintTo(const CasoAnteprima& c, std::ostream* os) {
  *os << (c.articoli ? "Articoli" : "Reparti");
}

class Anteprima : public ::testing::TestWithParam<CasoAnteprima> {
 protected:
  PaginaTabella& Pagina() {
    if (GetParam().articoli) return o.ApriTabellaArt();
    return o.ApriTabellaRep();
  }
  OrigineCsv o;
};

TEST_P(Anteprima, MostraLaTabellaERiusaLaFinestra) {
  PaginaTabella& p = Pagina();
  Scegli(p.lstTabelle, "articoli.csv");
  p.cmdPreview->click();
  frmViewTab* v = o.prog.Caricata<frmViewTab>();
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->isVisible());
  EXPECT_EQ(v->windowTitle(), QString::fromUtf8(GetParam().prefisso) + "articoli.csv");
  EXPECT_EQ(v->lblRec->text(), "Totale record: 3");
  EXPECT_EQ(v->grdViewTab->model()->rowCount(), 3);
  EXPECT_EQ(v->grdViewTab->model()->headerData(1, Qt::Horizontal).toString(), "Titolo");
  EXPECT_EQ(Cella(v->grdViewTab, 2, 1), "Tavolo");
  EXPECT_EQ(Cella(v->grdViewTab, 0, 0), "A1");

  // A double click previews at once, in the same window; an empty table shows no rows.
  QListWidgetItem* vuota = p.lstTabelle->findItems("vuota.csv", Qt::MatchExactly).front();
  p.lstTabelle->setCurrentItem(vuota);
  emit p.lstTabelle->itemDoubleClicked(vuota);
  EXPECT_EQ(o.prog.Caricata<frmViewTab>(), v);
  EXPECT_EQ(v->windowTitle(), QString::fromUtf8(GetParam().prefisso) + "vuota.csv");
  EXPECT_EQ(v->lblRec->text(), "Totale record: 0");
  EXPECT_EQ(v->grdViewTab->model()->rowCount(), 0);
  EXPECT_EQ(v->grdViewTab->model()->columnCount(), 2);
  EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
}

TEST_P(Anteprima, TabellaSparitaChiudeLaFinestraEDiceIlMessaggio) {
  PaginaTabella& p = Pagina();
  Scegli(p.lstTabelle, "articoli.csv");
  p.cmdPreview->click();
  ASSERT_NE(o.prog.Caricata<frmViewTab>(), nullptr);
  Scegli(p.lstTabelle, "reparti.csv");
  std::filesystem::remove(o.cartella + "/reparti.csv");
  p.cmdPreview->click();
  EXPECT_EQ(o.prog.Caricata<frmViewTab>(), nullptr);
  ASSERT_EQ(o.a.messaggi.Mostrati().size(), 1u);
  const std::string testo = o.a.messaggi.Mostrati()[0].testo;
  if (GetParam().articoli)
    EXPECT_EQ(testo, GetParam().messaggio);
  else
    EXPECT_EQ(testo.rfind(GetParam().messaggio, 0), 0u) << testo;
  EXPECT_EQ(o.a.messaggi.Mostrati()[0].icona, Icona::Esclamazione);
  EXPECT_TRUE(p.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Pagine, Anteprima,
    ::testing::Values(CasoAnteprima{false, "vantrel - Anteprima tabella ",
                                    "Non è possibile vedere un'anteprima di questa tabella:\n"},
                      CasoAnteprima{true, "Anteprima tabella ",
                                    "Non è possibile vedere un'anteprima di questa tabella"}),
    [](const auto& info) { return info.param.articoli ? "Articoli" : "Reparti"; });

TEST(AnteprimaGrande, LeggeSoloLeRigheMostrate) {
  OrigineCsv o;
  std::vector<std::string> righe{"Codice,Titolo"};
  for (int i = 0; i < 20000; ++i)
    righe.push_back("C" + std::to_string(i) + ",T" + std::to_string(i));
  o.Scrivi("grande.csv", righe);
  frmTabellaRep& p = o.ApriTabellaRep();
  Scegli(p.lstTabelleRep, "grande.csv");
  p.cmdPreview->click();
  frmViewTab* v = o.prog.Caricata<frmViewTab>();
  ASSERT_NE(v, nullptr);
  QApplication::processEvents();
  v->grdViewTab->viewport()->repaint();
  auto* modello = static_cast<ModelloRecordset*>(v->grdViewTab->model());
  EXPECT_EQ(v->lblRec->text(), "Totale record: 20000");
  EXPECT_EQ(modello->rowCount(), 20000);
  EXPECT_GT(modello->RigheLette(), 0);
  EXPECT_LT(modello->RigheLette(), 200);
  EXPECT_EQ(Cella(v->grdViewTab, 19999, 1), "T19999");
  EXPECT_EQ(Cella(v->grdViewTab, 3, 0), "C3");
  EXPECT_EQ(modello->RigheLette(), 20000);
}

TEST(AnteprimaFinestra, IlRidimensionamentoSegueLaFinestra) {
  OrigineCsv o;
  frmViewTab& v = o.prog.Form<frmViewTab>();
  EXPECT_EQ(v.grdViewTab->verticalHeader()->width(), Px(240));
  v.Mostra();
  v.resize(Px(9000), Px(6000));
  QApplication::processEvents();
  // Outer size = inner area + 120 x 405 twips of border and caption.
  EXPECT_EQ(v.grdViewTab->width(), Px(9000 + 120 - 345));
  EXPECT_EQ(v.grdViewTab->height(), Px(6000 + 405 - 810));
  EXPECT_EQ(v.lblRec->y(), v.grdViewTab->height() + Px(165));
  const QSize prima = v.grdViewTab->size();
  v.resize(Px(150), Px(300));
  QApplication::processEvents();
  EXPECT_EQ(v.grdViewTab->size(), prima);
  EXPECT_EQ(v.lblRec->y(), prima.height() + Px(165));
}

TEST(TabellaRep, IndietroChiudeLAnteprimaELaSorgente) {
  OrigineCsv o;
  frmTabellaRep& p = o.ApriTabellaRep();
  Scegli(p.lstTabelleRep, "reparti.csv");
  p.cmdPreview->click();
  std::shared_ptr<dao::Database> db = o.prog.gDb;
  QPointer<frmTabellaRep> pagina(&p);
  p.cmdBack->click();
  EXPECT_EQ(o.prog.gDb, nullptr);
  EXPECT_FALSE(db->Aperto());
  EXPECT_EQ(o.prog.Caricata<frmViewTab>(), nullptr);
  EXPECT_EQ(o.prog.Caricata<frmTabellaRep>(), nullptr);
  ASSERT_NE(o.prog.Caricata<frmMain>(), nullptr);
  EXPECT_TRUE(o.prog.Caricata<frmMain>()->isVisible());
  EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
}

TEST(TabellaRep, AvantiRiempieLaPaginaDeiCampi) {
  OrigineCsv o;
  o.prog.def.gCampiRep[1] = 2;  // "Titolo" <- the second field
  frmTabellaRep& p = o.ApriTabellaRep();
  Scegli(p.lstTabelleRep, "reparti.csv");
  p.cmdImport->click();
  frmCampiRep* campi = o.prog.Caricata<frmCampiRep>();
  ASSERT_NE(campi, nullptr);
  EXPECT_TRUE(campi->isVisible());
  EXPECT_EQ(o.prog.Caricata<frmTabellaRep>(), nullptr);
  EXPECT_EQ(campi->cboCampo[0]->count(), 4);
  EXPECT_EQ(campi->cboCampo[1]->currentText(), "Nome");
  EXPECT_TRUE(campi->cmdImport->isEnabled());
  // The source stays open for the later pages after this page has closed.
  ASSERT_NE(o.prog.gDb, nullptr);
  EXPECT_TRUE(o.prog.gDb->Aperto());
}

TEST(TabellaArt, IndietroSecondoIReparti) {
  {
    // Only items: back to the source page; the source stays open in the departments table
    // page's data control and a preview stays on screen.
    OrigineCsv o;
    o.prog.def.gImpRep = 0;
    frmTabellaArt& p = o.ApriTabellaArt();
    Scegli(p.lstTabelleArt, "articoli.csv");
    p.cmdPreview->click();
    std::shared_ptr<dao::Database> db = o.prog.gDb;
    p.cmdBack->click();
    EXPECT_EQ(o.prog.gDb, nullptr);
    EXPECT_TRUE(db->Aperto());
    ASSERT_NE(o.prog.Caricata<frmViewTab>(), nullptr);
    EXPECT_TRUE(o.prog.Caricata<frmViewTab>()->isVisible());
    EXPECT_EQ(o.prog.Caricata<frmTabellaArt>(), nullptr);
    ASSERT_NE(o.prog.Caricata<frmMain>(), nullptr);
    EXPECT_TRUE(o.prog.Caricata<frmMain>()->isVisible());
  }
  {
    // With departments: back to their mapping page, filled again with the stored mapping.
    OrigineCsv o;
    o.prog.def.gTabellaRep = "reparti#csv";
    o.prog.def.gCampiRep[0] = 1;
    frmTabellaArt& p = o.ApriTabellaArt();
    p.cmdBack->click();
    frmCampiRep* campi = o.prog.Caricata<frmCampiRep>();
    ASSERT_NE(campi, nullptr);
    EXPECT_TRUE(campi->isVisible());
    EXPECT_EQ(campi->cboCampo[0]->currentText(), "Codice");
    EXPECT_EQ(o.prog.Caricata<frmTabellaArt>(), nullptr);
    EXPECT_NE(o.prog.gDb, nullptr);
  }
}

TEST(TabellaArt, AvantiRiempieLaPaginaDeiCampiArticoli) {
  OrigineCsv o;
  frmTabellaArt& p = o.ApriTabellaArt();
  Scegli(p.lstTabelleArt, "articoli.csv");
  EXPECT_EQ(o.prog.def.gTabellaArt, "articoli#csv");
  p.cmdImport->click();
  frmCampiArt* campi = o.prog.Caricata<frmCampiArt>();
  ASSERT_NE(campi, nullptr);
  EXPECT_TRUE(campi->isVisible());
  EXPECT_EQ(campi->cboCampo[13]->count(), 5);
  EXPECT_EQ(o.prog.Caricata<frmTabellaArt>(), nullptr);
}

}  // namespace
}  // namespace tarkpo::wizard
