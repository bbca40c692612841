// The source page: filling it from the definition, the kind of source, the enabling of
// "Avanti >", the shop folder and the source chosen through the dialogs.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/wizard/ambiente.h"
#include "wizard/frm_main.h"
#include "wizard/frm_start.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_tabella_rep.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

void Tocca(const std::string& percorso) {
  std::filesystem::create_directories(std::filesystem::path(percorso).parent_path());
  std::ofstream(percorso) << "x";
}

int OpzioneScelta(const frmMain& m) {
  for (int i = 0; i < 3; ++i)
    if (m.optTipoDb[i]->isChecked()) return i;
  return -1;
}

TEST(PaginaOrigine, UnaNuovaImportazioneApreAccessConIPercorsiVuoti) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.NuovaImportazione();
  frmMain& m = prog.Form<frmMain>();
  EXPECT_EQ(OpzioneScelta(m), 0);
  EXPECT_TRUE(m.txtPath->text().isEmpty());
  EXPECT_TRUE(m.txtDbPath->text().isEmpty());
  EXPECT_TRUE(m.chkImpRep->isChecked());
  EXPECT_TRUE(m.chkImpArt->isChecked());
  EXPECT_EQ(m.lblDb->text(),
            QStringLiteral("Selezionare il file .mdb che contiene i dati da importare:"));
  EXPECT_EQ(m.cmdOpzioni->text(), QStringLiteral("Opzioni Access"));
  EXPECT_FALSE(m.cmdDbPath[0]->isHidden());
  EXPECT_TRUE(m.cmdDbPath[1]->isHidden());
  EXPECT_FALSE(m.cmdImport->isEnabled());
  EXPECT_EQ(m.windowTitle(), QStringLiteral("vantrel - Importazione database"));
  EXPECT_EQ(prog.def.gTipoDb, "Access 2000;");
  EXPECT_EQ(prog.def.gOpzioniDb, "");
}

TEST(PaginaOrigine, IlPercorsoCaricatoResisteUnaVoltaPoiOgniTipoRiparteDaiPredefiniti) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gTipoDb = "Excel 8.0;";
  prog.def.gPathDb = "/dati/listino.xls";
  prog.def.gOpzioniDb = "HDR=No";
  prog.def.gSeparatore = "1";
  frmMain& m = prog.Form<frmMain>();
  EXPECT_EQ(OpzioneScelta(m), 1);
  EXPECT_EQ(m.txtDbPath->text(), QStringLiteral("/dati/listino.xls"));
  EXPECT_EQ(prog.def.gPathDb, "/dati/listino.xls");
  EXPECT_EQ(prog.def.gOpzioniDb, "HDR=No");
  EXPECT_EQ(m.cmdOpzioni->text(), QStringLiteral("Opzioni Excel"));

  struct Passo {
    int opzione;
    const char* tipo;
    const char* opzioni;
    const char* pulsante;  // the path button shown
    const char* filtro;
  };
  for (const Passo& p :
       {Passo{0, "Access 2000;", "", "cmdDbPath0", "Database Access (*.mdb)|*.mdb"},
        Passo{2, "Text;", "HDR=Yes", "cmdDbPath1", "Database Access (*.mdb)|*.mdb"},
        Passo{1, "Excel 8.0;", "HDR=Yes", "cmdDbPath0", "Foglio di Excel (*.xls)|*.xls"}}) {
    SCOPED_TRACE(p.tipo);
    m.txtDbPath->setText(QStringLiteral("/altro"));
    m.optTipoDb[p.opzione]->click();
    EXPECT_EQ(prog.def.gTipoDb, p.tipo);
    EXPECT_EQ(prog.def.gOpzioniDb, p.opzioni);
    EXPECT_EQ(prog.def.gPathDb, "");
    EXPECT_TRUE(m.txtDbPath->text().isEmpty());
    EXPECT_EQ(m.cmdDbPath[0]->isHidden(), std::string(p.pulsante) != "cmdDbPath0");
    EXPECT_EQ(m.cmdDbPath[1]->isHidden(), std::string(p.pulsante) != "cmdDbPath1");
    EXPECT_EQ(m.CommonDialog1_Filter, p.filtro);  // a text source leaves it as it was
  }
  EXPECT_EQ(prog.def.gSeparatore, "1");
}

TEST(PaginaOrigine, UnTipoSconosciutoNonSceglieNullaETieneTutto) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gTipoDb = "dBase IV;";
  prog.def.gPathDb = "/dati/x.dbf";
  prog.def.gOpzioniDb = "qualcosa";
  const DefinizioneImportazione prima = prog.def;
  frmMain& m = prog.Form<frmMain>();
  EXPECT_EQ(OpzioneScelta(m), -1);
  EXPECT_EQ(m.txtDbPath->text(), QStringLiteral("/dati/x.dbf"));
  EXPECT_EQ(prog.def, prima);
}

TEST(PaginaOrigine, AvantiVuoleEntrambiIPercorsiEAlmenoUnaCasella) {
  struct Caso {
    const char* negozio;
    const char* origine;
    bool reparti, articoli, abilitato;
  };
  const Caso casi[] = {
      {"/n", "/o", true, true, true},  {"/n", "/o", false, true, true},
      {"/n", "/o", true, false, true}, {"/n", "/o", false, false, false},
      {"", "/o", true, true, false},   {"/n", "", true, true, false},
      {" ", " ", true, false, true},  // blanks count as text
  };
  Ambiente a;
  Programma& prog = a.Crea();
  frmMain& m = prog.Form<frmMain>();
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.negozio) + "|" + c.origine + "|" + std::to_string(c.reparti) +
                 std::to_string(c.articoli));
    m.txtPath->setText(QString::fromUtf8(c.negozio));
    m.txtDbPath->setText(QString::fromUtf8(c.origine));
    m.chkImpRep->setChecked(c.reparti);
    m.chkImpArt->setChecked(c.articoli);
    EXPECT_EQ(m.cmdImport->isEnabled(), c.abilitato);
    EXPECT_EQ(prog.def.gPathNegozio, c.negozio);
    EXPECT_EQ(prog.def.gPathDb, c.origine);
    EXPECT_EQ(prog.def.gImpRep, c.reparti ? 1 : 0);
    EXPECT_EQ(prog.def.gImpArt, c.articoli ? 1 : 0);
  }
}

TEST(PaginaOrigine, CartellaDelNegozio) {
  struct Caso {
    std::vector<std::string> file;
    bool barraFinale;
    const char* fileNegozio;  // null: refused
  };
  const Caso casi[] = {
      {{"catalog.mdb"}, false, "catalog.mdb"},
      {{"items.dat"}, false, "items.dat"},
      {{"items.dat", "catalog.mdb"}, false, "catalog.mdb"},
      {{"catalog.mdb"}, true, "catalog.mdb"},    // tested without the "/", stored as given
      {{"catalog.mdb/dentro"}, false, nullptr},  // a folder is not the shop's file
      {{"altro.mdb"}, false, nullptr},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.file.front() + (c.barraFinale ? " /" : ""));
    Ambiente a;
    Programma& prog = a.Crea();
    prog.statoMotore.gFileNegozio = "prima";
    frmMain& m = prog.Form<frmMain>();
    const std::string vecchio = a.cartella / "vecchio";
    std::filesystem::create_directories(vecchio);
    m.txtPath->setText(QString::fromStdString(vecchio));
    const std::string cartella = a.cartella / "negozio";
    for (const std::string& f : c.file) Tocca(cartella + "/" + f);
    a.shell.scelta = cartella + (c.barraFinale ? "/" : "");
    m.cmdPath->click();
    ASSERT_EQ(a.shell.sfogliate.size(), 1u);
    EXPECT_EQ(a.shell.sfogliate[0].first,
              "Selezionare la cartella che contiene il negozio da aggiornare con i dati "
              "importati:");
    EXPECT_EQ(a.shell.sfogliate[0].second, vecchio);
    if (c.fileNegozio != nullptr) {
      EXPECT_EQ(prog.def.gPathNegozio, a.shell.scelta);
      EXPECT_EQ(prog.statoMotore.gFileNegozio, c.fileNegozio);
      EXPECT_TRUE(a.messaggi.Mostrati().empty());
    } else {
      EXPECT_EQ(prog.def.gPathNegozio, vecchio);
      EXPECT_EQ(prog.statoMotore.gFileNegozio, "prima");
      ASSERT_EQ(a.messaggi.Mostrati().size(), 1u);
      EXPECT_EQ(a.messaggi.Mostrati()[0].testo,
                "La cartella \"" + cartella + "\" non contiene un negozio");
      EXPECT_EQ(a.messaggi.Mostrati()[0].icona, Icona::Esclamazione);
    }
  }
}

TEST(PaginaOrigine, CartellaDeiFileCsv) {
  struct Caso {
    const char* file;  // null: the browser is cancelled
    bool accettata;
  };
  for (const Caso& c :
       {Caso{"articoli.csv", true}, Caso{"ARTICOLI.CSV", true}, Caso{"articoli.txt", false},
        Caso{"sotto.csv/x", false}, Caso{nullptr, false}}) {
    SCOPED_TRACE(c.file ? c.file : "annullato");
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gTipoDb = "Text;";
    const std::string prima = a.cartella.Percorso().string();
    prog.def.gPathDb = prima;
    frmMain& m = prog.Form<frmMain>();
    const std::string cartella = a.cartella / "csv";
    if (c.file != nullptr) {
      Tocca(cartella + "/" + c.file);
      a.shell.scelta = cartella;
    }
    m.cmdDbPath[1]->click();
    EXPECT_EQ(a.shell.sfogliate.at(0).first,
              "Selezionare la cartella contenente i file .csv da importare:");
    EXPECT_EQ(a.shell.sfogliate.at(0).second, prima);
    EXPECT_EQ(prog.def.gPathDb, c.accettata ? cartella : prima);
    if (c.file != nullptr && !c.accettata) {
      EXPECT_EQ(a.messaggi.Testi(), std::vector<std::string>{"La cartella \"" + cartella +
                                                             "\" non contiene alcun file .csv"});
    } else {
      EXPECT_TRUE(a.messaggi.Mostrati().empty());
    }
  }
}

TEST(PaginaOrigine, FileDellaSorgenteConIlFiltroDelTipo) {
  Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gTipoDb = "Excel 8.0;";
  prog.def.gPathDb = "/dati/vecchio.xls";
  frmMain& m = prog.Form<frmMain>();
  a.dialoghi.Scegli("");  // cancelled: the path stays
  a.dialoghi.Scegli("/dati/nuovo.xls");
  m.cmdDbPath[0]->click();
  EXPECT_EQ(prog.def.gPathDb, "/dati/vecchio.xls");
  m.cmdDbPath[0]->click();
  EXPECT_EQ(prog.def.gPathDb, "/dati/nuovo.xls");
  ASSERT_EQ(a.dialoghi.richieste.size(), 2u);
  EXPECT_FALSE(a.dialoghi.richieste[0].salva);
  EXPECT_EQ(a.dialoghi.richieste[0].filtro, "Foglio di Excel (*.xls)|*.xls");
  EXPECT_EQ(a.dialoghi.richieste[0].cartella, "/dati");
}

struct ListaFinta : IListaTabelle {
  std::vector<std::string> voci;
  void Clear() override { voci.clear(); }
  int AddItem(const std::string& testo) override {
    voci.push_back(testo);
    return static_cast<int>(voci.size()) - 1;
  }
  void SetItemData(int, int32_t) override {}
  void SetListIndex(int) override {}
};

// The hosting pages' controls, without the pages.
struct PagineFinte : IPagineOrigine {
  explicit PagineFinte(dao::DBEngine& motore) : rep(motore), main(motore) {}
  dao::DataControl& DataTabellaRep() override { return rep; }
  dao::DataControl& DataMain() override { return main; }
  IListaTabelle& TabelleRep() override { return tabelleRep; }
  IListaTabelle& NomiInterniRep() override { return interniRep; }
  IListaTabelle& TabelleArt() override { return tabelleArt; }
  IListaTabelle& NomiInterniArt() override { return interniArt; }
  dao::DataControl rep, main;
  ListaFinta tabelleRep, interniRep, tabelleArt, interniArt;
};

TEST(PaginaOrigine, AvantiApreLOrigineEPassaAllaTabellaDeiRepartiODegliArticoli) {
  for (bool reparti : {true, false}) {
    SCOPED_TRACE(reparti ? "departments and items" : "items only");
    Ambiente a;
    Programma& prog = a.Crea();
    PagineFinte pagine(prog.motore);
    prog.pagineOrigine = &pagine;
    const std::string csv = a.cartella / "csv";
    Tocca(csv + "/articoli.csv");
    prog.def.gTipoDb = "Text;";
    prog.def.gPathDb = csv;
    prog.def.gPathNegozio = "/negozio";
    prog.def.gImpRep = reparti ? 1 : 0;
    prog.def.gImpArt = 1;
    frmMain& m = prog.Form<frmMain>();
    m.Mostra();
    ASSERT_TRUE(m.cmdImport->isEnabled());
    m.cmdImport->click();

    EXPECT_TRUE(a.messaggi.Mostrati().empty());
    ASSERT_NE(prog.gDb, nullptr);
    EXPECT_EQ(prog.gDb, pagine.rep.Database());
    EXPECT_EQ(prog.Caricata<frmMain>(), nullptr);
    const std::vector<std::string> tabelle{"articoli.csv"};
    EXPECT_EQ(reparti ? pagine.tabelleRep.voci : pagine.tabelleArt.voci, tabelle);
    PaginaWizard* mostrata = reparti ? static_cast<PaginaWizard*>(prog.Caricata<frmTabellaRep>())
                                     : prog.Caricata<frmTabellaArt>();
    ASSERT_NE(mostrata, nullptr);
    EXPECT_TRUE(mostrata->isVisible());
  }
}

TEST(PaginaOrigine, UnaSorgenteMancanteLoDiceERestaSullaPagina) {
  Ambiente a;
  Programma& prog = a.Crea();
  PagineFinte pagine(prog.motore);
  prog.pagineOrigine = &pagine;
  const std::string mdb = a.cartella / "manca.mdb";
  prog.def.gTipoDb = "Access 2000;";
  prog.def.gPathDb = mdb;
  prog.def.gPathNegozio = "/negozio";
  prog.def.gImpRep = 1;
  frmMain& m = prog.Form<frmMain>();
  m.Mostra();
  m.cmdImport->click();
  EXPECT_EQ(a.messaggi.Testi(),
            std::vector<std::string>{"Impossibile trovare il file \"" + mdb + "\""});
  EXPECT_EQ(prog.gDb, nullptr);
  EXPECT_EQ(prog.Caricata<frmMain>(), &m);
  EXPECT_EQ(prog.Caricata<frmTabellaRep>(), nullptr);
}

TEST(PaginaOrigine, IndietroTornaAllaPaginaIniziale) {
  Ambiente a;
  Programma& prog = a.Crea();
  frmMain& m = prog.Form<frmMain>();
  m.Mostra();
  m.cmdBack->click();
  EXPECT_EQ(prog.Caricata<frmMain>(), nullptr);
  frmStart* start = prog.Caricata<frmStart>();
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(start->isVisible());
  EXPECT_TRUE(a.fini.empty());
}

}  // namespace
}  // namespace tarkpo::wizard
