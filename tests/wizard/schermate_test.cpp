// Renders every window to PNG files under the build folder, so that a person can look at
// them, and checks in each of these states that every caption has the room it needs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QPixmap>
#include <QStyle>

#include "support/negozio_test.h"
#include "tests/wizard/ambiente.h"
#include "tests/wizard/origine_prova.h"
#include "tests/wizard/tastiera.h"
#include "tests/wizard/testi_interi.h"
#include "wizard/applicazione.h"
#include "wizard/frm_about.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_campi_rep.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_listini.h"
#include "wizard/frm_main.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_opzioni_db.h"
#include "wizard/frm_rimuovi_articoli.h"
#include "wizard/frm_start.h"
#include "wizard/frm_view_tab.h"
#include "wizard/geometria.h"

namespace tarkpo::wizard {
namespace {

// Writes the window to build/schermate/`file` (or to the folder TARKPO_SCHERMATE names, for a
// run of these tests beside the usual one) and returns the size of the picture written;
// fails the test for every caption the window cuts.
QSize Fotografa(QWidget& finestra, const char* file) {
  const QString altrove = qEnvironmentVariable("TARKPO_SCHERMATE");
  const QString cartella = altrove.isEmpty() ? QStringLiteral(TARKPO_BINARI "/schermate") : altrove;
  QDir().mkpath(cartella);
  const QString percorso = cartella + QLatin1Char('/') + QLatin1String(file);
  EXPECT_TRUE(finestra.grab().save(percorso, "PNG")) << file;
  std::string tagliati;
  for (const std::string& t : test::TestiTagliati(finestra)) tagliati += "\n  " + t;
  EXPECT_EQ(tagliati, "") << file;
  return QImage(percorso).size();
}

// The measures below hold for the face the program ships, found whatever the desktop's
// default: the windows and their controls are drawn in it at the design's 8 points, in the
// style whose spacing the captions were laid out for.
TEST(Schermate, IlCarattereEQuelloDelProgramma) {
  test::Ambiente a;
  Programma& prog = a.Crea();
  frmOpzioniArticoli& pagina = prog.Form<frmOpzioniArticoli>();
  for (const QWidget* w :
       {static_cast<const QWidget*>(&pagina), static_cast<const QWidget*>(pagina.chkTondi)}) {
    EXPECT_EQ(QFontInfo(w->font()).family(), QString::fromLatin1(kFamigliaCaratteri));
    EXPECT_EQ(w->font().pointSizeF(), 8);
  }
  EXPECT_EQ(QFontInfo(QApplication::font()).family(), QString::fromLatin1(kFamigliaCaratteri));
  EXPECT_EQ(pagina.style()->name(), QStringLiteral("fusion"));
}

TEST(Schermate, AvvioEPaginaInPng) {
  test::Ambiente a;
  Programma& prog = a.Crea();
  AvviaFinestre(prog);
  frmAbout* avvio = prog.Caricata<frmAbout>();
  ASSERT_NE(avvio, nullptr);
  prog.def.gTipoDb = "Text;";
  prog.def.gPathDb = "/dati/catalogo";
  prog.def.gPathNegozio = "/negozi/uno";
  frmMain& pagina = prog.Form<frmMain>();
  pagina.Mostra();
  frmStart& start = prog.Form<frmStart>();
  start.Mostra();
  frmOpzioniDb& opzioni = prog.Form<frmOpzioniDb>();
  opzioni.Mostra();

  struct Schermata {
    QWidget* finestra;
    const char* file;
    QSize dimensione;
  };
  for (const Schermata& s :
       {Schermata{avvio, "avvio.png", {410, 291}}, Schermata{&pagina, "pagina.png", {632, 445}},
        Schermata{&start, "start.png", {632, 445}},
        Schermata{&opzioni, "opzioni_db.png", {276, 197}}}) {
    EXPECT_EQ(Fotografa(*s.finestra, s.file), s.dimensione) << s.file;
  }
}

// The source page and its options dialog for the other two kinds of source.
TEST(Schermate, OrigineAccessEdExcel) {
  struct Caso {
    const char* tipo;
    const char* pagina;
    const char* opzioni;
  };
  for (const Caso& c : {Caso{"Access 2000;", "pagina_access.png", "opzioni_db_access.png"},
                        Caso{"Excel 8.0;", "pagina_excel.png", "opzioni_db_excel.png"}}) {
    test::Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gTipoDb = c.tipo;
    prog.def.gPathDb = "/dati/catalogo.mdb";
    frmMain& pagina = prog.Form<frmMain>();
    pagina.Mostra();
    EXPECT_EQ(Fotografa(pagina, c.pagina), QSize(632, 445));
    frmOpzioniDb& opzioni = prog.Form<frmOpzioniDb>();
    opzioni.Mostra();
    Fotografa(opzioni, c.opzioni);
  }
}

// The table pages, the mapping pages and the preview over a small .csv source.
TEST(Schermate, PagineDelleTabelleEDeiCampi) {
  test::OrigineCsv o;
  o.prog.def.gTabellaRep = "reparti#csv";
  o.prog.def.gTabellaArt = "articoli#csv";
  o.prog.def.gCampiRep[1] = 2;
  auto salva = [](QWidget& finestra, const char* file) { Fotografa(finestra, file); };
  frmTabellaRep& rep = o.ApriTabellaRep();
  salva(rep, "tabella_reparti.png");
  rep.cmdPreview->click();
  ASSERT_NE(o.prog.Caricata<frmViewTab>(), nullptr);
  salva(*o.prog.Caricata<frmViewTab>(), "anteprima.png");
  rep.cmdImport->click();
  frmCampiRep& campiRep = o.prog.Form<frmCampiRep>();
  salva(campiRep, "campi_reparti.png");
  campiRep.cmdImport->click();
  frmTabellaArt& art = o.prog.Form<frmTabellaArt>();
  salva(art, "tabella_articoli.png");
  art.cmdImport->click();
  frmCampiArt& campiArt = o.prog.Form<frmCampiArt>();
  campiArt.vscCampi->setValue(100);
  salva(campiArt, "campi_articoli.png");
  // The scroll bar with the focus, reached as the keyboard reaches it.
  test::Attiva(&campiArt);
  test::TabFino(&campiArt, campiArt.vscCampi);
  salva(campiArt, "campi_articoli_barra.png");
  // Back from the bar to the last row, "Percorso immagine piccola", a field picked by its letter.
  test::Premi(&campiArt, Qt::Key_Home);
  test::Premi(&campiArt, Qt::Key_Tab, Qt::ShiftModifier);
  test::Scrivi(&campiArt, "P");
  salva(campiArt, "campi_articoli_riga14.png");
}

// The pages from the item options to the import, over a shop with four languages and ten
// price lists; the import page before and after a run with nothing to import.
TEST(Schermate, PagineDalleOpzioniAllImportazione) {
  test::Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gPathNegozio = a.cartella / "negozio";
  test::CreaNegozio(prog.def.gPathNegozio, test::kSchemaEsteso);
  prog.def.gGiacenzaMinima = 3;
  prog.def.gVariazione = 15;
  prog.def.gPreserva = 1;
  prog.def.gEscludi = -2;
  prog.def.gListini[0] = 1;
  prog.def.gSovrascrivi = 1;
  auto salva = [](QWidget& finestra, const char* file) {
    finestra.show();
    EXPECT_EQ(Fotografa(finestra, file), QSize(632, 445)) << file;
  };
  salva(prog.Form<frmOpzioniArticoli>(), "opzioni_articoli.png");
  salva(prog.Form<frmRimuoviArticoli>(), "rimuovi_articoli.png");
  salva(prog.Form<frmLingue>(), "lingue.png");
  salva(prog.Form<frmListini>(), "listini.png");
  frmImporta& importa = prog.Form<frmImporta>();
  salva(importa, "importa.png");
  importa.cmdImport->click();
  salva(importa, "importa_fine.png");
}

}  // namespace
}  // namespace tarkpo::wizard
