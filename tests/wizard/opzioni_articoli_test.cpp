// The item options and missing-items pages: restoring from the definition, what each edit
// stores, the key filters and the way on.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <optional>

#include "core/regionali.h"
#include "tests/wizard/ambiente.h"
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

// Types one character as a key press with that text.
void Digita(QWidget* w, QChar c, Qt::KeyboardModifiers modificatori = Qt::NoModifier) {
  const int tasto = c == QChar(u'\b') ? Qt::Key_Backspace : 0;
  QKeyEvent evento(QEvent::KeyPress, tasto, modificatori, QString(c));
  QApplication::sendEvent(w, &evento);
}

void PerdiFuoco(QWidget* w) {
  QFocusEvent evento(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(w, &evento);
}

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

TEST(OpzioniArticoli, LaVariazioneDigitataTastoPerTasto) {
  struct Caso {
    ImpostazioniRegionali regionali;
    const char* tasti;
    std::vector<float> dopoOgniTasto;
    const char* mostrataAllaFine;
  } casi[] = {
      {ImpostazioniRegionali::Inglesi(), "150", {1, 15, 15}, "+15"},
      {ImpostazioniRegionali::Inglesi(), "-100", {7, -1, -10, -100}, "-100"},
      {ImpostazioniRegionali::Inglesi(), "-", {7}, "+7"},
      {ImpostazioniRegionali::Italiane(), "100,5", {1, 10, 100, 100, 100.5f}, "+100,5"},
      {ImpostazioniRegionali::Italiane(), "101", {1, 10, 10}, "+10"},
      // A "." goes in as the locale's separator; a second separator is refused.
      {ImpostazioniRegionali::Italiane(), "2.5.1", {2, 2, 2.5f, 2.5f, 2.51f}, "+2,51"},
      {ImpostazioniRegionali::Inglesi(), "3a+", {3, 3, 3}, "+3"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.tasti);
    ConRegionali regionali(c.regionali);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gVariazione = 7;
    auto& p = prog.Form<frmOpzioniArticoli>();
    QLineEdit* testo = p.cboVariazione->lineEdit();
    testo->clear();
    const std::string tasti = c.tasti;
    for (size_t i = 0; i < tasti.size(); ++i) {
      Digita(testo, QLatin1Char(tasti[i]));
      EXPECT_FLOAT_EQ(prog.def.gVariazione, c.dopoOgniTasto[i])
          << "after " << tasti.substr(0, i + 1);
    }
    PerdiFuoco(p.cboVariazione);
    EXPECT_EQ(p.cboVariazione->currentText().toStdString(), c.mostrataAllaFine);
  }
}

TEST(OpzioniArticoli, UnaVoceDellElencoEITastiDiControllo) {
  ConRegionali inglesi(ImpostazioniRegionali::Inglesi());
  Ambiente a;
  Programma& prog = a.Crea();
  auto& p = prog.Form<frmOpzioniArticoli>();
  p.cboVariazione->setCurrentIndex(p.cboVariazione->findText(QStringLiteral("+20")));
  EXPECT_FLOAT_EQ(prog.def.gVariazione, 20);
  PerdiFuoco(p.cboVariazione);
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+20"));

  // Copy, cut and paste are swallowed by both filters; backspace goes through.
  for (QWidget* w :
       {static_cast<QWidget*>(p.cboVariazione->lineEdit()), static_cast<QWidget*>(p.txtMinima)}) {
    for (char16_t c : {u'\x03', u'\x18', u'\x16'}) Digita(w, QChar(c), Qt::ControlModifier);
  }
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+20"));
  Digita(p.cboVariazione->lineEdit(), QChar(u'\b'));
  EXPECT_EQ(p.cboVariazione->currentText(), QStringLiteral("+2"));
  EXPECT_FLOAT_EQ(prog.def.gVariazione, 2);
}

TEST(OpzioniArticoli, DisponibilitaMinima) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gGiacenzaMinima = -1;
  auto& p = prog.Form<frmOpzioniArticoli>();
  p.chkMinima->setChecked(true);
  EXPECT_EQ(prog.def.gGiacenzaMinima, 0);
  EXPECT_TRUE(p.txtMinima->isEnabled());
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("0"));

  p.txtMinima->clear();
  for (QChar c : QStringLiteral("4a-+.2")) Digita(p.txtMinima, c);
  EXPECT_EQ(p.txtMinima->text(), QStringLiteral("42"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 42);
  p.txtMinima->clear();  // an empty box keeps the last threshold
  EXPECT_EQ(prog.def.gGiacenzaMinima, 42);
  p.txtMinima->setText(QStringLiteral("2147483647"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 2147483647);
  p.txtMinima->setText(QStringLiteral("2147483648"));
  EXPECT_EQ(prog.def.gGiacenzaMinima, 2147483647);

  p.chkMinima->setChecked(false);
  EXPECT_EQ(prog.def.gGiacenzaMinima, -1);
  EXPECT_FALSE(p.txtMinima->isEnabled());
  EXPECT_TRUE(p.txtMinima->text().isEmpty());
  p.chkTondi->setChecked(true);
  p.chkPreserva->setChecked(false);
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
