// The departments and items mapping pages.
#include <gtest/gtest.h>

#include "support/negozio_test.h"
#include "tests/wizard/origine_prova.h"
#include "tests/wizard/tastiera.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_campi_rep.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_view_tab.h"
#include "wizard/geometria.h"

namespace tarkpo::wizard {
namespace {

using test::OrigineCsv;

const char* kStessoCampo =
    "Non è consentito attribuire lo stesso campo del database\na più campi del negozio";

// The departments mapping page, filled from "reparti.csv" (Codice, Nome, Note).
frmCampiRep& ApriCampiRep(OrigineCsv& o) {
  o.prog.def.gTabellaRep = "reparti#csv";
  frmTabellaRep& tabella = o.ApriTabellaRep();
  tabella.cmdImport->click();
  return o.prog.Form<frmCampiRep>();
}

// The items mapping page, filled from "articoli.csv" (Codice, Titolo, Reparto, Prezzo).
frmCampiArt& ApriCampiArt(OrigineCsv& o) {
  o.prog.def.gTabellaArt = "articoli#csv";
  frmTabellaArt& tabella = o.ApriTabellaArt();
  tabella.cmdImport->click();
  return o.prog.Form<frmCampiArt>();
}

TEST(CampiRep, SoloIlTitoloDecideAvanti) {
  OrigineCsv o;
  frmCampiRep& p = ApriCampiRep(o);
  EXPECT_TRUE(p.isVisible());
  EXPECT_EQ(p.txtCampo[5]->text(), "Sconto reparto %");
  EXPECT_EQ(p.cboCampo[1]->currentIndex(), -1);
  EXPECT_FALSE(p.cmdImport->isEnabled());
  p.cboCampo[0]->setCurrentIndex(1);
  EXPECT_FALSE(p.cmdImport->isEnabled());
  p.cboCampo[1]->setCurrentIndex(2);
  EXPECT_TRUE(p.cmdImport->isEnabled());
  p.cboCampo[3]->setCurrentIndex(0);
  EXPECT_TRUE(p.cmdImport->isEnabled());
  p.cboCampo[1]->setCurrentIndex(0);
  EXPECT_FALSE(p.cmdImport->isEnabled());
}

TEST(CampiRep, StessoCampoDueVolteAvantiRestaIndietroNo) {
  OrigineCsv o;
  frmCampiRep& p = ApriCampiRep(o);
  p.cboCampo[0]->setCurrentIndex(2);
  p.cboCampo[1]->setCurrentIndex(2);
  p.cmdImport->click();
  EXPECT_EQ(o.a.messaggi.Testi(), std::vector<std::string>{kStessoCampo});
  EXPECT_TRUE(p.isVisible());
  EXPECT_EQ(o.prog.Caricata<frmTabellaArt>(), nullptr);

  // Back stores what was set, silently, opens the source again and shows the table page
  // with the table selected.
  o.a.messaggi.Pulisci();
  p.cboCampo[1]->setCurrentIndex(3);
  p.cmdBack->click();
  EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
  EXPECT_EQ(o.prog.def.gCampiRep[0], 2);
  EXPECT_EQ(o.prog.def.gNomiCampiRep[1], "Note");
  EXPECT_EQ(o.prog.Caricata<frmCampiRep>(), nullptr);
  frmTabellaRep* tabella = o.prog.Caricata<frmTabellaRep>();
  ASSERT_NE(tabella, nullptr);
  EXPECT_TRUE(tabella->isVisible());
  EXPECT_EQ(tabella->txtTabSel->text(), "reparti.csv");
  EXPECT_TRUE(o.prog.gDb && o.prog.gDb->Aperto());
}

TEST(CampiRep, AvantiVersoGliArticoliOLaLingua) {
  for (int16_t impArt : {1, 0}) {
    SCOPED_TRACE(impArt);
    OrigineCsv o;
    o.prog.def.gImpArt = impArt;
    o.prog.def.gTabellaArt = "articoli#csv";
    // The language page reads the shop's languages as it opens.
    o.prog.def.gPathNegozio = o.a.cartella / "negozio";
    test::CreaNegozio(o.prog.def.gPathNegozio);
    frmCampiRep& p = ApriCampiRep(o);
    p.cboCampo[1]->setCurrentIndex(2);
    p.cmdImport->click();
    // (The language page may tell that it found no shop: that is its own business.)
    if (impArt == 1) {
      EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
    }
    EXPECT_EQ(o.prog.def.gNomiCampiRep[1], "Nome");
    EXPECT_EQ(o.prog.Caricata<frmCampiRep>(), nullptr);
    if (impArt == 1) {
      frmTabellaArt* art = o.prog.Caricata<frmTabellaArt>();
      ASSERT_NE(art, nullptr);
      EXPECT_TRUE(art->isVisible());
      EXPECT_EQ(art->txtTabSel->text(), "articoli.csv");
    } else {
      ASSERT_NE(o.prog.Caricata<frmLingue>(), nullptr);
      EXPECT_TRUE(o.prog.Caricata<frmLingue>()->isVisible());
    }
  }
}

TEST(CampiRep, IndietroRiapreLaSorgenteMentreLAnteprimaResta) {
  // The preview opened on step 3 still reads its rows after the source is opened anew.
  OrigineCsv o;
  o.prog.def.gTabellaRep = "reparti#csv";
  frmTabellaRep& tabella = o.ApriTabellaRep();
  tabella.cmdPreview->click();
  tabella.cmdImport->click();
  o.prog.Form<frmCampiRep>().cmdBack->click();
  frmViewTab* anteprima = o.prog.Caricata<frmViewTab>();
  ASSERT_NE(anteprima, nullptr);
  QAbstractItemModel* modello = anteprima->grdViewTab->model();
  for (int r = 0; r < modello->rowCount(); ++r) modello->index(r, 1).data();
  EXPECT_TRUE(o.prog.Caricata<frmTabellaRep>()->isVisible());
  EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
}

TEST(CampiRep, IndietroConLaSorgenteSparitaResta) {
  OrigineCsv o;
  frmCampiRep& p = ApriCampiRep(o);
  p.cboCampo[1]->setCurrentIndex(2);
  o.prog.def.gPathDb = o.cartella + "/non_esiste";
  p.cmdBack->click();
  ASSERT_EQ(o.a.messaggi.Mostrati().size(), 1u);
  EXPECT_TRUE(p.isVisible());
  EXPECT_EQ(o.prog.def.gCampiRep[1], 2);  // stored all the same
}

// Value of the scroll bar -> which of rows 0 to 13 have their list enabled.
struct CasoScorrimento {
  int valore;
  const char* abilitate;
};

void PrintTo(const CasoScorrimento& c, std::ostream* os) { *os << "Valore" << c.valore; }

class Scorrimento : public ::testing::TestWithParam<CasoScorrimento> {};

TEST_P(Scorrimento, SoloLeRigheInVistaSonoAbilitate) {
  OrigineCsv o;
  frmCampiArt& p = ApriCampiArt(o);
  p.vscCampi->setValue(GetParam().valore);
  std::string abilitate;
  for (QComboBox* c : p.cboCampo) abilitate += c->isEnabled() ? 'E' : 'D';
  EXPECT_EQ(abilitate, GetParam().abilitate);
  EXPECT_EQ(p.fraCampiScroll->y(), -Px(GetParam().valore));
}

INSTANTIATE_TEST_SUITE_P(
    Valori, Scorrimento,
    ::testing::Values(
        CasoScorrimento{0, "EEEEEEEEEDDDDD"}, CasoScorrimento{100, "EEEEEEEEEEDDDD"},
        CasoScorrimento{360, "DEEEEEEEEEDDDD"}, CasoScorrimento{361, "DEEEEEEEEEEDDD"},
        CasoScorrimento{720, "DDEEEEEEEEEDDD"}, CasoScorrimento{1079, "DDEEEEEEEEEEDD"},
        CasoScorrimento{1080, "DDDEEEEEEEEEDD"}, CasoScorrimento{1439, "DDDEEEEEEEEEED"},
        CasoScorrimento{1440, "DDDDEEEEEEEEED"}, CasoScorrimento{1441, "DDDDEEEEEEEEEE"},
        CasoScorrimento{1800, "DDDDDEEEEEEEEE"}),
    [](const auto& info) { return "Valore" + std::to_string(info.param.valore); });

int IndiceDi(const PaginaMappa& p, const QWidget* w) {
  const auto it = std::find(p.cboCampo.begin(), p.cboCampo.end(), w);
  return it == p.cboCampo.end() ? -1 : static_cast<int>(it - p.cboCampo.begin());
}

// Whether the whole of the list shows, nothing of it cut by the clipping frame.
bool InVista(const QWidget* w) { return w->visibleRegion() == QRegion(w->rect()); }

// Only the keyboard, on either mapping page: from the first row Tab visits every row's list in
// row order, each brought in sight, then goes on to what follows the rows; Shift+Tab comes back
// the same way, and Tab from the last stop of the page comes round to the first row.
struct CasoTab {
  const char* nome;
  bool articoli;
};

void PrintTo(const CasoTab& c, std::ostream* os) { *os << c.nome; }

class GiroDelleRighe : public ::testing::TestWithParam<CasoTab> {};

TEST_P(GiroDelleRighe, TabEShiftTabPassanoOgniRigaInOrdine) {
  OrigineCsv o;
  PaginaMappa& p = GetParam().articoli ? static_cast<PaginaMappa&>(ApriCampiArt(o))
                                       : static_cast<PaginaMappa&>(ApriCampiRep(o));
  // The stop after the rows: the scroll bar, or the button row from its left.
  QWidget* dopo = GetParam().articoli ? static_cast<QWidget*>(o.prog.Form<frmCampiArt>().vscCampi)
                                      : static_cast<QWidget*>(p.cmdInfo);
  const int n = static_cast<int>(p.cboCampo.size());
  test::Attiva(&p);
  ASSERT_EQ(QApplication::focusWidget(), p.cboCampo[0]);
  for (int i = 1; i < n; ++i) {
    test::Premi(&p, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), p.cboCampo[i]) << "Tab " << i;
    EXPECT_TRUE(InVista(p.cboCampo[i])) << i;
  }
  test::Premi(&p, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), dopo);
  for (int i = n - 1; i >= 0; --i) {
    test::Premi(&p, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), p.cboCampo[i]) << "Shift+Tab to " << i;
    EXPECT_TRUE(InVista(p.cboCampo[i])) << i;
  }
  // With the last rows in sight, Tab comes round the button row to the first row.
  for (int i = 0; i < n; ++i) test::Premi(&p, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), dopo);
  for (int i = 0; i < 10 && IndiceDi(p, QApplication::focusWidget()) < 0; ++i)
    test::Premi(&p, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), p.cboCampo[0]);
  EXPECT_TRUE(InVista(p.cboCampo[0]));
}

INSTANTIATE_TEST_SUITE_P(Pagine, GiroDelleRighe,
                         ::testing::Values(CasoTab{"Articoli", true}, CasoTab{"Reparti", false}),
                         [](const auto& info) { return std::string(info.param.nome); });

// 13 Tabs from the first row reach "Percorso immagine piccola", where a letter picks the field
// that begins with it, and the mapping keeps it. From the scroll bar at the top, Shift+Tab
// goes to that row as well; the bar's own keys still scroll.
TEST(CampiArt, TrediciTabEUnaLetteraScelgonoLImmaginePiccola) {
  OrigineCsv o;
  o.Scrivi("articoli.csv", {"Codice,Titolo,Reparto,Prezzo,Foto", "A1,Sedia,R1,10,sedia.jpg"});
  frmCampiArt& p = ApriCampiArt(o);
  test::Attiva(&p);
  ASSERT_EQ(QApplication::focusWidget(), p.cboCampo[0]);
  for (int i = 0; i < 13; ++i) test::Premi(&p, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), p.cboCampo[artImmaginePiccola]);
  EXPECT_EQ(p.vscCampi->value(), 1800);
  test::Scrivi(&p, "F");
  EXPECT_EQ(p.cboCampo[artImmaginePiccola]->currentText(), "Foto");

  test::Premi(&p, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), p.vscCampi);
  test::Premi(&p, Qt::Key_Home);
  EXPECT_EQ(p.vscCampi->value(), 0);
  EXPECT_FALSE(p.cboCampo[artImmaginePiccola]->isEnabled());
  test::Premi(&p, Qt::Key_Tab, Qt::ShiftModifier);
  ASSERT_EQ(QApplication::focusWidget(), p.cboCampo[artImmaginePiccola]);
  EXPECT_EQ(p.vscCampi->value(), 1800);
  test::Premi(&p, Qt::Key_Tab);
  test::Premi(&p, Qt::Key_PageUp);
  EXPECT_EQ(p.vscCampi->value(), 1800 - 720);

  p.cmdImport->click();
  EXPECT_EQ(o.prog.def.gCampiArt[artImmaginePiccola], 5);
  EXPECT_EQ(o.prog.def.gNomiCampiArt[artImmaginePiccola], "Foto");
}

// The wheel over the scroll bar scrolls as far as it says, also when it takes the focused row
// out of sight: the focus moves on to a row in sight and the panel stays where the wheel put it.
TEST(CampiArt, LaRotellaSullaBarraNonTornaAllaRigaColFuoco) {
  OrigineCsv o;
  frmCampiArt& p = ApriCampiArt(o);
  test::Attiva(&p);
  ASSERT_EQ(QApplication::focusWidget(), p.cboCampo[0]);
  test::Rotella(p.vscCampi);
  const int valore = p.vscCampi->value();
  EXPECT_EQ(valore, 720);  // three rows, held to one page
  EXPECT_EQ(p.fraCampiScroll->y(), -Px(valore));
  QWidget* fuoco = QApplication::focusWidget();
  ASSERT_GE(IndiceDi(p, fuoco), 0);
  EXPECT_TRUE(InVista(fuoco));
}

TEST(CampiArt, NuovaImportazioneAvantiAbilitatoMaSenzaCampi) {
  OrigineCsv o;
  o.prog.def.gCampiArt.fill(0);  // every row on the blank entry
  frmCampiArt& p = ApriCampiArt(o);
  EXPECT_EQ(p.cboCampo[0]->currentIndex(), 0);
  EXPECT_TRUE(p.cmdImport->isEnabled());
  EXPECT_EQ(p.vscCampi->value(), 0);
  p.cmdImport->click();
  EXPECT_EQ(o.a.messaggi.Testi(),
            std::vector<std::string>{"Almeno un campo deve essere attribuito"});
  EXPECT_TRUE(p.isVisible());
  EXPECT_EQ(o.prog.Caricata<frmOpzioniArticoli>(), nullptr);
}

TEST(CampiArt, NessunaSceltaTieneAvantiDisabilitato) {
  OrigineCsv o;  // positions -1: the fill selects nothing
  frmCampiArt& p = ApriCampiArt(o);
  EXPECT_FALSE(p.cmdImport->isEnabled());
  p.cboCampo[9]->setCurrentIndex(0);
  EXPECT_TRUE(p.cmdImport->isEnabled());
}

TEST(CampiArt, AvantiChiudeLAnteprimaIndietroLaLascia) {
  for (bool avanti : {true, false}) {
    SCOPED_TRACE(avanti);
    OrigineCsv o;
    o.prog.def.gTabellaArt = "articoli#csv";
    frmTabellaArt& tabella = o.ApriTabellaArt();
    tabella.cmdPreview->click();
    tabella.cmdImport->click();
    frmCampiArt& p = o.prog.Form<frmCampiArt>();
    ASSERT_NE(o.prog.Caricata<frmViewTab>(), nullptr);
    p.cboCampo[1]->setCurrentIndex(1);
    p.cboCampo[2]->setCurrentIndex(1);  // the same field twice: only back lets it pass
    if (avanti) p.cboCampo[2]->setCurrentIndex(2);
    (avanti ? p.cmdImport : p.cmdBack)->click();
    EXPECT_TRUE(o.a.messaggi.Mostrati().empty());
    EXPECT_EQ(o.prog.Caricata<frmCampiArt>(), nullptr);
    EXPECT_EQ(o.prog.def.gNomiCampiArt[1], "Codice");
    EXPECT_EQ(o.prog.Caricata<frmViewTab>() != nullptr, !avanti);
    if (avanti) {
      ASSERT_NE(o.prog.Caricata<frmOpzioniArticoli>(), nullptr);
      EXPECT_TRUE(o.prog.Caricata<frmOpzioniArticoli>()->isVisible());
    } else {
      ASSERT_NE(o.prog.Caricata<frmTabellaArt>(), nullptr);
      EXPECT_TRUE(o.prog.Caricata<frmTabellaArt>()->isVisible());
    }
  }
}

TEST(CampiArt, UnaNuovaFinestraRipartDallAltoConLaMappaSalvata) {
  OrigineCsv o;
  frmCampiArt& p = ApriCampiArt(o);
  p.vscCampi->setValue(1800);
  p.cboCampo[12]->setCurrentIndex(4);
  p.cmdBack->click();
  o.prog.Form<frmTabellaArt>().cmdImport->click();
  frmCampiArt& nuova = o.prog.Form<frmCampiArt>();
  EXPECT_EQ(nuova.vscCampi->value(), 0);
  EXPECT_EQ(nuova.fraCampiScroll->y(), 0);
  EXPECT_FALSE(nuova.cboCampo[12]->isEnabled());
  EXPECT_EQ(nuova.cboCampo[12]->currentText(), "Prezzo");
}

}  // namespace
}  // namespace tarkpo::wizard
