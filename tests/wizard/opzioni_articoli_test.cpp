// The item options and missing-items pages: restoring from the definition, what each edit
// stores, the key filters and the way on.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QClipboard>

#include "core/regionali.h"
#include "tests/wizard/ambiente.h"
#include "tests/wizard/tastiera.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_rimuovi_articoli.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

// Sets the regional settings for one test and puts the old ones back.
class ConRegionali {
 public:
  explicit ConRegionali(ImpostazioniRegionali r) : vecchie_(Regionali()) { Regionali() = r; }
  ~ConRegionali() { Regionali() = vecchie_; }

 private:
  ImpostazioniRegionali vecchie_;
};

TEST(OpzioniArticoli, RipristinaIControlliSenzaCambiareLaDefinizione) {
  ConRegionali italiane(ImpostazioniRegionali::Italiane());
  struct Caso {
    int32_t minima;
    float variazione;
    int16_t arrotonda, preserva;
    bool chkMinima;
    const char* txtMinima;
    const char* cbo;
  } casi[] = {
      {-1, 0, 0, 1, false, "", "0"},
      {0, 15, 1, 0, true, "0", "+15"},
      {12, 12.5f, 0, 0, true, "12", "+12,5"},
      {3, -10, 1, 1, true, "3", "-10"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.cbo);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gGiacenzaMinima = c.minima;
    prog.def.gVariazione = c.variazione;
    prog.def.gArrotonda = c.arrotonda;
    prog.def.gPreserva = c.preserva;
    auto& p = prog.Form<frmOpzioniArticoli>();
    EXPECT_EQ(p.chkMinima->isChecked(), c.chkMinima);
    EXPECT_EQ(p.txtMinima->isEnabled(), c.chkMinima);
    EXPECT_EQ(p.txtMinima->text().toStdString(), c.txtMinima);
    EXPECT_EQ(p.cboVariazione->currentText().toStdString(), c.cbo);
    EXPECT_EQ(p.chkTondi->isChecked(), c.arrotonda != 0);
    EXPECT_EQ(p.chkPreserva->isChecked(), c.preserva != 0);
    EXPECT_EQ(p.cboVariazione->count(), 17);
    EXPECT_TRUE(p.cmdImport->isEnabled());
    EXPECT_EQ(prog.def.gGiacenzaMinima, c.minima);
    EXPECT_EQ(prog.def.gVariazione, c.variazione);
    EXPECT_EQ(prog.def.gArrotonda, c.arrotonda);
    EXPECT_EQ(prog.def.gPreserva, c.preserva);
  }
}

// The page shown and active, ready for the keyboard.
frmOpzioniArticoli& Mostrata(Programma& prog) {
  auto& p = prog.Form<frmOpzioniArticoli>();
  p.Mostra();
  test::Attiva(&p);
  return p;
}

// Opens the variation's list from the keyboard, as F4 does in a combo box.
QAbstractItemView* ApriElenco(frmOpzioniArticoli& p) {
  test::TabFino(&p, p.cboVariazione);
  test::Premi(&p, Qt::Key_F4);
  QAbstractItemView* elenco = p.cboVariazione->view();
  EXPECT_TRUE(elenco->isVisible());
  return elenco;
}

// The page with the variation box emptied and focused, as a user leaves it before typing.
frmOpzioniArticoli& VariazioneVuota(Programma& prog) {
  auto& p = Mostrata(prog);
  test::TabFino(&p, p.cboVariazione);
  test::Premi(&p, Qt::Key_End);
  for (int i = 0; i < 8 && !p.cboVariazione->currentText().isEmpty(); ++i)
    test::Premi(&p, Qt::Key_Backspace);
  return p;
}

TEST(OpzioniArticoli, LaVariazioneDigitataTastoPerTasto) {
  struct Caso {
    ImpostazioniRegionali regionali;
    const char* tasti;
    std::vector<float> dopoOgniTasto;
    const char* scritto;  // the box's text after the keys
    const char* mostrataAllaFine;
  } casi[] = {
      {ImpostazioniRegionali::Inglesi(), "150", {1, 15, 15}, "150", "+15"},
      {ImpostazioniRegionali::Inglesi(), "-100", {7, -1, -10, -100}, "-100", "-100"},
      // A lone sign is no number; the list's "-50", "+15"... complete nothing.
      {ImpostazioniRegionali::Inglesi(), "-", {7}, "-", "+7"},
      {ImpostazioniRegionali::Inglesi(), "-2", {7, -2}, "-2", "-2"},
      {ImpostazioniRegionali::Inglesi(), "+1", {7, 1}, "+1", "+1"},
      {ImpostazioniRegionali::Inglesi(), "-5", {7, -5}, "-5", "-5"},
      {ImpostazioniRegionali::Italiane(), "100,5", {1, 10, 100, 100, 100.5f}, "100,5", "+100,5"},
      {ImpostazioniRegionali::Italiane(), "101", {1, 10, 10}, "101", "+10"},
      // A "." goes in as the locale's separator; a second separator is refused.
      {ImpostazioniRegionali::Italiane(), "2.5.1", {2, 2, 2.5f, 2.5f, 2.51f}, "2,51", "+2,51"},
      {ImpostazioniRegionali::Inglesi(), "3a+", {3, 3, 3}, "3+", "+3"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.tasti);
    ConRegionali regionali(c.regionali);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gVariazione = 7;
    auto& p = VariazioneVuota(prog);
    EXPECT_FLOAT_EQ(prog.def.gVariazione, 7);
    const std::string tasti = c.tasti;
    for (size_t i = 0; i < tasti.size(); ++i) {
      test::Scrivi(&p, tasti.substr(i, 1).c_str());
      EXPECT_FLOAT_EQ(prog.def.gVariazione, c.dopoOgniTasto[i])
          << "after " << tasti.substr(0, i + 1) << ", shown "
          << p.cboVariazione->currentText().toStdString();
    }
    EXPECT_EQ(p.cboVariazione->currentText().toStdString(), c.scritto);
    test::Premi(&p, Qt::Key_Tab);  // leaving the box shows what was stored
    EXPECT_NE(QApplication::focusWidget(), p.cboVariazione);
    EXPECT_EQ(p.cboVariazione->currentText().toStdString(), c.mostrataAllaFine);
    p.Scarica();
  }
}

TEST(OpzioniArticoli, LElencoSiApreSulValoreAttuale) {
  struct Caso {
    float variazione;
    const char* voce;  // the list's current entry once open; "" for none
  } casi[] = {{15, "+15"}, {-50, "-50"}, {0, "0"}, {7, ""}};
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.variazione);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gVariazione = c.variazione;
    auto& p = Mostrata(prog);
    QAbstractItemView* elenco = ApriElenco(p);
    EXPECT_EQ(elenco->currentIndex().data().toString().toStdString(), c.voce);
    EXPECT_EQ(elenco->selectionModel()->selectedIndexes().size(), *c.voce ? 1 : 0);
    test::Premi(elenco, Qt::Key_Escape);
    EXPECT_FALSE(elenco->isVisible());
    EXPECT_FLOAT_EQ(prog.def.gVariazione, c.variazione);
    p.Scarica();
  }
}

// Up and Down step one entry of the list from the value shown ("-50" at the top, so Down
// goes to the greater values); a value between entries steps to the next entry that way, a
// value beyond the last entry that way stays. What is shown is what is stored, and the list
// then opens on the entry shown.
TEST(OpzioniArticoli, LeFrecceScorronoLElencoDalValoreMostrato) {
  ConRegionali italiane(ImpostazioniRegionali::Italiane());
  struct Caso {
    float memorizzata;
    Qt::Key tasto;  // Qt::Key_unknown: a turn of the wheel downwards
    const char* mostrata;
    float dopo;
  } casi[] = {
      {0, Qt::Key_Down, "+5", 5},       {0, Qt::Key_Up, "-5", -5},
      {15, Qt::Key_Down, "+20", 20},    {15, Qt::Key_Up, "+10", 10},
      {7, Qt::Key_Down, "+10", 10},     {7, Qt::Key_Up, "+5", 5},
      {-12.5f, Qt::Key_Up, "-15", -15}, {-12.5f, Qt::Key_Down, "-10", -10},
      {50, Qt::Key_Down, "+50", 50},    {-50, Qt::Key_Up, "-50", -50},
      {100, Qt::Key_Up, "+50", 50},     {-100, Qt::Key_Down, "-50", -50},
      {0, Qt::Key_PageDown, "+5", 5},   {-40, Qt::Key_PageUp, "-50", -50},
      {0, Qt::Key_unknown, "+5", 5},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::to_string(c.memorizzata) + " key " + std::to_string(c.tasto));
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gVariazione = c.memorizzata;
    auto& p = Mostrata(prog);
    test::TabFino(&p, p.cboVariazione);
    if (c.tasto == Qt::Key_unknown) {
      test::Rotella(p.cboVariazione);
    } else {
      test::Premi(&p, c.tasto);
    }
    EXPECT_EQ(p.cboVariazione->currentText().toStdString(), c.mostrata);
    EXPECT_FLOAT_EQ(prog.def.gVariazione, c.dopo);
    QAbstractItemView* elenco = ApriElenco(p);
    EXPECT_EQ(elenco->currentIndex().data().toString().toStdString(), c.mostrata);
    test::Premi(elenco, Qt::Key_Escape);
    test::Premi(&p, Qt::Key_Tab);
    EXPECT_EQ(p.cboVariazione->currentText().toStdString(), c.mostrata);
    EXPECT_FLOAT_EQ(prog.def.gVariazione, c.dopo);
    p.Scarica();
  }
}

// Steps go from what is typed, not from the entry picked last.
TEST(OpzioniArticoli, LeFrecceDopoUnValoreDigitato) {
  ConRegionali inglesi(ImpostazioniRegionali::Inglesi());
  Ambiente a;
  Programma& prog = a.Crea();
  auto& p = Mostrata(prog);
  QAbstractItemView* elenco = ApriElenco(p);
  test::Premi(elenco, Qt::Key_Down);  // +5
  test::Premi(elenco, Qt::Key_Return);
  ASSERT_FLOAT_EQ(prog.def.gVariazione, 5);
  test::Premi(&p, Qt::Key_End);
  test::Premi(&p, Qt::Key_Backspace);
  test::Premi(&p, Qt::Key_Backspace);
  test::Scrivi(&p, "22");
  test::Premi(&p, Qt::Key_Up);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+20"));
  test::Premi(&p, Qt::Key_End);
  for (int i = 0; i < 3; ++i) test::Premi(&p, Qt::Key_Backspace);
  test::Scrivi(&p, "5");  // the entry picked before, typed without its sign
  ApriElenco(p);
  EXPECT_EQ(elenco->currentIndex().data().toString(), QStringLiteral("+5"));
  test::Premi(elenco, Qt::Key_Escape);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("5"));
  test::Premi(&p, Qt::Key_Down);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+10"));
  EXPECT_FLOAT_EQ(prog.def.gVariazione, 10);
  // A lone sign is no value: the step goes from the stored one, which leaving would show.
  test::Premi(&p, Qt::Key_End);
  for (int i = 0; i < 3; ++i) test::Premi(&p, Qt::Key_Backspace);
  ASSERT_FLOAT_EQ(prog.def.gVariazione, 1);  // "+1" was stored on the way
  test::Scrivi(&p, "-");
  test::Premi(&p, Qt::Key_Down);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+5"));
  EXPECT_FLOAT_EQ(prog.def.gVariazione, 5);
}

TEST(OpzioniArticoli, TabEsceDaiDueRiquadriFiltrati) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gGiacenzaMinima = 0;
  auto& p = Mostrata(prog);
  test::TabFino(&p, p.txtMinima);
  test::Premi(&p, Qt::Key_End);
  test::Scrivi(&p, "12");
  test::Premi(&p, Qt::Key_Tab);
  // The Tab moved on to the variation, which takes the next key whole.
  EXPECT_EQ(QApplication::focusWidget(), p.cboVariazione);
  test::Scrivi(&p, "5");
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("012"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 12);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("5"));
  EXPECT_FLOAT_EQ(prog.def.gVariazione, 5);

  test::Premi(&p, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), p.txtMinima);
  test::Premi(&p, Qt::Key_Tab);
  test::Premi(&p, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), p.chkTondi);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+5"));

  // Delete and the arrows still edit; Enter types nothing.
  test::Premi(&p, Qt::Key_Backtab, Qt::ShiftModifier);
  test::Premi(&p, Qt::Key_Backtab, Qt::ShiftModifier);
  test::Premi(&p, Qt::Key_Home);
  test::Premi(&p, Qt::Key_Delete);
  test::Premi(&p, Qt::Key_Return);
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("12"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 12);
  EXPECT_EQ(prog.Caricata<frmOpzioniArticoli>(), &p);
}

TEST(OpzioniArticoli, UnaVoceDellElencoEITastiDiControllo) {
  ConRegionali inglesi(ImpostazioniRegionali::Inglesi());
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gGiacenzaMinima = 3;
  auto& p = Mostrata(prog);
  QAbstractItemView* elenco = ApriElenco(p);
  ASSERT_EQ(elenco->currentIndex().data().toString(), QStringLiteral("0"));
  for (int i = 0; i < 4; ++i) test::Premi(&p, Qt::Key_Down);  // +5, +10, +15, +20
  test::Premi(&p, Qt::Key_Return);
  EXPECT_FALSE(elenco->isVisible());
  EXPECT_FLOAT_EQ(prog.def.gVariazione, 20);
  test::Premi(&p, Qt::Key_Tab);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+20"));

  // Copy, cut and paste are swallowed by both filters; backspace goes through.
  QApplication::clipboard()->setText(QStringLiteral("9"));
  for (QWidget* w : {static_cast<QWidget*>(p.cboVariazione), static_cast<QWidget*>(p.txtMinima)}) {
    test::TabFino(&p, w);
    test::Premi(&p, Qt::Key_End);
    for (Qt::Key k : {Qt::Key_C, Qt::Key_X, Qt::Key_V}) test::Premi(&p, k, Qt::ControlModifier);
  }
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("3"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 3);
  test::TabFino(&p, p.cboVariazione);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+20"));
  test::Premi(&p, Qt::Key_End);
  test::Premi(&p, Qt::Key_Backspace);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+2"));
  EXPECT_FLOAT_EQ(prog.def.gVariazione, 2);
}

TEST(OpzioniArticoli, DisponibilitaMinima) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gGiacenzaMinima = -1;
  prog.def.gPreserva = 1;
  auto& p = Mostrata(prog);
  test::TabFino(&p, p.chkMinima);
  test::Premi(&p, Qt::Key_Space);
  EXPECT_EQ(prog.def.gGiacenzaMinima, 0);
  EXPECT_TRUE(p.txtMinima->isEnabled());
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("0"));

  test::TabFino(&p, p.txtMinima);
  test::Premi(&p, Qt::Key_End);
  test::Premi(&p, Qt::Key_Backspace);
  test::Scrivi(&p, "4a-+.2");
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("42"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 42);
  test::Premi(&p, Qt::Key_Backspace);
  EXPECT_EQ(prog.def.gGiacenzaMinima, 4);
  test::Premi(&p, Qt::Key_Backspace);  // an empty box keeps the last threshold
  EXPECT_TRUE(p.txtMinima->text().isEmpty());
  EXPECT_EQ(prog.def.gGiacenzaMinima, 4);
  test::Scrivi(&p, "2147483647");
  EXPECT_EQ(prog.def.gGiacenzaMinima, 2147483647);
  test::Premi(&p, Qt::Key_Backspace);
  test::Scrivi(&p, "8");  // beyond 32 bits: the value before this edit stays
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("2147483648"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 214748364);

  test::TabFino(&p, p.chkMinima);
  test::Premi(&p, Qt::Key_Space);
  EXPECT_EQ(prog.def.gGiacenzaMinima, -1);
  EXPECT_FALSE(p.txtMinima->isEnabled());
  EXPECT_TRUE(p.txtMinima->text().isEmpty());
  for (QCheckBox* casella : {p.chkTondi, p.chkPreserva}) {
    test::TabFino(&p, casella);
    test::Premi(&p, Qt::Key_Space);
  }
  EXPECT_EQ(prog.def.gArrotonda, 1);
  EXPECT_EQ(prog.def.gPreserva, 0);
}

TEST(OpzioniArticoli, AvantiChiudeLaPaginaEApreGliArticoliMancanti) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gEscludi = -2;
  auto& p = prog.Form<frmOpzioniArticoli>();
  p.Mostra();
  p.cmdImport->click();
  EXPECT_EQ(prog.Caricata<frmOpzioniArticoli>(), nullptr);
  auto* rimuovi = prog.Caricata<frmRimuoviArticoli>();
  ASSERT_NE(rimuovi, nullptr);
  EXPECT_TRUE(rimuovi->isVisible());
  EXPECT_EQ(prog.def.gEscludi, -2);
  EXPECT_TRUE(a.messaggi.Mostrati().empty());
}

TEST(RimuoviArticoli, RipristinoDaGEscludi) {
  struct Caso {
    int16_t escludi;
    int opzione;
    bool casella, abilitata;
  } casi[] = {{0, 0, true, false}, {-1, 1, false, true}, {2, 2, true, true}, {-3, 3, false, true}};
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.escludi);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gEscludi = c.escludi;
    auto& p = prog.Form<frmRimuoviArticoli>();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p.optEscludi[i]->isChecked(), i == c.opzione) << i;
    EXPECT_EQ(p.chkEscludi->isChecked(), c.casella);
    EXPECT_EQ(p.chkEscludi->isEnabled(), c.abilitata);
    EXPECT_EQ(prog.def.gEscludi, c.escludi);
  }
}

TEST(RimuoviArticoli, OgniSceltaScriveGEscludi) {
  Ambiente a;
  Programma& prog = a.Crea();
  auto& p = prog.Form<frmRimuoviArticoli>();
  // Each step: -1..3 selects that treatment, 10 unchecks the box, 11 checks it.
  struct Passo {
    int azione;
    int16_t atteso;
    bool abilitata;
  } passi[] = {{3, 3, true},  {10, -3, true}, {11, 3, true}, {10, -3, true},
               {2, -2, true}, {0, 0, false},  {2, 2, true},  {1, 1, true}};
  for (const Passo& s : passi) {
    SCOPED_TRACE(s.azione);
    if (s.azione < 4)
      p.optEscludi[s.azione]->setChecked(true);
    else
      p.chkEscludi->setChecked(s.azione == 11);
    EXPECT_EQ(prog.def.gEscludi, s.atteso);
    EXPECT_EQ(p.chkEscludi->isEnabled(), s.abilitata);
    if (!s.abilitata) {
      EXPECT_TRUE(p.chkEscludi->isChecked());
    }
  }
}

TEST(RimuoviArticoli, IndietroEAvantiNonCambianoGEscludi) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gEscludi = -1;
  prog.Form<frmRimuoviArticoli>().cmdBack->click();
  EXPECT_EQ(prog.Caricata<frmRimuoviArticoli>(), nullptr);
  ASSERT_NE(prog.Caricata<frmOpzioniArticoli>(), nullptr);
  EXPECT_EQ(prog.def.gEscludi, -1);

  prog.def.gPathNegozio = a.cartella / "nessun_negozio";
  a.messaggi.Pulisci();
  prog.Form<frmRimuoviArticoli>().cmdImport->click();
  EXPECT_EQ(prog.Caricata<frmRimuoviArticoli>(), nullptr);
  ASSERT_NE(prog.Caricata<frmLingue>(), nullptr);
  EXPECT_EQ(prog.def.gEscludi, -1);
}

}  // namespace
}  // namespace tarkpo::wizard
