#include "core/accesso_origine.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <map>

#include "core/file_definizione.h"
#include "core/impostazioni.h"
#include "support/cartella_temp.h"
#include "support/messaggi_script.h"
#include "support/negozio_test.h"

namespace tarkpo {
namespace {

struct ListaFinta : IListaTabelle {
  std::vector<std::string> voci;
  std::vector<int32_t> dati;
  std::vector<int> selezioni;
  void Clear() override { voci.clear(), dati.clear(); }
  int AddItem(const std::string& testo) override {
    voci.push_back(testo);
    dati.push_back(0);
    return static_cast<int>(voci.size()) - 1;
  }
  void SetItemData(int i, int32_t dato) override { dati.at(static_cast<size_t>(i)) = dato; }
  void SetListIndex(int i) override { selezioni.push_back(i); }
};

// The two hosting pages: a load step runs on the first touch, as the windows do.
struct PagineFinte : IPagineOrigine {
  explicit PagineFinte(dao::DBEngine& motore) : rep(motore), main(motore) {}
  dao::DataControl& DataTabellaRep() override {
    caricataRep = true;
    return rep;
  }
  dao::DataControl& DataMain() override {
    if (!caricataMain && caricaMain) caricaMain();
    caricataMain = true;
    return main;
  }
  IListaTabelle& TabelleRep() override { return tabelleRep; }
  IListaTabelle& NomiInterniRep() override { return interniRep; }
  IListaTabelle& TabelleArt() override { return tabelleArt; }
  IListaTabelle& NomiInterniArt() override { return interniArt; }

  dao::DataControl rep, main;
  bool caricataRep = false, caricataMain = false;
  std::function<void()> caricaMain;
  ListaFinta tabelleRep, interniRep, tabelleArt, interniArt;
};

class AccessoOrigine : public ::testing::Test {
 protected:
  bool Apri() { return ApriDatabaseOrigine(def, pagine, messaggi, gDb); }

  test::CartellaTemp cartella;
  Registro registro{cartella / "utente", cartella / "macchina"};
  dao::DBEngine motore{registro};
  PagineFinte pagine{motore};
  test::MessaggiScript messaggi;
  DefinizioneImportazione def;
  std::shared_ptr<dao::Database> gDb;
};

TEST(ConnectOrigine, FollowsTheKindAndTheOptions) {
  struct Caso {
    const char* tipo;
    const char* opzioni;
    const char* connect;
  };
  const Caso casi[] = {
      {"Access 2000;", "", "Access 2000;"},
      {"Access 2000;", "PWD=segreta", ";PWD=segreta"},
      {"Excel 8.0;", "HDR=No", "Excel 8.0;HDR=No; IMEX=1;"},
      {"Excel 8.0;", "", "Excel 8.0;"},
      {"Text;", "HDR=Yes", "Text;HDR=Yes"},
      {"Text;", "", "Text;"},
      {"access 2000;", "PWD=x", "access 2000;PWD=x"},  // the kind compares exactly
  };
  for (const auto& c : casi) {
    DefinizioneImportazione def;
    def.gTipoDb = c.tipo;
    def.gOpzioniDb = c.opzioni;
    EXPECT_EQ(ConnectOrigine(def), c.connect) << c.tipo << c.opzioni;
  }
}

TEST_F(AccessoOrigine, OpensThroughTheDepartmentsPageAndListsShownAndInternalNames) {
  def.gPathDb = TARKPO_DATI_TEST "/csv/virgola";
  def.gTipoDb = "Text;";
  def.gOpzioniDb = "HDR=Yes";
  def.gTabellaRep = "articoli#CSV";  // differs only in case: not selected
  def.gTabellaArt = "articoli#csv";
  ASSERT_TRUE(Apri());
  EXPECT_TRUE(pagine.caricataRep);
  EXPECT_FALSE(pagine.caricataMain);
  ASSERT_TRUE(gDb);
  EXPECT_EQ(gDb, pagine.rep.Database());
  EXPECT_TRUE(messaggi.Mostrati().empty());

  pagine.interniRep.AddItem("vecchia");  // an older hidden entry keeps the link right
  ASSERT_TRUE(ElencaTabelleRep(def, gDb.get(), pagine, messaggi));
  EXPECT_EQ(pagine.tabelleRep.voci, (std::vector<std::string>{"articoli.csv"}));
  EXPECT_EQ(pagine.tabelleRep.dati, (std::vector<int32_t>{1}));
  EXPECT_EQ(pagine.interniRep.voci.back(), "articoli#csv");
  EXPECT_TRUE(pagine.tabelleRep.selezioni.empty());

  ASSERT_TRUE(ElencaTabelleArt(def, gDb.get(), pagine, messaggi));
  EXPECT_EQ(pagine.tabelleArt.selezioni, (std::vector<int>{0}));
}

TEST_F(AccessoOrigine, SystemTablesAreNeverListed) {
  def.gPathDb = TARKPO_DATI_TEST "/access/V2000_test.mdb";
  def.gTipoDb = "Access 2000;";
  ASSERT_TRUE(Apri());
  ASSERT_TRUE(ElencaTabelleArt(def, gDb.get(), pagine, messaggi));
  EXPECT_EQ(pagine.tabelleArt.voci,
            (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
  EXPECT_EQ(pagine.tabelleArt.dati, (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST_F(AccessoOrigine, ExcelSheetsAreShownWithoutTheirDollar) {
  def.gPathDb = TARKPO_DATI_TEST "/excel/listino.xls";
  def.gTipoDb = "Excel 8.0;";
  def.gOpzioniDb = "HDR=Yes";
  def.gTabellaRep = "Listino$";
  ASSERT_TRUE(Apri());
  ASSERT_TRUE(ElencaTabelleRep(def, gDb.get(), pagine, messaggi));
  EXPECT_EQ(pagine.tabelleRep.voci, (std::vector<std::string>{"Listino", "'Dati 2008$'"}));
  EXPECT_EQ(pagine.interniRep.voci, (std::vector<std::string>{"Listino$", "'Dati 2008$'"}));
  EXPECT_EQ(pagine.tabelleRep.selezioni, (std::vector<int>{0}));
}

TEST_F(AccessoOrigine, FailuresShowTheirMessageAndKeepTheOpenDatabase) {
  def.gPathDb = TARKPO_DATI_TEST "/access/V2000_test.mdb";
  def.gTipoDb = "Access 2000;";
  ASSERT_TRUE(Apri());
  const auto aperto = gDb;

  const std::string protetto = TARKPO_DATI_TEST "/access/V2000_with-password.mdb";
  const std::string danneggiato = cartella.Scrivi("rotto.mdb", std::string(5000, 'x'));
  struct Caso {
    std::string percorso, opzioni, messaggio;
  };
  const Caso casi[] = {
      {cartella / "manca.mdb", "",
       "Impossibile trovare il file \"" + cartella / "manca.mdb" + "\""},
      {protetto, "",
       "Il database \"" + protetto +
           "\" è protetto da password:\nselezionare \"Opzioni Access\" e impostare la password."},
      {protetto, "PWD=Password",
       "Il database \"" + protetto +
           "\" è protetto da password:\nselezionare \"Opzioni Access\" e impostare la password."},
  };
  for (const auto& c : casi) {
    def.gPathDb = c.percorso;
    def.gOpzioniDb = c.opzioni;
    messaggi.Pulisci();
    EXPECT_FALSE(Apri());
    ASSERT_EQ(messaggi.Mostrati().size(), 1u);
    EXPECT_EQ(messaggi.Mostrati()[0].testo, c.messaggio);
    EXPECT_EQ(messaggi.Mostrati()[0].icona, Icona::Esclamazione);
    EXPECT_EQ(gDb, aperto);
  }

  def.gPathDb = danneggiato;
  def.gOpzioniDb = "";
  messaggi.Pulisci();
  EXPECT_FALSE(Apri());
  ASSERT_EQ(messaggi.Mostrati().size(), 1u);
  EXPECT_EQ(messaggi.Mostrati()[0].testo.rfind("Errore 3343:\n", 0), 0u)
      << messaggi.Mostrati()[0].testo;
  EXPECT_EQ(gDb, aperto);
}

// Every file of a folder with its size and a hash of its bytes: what reading a source must
// leave as it was.
std::map<std::string, std::pair<size_t, size_t>> Contenuto(const std::filesystem::path& cartella) {
  std::map<std::string, std::pair<size_t, size_t>> file;
  for (const auto& voce : std::filesystem::recursive_directory_iterator(cartella)) {
    if (!voce.is_regular_file()) continue;
    const std::string byte = test::LeggiFile(voce.path().string());
    file[voce.path().string()] = {byte.size(), std::hash<std::string>{}(byte)};
  }
  return file;
}

// A SQLite catalogue in WAL mode, closed cleanly: nothing but the file itself remains.
void CreaSqliteWal(const std::string& percorso) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(percorso.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "PRAGMA journal_mode=WAL; CREATE TABLE reparti (codice TEXT, titolo TEXT);"
                         "INSERT INTO reparti VALUES ('R1', 'Vini'), ('R2', 'Olio');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
}

TEST_F(AccessoOrigine, SourcesAreOnlyRead) {
  struct Caso {
    const char* tipo;
    const char* opzioni;
    std::string origine;  // copied into the folder; empty for the SQLite file made here
    std::string nome;
  };
  const Caso casi[] = {
      {"Access 2000;", "", TARKPO_DATI_TEST "/access/overflowTestV2000.mdb", "fonte.mdb"},
      {"Excel 8.0;", "HDR=Yes", TARKPO_DATI_TEST "/excel/listino.xls", "fonte.xls"},
      {"Text;", "HDR=Yes", TARKPO_DATI_TEST "/csv/punto_e_virgola", "testi"},
      {"Access 2000;", "", "", "catalogo.mdb"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto sorgente = cartella.Percorso() / "sorgente";
    std::filesystem::remove_all(sorgente);
    std::filesystem::create_directories(sorgente);
    if (c.origine.empty())
      CreaSqliteWal((sorgente / c.nome).string());
    else
      std::filesystem::copy(c.origine, sorgente / c.nome, std::filesystem::copy_options::recursive);
    const auto prima = Contenuto(sorgente);

    def.gPathDb = (sorgente / c.nome).string();
    def.gTipoDb = c.tipo;
    def.gOpzioniDb = c.opzioni;
    ASSERT_TRUE(Apri());
    EXPECT_TRUE(gDb->SolaLettura());
    size_t righe = 0;
    for (const auto& tabella : gDb->TableDefs()) {
      if (tabella.Attributes() & dao::dbSystemObject) continue;
      auto rs = gDb->OpenRecordset(tabella.Name());
      EXPECT_FALSE(rs->Updatable());
      for (; !rs->Eof(); rs->MoveNext()) ++righe;
    }
    EXPECT_GT(righe, 0u);
    EXPECT_EQ(Contenuto(sorgente), prima);  // also while it is open
    gDb.reset();
    pagine.rep.DatabaseName.clear();
    pagine.rep.Refresh();
    EXPECT_EQ(Contenuto(sorgente), prima);
  }
}

// A WAL file left beside a SQLite source holds rows the database file does not have yet:
// they are read, and neither file is written.
TEST_F(AccessoOrigine, ASqliteSourceIsReadThroughTheWalLeftBesideIt) {
  const std::string scrittore = cartella / "scrittore.db";
  CreaSqliteWal(scrittore);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(scrittore.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "PRAGMA wal_autocheckpoint=0;"
                         "INSERT INTO reparti VALUES ('R3', 'Pane');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const auto sorgente = cartella.Percorso() / "sorgente";
  std::filesystem::create_directories(sorgente);
  std::filesystem::copy_file(scrittore, sorgente / "catalogo.mdb");
  std::filesystem::copy_file(scrittore + "-wal", sorgente / "catalogo.mdb-wal");
  sqlite3_close(db);
  const std::string dati = test::LeggiFile((sorgente / "catalogo.mdb").string());
  const std::string wal = test::LeggiFile((sorgente / "catalogo.mdb-wal").string());

  def.gPathDb = (sorgente / "catalogo.mdb").string();
  def.gTipoDb = "Access 2000;";
  ASSERT_TRUE(Apri());
  auto rs = gDb->OpenRecordset("reparti");
  rs->MoveLast();
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_EQ(rs->Fields("titolo").Value(), Valore::Testo("Pane"));
  rs.reset();
  gDb.reset();
  pagine.rep.DatabaseName.clear();
  pagine.rep.Refresh();
  EXPECT_EQ(test::LeggiFile((sorgente / "catalogo.mdb").string()), dati);
  EXPECT_EQ(test::LeggiFile((sorgente / "catalogo.mdb-wal").string()), wal);
}

std::vector<std::string> Titoli(dao::Database& db) {
  std::vector<std::string> titoli;
  auto rs = db.OpenRecordset("reparti");
  for (; !rs->Eof(); rs->MoveNext()) titoli.push_back(rs->Fields("titolo").Value().Stringa());
  return titoli;
}

// The source page opens a SQLite source and the import reads it later: what another program
// commits meanwhile is read, a VACUUM meanwhile breaks nothing, and nothing is left beside
// the file. Whatever its journal, rollback or WAL (closed, so no WAL is beside it).
TEST_F(AccessoOrigine, ASqliteSourceIsReadAsItStandsWhenTheImportRuns) {
  for (const char* giornale : {"DELETE", "WAL"}) {
    SCOPED_TRACE(giornale);
    const auto sorgente = cartella.Percorso() / giornale;
    std::filesystem::create_directories(sorgente);
    const std::string file = (sorgente / "catalogo.mdb").string();
    test::EseguiSql(file, std::string("PRAGMA journal_mode=") + giornale +
                              "; CREATE TABLE reparti (codice TEXT, titolo TEXT);"
                              "INSERT INTO reparti VALUES ('R1', 'Vini'), ('R2', 'Olio');");
    def.gPathDb = file;
    def.gTipoDb = "Access 2000;";
    ASSERT_TRUE(Apri());
    ASSERT_TRUE(ElencaTabelleRep(def, gDb.get(), pagine, messaggi));
    EXPECT_EQ(Titoli(*gDb), (std::vector<std::string>{"Vini", "Olio"}));

    // A preview standing on a row locks nothing: the commit does not wait.
    auto anteprima = gDb->OpenRecordset("reparti");
    anteprima->MoveNext();
    EXPECT_EQ(anteprima->Fields("titolo").Value(), Valore::Testo("Olio"));
    test::EseguiSql(file, "INSERT INTO reparti VALUES ('R3', 'Pane')");
    EXPECT_EQ(Titoli(*gDb), (std::vector<std::string>{"Vini", "Olio", "Pane"}));
    anteprima.reset();
    // Pages move: a reader that kept the old ones would find a damaged file.
    test::EseguiSql(file,
                    "DELETE FROM reparti WHERE codice <> 'R3';"
                    "CREATE TABLE zavorra (x); INSERT INTO zavorra VALUES (zeroblob(100000));"
                    "DROP TABLE zavorra; INSERT INTO reparti VALUES ('R4', 'Sale'); VACUUM;");
    EXPECT_EQ(Titoli(*gDb), (std::vector<std::string>{"Pane", "Sale"}));
    EXPECT_TRUE(messaggi.Mostrati().empty());
    std::vector<std::string> presenti;
    for (const auto& voce : std::filesystem::directory_iterator(sorgente))
      presenti.push_back(voce.path().filename().string());
    EXPECT_EQ(presenti, std::vector<std::string>{"catalogo.mdb"});
    gDb.reset();
    pagine.rep.DatabaseName.clear();
    pagine.rep.Refresh();
  }
}

// A SQLite source the engine cannot read is reported with the engine's own words; a file
// that is no database at all as a format not recognised.
TEST_F(AccessoOrigine, ASqliteSourceThatCannotBeReadKeepsTheEnginesText) {
  const std::string file = cartella / "guasto.mdb";
  test::EseguiSql(file, "CREATE TABLE reparti (codice TEXT); INSERT INTO reparti VALUES ('R1');");
  std::string byte = test::LeggiFile(file);
  def.gTipoDb = "Access 2000;";
  struct Caso {
    const char* nome;
    size_t posizione;
    char valore;
    const char* inizio;
    const char* fine;
  };
  const Caso casi[] = {
      // The schema page's type, after the 100 bytes of the file's header.
      {"damaged schema page", 100, '\x7F', "Errore 3000:\nErrore del database \"",
       "\": database disk image is malformed"},
      // The page size.
      {"no database", 16, '\x03', "Errore 3343:\nFormato del database \"", "\" non riconosciuto"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::string guasto = byte;
    guasto[c.posizione] = c.valore;
    def.gPathDb = cartella.Scrivi(std::string(c.nome) + ".mdb", guasto);
    messaggi.Pulisci();
    EXPECT_FALSE(Apri());
    ASSERT_EQ(messaggi.Mostrati().size(), 1u);
    const std::string& testo = messaggi.Mostrati()[0].testo;
    EXPECT_TRUE(testo.starts_with(c.inizio) && testo.ends_with(c.fine)) << testo;
  }
}

// A file copied from Windows keeps the Windows-1252 byte of "è" in its name. A saved
// definition gives the name back in UTF-8, among lines that were UTF-8 already: the table
// is found and selected all the same, and the other lines keep their text.
TEST_F(AccessoOrigine, AWindows1252FileNameIsFoundAgainFromASavedDefinition) {
  const std::string origine = cartella / "testi";
  std::filesystem::create_directories(origine);
  cartella.Scrivi("testi/caff\xE8.csv", "Codice,Nome\r\nR9,Bar\r\n");
  def.gPathNegozio = "/negozi/caffè";
  def.gPathDb = origine;
  def.gTipoDb = "Text;";
  def.gOpzioniDb = "HDR=Yes";
  def.gTabellaRep = "caff\xE8#csv";
  const std::string file = cartella / "caffe.kpo";
  ASSERT_TRUE(SalvaImportazione(def, file, messaggi));
  DefinizioneImportazione letta;
  ASSERT_EQ(CaricaImportazione(letta, file), 1);
  EXPECT_EQ(letta.gPathNegozio, "/negozi/caffè");
  EXPECT_EQ(letta.gTabellaRep, "caffè#csv");

  def = letta;
  ASSERT_TRUE(Apri());
  ASSERT_TRUE(ElencaTabelleRep(def, gDb.get(), pagine, messaggi));
  EXPECT_EQ(pagine.tabelleRep.voci, (std::vector<std::string>{"caff\xE8.csv"}));
  EXPECT_EQ(pagine.tabelleRep.selezioni, (std::vector<int>{0}));
  auto rs = gDb->OpenRecordset(def.gTabellaRep);
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Fields("Nome").Value(), Valore::Testo("Bar"));
  EXPECT_TRUE(messaggi.Mostrati().empty());
}

TEST_F(AccessoOrigine, MainPageBuildsTheConnectStringAfterItsLoadStep) {
  def.gPathDb = TARKPO_DATI_TEST "/access/V2000_with-password.mdb";
  def.gTipoDb = "Access 2000;";
  pagine.caricaMain = [this] { def.gOpzioniDb = "PWD=password"; };
  ASSERT_TRUE(ApriDatabaseOrigineMain(def, pagine, messaggi, gDb));
  EXPECT_FALSE(pagine.caricataRep);
  EXPECT_EQ(gDb, pagine.main.Database());
}

TEST_F(AccessoOrigine, ListingWithoutADatabaseFails) {
  EXPECT_FALSE(ElencaTabelleRep(def, nullptr, pagine, messaggi));
  ASSERT_EQ(messaggi.Mostrati().size(), 1u);
  EXPECT_EQ(messaggi.Mostrati()[0].testo.rfind("Errore 91:\n", 0), 0u);
}

TEST(NomeVisibileTabella, DependsOnTheKindOfSource) {
  struct Caso {
    const char* tipo;
    const char* nome;
    const char* mostrato;
  };
  const Caso casi[] = {
      {"Excel 8.0;", "Listino$", "Listino"},
      {"Excel 8.0;", "'Dati 2008$'", "'Dati 2008$'"},
      {"Excel 8.0;", "Listino", "Listino"},
      {"Text;", "articoli#csv", "articoli.csv"},
      {"Text;", "a#b", "a#b"},
      {"Text;", "dati#2008", "dati#2008"},
      {"Access 2000;", "Listino$", "Listino$"},
      {"Access 2000;", "articoli#csv", "articoli#csv"},
  };
  for (const auto& c : casi) {
    DefinizioneImportazione def;
    def.gTipoDb = c.tipo;
    EXPECT_EQ(NomeVisibileTabella(def, c.nome), c.mostrato) << c.tipo << c.nome;
  }
}

}  // namespace
}  // namespace tarkpo
