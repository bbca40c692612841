#include "engine/negozio.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ambiente_motore.h"
#include "engine/origine.h"

namespace tarkpo::motore {
namespace {

namespace fs = std::filesystem;
using Negozio = test::AmbienteMotore;

struct CasoFile {
  const char* nome;
  bool catalog;
  bool items;
  std::string atteso;  // "" = no shop
};

void PrintTo(const CasoFile& c, std::ostream* os) { *os << c.nome; }

class FileNegozio : public test::AmbienteMotore, public testing::WithParamInterface<CasoFile> {};

TEST_P(FileNegozio, BackupAndOpeningFindTheSameFile) {
  const CasoFile& caso = GetParam();
  fs::create_directories(def.gPathNegozio);
  if (caso.catalog) PreparaNegozio("INSERT INTO lingue VALUES ('catalog','','','')");
  if (caso.items)
    PreparaNegozio("INSERT INTO lingue VALUES ('items','','','')", test::kSchemaBase, "items.dat");
  stato.gFileNegozio = "prima";
  std::string backup = BackupNegozio(stato, def, messaggi);
  if (caso.atteso.empty()) {
    EXPECT_EQ(backup, "");
    EXPECT_EQ(stato.gFileNegozio, "prima");
    EXPECT_FALSE(ApriNegozio(stato, def, Workspace(), messaggi));
    std::string testo = "La cartella \"" + def.gPathNegozio + "\" non contiene un negozio";
    ASSERT_EQ(messaggi.Testi(), (std::vector<std::string>{testo, testo}));
    EXPECT_EQ(messaggi.Mostrati()[0].icona, Icona::Esclamazione);
    return;
  }
  // Whatever the file copied, the copy is catalog.000 and holds the same bytes.
  EXPECT_EQ(backup, def.gPathNegozio + "/catalog.000");
  EXPECT_EQ(stato.gFileNegozio, caso.atteso);
  EXPECT_EQ(test::LeggiFile(backup), test::LeggiFile(def.gPathNegozio + "/" + caso.atteso));
  stato.gFileNegozio.clear();
  ASSERT_TRUE(ApriNegozio(stato, def, Workspace(), messaggi));
  EXPECT_EQ(stato.gFileNegozio, caso.atteso);
  EXPECT_TRUE(messaggi.Mostrati().empty());
}

const CasoFile kCasiFile[] = {
    {"Entrambi", true, true, "catalog.mdb"},
    {"SoloItems", false, true, "items.dat"},
    {"Nessuno", false, false, ""},
};
INSTANTIATE_TEST_SUITE_P(Casi, FileNegozio, testing::ValuesIn(kCasiFile),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Negozio, AFolderNamedLikeTheDataFileIsNoShop) {
  fs::create_directories(def.gPathNegozio + "/catalog.mdb");
  EXPECT_FALSE(ApriNegozio(stato, def, Workspace(), messaggi));
  EXPECT_EQ(messaggi.Testi(), std::vector<std::string>{"La cartella \"" + def.gPathNegozio +
                                                       "\" non contiene un negozio"});
}

TEST_F(Negozio, AFileThatIsNoDatabaseCannotBeOpened) {
  cartella.Scrivi("negozio/catalog.mdb", "questo non è un database");
  EXPECT_FALSE(ApriNegozio(stato, def, Workspace(), messaggi));
  ASSERT_EQ(messaggi.Mostrati().size(), 1u);
  std::string atteso = "Impossibile aprire il file \"" + def.gPathNegozio + "/catalog.mdb\":\n";
  EXPECT_EQ(messaggi.Mostrati()[0].testo.substr(0, atteso.size()), atteso);
  EXPECT_GT(messaggi.Mostrati()[0].testo.size(), atteso.size());
  EXPECT_EQ(messaggi.Mostrati()[0].icona, Icona::Esclamazione);
}

TEST_F(Negozio, BackupsCountOnAndNeverReplaceAFile) {
  PreparaNegozio();
  cartella.Scrivi("negozio/catalog.004", "vecchio");
  cartella.Scrivi("negozio/catalog.old.005", "altro");
  EXPECT_EQ(BackupNegozio(stato, def, messaggi), def.gPathNegozio + "/catalog.006");
  EXPECT_EQ(BackupNegozio(stato, def, messaggi), def.gPathNegozio + "/catalog.007");
  EXPECT_EQ(test::LeggiFile(def.gPathNegozio + "/catalog.004"), "vecchio");
  EXPECT_EQ(test::LeggiFile(def.gPathNegozio + "/catalog.old.005"), "altro");
  cartella.Scrivi("negozio/catalog.999", "ultimo");
  fs::remove(def.gPathNegozio + "/catalog.old.005");
  EXPECT_EQ(BackupNegozio(stato, def, messaggi), "");
  EXPECT_EQ(test::LeggiFile(def.gPathNegozio + "/catalog.999"), "ultimo");
  EXPECT_TRUE(messaggi.Mostrati().empty());
}

// Links planted under every name the backup may write (its temporary file, its final
// name): a symbolic link to a file outside the shop, a hard link to the shop itself. The
// copy is written through none of them: the outside file and the shop stay whole, and the
// backup is a whole copy of the shop.
TEST_F(Negozio, ABackupIsNeverWrittenThroughALink) {
  const std::string file = PreparaNegozio("INSERT INTO lingue VALUES ('prima','','','')");
  const std::string shop = test::LeggiFile(file);
  const std::string fuori = cartella.Scrivi("fuori.txt", "di un altro");
  const std::string pid = std::to_string(::getpid());
  for (const bool simbolico : {true, false}) {
    SCOPED_TRACE(simbolico ? "symbolic link outside" : "hard link to the shop");
    for (const auto& voce : fs::directory_iterator(def.gPathNegozio))
      if (voce.path().filename() != "catalog.mdb") fs::remove(voce.path());
    std::vector<std::string> nomi = {"catalog.000.parziale", "catalog.001.parziale"};
    for (int n = 0; n < 4; ++n) nomi.push_back(".tarkpo-" + pid + "-" + std::to_string(n) + ".tmp");
    for (const std::string& nome : nomi) {
      const fs::path link = fs::path(def.gPathNegozio) / nome;
      if (simbolico)
        fs::create_symlink(fuori, link);
      else
        fs::create_hard_link(file, link);
    }
    const std::string backup = BackupNegozio(stato, def, messaggi);
    EXPECT_TRUE(test::LeggiFile(fuori) == "di un altro") << "the file outside the shop";
    EXPECT_TRUE(test::LeggiFile(file) == shop);
    ASSERT_FALSE(backup.empty());
    EXPECT_TRUE(test::LeggiFile(backup) == shop);
    EXPECT_FALSE(fs::is_symlink(backup));
    EXPECT_NE(fs::canonical(backup), fs::canonical(file));
  }
}

// A backup cut short by a kill or a power loss leaves its temporary file: the next backup
// removes those of processes that are gone, never another running process's.
TEST_F(Negozio, TemporariesOfBackupsCutShortAreRemoved) {
  PreparaNegozio();
  const pid_t figlio = ::fork();
  if (figlio == 0) ::_exit(0);
  ::waitpid(figlio, nullptr, 0);
  const std::string morto = ".tarkpo-" + std::to_string(figlio) + "-0.tmp";
  const std::string vivo = ".tarkpo-1-0.tmp";  // init never ends
  cartella.Scrivi("negozio/" + morto, "mezzo backup");
  cartella.Scrivi("negozio/" + vivo, "in corso");
  EXPECT_EQ(BackupNegozio(stato, def, messaggi), def.gPathNegozio + "/catalog.000");
  EXPECT_FALSE(fs::exists(def.gPathNegozio + "/" + morto));
  EXPECT_TRUE(fs::exists(def.gPathNegozio + "/" + vivo));
}

// What a writer killed in the middle leaves beside the shop, a journal of its transaction
// or a write-ahead log of its commits, is settled by SQLite before the copy is made: the
// backup and the shop are then the whole shop, the one SQLite itself would read.
TEST_F(Negozio, WhatAKilledWriterLeftIsSettledBeforeTheBackup) {
  const std::string file = PreparaNegozio("INSERT INTO lingue VALUES ('prima','','','')");
  const std::string riga =
      "INSERT INTO articoli (codice, descrizione) VALUES ('X', hex(randomblob(3000)))";
  struct Caso {
    const char* nome;
    const char* preparazione;  // the writer's state when it was killed
    const char* accanto;       // the file it left beside the shop
    const char* atteso;        // the items of the shop SQLite reads
  } casi[] = {
      {"giornale", "PRAGMA cache_size=1; BEGIN;", "-journal", "0"},
      {"registro", "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;", "-wal", "20"},
  };
  const std::string originale = test::LeggiFile(file);
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    for (const auto& voce : fs::directory_iterator(def.gPathNegozio))
      if (voce.is_regular_file()) fs::remove(voce.path());
    const std::string scrittore = cartella / "scrittore.mdb";
    cartella.Scrivi("scrittore.mdb", originale);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(scrittore.c_str(), &db), SQLITE_OK);
    std::string sql = c.preparazione;
    for (int i = 0; i < 20; ++i) sql += riga + ";";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    // The files as a kill leaves them.
    fs::copy_file(scrittore, file);
    fs::copy_file(scrittore + c.accanto, file + c.accanto);
    sqlite3_close(db);
    fs::remove(scrittore + "-journal");
    fs::remove(scrittore + "-wal");

    const std::string backup = BackupNegozio(stato, def, messaggi);
    ASSERT_EQ(backup, def.gPathNegozio + "/catalog.000");
    EXPECT_FALSE(fs::exists(file + c.accanto));
    EXPECT_TRUE(test::LeggiFile(backup) == test::LeggiFile(file)) << "the backup is not the shop";
    EXPECT_EQ(test::PrimoValore(backup, "SELECT count(*) FROM articoli"), c.atteso);
    EXPECT_EQ(test::PrimoValore(backup, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(test::PrimoValore(file, "PRAGMA journal_mode"), "delete");
    EXPECT_TRUE(messaggi.Mostrati().empty());
  }
}

TEST_F(Negozio, DepartmentsGiveTheirListsTheHighestPositionAndStandOnTheFirstRow) {
  PreparaNegozio(R"(INSERT INTO categorie (id, titolo, titolo_l2, ordinamento) VALUES
               ('imp0A', 'Vini', 'Wines', 30), (NULL, 'Birre', NULL, 50), ('imp0B', NULL, 'Beers', 40))",
                 test::kSchemaEsteso);
  ASSERT_TRUE(ApriNegozio(stato, def, Workspace(), messaggi));
  ASSERT_TRUE(ApriReparti(stato, def, messaggi));
  EXPECT_EQ(stato.gElencoIdReparti.Testo(), "°imp0A°°imp0B°");
  EXPECT_EQ(stato.gElencoTitoliReparti.Testo(), "°Vini°Birre°°");
  EXPECT_EQ(stato.gUltimoOrdinamento, 50);
  EXPECT_EQ(LeggiCampoNegozio(*stato.gRsReparti, "id"), Valore::Testo("imp0A"));

  def.gLingua = 1;  // the titles of the second language
  ASSERT_TRUE(ApriReparti(stato, def, messaggi));
  EXPECT_EQ(stato.gElencoTitoliReparti.Testo(), "°Wines°°Beers°");
  EXPECT_TRUE(messaggi.Mostrati().empty());
}

TEST_F(Negozio, ItemsListTheirCodesAndCount) {
  PreparaNegozio();
  ASSERT_TRUE(ApriNegozio(stato, def, Workspace(), messaggi));
  stato.gUltimoOrdinamento = 70;
  ASSERT_TRUE(ApriArticoli(stato, def, messaggi));
  EXPECT_EQ(stato.gUltimoOrdinamento, 0);
  EXPECT_EQ(stato.gElencoCodiciNegozio.Testo(), "°");
  EXPECT_EQ(stato.gNumArticoli, 0);
  EXPECT_TRUE(stato.gRsArticoli->Eof());

  test::EseguiSql(def.gPathNegozio + "/catalog.mdb",
                  R"(INSERT INTO articoli (codice, ordinamento) VALUES
                    ('A1', 20), (NULL, 10), ('A1', 5), ('B°7', 15))");
  ASSERT_TRUE(ApriArticoli(stato, def, messaggi));
  EXPECT_EQ(stato.gElencoCodiciNegozio.Testo(), "°A1°°A1°B°7°");
  EXPECT_EQ(stato.gNumArticoli, 4);
  EXPECT_EQ(stato.gUltimoOrdinamento, 20);
  EXPECT_FALSE(stato.gElencoCodiciNegozio.Contiene("7°A1"));
}

TEST_F(Negozio, ATableWithoutPositionsOrMissingCannotBeOpened) {
  PreparaNegozio();
  ASSERT_TRUE(ApriNegozio(stato, def, Workspace(), messaggi));
  std::unique_ptr<dao::Recordset> rs;
  EXPECT_FALSE(ApriTabellaNegozio(stato, def, "lingue", rs, messaggi));
  test::EseguiSql(def.gPathNegozio + "/catalog.mdb", "DROP TABLE articoli");
  EXPECT_FALSE(ApriArticoli(stato, def, messaggi));
  ASSERT_EQ(messaggi.Mostrati().size(), 2u);
  for (const auto& [testo, tabella] : {std::pair{messaggi.Mostrati()[0].testo, "lingue"},
                                       std::pair{messaggi.Mostrati()[1].testo, "articoli"}}) {
    std::string atteso = std::string("Non è stato possibile aprire la tabella ") + tabella + ":\n";
    EXPECT_EQ(testo.substr(0, atteso.size()), atteso);
  }
  EXPECT_EQ(messaggi.Mostrati()[0].icona, Icona::Nessuna);
}

TEST_F(Negozio, AHighestPositionBeyondThirtyTwoBitsCannotBeOpened) {
  PreparaNegozio("INSERT INTO categorie (id, ordinamento) VALUES ('a', 10), ('b', 3000000000)");
  ASSERT_TRUE(ApriNegozio(stato, def, Workspace(), messaggi));
  EXPECT_FALSE(ApriReparti(stato, def, messaggi));
  EXPECT_EQ(messaggi.Mostrati().size(), 1u);
}

// After departments are updated the lists must be what a full rebuild gives.
TEST_F(Negozio, UpdatedDepartmentsKeepTheListsOfAFullRebuild) {
  PreparaNegozio(R"(INSERT INTO categorie (id, titolo, ordinamento) VALUES
               ('imp01', 'Vini', 10), (NULL, 'Birre', 20), (NULL, 'Vini', 30), ('imp02', 'Birre', 40))");
  ASSERT_TRUE(ApriNegozio(stato, def, Workspace(), messaggi));
  ASSERT_TRUE(ApriReparti(stato, def, messaggi));
  dao::Recordset& rs = *stato.gRsReparti;
  auto confronta = [&] {
    ElencoChiavi id = stato.gElencoIdReparti, titoli = stato.gElencoTitoliReparti;
    RicostruisciElenchiReparti(stato, def);
    EXPECT_EQ(id.Testo(), stato.gElencoIdReparti.Testo());
    EXPECT_EQ(titoli.Testo(), stato.gElencoTitoliReparti.Testo());
  };
  // Found by ID, title written.
  rs.FindFirst(dao::Criterio("ID", "imp02"));
  rs.Edit();
  rs.Fields("titolo").SetValue(Valore::Testo("Liquori"));
  rs.Update();
  AggiornaElenchiReparti(stato, def);
  EXPECT_EQ(stato.gElencoTitoliReparti.Testo(), "°Vini°Birre°Vini°Liquori°");
  confronta();
  // Found by title, rows without an ID: the title is not written.
  rs.FindFirst(dao::Criterio("titolo", "Vini"));
  rs.FindNext(dao::Criterio("titolo", "Vini"));
  rs.Edit();
  rs.Fields("note").SetValue(Valore::Testo("nota"));
  rs.Update();
  AggiornaElenchiReparti(stato, def);
  confronta();
  // A department added after the lists were built, then updated.
  rs.AddNew();
  rs.Fields("id").SetValue(Valore::Testo("imp03"));
  rs.Fields("titolo").SetValue(Valore::Testo("Acque"));
  rs.Update();
  stato.gElencoIdReparti.Aggiungi("imp03");
  stato.gElencoTitoliReparti.Aggiungi("Acque");
  rs.FindFirst(dao::Criterio("ID", "imp03"));
  rs.Edit();
  rs.Fields("titolo").SetValue(Valore::Null());
  rs.Update();
  AggiornaElenchiReparti(stato, def);
  EXPECT_EQ(stato.gElencoTitoliReparti.Testo(), "°Vini°Birre°Vini°Liquori°°");
  confronta();
  // The dynaset was not moved.
  EXPECT_EQ(LeggiCampoNegozio(rs, "id"), Valore::Testo("imp03"));
}

TEST_F(Negozio, DuplicateIdsWithoutAUniqueIndexFallBackToTheRebuild) {
  PreparaNegozio(R"(DROP INDEX categorie_id;
             INSERT INTO categorie (id, titolo) VALUES ('imp01', 'Vini'), ('imp01', 'Birre'))");
  ASSERT_TRUE(ApriNegozio(stato, def, Workspace(), messaggi));
  ASSERT_TRUE(ApriReparti(stato, def, messaggi));
  dao::Recordset& rs = *stato.gRsReparti;
  rs.FindFirst(dao::Criterio("ID", "imp01"));
  rs.FindNext(dao::Criterio("ID", "imp01"));
  rs.Edit();
  rs.Fields("titolo").SetValue(Valore::Testo("Acque"));
  rs.Update();
  AggiornaElenchiReparti(stato, def);
  EXPECT_EQ(stato.gElencoTitoliReparti.Testo(), "°Vini°Acque°");
}

}  // namespace
}  // namespace tarkpo::motore
