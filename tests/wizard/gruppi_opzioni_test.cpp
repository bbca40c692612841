// Option groups under the keyboard, as on the desktop: Tab and Shift+Tab enter a group on its
// chosen option, so Space there changes nothing; the arrows move within the group and choose.
// And the wheel: a list turns under it only when the user has put the focus on it.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "core/impostazioni.h"
#include "core/impostazioni_programma.h"
#include "support/negozio_test.h"
#include "tests/wizard/ambiente.h"
#include "tests/wizard/origine_prova.h"
#include "tests/wizard/tastiera.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_main.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_opzioni_db.h"
#include "wizard/frm_rimuovi_articoli.h"
#include "wizard/frm_start.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

// A page loaded with one stored choice, its option group in order, and the choice that the
// program holds (-1: none).
struct Aperta {
  PaginaWizard* pagina;
  std::vector<QAbstractButton*> opzioni;
  std::function<int()> memorizzata;
};

template <size_t N>
std::vector<QAbstractButton*> Opzioni(const std::array<QRadioButton*, N>& pulsanti) {
  return {pulsanti.begin(), pulsanti.end()};
}

// The start page with operation `op` remembered; "last.ini" exists when `ultima` is true.
Aperta Start(Ambiente& a, Programma& prog, int op, bool ultima = true) {
  if (ultima) std::ofstream(a.cartellaProgramma + "/last.ini") << "x";
  SaveSetting(a.registro, kApplicazione, "AppIni", "opt", std::to_string(op));
  auto& p = prog.Form<frmStart>();
  return {&p, Opzioni(p.optTipoOp), [&p] { return p.TipoOperazione; }};
}

int IndiceTipo(const std::string& tipo) {
  if (tipo == "Access 2000;") return 0;
  if (tipo == "Excel 8.0;") return 1;
  return tipo == "Text;" ? 2 : -1;
}

Aperta Origine(Ambiente&, Programma& prog, int tipo) {
  const char* tipi[] = {"Access 2000;", "Excel 8.0;", "Text;"};
  const char* opzioni[] = {"PWD=segreta", "HDR=No", "HDR=No"};
  prog.def.gTipoDb = tipi[tipo];
  prog.def.gOpzioniDb = opzioni[tipo];
  prog.def.gPathDb = "/dati/catalogo";
  prog.def.gPathNegozio = "/negozi/uno";
  auto& p = prog.Form<frmMain>();
  return {&p, Opzioni(p.optTipoDb), [&prog] { return IndiceTipo(prog.def.gTipoDb); }};
}

Aperta Rimuovi(Ambiente&, Programma& prog, int escludi) {
  prog.def.gEscludi = static_cast<int16_t>(escludi);
  auto& p = prog.Form<frmRimuoviArticoli>();
  return {&p, Opzioni(p.optEscludi), [&prog] { return std::abs(prog.def.gEscludi); }};
}

// Over a shop that names four languages, or only the first two.
Aperta Lingue(Ambiente& a, Programma& prog, int lingua, bool dueLingue = false) {
  prog.def.gPathNegozio = a.cartella / "negozio";
  const std::string file = test::CreaNegozio(prog.def.gPathNegozio, test::kSchemaEsteso);
  if (dueLingue) test::EseguiSql(file, "UPDATE lingue SET lingua3 = '', lingua4 = ''");
  prog.def.gLingua = static_cast<int16_t>(lingua);
  auto& p = prog.Form<frmLingue>();
  return {&p, Opzioni(p.optLingua), [&prog] { return int{prog.def.gLingua}; }};
}

Aperta Importa(Ambiente&, Programma& prog, int sovrascrivi) {
  prog.def.gSovrascrivi = static_cast<int16_t>(sovrascrivi);
  auto& p = prog.Form<frmImporta>();
  return {&p, Opzioni(p.optSovrascrivi), [&prog] { return prog.def.gSovrascrivi - 1; }};
}

using Apri = std::function<Aperta(Ambiente&, Programma&)>;

bool NelGruppo(const Aperta& ap) {
  return std::find(ap.opzioni.begin(), ap.opzioni.end(), QApplication::focusWidget()) !=
         ap.opzioni.end();
}

// Shows the page and presses Tab until the focus comes into the group from outside it.
void EntraColTab(const Aperta& ap) {
  ap.pagina->Mostra();
  test::Attiva(ap.pagina);
  for (int i = 0; i < 60 && NelGruppo(ap); ++i) test::Premi(ap.pagina, Qt::Key_Tab);
  for (int i = 0; i < 60 && !NelGruppo(ap); ++i) test::Premi(ap.pagina, Qt::Key_Tab);
  ASSERT_TRUE(NelGruppo(ap)) << "Tab never enters the group";
}

int Scelta(const Aperta& ap) {
  for (size_t i = 0; i < ap.opzioni.size(); ++i)
    if (ap.opzioni[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

struct CasoScelta {
  const char* nome;
  Apri apri;
  int scelta;  // the option the page opens with chosen
};

TEST(GruppiOpzioni, TabEntraSullOpzioneSceltaESpazioNonCambiaNulla) {
  const CasoScelta casi[] = {
      {"start 0", [](Ambiente& a, Programma& p) { return Start(a, p, 0); }, 0},
      {"start 1", [](Ambiente& a, Programma& p) { return Start(a, p, 1); }, 1},
      {"start 2", [](Ambiente& a, Programma& p) { return Start(a, p, 2); }, 2},
      {"origine Access", [](Ambiente& a, Programma& p) { return Origine(a, p, 0); }, 0},
      {"origine Excel", [](Ambiente& a, Programma& p) { return Origine(a, p, 1); }, 1},
      {"origine testo", [](Ambiente& a, Programma& p) { return Origine(a, p, 2); }, 2},
      {"mancanti 0", [](Ambiente& a, Programma& p) { return Rimuovi(a, p, 0); }, 0},
      {"mancanti -1", [](Ambiente& a, Programma& p) { return Rimuovi(a, p, -1); }, 1},
      {"mancanti 2", [](Ambiente& a, Programma& p) { return Rimuovi(a, p, 2); }, 2},
      {"mancanti -3", [](Ambiente& a, Programma& p) { return Rimuovi(a, p, -3); }, 3},
      {"lingua 1", [](Ambiente& a, Programma& p) { return Lingue(a, p, 0); }, 0},
      {"lingua 2", [](Ambiente& a, Programma& p) { return Lingue(a, p, 1); }, 1},
      {"lingua 3", [](Ambiente& a, Programma& p) { return Lingue(a, p, 2); }, 2},
      {"lingua 4", [](Ambiente& a, Programma& p) { return Lingue(a, p, 3); }, 3},
      {"sovrascrivere", [](Ambiente& a, Programma& p) { return Importa(a, p, 1); }, 0},
      {"ignorare", [](Ambiente& a, Programma& p) { return Importa(a, p, 2); }, 1},
  };
  for (const CasoScelta& c : casi) {
    SCOPED_TRACE(c.nome);
    Ambiente a;
    Programma& prog = a.Crea();
    const Aperta ap = c.apri(a, prog);
    ASSERT_EQ(Scelta(ap), c.scelta);
    const DefinizioneImportazione prima = prog.def;
    QAbstractButton* scelta = ap.opzioni[static_cast<size_t>(c.scelta)];
    ap.pagina->Mostra();
    test::Attiva(ap.pagina);
    // A page whose first control is the group opens on the chosen option.
    if (NelGruppo(ap)) {
      EXPECT_EQ(QApplication::focusWidget(), scelta);
    }
    EntraColTab(ap);
    EXPECT_EQ(QApplication::focusWidget(), scelta);
    test::Premi(ap.pagina, Qt::Key_Space);
    // The group is one stop: Tab leaves it, Shift+Tab comes back on the chosen option.
    test::Premi(ap.pagina, Qt::Key_Tab);
    EXPECT_FALSE(NelGruppo(ap));
    test::Premi(ap.pagina, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), scelta);
    test::Premi(ap.pagina, Qt::Key_Space);
    EXPECT_EQ(Scelta(ap), c.scelta);
    EXPECT_EQ(ap.memorizzata(), c.scelta);
    EXPECT_TRUE(prog.def == prima) << "a stored choice changed";
    EXPECT_TRUE(a.messaggi.Mostrati().empty());
    ap.pagina->Scarica();
  }
}

struct CasoFrecce {
  const char* nome;
  Apri apri;
  int fermata;                                 // where Tab enters the group
  std::vector<std::pair<Qt::Key, int>> passi;  // a key and the option chosen after it
};

TEST(GruppiOpzioni, LeFrecceScorronoIlGruppoEScelgono) {
  const CasoFrecce casi[] = {
      // Nothing chosen: the first option is the stop, the first arrow chooses; the hidden,
      // disabled third option is never reached, the group wraps around.
      {"importa senza scelta",
       [](Ambiente& a, Programma& p) { return Importa(a, p, 0); },
       0,
       {{Qt::Key_Down, 1}, {Qt::Key_Down, 0}, {Qt::Key_Up, 1}, {Qt::Key_Right, 0}}},
      // Without "last.ini" the second operation is disabled and passed over.
      {"start senza ultima",
       [](Ambiente& a, Programma& p) { return Start(a, p, 0, false); },
       0,
       {{Qt::Key_Down, 2}, {Qt::Key_Down, 0}, {Qt::Key_Left, 2}}},
      {"origine testo",
       [](Ambiente& a, Programma& p) { return Origine(a, p, 2); },
       2,
       {{Qt::Key_Up, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 0}}},
      {"mancanti -1",
       [](Ambiente& a, Programma& p) { return Rimuovi(a, p, -1); },
       1,
       {{Qt::Key_Down, 2}, {Qt::Key_Down, 3}, {Qt::Key_Down, 0}, {Qt::Key_Up, 3}}},
      // Languages the shop does not name are passed over.
      {"due lingue",
       [](Ambiente& a, Programma& p) { return Lingue(a, p, 0, true); },
       0,
       {{Qt::Key_Down, 1}, {Qt::Key_Down, 0}, {Qt::Key_Up, 1}}},
  };
  for (const CasoFrecce& c : casi) {
    SCOPED_TRACE(c.nome);
    Ambiente a;
    Programma& prog = a.Crea();
    const Aperta ap = c.apri(a, prog);
    EntraColTab(ap);
    ASSERT_EQ(QApplication::focusWidget(), ap.opzioni[static_cast<size_t>(c.fermata)]);
    for (auto [tasto, scelta] : c.passi) {
      SCOPED_TRACE(static_cast<int>(tasto));
      test::Premi(ap.pagina, tasto);
      QAbstractButton* attesa = ap.opzioni[static_cast<size_t>(scelta)];
      EXPECT_EQ(QApplication::focusWidget(), attesa);
      EXPECT_TRUE(attesa->isChecked());
      EXPECT_EQ(ap.memorizzata(), scelta);
    }
    ap.pagina->Scarica();
  }
}

// The handlers ran for the options the arrows chose: the import can start, the path of the
// operation that loads a file can be typed.
TEST(GruppiOpzioni, LeFrecceComeIlClic) {
  Ambiente a;
  Programma& prog = a.Crea();
  Aperta importa = Importa(a, prog, 0);
  auto& pagina = static_cast<frmImporta&>(*importa.pagina);
  EntraColTab(importa);
  EXPECT_FALSE(pagina.cmdImport->isEnabled());
  test::Premi(&pagina, Qt::Key_Down);
  EXPECT_TRUE(pagina.cmdImport->isEnabled());
  EXPECT_EQ(prog.def.gSovrascrivi, 2);
  pagina.Scarica();

  Aperta start = Start(a, prog, 1);
  auto& s = static_cast<frmStart&>(*start.pagina);
  EntraColTab(start);
  EXPECT_FALSE(s.txtPath->isEnabled());
  test::Premi(&s, Qt::Key_Down);
  EXPECT_TRUE(s.txtPath->isEnabled());
  test::Premi(&s, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), s.chkVai[1]);
}

TEST(Rotella, UnElencoSenzaFuocoNonCambia) {
  test::OrigineCsv o;
  o.prog.def.gTabellaArt = "articoli#csv";
  o.prog.def.gCampiArt[1] = 1;
  o.ApriTabellaArt().cmdImport->click();
  frmCampiArt& p = o.prog.Form<frmCampiArt>();
  test::Attiva(&p);
  QWidget* fuoco = QApplication::focusWidget();
  ASSERT_NE(fuoco, p.cboCampo[1]);
  test::Rotella(p.cboCampo[1]);
  EXPECT_EQ(p.cboCampo[1]->currentIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), fuoco);

  // Once the user has put the focus on it, it follows the wheel.
  test::TabFino(&p, p.cboCampo[1]);
  test::Rotella(p.cboCampo[1]);
  EXPECT_EQ(p.cboCampo[1]->currentIndex(), 2);

  // The same for the variation and the delimiter.
  auto& opzioni = o.prog.Form<frmOpzioniArticoli>();
  opzioni.Mostra();
  test::Attiva(&opzioni);
  test::Rotella(opzioni.cboVariazione);
  EXPECT_EQ(opzioni.cboVariazione->currentText(), QStringLiteral("0"));
  EXPECT_FLOAT_EQ(o.prog.def.gVariazione, 0);
  opzioni.Scarica();
  auto& dialogo = o.prog.Form<frmOpzioniDb>();
  dialogo.Mostra();
  test::Attiva(&dialogo);
  ASSERT_NE(QApplication::focusWidget(), dialogo.cboDelim);
  test::Rotella(dialogo.cboDelim);
  EXPECT_EQ(dialogo.cboDelim->currentIndex(), 0);
}

// The scroll bar that takes the keyboard to the hidden rows shows when it has the focus.
TEST(CampiArt, LaBarraColFuocoSiVede) {
  test::OrigineCsv o;
  o.prog.def.gTabellaArt = "articoli#csv";
  o.ApriTabellaArt().cmdImport->click();
  frmCampiArt& p = o.prog.Form<frmCampiArt>();
  test::Attiva(&p);
  // The last row brings the bar to its end, where it stays.
  test::TabFino(&p, p.cboCampo[kRigheArticoli - 1]);
  const QImage senza = p.vscCampi->grab().toImage();
  test::TabFino(&p, p.vscCampi);
  const QImage con = p.vscCampi->grab().toImage();
  EXPECT_NE(con, senza);
  test::Premi(&p, Qt::Key_Tab);
  EXPECT_EQ(p.vscCampi->grab().toImage(), senza);
}

}  // namespace
}  // namespace tarkpo::wizard
