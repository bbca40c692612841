// The life of the windows and the page frame: loading on first touch, the frame copy from
// the source page, the close box, the tutorial button.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <algorithm>
#include <fstream>
#include <vector>

#include <QScreen>

#include "tests/wizard/ambiente.h"
#include "tests/wizard/tastiera.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_main.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_rimuovi_articoli.h"
#include "wizard/frm_start.h"
#include "wizard/pagina.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

// A later page as it might be designed: smaller than the source page, its buttons lower,
// another title. The frame copy must replace all of that.
template <int kPasso>
class PaginaProva : public PaginaWizard {
 public:
  static constexpr const char* kNome = kPasso == 3 ? "frmTabellaRep" : "frmCampiRep";
  explicit PaginaProva(Programma& p)
      : PaginaWizard(p, kNome, {kPasso, "Prova", 0, {0, 1, 2, 3}, true, "Avanti >", false}) {
    setFixedSize(500, 300);
    for (QWidget* b : {static_cast<QWidget*>(cmdBack), static_cast<QWidget*>(cmdImport),
                       static_cast<QWidget*>(cmdInfo), static_cast<QWidget*>(cmdTutorial)}) {
      b->move(b->x(), 250);
    }
    setWindowTitle(QStringLiteral("progetto"));
  }
  int caricamenti = 0;

 protected:
  void Pagina_Load() override { ++caricamenti; }
};
using Pagina3 = PaginaProva<3>;
using Pagina4 = PaginaProva<4>;

void Svuota() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(Finestre, CaricataAlPrimoToccoDistruttaAllaChiusuraRicreataDopo) {
  Ambiente a;
  Programma& prog = a.Crea();
  EXPECT_EQ(prog.Caricata<Pagina3>(), nullptr);
  Pagina3& prima = prog.Form<Pagina3>();
  EXPECT_EQ(&prog.Form<Pagina3>(), &prima);
  EXPECT_EQ(prima.caricamenti, 1);
  EXPECT_FALSE(prima.isVisible());

  QPointer<Pagina3> vecchia(&prima);
  prima.Scarica();  // by the program: asks nothing, ends nothing
  EXPECT_EQ(prog.Caricata<Pagina3>(), nullptr);
  Svuota();
  EXPECT_TRUE(vecchia.isNull());
  Pagina3& seconda = prog.Form<Pagina3>();
  EXPECT_EQ(seconda.caricamenti, 1);
  EXPECT_TRUE(a.fini.empty());
  EXPECT_TRUE(a.messaggi.Mostrati().empty());
}

TEST(Finestre, CopiaLaCorniceDallaPaginaOrigineRicaricandolaNascosta) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmMain& origine = prog.Form<frmMain>();
  origine.Mostra();
  origine.cmdImport->move(origine.cmdImport->x(), 380);
  origine.cmdTutorial->move(origine.cmdTutorial->x(), 390);

  Pagina3& p3 = prog.Form<Pagina3>();
  EXPECT_EQ(p3.size(), origine.size());
  EXPECT_EQ(p3.size(), QSize(632, 445));
  EXPECT_EQ(p3.windowTitle(), QStringLiteral("vantrel - Importazione database"));
  EXPECT_EQ(p3.windowIcon().cacheKey(), origine.windowIcon().cacheKey());
  for (QWidget* b : {static_cast<QWidget*>(p3.cmdBack), static_cast<QWidget*>(p3.cmdImport),
                     static_cast<QWidget*>(p3.cmdInfo)}) {
    EXPECT_EQ(b->y(), 380) << b->objectName().toStdString();
  }
  EXPECT_EQ(p3.cmdTutorial->y(), 390);
  EXPECT_EQ(p3.cmdBack->x(), 400);  // lefts stay as designed
  EXPECT_EQ(p3.cmdImport->x(), 512);

  // Moving on closes the source page; the next page's copy loads it again, hidden, from
  // its design, and it stays loaded.
  p3.Mostra();
  origine.Scarica();
  Svuota();
  Pagina4& p4 = prog.Form<Pagina4>();
  frmMain* ricaricata = prog.Caricata<frmMain>();
  ASSERT_NE(ricaricata, nullptr);
  EXPECT_FALSE(ricaricata->isVisible());
  EXPECT_EQ(ricaricata->windowTitle(), QStringLiteral("vantrel - Importazione database"));
  EXPECT_EQ(p4.cmdImport->y(), 410);
  EXPECT_EQ(p4.size(), QSize(632, 445));
  EXPECT_TRUE(a.fini.empty());
}

std::shared_ptr<dao::Database> ApriSqlite(Programma& prog, const std::string& percorso) {
  sqlite3* db = nullptr;
  sqlite3_open(percorso.c_str(), &db);
  sqlite3_exec(db, "CREATE TABLE t(a INTEGER)", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return prog.motore.Workspaces(0).OpenDatabase(percorso);
}

TEST(Finestre, IlPulsanteDiChiusuraDiOgniPaginaTerminaIlProgramma) {
  struct Caso {
    const char* nome;
    std::function<PaginaWizard&(Programma&)> pagina;
  };
  const Caso casi[] = {
      {"start", [](Programma& p) -> PaginaWizard& { return p.Form<frmStart>(); }},
      {"origine", [](Programma& p) -> PaginaWizard& { return p.Form<frmMain>(); }},
      {"passo 3", [](Programma& p) -> PaginaWizard& { return p.Form<Pagina3>(); }},
      {"importa", [](Programma& p) -> PaginaWizard& { return p.Form<frmImporta>(); }},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.gDb = ApriSqlite(prog, a.cartella / "origine.db");
    auto origine = prog.gDb;
    prog.Form<frmMain>();
    prog.Form<frmImporta>();
    PaginaWizard& pagina = c.pagina(prog);
    pagina.Mostra();
    pagina.close();  // as the close box does
    EXPECT_EQ(a.fini, std::vector<int>{0});
    EXPECT_EQ(prog.Caricata<frmMain>(), nullptr);
    EXPECT_EQ(prog.Caricata<frmImporta>(), nullptr);
    EXPECT_EQ(prog.gDb, nullptr);
    EXPECT_FALSE(origine->Aperto());
    EXPECT_TRUE(a.messaggi.Mostrati().empty());
  }
}

TEST(Finestre, SenzaDatabaseApertoLaFineNonDiceNulla) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmStart& start = prog.Form<frmStart>();
  start.Mostra();
  start.close();
  EXPECT_EQ(a.fini, std::vector<int>{0});
  EXPECT_TRUE(a.messaggi.Mostrati().empty());
}

TEST(Finestre, IlTutorialApreIndexDellaCartellaTutorialQuandoCe) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmMain& pagina = prog.Form<frmMain>();
  pagina.cmdTutorial->click();  // no tutorial folder: nothing happens, nothing is said
  EXPECT_TRUE(a.shell.aperti.empty());

  std::filesystem::create_directories(a.cartellaProgramma + "/tutorial");
  std::ofstream(a.cartellaProgramma + "/tutorial/index.htm") << "<html></html>";
  pagina.cmdTutorial->click();
  EXPECT_EQ(a.shell.aperti, std::vector<std::string>{a.cartellaProgramma + "/tutorial/index.htm"});
  EXPECT_TRUE(a.messaggi.Mostrati().empty());
}

TEST(Finestre, LaCorniceDiOgniPassoHaIPulsantiDellaSuaPagina) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmStart& start = prog.Form<frmStart>();
  EXPECT_EQ(start.cmdBack, nullptr);
  EXPECT_EQ(start.Label3->text(), QStringLiteral("1"));
  EXPECT_EQ(start.Label4->text(), QStringLiteral("Scegliere l'operazione"));
  EXPECT_EQ(start.windowTitle(), QStringLiteral("vantrel - Importazione database"));
  EXPECT_EQ(start.cmdImport->text(), QStringLiteral("Avanti >"));
  EXPECT_EQ(start.lblHelp.size(), 7u);
  EXPECT_EQ(start.lblHelp.count(2), 0u);

  frmImporta& importa = prog.Form<frmImporta>();
  EXPECT_EQ(importa.Label3->text(), QStringLiteral("11"));
  EXPECT_EQ(importa.Label3->width(), 36);  // two digits: 540 twips
  EXPECT_EQ(importa.Label4->x(), 56);      // and the title moves to 840
  EXPECT_EQ(importa.cmdImport->text(), QStringLiteral("Importa"));
  EXPECT_FALSE(importa.cmdImport->isEnabled());
  EXPECT_EQ(importa.cmdInfo->toolTip(), QStringLiteral("informazioni su..."));
}

// The wizard stays in one place: its first page and the start page in the middle of the
// screen, every other one where the page it replaces stood, also after the user has moved
// it, whether the old page closes before or after the new one shows.
TEST(Finestre, OgniPaginaSiApreDoveStavaQuellaCheSostituisce) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmMain& origine = prog.Form<frmMain>();
  origine.Mostra();
  const QRect schermo = QGuiApplication::primaryScreen()->availableGeometry();
  // Before it is shown, the window's frame is not known: centred to within its width.
  EXPECT_LE((origine.frameGeometry().center() - schermo.center()).manhattanLength(), 8);
  const QPoint centro = origine.pos();

  origine.move(origine.pos() + QPoint(-131, 47));
  origine.cmdBack->click();  // shows the start page, then closes
  frmStart* start = prog.Caricata<frmStart>();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->pos(), centro);

  start->move(start->pos() + QPoint(-131, 47));
  const QPoint dove = start->pos();
  start->Scarica();
  auto& opzioni = prog.Form<frmOpzioniArticoli>();
  opzioni.Mostra();
  EXPECT_EQ(opzioni.pos(), dove);
  opzioni.cmdImport->click();  // closes, then shows the next page
  frmRimuoviArticoli* rimuovi = prog.Caricata<frmRimuoviArticoli>();
  ASSERT_NE(rimuovi, nullptr);
  EXPECT_EQ(rimuovi->pos(), dove);
  rimuovi->cmdBack->click();
  ASSERT_NE(prog.Caricata<frmOpzioniArticoli>(), nullptr);
  EXPECT_EQ(prog.Caricata<frmOpzioniArticoli>()->pos(), dove);
}

// On a page, Enter presses the button that has the focus (no page has a default button), and
// Space does as before.
TEST(Finestre, InvioSulPulsanteColFuocoLoPreme) {
  Ambiente a;
  Programma& prog = a.Crea();
  auto& opzioni = prog.Form<frmOpzioniArticoli>();
  opzioni.Mostra();
  test::Attiva(&opzioni);
  test::TabFino(&opzioni, opzioni.chkTondi);
  test::Premi(&opzioni, Qt::Key_Return);  // on a check box: nothing
  EXPECT_FALSE(opzioni.chkTondi->isChecked());
  EXPECT_EQ(prog.Caricata<frmOpzioniArticoli>(), &opzioni);
  test::TabFino(&opzioni, opzioni.cmdImport);
  test::Premi(&opzioni, Qt::Key_Return);
  EXPECT_EQ(prog.Caricata<frmOpzioniArticoli>(), nullptr);
  frmRimuoviArticoli* rimuovi = prog.Caricata<frmRimuoviArticoli>();
  ASSERT_NE(rimuovi, nullptr);

  test::Attiva(rimuovi);
  test::TabFino(rimuovi, rimuovi->cmdBack);
  test::Premi(rimuovi, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(prog.Caricata<frmRimuoviArticoli>(), nullptr);
  frmOpzioniArticoli* ancora = prog.Caricata<frmOpzioniArticoli>();
  ASSERT_NE(ancora, nullptr);
  test::Attiva(ancora);
  test::TabFino(ancora, ancora->cmdImport);
  test::Premi(ancora, Qt::Key_Space);
  EXPECT_NE(prog.Caricata<frmRimuoviArticoli>(), nullptr);
  EXPECT_TRUE(a.messaggi.Mostrati().empty());
}

// A page opens with the focus on its own first control, so that Enter on a page just opened
// presses nothing; Tab runs through the page's controls, then the button row from left to
// right, then back to the first control.
TEST(Finestre, IlTabPercorreLaPaginaPoiLaRigaDeiPulsanti) {
  Ambiente a;
  Programma& prog = a.Crea();
  std::vector<PaginaWizard*> pagine{&prog.Form<frmStart>(), &prog.Form<frmOpzioniArticoli>(),
                                    &prog.Form<frmRimuoviArticoli>()};
  for (PaginaWizard* p : pagine) {
    SCOPED_TRACE(p->objectName().toStdString());
    p->Mostra();
    test::Attiva(p);
    QWidget* primo = QApplication::focusWidget();
    ASSERT_NE(primo, nullptr);
    std::vector<QWidget*> riga{p->cmdInfo, p->cmdTutorial, p->cmdBack, p->cmdImport};
    std::erase(riga, nullptr);
    EXPECT_EQ(std::find(riga.begin(), riga.end(), primo), riga.end());
    EXPECT_TRUE(p->isAncestorOf(primo));

    std::vector<QWidget*> percorso{primo};
    for (int i = 0; i < 60; ++i) {
      test::Premi(p, Qt::Key_Tab);
      if (QApplication::focusWidget() == primo) break;
      percorso.push_back(QApplication::focusWidget());
    }
    ASSERT_EQ(QApplication::focusWidget(), primo) << "Tab never comes back";
    ASSERT_GE(percorso.size(), riga.size());
    EXPECT_EQ(
        std::vector<QWidget*>(percorso.end() - static_cast<long>(riga.size()), percorso.end()),
        riga);
    p->Scarica();
  }
  EXPECT_TRUE(a.messaggi.Mostrati().empty());
}

}  // namespace
}  // namespace tarkpo::wizard
