// The start-up window and its sequence, the about box, the restart and the direct jump to
// the import page.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <filesystem>

#include "core/file_definizione.h"
#include "core/impostazioni_programma.h"
#include "support/cartella_temp.h"
#include "support/locale_processo.h"
#include "tests/wizard/ambiente.h"
#include "wizard/applicazione.h"
#include "wizard/chiusura.h"
#include "wizard/frm_about.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_main.h"
#include "wizard/frm_start.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

const std::string kTestoSet0 =
    "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set0\\Jet\\4.0\\Engines\\Text";
const std::string kTestoSet1 =
    "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set1\\Jet\\4.0\\Engines\\Text";

struct ValoreAtteso {
  int32_t radice;
  std::string chiave;
  std::string nome;
};
const ValoreAtteso kDwordMotore[] = {
    {HKEY_CURRENT_USER, kTestoSet0, "MaxScanRows"},
    {HKEY_CURRENT_USER, kTestoSet1, "MaxScanRows"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Jet\\4.0\\Engines\\Excel", "TypeGuessRows"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Jet\\4.0\\Engines\\Text", "MaxScanRows"},
};

std::string Formato(const Registro& r) {
  return GetSetting(r, kApplicazione, "set0\\Jet\\4.0\\Engines\\Text", "Format", "<nessuno>");
}

// The program leaves the locale to the toolkit, which sets it from the environment.
TEST(Avvio, IlToolkitImpostaIlLocaleDellAmbiente) { tarkpo::test::VerificaLocaleDelProcesso(); }

TEST(Avvio, ImpostazioniDelMotoreSalvoModJetRegZero) {
  struct Caso {
    const char* modJetReg;  // null: missing
    bool scriveDword;
  };
  for (const Caso& c : {Caso{nullptr, true}, Caso{"0", false}, Caso{"1", true}, Caso{"00", true}}) {
    SCOPED_TRACE(c.modJetReg ? c.modJetReg : "missing");
    Ambiente a;
    if (c.modJetReg) SaveSetting(a.registro, kApplicazione, "AppIni", "ModJetReg", c.modJetReg);
    AvviaFinestre(a.Crea());
    EXPECT_EQ(Formato(a.registro), "Delimited(;)");
    EXPECT_EQ(GetSetting(a.registro, kApplicazione, "set1\\Jet\\4.0\\Engines\\Text", "Format", "-"),
              "-");
    for (const ValoreAtteso& v : kDwordMotore) {
      auto letto = a.registro.Leggi(v.radice, v.chiave, v.nome);
      ASSERT_EQ(letto.has_value(), c.scriveDword) << v.chiave << " " << v.nome;
      if (letto) {
        EXPECT_EQ(letto->tipo, ValoreRegistro::Tipo::Dword);
        EXPECT_EQ(letto->dword, 0u);
      }
    }
  }
}

TEST(Avvio, OgniAltraRigaDiComandoEUnAvvioNormale) {
  for (const char* riga : {"", "R", " r", "r ", "I", "i i", "x"}) {
    SCOPED_TRACE(std::string("[") + riga + "]");
    Ambiente a;
    Programma& prog = a.Crea(riga);
    AvviaFinestre(prog);
    frmAbout* avvio = prog.Caricata<frmAbout>();
    ASSERT_NE(avvio, nullptr);
    EXPECT_TRUE(avvio->isVisible());
    EXPECT_EQ(avvio->size(), QSize(410, 291));  // 6060 x 4275 twips inside a 3-pixel border
    EXPECT_TRUE(avvio->Timer1->isActive());
    EXPECT_EQ(avvio->Timer1->interval(), 5000);
    EXPECT_EQ(prog.motore.IniPath, kIniPathSet0);
    EXPECT_EQ(prog.def.gGiacenzaMinima, -1);
    EXPECT_EQ(prog.def.gImpRep, 1);
    EXPECT_EQ(prog.def.gImpArt, 1);
    EXPECT_EQ(prog.def.gPreserva, 1);
    EXPECT_EQ(prog.def.gListini[0], 1);
    EXPECT_FALSE(prog.stato.gWizardAvviato);
    EXPECT_EQ(prog.Caricata<frmStart>(), nullptr);
    EXPECT_EQ(prog.Caricata<frmMain>(), nullptr);
  }
}

TEST(Avvio, ClicETastiNonChiudonoLaFinestraDiAvvioPrimaDelTimer) {
  Ambiente a;
  Programma& prog = a.Crea();
  AvviaFinestre(prog);
  frmAbout* avvio = prog.Caricata<frmAbout>();
  ASSERT_NE(avvio, nullptr);
  test::Clic(avvio);
  test::Clic(avvio->imgLogo[0]);
  test::Tasto(avvio);
  test::Tasto(avvio, Qt::Key_Escape);
  QCoreApplication::processEvents();
  EXPECT_EQ(prog.Caricata<frmAbout>(), avvio);
  EXPECT_TRUE(avvio->isVisible());
  EXPECT_EQ(prog.Caricata<frmStart>(), nullptr);

  avvio->Timer1_Timer();
  EXPECT_EQ(prog.Caricata<frmAbout>(), nullptr);
  frmStart* start = prog.Caricata<frmStart>();
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(start->isVisible());
  QCoreApplication::processEvents();
  EXPECT_TRUE(prog.stato.gWizardAvviato);  // set when the start page becomes active
  EXPECT_TRUE(a.fini.empty());
}

// A definition as a previous process left it in "main.tmp".
DefinizioneImportazione DefinizioneSalvata(const std::string& separatore) {
  DefinizioneImportazione d;
  d.gPathDb = "/nessuna/parte/catalogo.mdb";
  d.gTipoDb = "Access 2000;";
  d.gImpRep = 0;
  d.gImpArt = 1;
  d.gGiacenzaMinima = 7;
  d.gPreserva = 0;
  d.gSovrascrivi = 2;
  d.gSeparatore = separatore;
  d.gListini = {0, 1, 0, 0, 0, 0, 0, 0, 0, 1};
  return d;
}

TEST(Avvio, RiavvioConRRipristinaLaDefinizioneEApreLaPaginaOrigine) {
  struct Caso {
    bool conFile;
    std::string separatore;
    std::string iniPath;
  };
  for (const Caso& c : {Caso{true, "", kIniPathSet0}, Caso{true, "1", kIniPathSet1},
                        Caso{true, "2", ""}, Caso{false, "", kIniPathSet0}}) {
    SCOPED_TRACE(c.conFile ? "[" + c.separatore + "]" : "no main.tmp");
    Ambiente a;
    DefinizioneImportazione salvata = DefinizioneSalvata(c.separatore);
    if (c.conFile) SalvaStatoTemp(salvata, a.cartellaProgramma);
    Programma& prog = a.Crea("r");
    AvviaFinestre(prog);

    EXPECT_FALSE(std::filesystem::exists(a.cartellaProgramma + "/main.tmp"));
    DefinizioneImportazione attesa = c.conFile ? salvata : DefinizioneImportazione{};
    attesa.gListini[0] = 1;           // on every start path; the new-run defaults are not applied
    attesa.gTipoDb = "Access 2000;";  // an empty kind is an Access source to the source page
    EXPECT_EQ(prog.def, attesa);
    EXPECT_EQ(prog.motore.IniPath, c.iniPath);
    EXPECT_TRUE(prog.stato.gWizardAvviato);
    EXPECT_EQ(prog.Caricata<frmAbout>(), nullptr);
    frmMain* origine = prog.Caricata<frmMain>();
    ASSERT_NE(origine, nullptr);
    EXPECT_TRUE(origine->isVisible());
    EXPECT_EQ(prog.Caricata<frmStart>(), nullptr);
    EXPECT_EQ(Formato(a.registro), "Delimited(;)");
  }
}

TEST(Avvio, RiavvioConISenzaOrigineMostraIMessaggiEPoiLaPaginaOrigine) {
  Ambiente a;
  SalvaStatoTemp(DefinizioneSalvata("1"), a.cartellaProgramma);
  Programma& prog = a.Crea("i");
  prog.ApriDatabaseOrigineMain = [&prog] {
    prog.messaggi.Mostra("Impossibile trovare il file", Icona::Esclamazione);
    return false;
  };
  a.messaggi.Attendi("Impossibile trovare il file");
  a.messaggi.Attendi("I dati dell'importazione non sono validi");
  AvviaFinestre(prog);
  ASSERT_EQ(a.messaggi.Mostrati().size(), 2u);
  EXPECT_EQ(a.messaggi.Mostrati()[1].icona, Icona::Esclamazione);
  EXPECT_EQ(prog.Caricata<frmImporta>(), nullptr);
  frmMain* origine = prog.Caricata<frmMain>();
  ASSERT_NE(origine, nullptr);
  EXPECT_TRUE(origine->isVisible());
  EXPECT_EQ(prog.def.gImpRep, 0);  // the restored values
  EXPECT_EQ(prog.motore.IniPath, kIniPathSet1);
  EXPECT_TRUE(prog.stato.gWizardAvviato);
}

TEST(Avvio, RiavvioConIApreLaPaginaImportaConLaSceltaDellaDefinizione) {
  // gSovrascrivi -> which of optSovrascrivi (0), (1) is selected
  struct Caso {
    int16_t sovrascrivi;
    bool opt0, opt1;
  };
  for (const Caso& c : {Caso{0, false, false}, Caso{1, true, false}, Caso{2, false, true}}) {
    SCOPED_TRACE(c.sovrascrivi);
    Ambiente a;
    DefinizioneImportazione d = DefinizioneSalvata("");
    d.gSovrascrivi = c.sovrascrivi;
    SalvaStatoTemp(d, a.cartellaProgramma);
    Programma& prog = a.Crea("i");
    prog.ApriDatabaseOrigineMain = [] { return true; };
    AvviaFinestre(prog);
    EXPECT_TRUE(a.messaggi.Mostrati().empty());
    frmImporta* importa = prog.Caricata<frmImporta>();
    ASSERT_NE(importa, nullptr);
    EXPECT_TRUE(importa->isVisible());
    EXPECT_EQ(importa->optSovrascrivi[0]->isChecked(), c.opt0);
    EXPECT_EQ(importa->optSovrascrivi[1]->isChecked(), c.opt1);
    EXPECT_EQ(prog.Caricata<frmAbout>(), nullptr);
    frmMain* origine = prog.Caricata<frmMain>();  // loaded hidden by the frame copy
    ASSERT_NE(origine, nullptr);
    EXPECT_FALSE(origine->isVisible());
  }
}

TEST(Avvio, IlRiavvioScriveMainTmpAvviaTarkpoETermina) {
  for (bool avviato : {true, false}) {
    SCOPED_TRACE(avviato);
    Ambiente a;
    a.shell.riesce = avviato;
    Programma& prog = a.Crea();
    prog.def = DefinizioneSalvata("1");
    prog.Form<frmMain>().Mostra();
    RiavviaApplicazione(prog, "i");
    EXPECT_EQ(test::LeggiFile(a.cartellaProgramma + "/main.tmp"),
              TestoFileConfigurazione(prog.def));
    ASSERT_EQ(a.shell.avvii.size(), 1u);
    EXPECT_EQ(a.shell.avvii[0].programma, a.cartellaProgramma + "/tarkpo");
    EXPECT_EQ(a.shell.avvii[0].argomenti, std::vector<std::string>{"i"});
    EXPECT_EQ(a.shell.avvii[0].cartella, a.cartellaProgramma);
    EXPECT_EQ(a.fini, std::vector<int>{0});  // also when the new process did not start
    EXPECT_EQ(prog.Caricata<frmMain>(), nullptr);
  }
}

TEST(Avvio, RiavvioERipresaSiPassanoLaDefinizione) {
  Ambiente a;
  Programma& prima = a.Crea();
  AvviaFinestre(prima);
  prima.def.gSeparatore = "1";
  prima.def.gPathNegozio = "/negozi/uno";
  prima.def.gListini[0] = 0;
  RiavviaApplicazione(prima, "r");
  DefinizioneImportazione scritta = prima.def;
  a.prog.reset();

  Programma& dopo = a.Crea(a.shell.avvii.at(0).argomenti.at(0));
  AvviaFinestre(dopo);
  scritta.gListini[0] = 1;
  scritta.gTipoDb = "Access 2000;";
  EXPECT_EQ(dopo.def, scritta);
  EXPECT_EQ(dopo.motore.IniPath, kIniPathSet1);
}

TEST(AboutBox, DopoLAvvioMostraLaVersioneSiChiudeENonCambiaNulla) {
  enum class Chiusura { Clic, ClicLogo, Tasto, Timer };
  for (Chiusura modo : {Chiusura::Clic, Chiusura::ClicLogo, Chiusura::Tasto, Chiusura::Timer}) {
    SCOPED_TRACE(static_cast<int>(modo));
    Ambiente a;
    Programma& prog = a.Crea();
    prog.stato.gWizardAvviato = true;
    prog.def.gTipoDb = "Access 2000;";
    prog.def.gImpRep = 0;
    prog.def.gGiacenzaMinima = 5;
    prog.def.gListini = {0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    prog.motore.IniPath = kIniPathSet1;
    const DefinizioneImportazione prima = prog.def;
    frmMain& pagina = prog.Form<frmMain>();
    pagina.Mostra();

    bool vista = false;
    test::DuranteModale durante(
        [&] {
          frmAbout* about = prog.Caricata<frmAbout>();
          ASSERT_NE(about, nullptr);
          vista = about->isVisible() && about->isModal();
          EXPECT_EQ(about->lblVersione->text(), TestoVersione(kVersione));
          EXPECT_TRUE(about->Timer1->isActive());
          EXPECT_EQ(about->Timer1->interval(), 5000);
          switch (modo) {
            case Chiusura::Clic:
              test::Clic(about);
              break;
            case Chiusura::ClicLogo:
              test::Clic(about->imgLogo[0]);
              break;
            case Chiusura::Tasto:
              test::Tasto(about);
              break;
            case Chiusura::Timer:
              about->Timer1_Timer();
              break;
          }
        },
        [&] {
          ADD_FAILURE() << "the about box did not close";
          if (auto* about = prog.Caricata<frmAbout>()) about->Scarica();
        });
    pagina.cmdInfo->click();

    EXPECT_TRUE(vista);
    EXPECT_EQ(prog.Caricata<frmAbout>(), nullptr);
    EXPECT_EQ(prog.def, prima);
    EXPECT_EQ(prog.motore.IniPath, kIniPathSet1);
    EXPECT_EQ(Formato(a.registro), "<nessuno>");  // the engine settings were not written again
    EXPECT_EQ(prog.Caricata<frmStart>(), nullptr);
    EXPECT_TRUE(pagina.isVisible());
    EXPECT_TRUE(a.fini.empty());
  }
}

// Start-up window and about box alike: no caption or control box, a thin fixed dialog border
// drawn around the picture's inner area.
TEST(AboutBox, BordoSottileDiDialogoSenzaTitolo) {
  for (bool avviato : {false, true}) {
    SCOPED_TRACE(avviato ? "about box" : "start-up window");
    Ambiente a;
    Programma& prog = a.Crea();
    prog.stato.gWizardAvviato = avviato;
    frmAbout& finestra = prog.Form<frmAbout>();
    EXPECT_TRUE(finestra.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(finestra.windowType(), Qt::Tool);
    EXPECT_EQ(finestra.size(), QSize(404 + 6, 285 + 6));
    EXPECT_EQ(finestra.imgLogo[0]->pos(), QPoint(3, 3));
    const QImage immagine = finestra.grab().toImage();
    const QPalette& p = finestra.palette();
    const int destra = immagine.width() - 1, basso = immagine.height() - 1;
    EXPECT_EQ(immagine.pixel(0, 0), p.color(QPalette::Light).rgb());
    EXPECT_EQ(immagine.pixel(destra, basso), p.color(QPalette::Shadow).rgb());
    EXPECT_EQ(immagine.pixel(2, basso / 2), p.color(QPalette::Button).rgb());
    EXPECT_NE(immagine.pixel(3, basso / 2), p.color(QPalette::Button).rgb());
    finestra.Scarica();
  }
}

TEST(AboutBox, Versione) {
  EXPECT_EQ(TestoVersione("2.00.0002"), QStringLiteral("Versione 2.0.2"));
  EXPECT_EQ(TestoVersione("1.0.0"), QStringLiteral("Versione 1.0.0"));
  EXPECT_EQ(TestoVersione("3.10"), QStringLiteral("Versione 3.10.0"));
}

}  // namespace
}  // namespace tarkpo::wizard
