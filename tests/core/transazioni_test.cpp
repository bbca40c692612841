#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/dao/dao.h"
#include "core/impostazioni.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/guasti_vfs.h"

namespace tarkpo::dao {
namespace {

std::string Interroga(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);  // read-write, so that a hot journal is rolled back
  sqlite3_stmt* st = nullptr;
  std::string r;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
    while (sqlite3_step(st) == SQLITE_ROW) {
      const unsigned char* t = sqlite3_column_text(st, 0);
      r += std::string(t ? reinterpret_cast<const char*>(t) : "NULL") + "\n";
    }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return r;
}

class TransazioniTest : public ::testing::Test {
 protected:
  TransazioniTest() {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE articoli (contatore COUNTER, codice TEXT(50), note MEMO);"
                 "INSERT INTO articoli VALUES (1, 'A1', 'prima');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  // Adds `n` rows to the shop through a database opened inside the transaction, then closes it.
  void Aggiungi(int n) {
    auto db = ws.OpenDatabase(file);
    auto rs = db->OpenRecordset("articoli", dbOpenDynaset);
    for (int i = 0; i < n; ++i) {
      rs->AddNew();
      rs->Fields("codice").SetValue(Valore::Testo("N" + std::to_string(i)));
      rs->Fields("note").SetValue(Valore::Testo(std::string(300, 'x')));
      rs->Update();
    }
    rs->FindFirst("codice='A1'");
    rs->Edit();
    rs->Fields("note").SetValue(Valore::Testo("dopo"));
    rs->Update();
    rs->Close();
    db->Close();
  }

  test::CartellaTemp cartella;
  std::string file = cartella / "catalog.mdb";
  Registro registro{cartella / "u", cartella / "m"};
  DBEngine motore{registro};
  Workspace& ws = motore.Workspaces(0);
};

TEST_F(TransazioniTest, RollbackAfterCloseLeavesTheFileAsItWas) {
  const std::string prima = test::LeggiFile(file);
  ws.BeginTrans();
  Aggiungi(3);
  ws.Rollback();
  EXPECT_EQ(test::LeggiFile(file), prima);
  EXPECT_EQ(Interroga(file, "SELECT count(*) || note FROM articoli"), "1prima\n");
  EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
}

TEST_F(TransazioniTest, CommitAfterCloseMakesTheChangesDurable) {
  ws.BeginTrans();
  Aggiungi(3);
  // Pending: another connection still sees the file as it was.
  EXPECT_EQ(Interroga(file, "SELECT count(*) FROM articoli"), "1\n");
  ws.CommitTrans();
  EXPECT_EQ(Interroga(file, "SELECT count(*) FROM articoli"), "4\n");
  EXPECT_EQ(Interroga(file, "SELECT note FROM articoli WHERE codice='A1'"), "dopo\n");
  EXPECT_EQ(Interroga(file, "PRAGMA journal_mode"), "delete\n");
  // AutoNumbers continue after the highest one.
  EXPECT_EQ(Interroga(file, "SELECT max(contatore) FROM articoli"), "4\n");
}

TEST_F(TransazioniTest, EndingATransactionThatWasNotBegunFails) {
  EXPECT_EQ(test::NumeroErrore([&] { ws.CommitTrans(); }), 3034);
  EXPECT_EQ(test::NumeroErrore([&] { ws.Rollback(); }), 3034);
}

// SQLite ends the transaction by itself when the disk fails under it. Whatever follows,
// the disk working again or failing again, nothing more is written to the file, and
// CommitTrans reports the failure.
TEST_F(TransazioniTest, AfterSQLiteDropsTheTransactionNothingMoreIsWritten) {
  const std::string prima = test::LeggiFile(file);
  test::GuastiVfs guasti(cartella.Percorso().string());
  ws.BeginTrans();
  auto db = ws.OpenDatabase(file);
  auto rs = db->OpenRecordset("articoli", dbOpenDynaset);
  int rifiutate = 0;
  for (int volta = 0; volta < 3; ++volta) {
    SCOPED_TRACE(volta);
    guasti.FallisciAl(1, test::GuastiVfs::Guasto::Pieno, test::GuastiVfs::Ripetizione::UnaVolta);
    for (int i = 0; i < 40; ++i) {
      try {
        rs->AddNew();
        rs->Fields("codice").SetValue(Valore::Testo("N" + std::to_string(volta * 100 + i)));
        rs->Fields("note").SetValue(Valore::Testo(std::string(900, 'x')));
        rs->Update();
      } catch (const ErroreDao& e) {
        ++rifiutate;
        EXPECT_EQ(e.Numero(), 3000);
        EXPECT_NE(std::string(e.what()).find("disk is full"), std::string::npos) << e.what();
      }
    }
    // Once the transaction is gone, not even a journal is written.
    if (volta > 0) {
      EXPECT_EQ(guasti.Operazioni(), 0);
    }
  }
  EXPECT_GT(rifiutate, 80);
  rs->Close();
  db->Close();
  EXPECT_EQ(test::NumeroErrore([&] { ws.CommitTrans(); }), 3000);
  EXPECT_EQ(test::LeggiFile(file), prima);
  EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
  EXPECT_EQ(Interroga(file, "SELECT count(*) FROM articoli"), "1\n");
}

TEST_F(TransazioniTest, AProcessKilledMidTransactionLeavesTheFileWhole) {
  const std::string prima = test::LeggiFile(file);
  int tubo[2];
  ASSERT_EQ(pipe(tubo), 0);
  pid_t figlio = fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    close(tubo[0]);
    try {
      ws.BeginTrans();
      Aggiungi(20000);  // more than the page cache holds: still nothing reaches the file
    } catch (...) {
      _exit(1);
    }
    char fatto = 'x';
    if (write(tubo[1], &fatto, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  close(tubo[1]);
  char letto = 0;
  ASSERT_EQ(read(tubo[0], &letto, 1), 1);
  close(tubo[0]);
  kill(figlio, SIGKILL);
  int stato = 0;
  waitpid(figlio, &stato, 0);
  ASSERT_TRUE(WIFSIGNALED(stato));
  // The child had begun its journal, but nothing of the transaction reaches the file
  // before the commit: the file is as it was even before the journal is rolled back.
  ASSERT_TRUE(std::filesystem::exists(file + "-journal"));
  EXPECT_EQ(test::LeggiFile(file), prima);

  EXPECT_EQ(Interroga(file, "PRAGMA integrity_check"), "ok\n");
  EXPECT_EQ(Interroga(file, "SELECT codice || note FROM articoli"), "A1prima\n");
  EXPECT_EQ(test::LeggiFile(file), prima);
}

}  // namespace
}  // namespace tarkpo::dao
