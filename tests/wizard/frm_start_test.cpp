// The start page: its remembered choices, the enabling of its controls and the three
// operations of "Avanti >".
#include <gtest/gtest.h>

#include "core/file_definizione.h"
#include "core/impostazioni.h"
#include "core/impostazioni_programma.h"
#include "tests/wizard/ambiente.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_main.h"
#include "wizard/frm_start.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

std::string Opzione(const Ambiente& a, const char* chiave) {
  return GetSetting(a.registro, kApplicazione, "AppIni", chiave, "<nessuno>");
}

void Ricorda(Ambiente& a, const char* opt, const char* go0, const char* go1, const char* file) {
  SaveSetting(a.registro, kApplicazione, "AppIni", "opt", opt);
  SaveSetting(a.registro, kApplicazione, "AppIni", "go0", go0);
  SaveSetting(a.registro, kApplicazione, "AppIni", "go1", go1);
  SaveSetting(a.registro, kApplicazione, "AppIni", "file", file);
}

int OperazioneScelta(const frmStart& s) {
  for (int i = 0; i < 3; ++i)
    if (s.optTipoOp[i]->isChecked()) return i;
  return -1;
}

// A definition file that loads with the program's delimiter (`separatore` "" = same).
std::string ScriviDefinizione(Ambiente& a, const std::string& nome, const std::string& separatore,
                              int16_t sovrascrivi = 2) {
  DefinizioneImportazione d;
  d.gTipoDb = "Excel 8.0;";
  d.gPathDb = "/dati/listino.xls";
  d.gOpzioniDb = "HDR=No";
  d.gPathNegozio = "/negozi/uno";
  d.gImpRep = 0;
  d.gImpArt = 1;
  d.gSovrascrivi = sovrascrivi;
  d.gSeparatore = separatore;
  const std::string percorso = a.cartellaProgramma + "/" + nome;
  SalvaImportazione(d, percorso, a.messaggi);
  return percorso;
}

TEST(PaginaIniziale, RicordaLeSceltePrecedenti) {
  struct Caso {
    const char* opt;
    bool lastIni;
    int scelta;
    bool ripeti;  // "Ripeti l'ultima importazione" enabled
  };
  for (const Caso& c :
       {Caso{"1", false, 0, false}, Caso{"1", true, 1, true}, Caso{"0", true, 0, true},
        Caso{"7", false, -1, false}, Caso{"x", false, -1, false}}) {
    SCOPED_TRACE(std::string(c.opt) + (c.lastIni ? " with last.ini" : ""));
    Ambiente a;
    if (c.lastIni) ScriviDefinizione(a, "last.ini", "");
    Ricorda(a, c.opt, "0", "0", "");
    Programma& prog = a.Crea();
    frmStart& s = prog.Form<frmStart>();
    EXPECT_EQ(OperazioneScelta(s), c.scelta);
    EXPECT_EQ(s.optTipoOp[1]->isEnabled(), c.ripeti);
    EXPECT_EQ(s.cmdImport->isEnabled(), c.scelta >= 0);
    EXPECT_EQ(Opzione(a, "Path"), a.cartellaProgramma);
  }
}

TEST(PaginaIniziale, CaricaConUnPercorsoVuotoAspettaIlPercorso) {
  Ambiente a;
  Ricorda(a, "2", "1", "0", "/conf/prova.kpo");
  Programma& prog = a.Crea();
  frmStart& s = prog.Form<frmStart>();
  EXPECT_EQ(OperazioneScelta(s), 2);
  EXPECT_EQ(s.txtPath->text(), QStringLiteral("/conf/prova.kpo"));
  EXPECT_TRUE(s.cmdImport->isEnabled());
  EXPECT_TRUE(s.txtPath->isEnabled());
  EXPECT_TRUE(s.cmdPath->isEnabled());
  EXPECT_TRUE(s.chkVai[1]->isEnabled());
  EXPECT_FALSE(s.chkVai[0]->isEnabled());
  EXPECT_TRUE(s.chkVai[0]->isChecked());  // disabled, but its tick stays
  s.txtPath->clear();
  EXPECT_FALSE(s.cmdImport->isEnabled());
  a.dialoghi.Scegli("/conf/altra.kpo");
  s.cmdPath->click();
  EXPECT_TRUE(s.cmdImport->isEnabled());
  EXPECT_EQ(a.dialoghi.richieste.at(0).filtro, "Configurazione importazione (*.kpo)|*.kpo");

  s.optTipoOp[0]->click();
  EXPECT_TRUE(s.cmdImport->isEnabled());
  EXPECT_FALSE(s.txtPath->isEnabled());
  s.cmdImport->click();  // a new import: the choices are saved on the way out
  EXPECT_EQ(Opzione(a, "opt"), "0");
  EXPECT_EQ(Opzione(a, "go0"), "1");
  EXPECT_EQ(Opzione(a, "go1"), "0");
  EXPECT_EQ(Opzione(a, "file"), "/conf/altra.kpo");
}

TEST(PaginaIniziale, NuovaImportazioneApreLaPaginaOrigineORiavviaConLaVirgola) {
  for (const char* separatore : {"", "1"}) {
    SCOPED_TRACE(separatore);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gPathDb = "/vecchia/origine.mdb";
    prog.def.gSeparatore = separatore;
    frmStart& s = prog.Form<frmStart>();
    s.Mostra();
    s.cmdImport->click();
    EXPECT_EQ(Opzione(a, "opt"), "0");
    if (*separatore == '\0') {
      EXPECT_EQ(prog.Caricata<frmStart>(), nullptr);
      frmMain* m = prog.Caricata<frmMain>();
      ASSERT_NE(m, nullptr);
      EXPECT_TRUE(m->isVisible());
      EXPECT_TRUE(m->txtDbPath->text().isEmpty());
      EXPECT_TRUE(a.shell.avvii.empty());
    } else {
      ASSERT_EQ(a.shell.avvii.size(), 1u);
      EXPECT_EQ(a.shell.avvii[0].argomenti, std::vector<std::string>{"r"});
      EXPECT_EQ(a.fini, std::vector<int>{0});
      DefinizioneImportazione salvata;
      CaricaStatoTemp(salvata, a.cartellaProgramma);
      EXPECT_EQ(salvata.gSeparatore, "");
      EXPECT_EQ(salvata.gPathDb, "");
    }
  }
}

TEST(PaginaIniziale, CaricareUnaDefinizione) {
  enum class Esito { Origine, Importa, RiavvioR, RiavvioI, Resta };
  struct Caso {
    int operazione;
    const char* separatore;  // of the file; the program uses ";"
    bool vai;
    bool origineApribile;
    Esito esito;
  };
  const Caso casi[] = {
      {1, "", false, true, Esito::Origine},   {2, "", false, true, Esito::Origine},
      {2, "", true, true, Esito::Importa},    {1, "", true, true, Esito::Importa},
      {2, "1", false, true, Esito::RiavvioR}, {2, "1", true, true, Esito::RiavvioI},
      {2, "", true, false, Esito::Resta},     {2, "1", true, false, Esito::Resta},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::to_string(c.operazione) + "[" + c.separatore + "] vai " +
                 std::to_string(c.vai) + " origine " + std::to_string(c.origineApribile));
    Ambiente a;
    const std::string file =
        ScriviDefinizione(a, c.operazione == 1 ? "last.ini" : "salvata.kpo", c.separatore);
    Ricorda(a, std::to_string(c.operazione).c_str(), c.vai ? "1" : "0", c.vai ? "1" : "0",
            c.operazione == 2 ? file.c_str() : "");
    Programma& prog = a.Crea();
    int aperture = 0;
    prog.ApriDatabaseOrigineMain = [&] {
      ++aperture;
      if (!c.origineApribile)
        a.messaggi.Mostra("origine assente", Icona::Esclamazione, Pulsanti::Ok);
      return c.origineApribile;
    };
    frmStart& s = prog.Form<frmStart>();
    s.Mostra();
    ASSERT_EQ(OperazioneScelta(s), c.operazione);
    s.cmdImport->click();

    EXPECT_EQ(prog.def.gPathDb, "/dati/listino.xls");  // loaded, also when staying
    EXPECT_EQ(aperture, c.vai ? 1 : 0);
    const bool resta = c.esito == Esito::Resta;
    EXPECT_EQ(prog.Caricata<frmStart>() != nullptr,
              resta || c.esito == Esito::RiavvioR || c.esito == Esito::RiavvioI);
    if (resta) {
      EXPECT_EQ(a.messaggi.Testi(),
                (std::vector<std::string>{"origine assente",
                                          "I dati dell'importazione non sono validi"}));
      EXPECT_TRUE(a.shell.avvii.empty());
      EXPECT_EQ(Opzione(a, "go0"), "1");  // as remembered, not saved again
      continue;
    }
    EXPECT_TRUE(a.messaggi.Mostrati().empty());
    EXPECT_EQ(Opzione(a, "go1"), c.vai ? "1" : "0");
    if (c.esito == Esito::RiavvioR || c.esito == Esito::RiavvioI) {
      ASSERT_EQ(a.shell.avvii.size(), 1u);
      EXPECT_EQ(a.shell.avvii[0].argomenti,
                std::vector<std::string>{c.esito == Esito::RiavvioR ? "r" : "i"});
      EXPECT_EQ(a.fini, std::vector<int>{0});
      continue;
    }
    EXPECT_TRUE(a.shell.avvii.empty());
    if (c.esito == Esito::Origine) {
      frmMain* m = prog.Caricata<frmMain>();
      ASSERT_NE(m, nullptr);
      EXPECT_TRUE(m->isVisible());
      EXPECT_TRUE(m->optTipoDb[1]->isChecked());
      EXPECT_EQ(m->txtDbPath->text(), QStringLiteral("/dati/listino.xls"));
      EXPECT_FALSE(m->chkImpRep->isChecked());
      EXPECT_EQ(prog.def.gOpzioniDb, "HDR=No");
    } else {
      frmImporta* imp = prog.Caricata<frmImporta>();
      ASSERT_NE(imp, nullptr);
      EXPECT_TRUE(imp->isVisible());
      EXPECT_TRUE(imp->optSovrascrivi[1]->isChecked());
    }
  }
}

TEST(PaginaIniziale, DopoUnSaltoFallitoLaPaginaOrigineMostraLaDefinizioneNuova) {
  Ambiente a;
  const std::string prima = ScriviDefinizione(a, "prima.kpo", "");
  DefinizioneImportazione seconda;
  seconda.gTipoDb = "Access 2000;";
  seconda.gPathDb = "/dati/seconda.mdb";
  seconda.gImpRep = 1;
  const std::string file = a.cartellaProgramma + "/seconda.kpo";
  SalvaImportazione(seconda, file, a.messaggi);
  Ricorda(a, "2", "0", "1", prima.c_str());
  Programma& prog = a.Crea();
  prog.ApriDatabaseOrigineMain = [&] {
    prog.Form<frmMain>();  // the source is opened through the source page, loaded hidden
    return false;
  };
  frmStart& s = prog.Form<frmStart>();
  s.cmdImport->click();
  ASSERT_EQ(a.messaggi.Testi(),
            std::vector<std::string>{"I dati dell'importazione non sono validi"});

  s.chkVai[1]->setChecked(false);
  s.txtPath->setText(QString::fromStdString(file));
  s.cmdImport->click();
  frmMain* m = prog.Caricata<frmMain>();
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->isVisible());
  EXPECT_EQ(m->txtDbPath->text(), QStringLiteral("/dati/seconda.mdb"));
  EXPECT_TRUE(m->optTipoDb[0]->isChecked());
  EXPECT_TRUE(m->chkImpRep->isChecked());
  EXPECT_EQ(prog.def.gPathDb, "/dati/seconda.mdb");
}

TEST(PaginaIniziale, UnFileIlleggibileLoDiceERestaSullaPagina) {
  for (int operazione : {1, 2}) {
    SCOPED_TRACE(operazione);
    Ambiente a;
    Programma& prog = a.Crea();
    frmStart& s = prog.Form<frmStart>();
    // "last.ini" vanished after the page enabled its operation.
    s.optTipoOp[1]->setEnabled(true);
    s.optTipoOp[operazione]->click();
    s.txtPath->setText(QString::fromStdString(a.cartella / "manca.kpo"));
    const DefinizioneImportazione prima = prog.def;
    s.cmdImport->click();
    EXPECT_EQ(
        a.messaggi.Testi(),
        std::vector<std::string>{"Non è stato possibile leggere i dati dell'ultima importazione"});
    EXPECT_EQ(a.messaggi.Mostrati()[0].icona, Icona::Esclamazione);
    EXPECT_EQ(prog.def, prima);
    EXPECT_EQ(prog.Caricata<frmStart>(), &s);
    EXPECT_EQ(Opzione(a, "opt"), "<nessuno>");
  }
}

TEST(PaginaIniziale, LOrdineDeiTestiDiAiuto) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmStart& s = prog.Form<frmStart>();
  int alto = -1;
  for (int i : {0, 3, 1, 5, 4, 7, 6}) {
    EXPECT_GT(s.lblHelp.at(i)->y(), alto) << i;
    alto = s.lblHelp.at(i)->y();
  }
  EXPECT_EQ(s.lblHelp.at(3)->text(), QStringLiteral("- Nuova importazione"));
  EXPECT_LE(s.lblHelp.at(6)->geometry().bottom(), s.Picture1->height());  // all of it shows
}

}  // namespace
}  // namespace tarkpo::wizard
