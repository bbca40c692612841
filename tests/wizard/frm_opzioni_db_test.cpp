// The source options dialog: what it shows for each kind of source, what confirming stores,
// and the restart when the delimiter changes.
#include <gtest/gtest.h>

#include "core/file_definizione.h"
#include "tests/wizard/ambiente.h"
#include "tests/wizard/tastiera.h"
#include "wizard/frm_main.h"
#include "wizard/frm_opzioni_db.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

// The dialog over a source page loaded for the given kind and options.
frmOpzioniDb& Apri(Programma& prog, const char* tipo, const char* opzioni,
                   const char* separatore = "") {
  prog.def.gTipoDb = tipo;
  prog.def.gPathDb = "/dati/origine";
  prog.def.gOpzioniDb = opzioni;
  prog.def.gSeparatore = separatore;
  prog.Form<frmMain>();
  return prog.Form<frmOpzioniDb>();
}

TEST(OpzioniDb, MostraLeOpzioniDelTipoEConfermaLeSueSole) {
  struct Caso {
    const char* tipo;
    const char* opzioni;
    const char* titolo;
    bool pwd, campi, delim;
    int altezza;  // inner, pixels
    const char* password;
    bool intestazione;
    std::function<void(frmOpzioniDb&)> modifica;
    const char* dopo;
  };
  const Caso casi[] = {
      {"Access 2000;", "PWD=segreto", "Opzioni Access", true, false, false, 123, "segreto", true,
       [](frmOpzioniDb& f) { f.txtPwd->clear(); }, ""},
      {"Access 2000;", "", "Opzioni Access", true, false, false, 123, "", true,
       [](frmOpzioniDb& f) { f.txtPwd->setText(QStringLiteral("nuova")); }, "PWD=nuova"},
      // Shown up to the ";", so confirming unchanged keeps only that part.
      {"Access 2000;", "PWD=a;b", "Opzioni Access", true, false, false, 123, "a", true,
       [](frmOpzioniDb&) {}, "PWD=a"},
      {"Excel 8.0;", "HDR=No", "Opzioni Excel", false, true, false, 105, "", false,
       [](frmOpzioniDb&) {}, "HDR=No"},
      {"Excel 8.0;", "HDR=No", "Opzioni Excel", false, true, false, 105, "", false,
       [](frmOpzioniDb& f) { f.chkIntestazione->setChecked(true); }, "HDR=Yes"},
      {"Text;", "", "Opzioni CSV", false, true, true, 197, "", true,
       [](frmOpzioniDb& f) { f.chkIntestazione->setChecked(false); }, "HDR=No"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.tipo) + c.opzioni);
    Ambiente a;
    Programma& prog = a.Crea();
    frmOpzioniDb& f = Apri(prog, c.tipo, c.opzioni);
    EXPECT_EQ(f.windowTitle().toStdString(), c.titolo);
    EXPECT_EQ(!f.fraPwd->isHidden(), c.pwd);
    EXPECT_EQ(!f.fraCampi->isHidden(), c.campi);
    EXPECT_EQ(!f.fraDelim->isHidden(), c.delim);
    EXPECT_EQ(f.height(), c.altezza);
    EXPECT_EQ(f.txtPwd->text().toStdString(), c.password);
    EXPECT_EQ(f.txtPwd->echoMode(), QLineEdit::Password);
    EXPECT_EQ(f.chkIntestazione->isChecked(), c.intestazione);
    // Only the path comes from the source page; everything else stays.
    const DefinizioneImportazione prima = prog.def;
    c.modifica(f);
    f.cmdOK->click();
    DefinizioneImportazione attesa = prima;
    attesa.gOpzioniDb = c.dopo;
    EXPECT_EQ(prog.def, attesa);
    EXPECT_EQ(prog.Caricata<frmOpzioniDb>(), nullptr);
    EXPECT_TRUE(a.shell.avvii.empty());
  }
}

TEST(OpzioniDb, UnAltroDelimitatoreRiavviaConLaDefinizioneSalvata) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmOpzioniDb& f = Apri(prog, "Text;", "HDR=Yes");
  EXPECT_EQ(f.cboDelim->currentText(), QStringLiteral(";"));
  f.cboDelim->setCurrentIndex(1);
  f.chkIntestazione->setChecked(false);
  f.cmdOK->click();

  ASSERT_EQ(a.shell.avvii.size(), 1u);
  EXPECT_EQ(a.shell.avvii[0].argomenti, std::vector<std::string>{"r"});
  EXPECT_EQ(a.fini, std::vector<int>{0});
  DefinizioneImportazione salvata;
  CaricaStatoTemp(salvata, a.cartellaProgramma);
  EXPECT_EQ(salvata.gSeparatore, "1");
  EXPECT_EQ(salvata.gOpzioniDb, "HDR=No");
  EXPECT_EQ(salvata.gPathDb, "/dati/origine");
}

TEST(OpzioniDb, LoStessoDelimitatoreChiudeSoltanto) {
  for (const char* separatore : {"", "1"}) {
    SCOPED_TRACE(separatore);
    Ambiente a;
    Programma& prog = a.Crea();
    frmOpzioniDb& f = Apri(prog, "Text;", "HDR=Yes", separatore);
    EXPECT_EQ(f.cboDelim->currentIndex(), *separatore ? 1 : 0);
    f.cmdOK->click();
    EXPECT_EQ(prog.def.gSeparatore, separatore);
    EXPECT_TRUE(a.shell.avvii.empty());
    EXPECT_TRUE(a.fini.empty());
    EXPECT_EQ(prog.Caricata<frmOpzioniDb>(), nullptr);
  }
}

TEST(OpzioniDb, AnnullaEdEscNonCambianoNulla) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmOpzioniDb& f = Apri(prog, "Text;", "HDR=Yes");
  const DefinizioneImportazione prima = prog.def;
  f.chkIntestazione->setChecked(false);
  f.cboDelim->setCurrentIndex(1);
  f.cmdAnnulla->click();
  EXPECT_EQ(prog.def, prima);
  EXPECT_EQ(prog.Caricata<frmOpzioniDb>(), nullptr);
  EXPECT_TRUE(a.shell.avvii.empty());
}

// Enter presses the focused button, elsewhere "OK"; Esc presses "Annulla"; Space the focused
// button. The user unticks the header box and picks "," by keyboard first, so confirming
// also restarts the program.
TEST(OpzioniDb, InvioEscESpazioDaTastiera) {
  struct Caso {
    const char* fuoco;
    Qt::Key tasto;
    bool conferma;
  } casi[] = {
      {"cmdOK", Qt::Key_Return, true},
      {"cmdAnnulla", Qt::Key_Return, false},
      {"cmdOK", Qt::Key_Enter, true},
      {"cmdAnnulla", Qt::Key_Enter, false},
      {"cmdOK", Qt::Key_Space, true},
      {"cmdAnnulla", Qt::Key_Space, false},
      {"chkIntestazione", Qt::Key_Return, true},
      {"cboDelim", Qt::Key_Return, true},
      {"cmdOK", Qt::Key_Escape, false},
      {"chkIntestazione", Qt::Key_Escape, false},
      {"cboDelim", Qt::Key_Escape, false},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.fuoco) + " " + QKeySequence(c.tasto).toString().toStdString());
    Ambiente a;
    Programma& prog = a.Crea();
    frmOpzioniDb& f = Apri(prog, "Text;", "HDR=Yes");
    const DefinizioneImportazione prima = prog.def;
    f.Mostra();
    test::Attiva(&f);
    test::TabFino(&f, f.chkIntestazione);
    test::Premi(&f, Qt::Key_Space);
    test::TabFino(&f, f.cboDelim);
    test::Premi(&f, Qt::Key_Down);
    ASSERT_FALSE(f.chkIntestazione->isChecked());
    ASSERT_EQ(f.cboDelim->currentText(), QStringLiteral(","));
    test::TabFino(&f, f.findChild<QWidget*>(QString::fromLatin1(c.fuoco)));
    test::Premi(&f, c.tasto);
    if (c.conferma) {
      ASSERT_EQ(a.shell.avvii.size(), 1u);
      EXPECT_EQ(a.fini, std::vector<int>{0});
      DefinizioneImportazione salvata;
      CaricaStatoTemp(salvata, a.cartellaProgramma);
      EXPECT_EQ(salvata.gSeparatore, "1");
      EXPECT_EQ(salvata.gOpzioniDb, "HDR=No");
    } else {
      EXPECT_EQ(prog.def, prima);
      EXPECT_EQ(prog.Caricata<frmOpzioniDb>(), nullptr);
      EXPECT_TRUE(a.shell.avvii.empty());
      EXPECT_TRUE(a.fini.empty());
    }
    prog.Scarica(frmOpzioniDb::kNome);
  }
}

TEST(OpzioniDb, SiApreModaleDalPulsanteDellaPaginaOrigine) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gTipoDb = "Excel 8.0;";
  frmMain& origine = prog.Form<frmMain>();
  origine.Mostra();
  bool modale = false;
  test::DuranteModale durante(
      [&] {
        frmOpzioniDb* f = prog.Caricata<frmOpzioniDb>();
        ASSERT_NE(f, nullptr);
        modale = f->isVisible() && f->isModal();
        test::Attiva(f);
        test::TabFino(f, f->chkIntestazione);
        test::Premi(f, Qt::Key_Space);
        test::Premi(f, Qt::Key_Return);  // OK is the default button
      },
      [&] {
        ADD_FAILURE() << "the dialog did not close";
        if (auto* f = prog.Caricata<frmOpzioniDb>()) f->Scarica();
      });
  origine.cmdOpzioni->click();
  EXPECT_TRUE(modale);
  EXPECT_EQ(prog.def.gOpzioniDb, "HDR=No");
}

}  // namespace
}  // namespace tarkpo::wizard
