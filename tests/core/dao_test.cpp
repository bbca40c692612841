#include "core/dao/dao.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/impostazioni.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

using test::NumeroErrore;

// Runs SQL on a file directly, outside the layer under test.
void EseguiSql(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* errore = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &errore);
  std::string messaggio = errore ? errore : "";
  sqlite3_free(errore);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << messaggio;
}

// The rows of a query as text, "|" between columns, one line per row.
std::string Righe(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  std::string r;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* t = sqlite3_column_text(st, i);
        r += (i ? "|" : "") + std::string(t ? reinterpret_cast<const char*>(t) : "NULL");
      }
      r += "\n";
    }
  } else {
    r = std::string("ERRORE ") + sqlite3_errmsg(db);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return r;
}

constexpr const char* kSchema = R"(
CREATE TABLE "categorie" (
  "contatore" COUNTER,
  "id" TEXT(10),
  "titolo" TEXT(20),
  "descrizione" MEMO,
  "iva" SINGLE DEFAULT 4,
  "ordinamento" INTEGER DEFAULT 0,
  "prezzo" CURRENCY DEFAULT 0,
  "fuori" BIT DEFAULT 0,
  "quando" DATETIME
);
CREATE UNIQUE INDEX "categorie_id" ON "categorie" ("id");
INSERT INTO categorie (contatore, id, titolo, ordinamento) VALUES (1, 'imp01', 'Uno', 10);
INSERT INTO categorie (contatore, id, titolo, ordinamento) VALUES (5, 'imp02', 'Due', 20);
)";

class DaoTest : public ::testing::Test {
 protected:
  DaoTest() { EseguiSql(file, kSchema); }
  std::shared_ptr<Database> Apri() { return motore.Workspaces(0).OpenDatabase(file); }
  std::string Contenuto() {
    return Righe(file, "SELECT contatore, id, titolo, iva, ordinamento, prezzo FROM categorie");
  }

  test::CartellaTemp cartella;
  std::string file = cartella / "catalog.mdb";
  Registro registro{cartella / "utente", cartella / "macchina"};
  DBEngine motore{registro};
};

TEST_F(DaoTest, AddNewAssignsTheAutoNumberAtOnceAndAppliesTheDefaults) {
  auto db = Apri();
  auto rs = db->OpenRecordset("Categorie", dbOpenDynaset);
  ASSERT_EQ(rs->RecordCount(), 2);
  rs->AddNew();
  EXPECT_EQ(rs->Fields("CONTATORE").Value(), Valore::Lungo(6));  // before Update
  EXPECT_EQ(rs->Fields("iva").Value(), Valore::Singolo(4));
  EXPECT_EQ(rs->Fields("fuori").Value(), Valore::Booleano(false));
  EXPECT_TRUE(rs->Fields("titolo").Value().IsNull());
  rs->Fields("id").SetValue(Valore::Testo("cat006"));
  rs->Fields("titolo").SetValue(Valore::Testo("èèèèèèèèèèèèèèèèèèèè"));  // 20 characters
  rs->Fields("ordinamento").SetValue(Valore::Testo("30"));
  rs->Fields("prezzo").SetValue(Valore::Doppio(12.34));
  rs->Fields("iva").SetValue(Valore::Singolo(0.1f));
  rs->Update();
  // The current row stays the one before AddNew; the new row is at the end.
  EXPECT_EQ(rs->Fields("id").Value(), Valore::Testo("imp01"));
  EXPECT_EQ(rs->RecordCount(), 3);
  rs->MoveLast();
  EXPECT_EQ(rs->Fields(1).Value(), Valore::Testo("cat006"));
  EXPECT_EQ(rs->Fields("prezzo").Value(), Valore::Valuta(123400));
  EXPECT_EQ(Righe(file,
                  "SELECT typeof(prezzo), prezzo, typeof(ordinamento) FROM categorie "
                  "WHERE contatore=6"),
            "integer|123400|integer\n");
  // A Single is stored as the double of its shortest form, and reads back as that Single.
  EXPECT_EQ(Righe(file, "SELECT iva = 0.1 FROM categorie WHERE contatore=6"), "1\n");
  EXPECT_EQ(Apri()->OpenRecordset("SELECT iva FROM categorie WHERE contatore=6")->Fields(0).Value(),
            Valore::Singolo(0.1f));
  // A second AddNew continues the numbering.
  rs->AddNew();
  EXPECT_EQ(rs->Fields("contatore").Value(), Valore::Lungo(7));
}

// A number is used up when AddNew assigns it: neither a row left unstored nor the deletion
// of the row with the highest number, in a later session, gives it out again.
TEST_F(DaoTest, AutoNumbersAreNeverIssuedTwice) {
  {
    auto rs = Apri()->OpenRecordset("categorie");
    rs->AddNew();  // no sequence yet: after the highest value
    EXPECT_EQ(rs->Fields("contatore").Value(), Valore::Lungo(6));
    rs->Fields("id").SetValue(Valore::Testo("cat006"));
    rs->Update();
    rs->AddNew();
    EXPECT_EQ(rs->Fields("contatore").Value(), Valore::Lungo(7));
    rs->CancelUpdate();
  }
  {
    auto rs = Apri()->OpenRecordset("categorie");
    rs->FindFirst("contatore=6");
    ASSERT_FALSE(rs->NoMatch());
    rs->Delete();
  }
  ASSERT_EQ(Righe(file, "SELECT max(contatore) FROM categorie"), "5\n");
  auto rs = Apri()->OpenRecordset("categorie");
  rs->AddNew();
  EXPECT_EQ(rs->Fields("contatore").Value(), Valore::Lungo(8));

  // A table that SQLite numbers itself continues its own sequence, past deleted rows.
  EseguiSql(file,
            "CREATE TABLE numerati (n INTEGER PRIMARY KEY AUTOINCREMENT, t TEXT);"
            "INSERT INTO numerati (t) VALUES ('a'), ('b'), ('c');"
            "DELETE FROM numerati WHERE n=3;");
  auto numerati = Apri()->OpenRecordset("numerati");
  numerati->AddNew();
  EXPECT_EQ(numerati->Fields("n").Value(), Valore::Lungo(4));
  numerati->Update();
  EXPECT_EQ(Righe(file, "SELECT group_concat(n) FROM numerati"), "1,2,4\n");
  EXPECT_EQ(Righe(file, "SELECT seq FROM sqlite_sequence WHERE name='numerati'"), "4\n");
  EXPECT_EQ(Righe(file, "PRAGMA integrity_check"), "ok\n");
}

// The sequence table made inside a transaction goes with its rollback; numbering goes on
// after it and is recorded again.
TEST_F(DaoTest, AutoNumbersGoOnAfterARollback) {
  auto& ws = motore.Workspaces(0);
  ws.BeginTrans();
  auto db = Apri();
  auto rs = db->OpenRecordset("categorie");
  rs->AddNew();
  EXPECT_EQ(rs->Fields("contatore").Value(), Valore::Lungo(6));
  ws.Rollback();
  rs->AddNew();
  EXPECT_EQ(rs->Fields("contatore").Value(), Valore::Lungo(7));
  rs->Fields("id").SetValue(Valore::Testo("cat007"));
  rs->Update();
  EXPECT_EQ(Righe(file, "SELECT seq FROM sqlite_sequence WHERE name='categorie'"), "7\n");
}

TEST_F(DaoTest, EditAndDeleteChangeOnlyTheirRow) {
  auto rs = Apri()->OpenRecordset("categorie");
  rs->MoveNext();
  rs->Edit();
  rs->Fields("titolo").SetValue(Valore::Testo("Nuovo"));
  rs->Update();
  EXPECT_EQ(rs->Fields("titolo").Value(), Valore::Testo("Nuovo"));
  rs->MoveFirst();
  rs->Delete();
  EXPECT_EQ(NumeroErrore([&] { (void)rs->Fields("id").Value(); }), 3167);
  EXPECT_EQ(rs->RecordCount(), 1);
  rs->MoveNext();
  EXPECT_EQ(rs->Fields("id").Value(), Valore::Testo("imp02"));
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(NumeroErrore([&] { rs->MoveNext(); }), 3021);
  EXPECT_EQ(Contenuto(), "5|imp02|Nuovo|4|20|0\n");
}

TEST_F(DaoTest, ARowDeletedByAnotherRecordsetReadsAsDeleted) {
  EseguiSql(file, "INSERT INTO categorie (id) VALUES ('imp03'), ('imp04')");
  auto db = Apri();
  auto rs = db->OpenRecordset("categorie");
  EXPECT_EQ(rs->Fields("id").Value(), Valore::Testo("imp01"));
  auto altro = db->OpenRecordset("categorie");
  altro->MoveNext();
  altro->Delete();
  rs->MoveNext();
  EXPECT_EQ(NumeroErrore([&] { (void)rs->Fields("id").Value(); }), 3167);
  rs->MoveNext();
  EXPECT_EQ(rs->Fields("id").Value(), Valore::Testo("imp03"));
  rs->MoveNext();
  EXPECT_EQ(rs->Fields("id").Value(), Valore::Testo("imp04"));
}

struct CasoRifiutato {
  const char* campo;
  Valore valore;
  int errore;
};

TEST_F(DaoTest, ARefusedValueLeavesTheTableUnchangedAndTheRecordsetUsable) {
  const CasoRifiutato casi[] = {
      {"ordinamento", Valore::Testo("dieci"), 3421},
      {"ordinamento", Valore::Doppio(3e10), 3421},
      {"prezzo", Valore::Null(), 0},  // Null is accepted by a column that allows it
      {"id", Valore::Testo("12345678901"), 3163},
      {"contatore", Valore::Lungo(99), 3164},
      {"nessuno", Valore::Lungo(1), 3265},
  };
  const std::string prima = Contenuto();
  auto rs = Apri()->OpenRecordset("categorie");
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.campo);
    for (bool nuovo : {true, false}) {
      nuovo ? rs->AddNew() : rs->Edit();
      EXPECT_EQ(NumeroErrore([&] { rs->Fields(caso.campo).SetValue(caso.valore); }), caso.errore);
      rs->CancelUpdate();
    }
  }
  // A duplicate in the unique index is refused at Update; the pending row stays and can be
  // mended.
  rs->AddNew();
  rs->Fields("id").SetValue(Valore::Testo("imp02"));
  EXPECT_EQ(NumeroErrore([&] { rs->Update(); }), 3022);
  EXPECT_EQ(Contenuto(), prima);
  rs->Fields("id").SetValue(Valore::Testo("imp03"));
  rs->Update();
  rs->Edit();
  rs->Fields("id").SetValue(Valore::Testo("imp02"));
  EXPECT_EQ(NumeroErrore([&] { rs->Update(); }), 3022);
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_EQ(Righe(file, "SELECT id FROM categorie ORDER BY id"), "imp01\nimp02\nimp03\n");
}

TEST_F(DaoTest, PendingChangesAreDroppedAtTheNextMove) {
  auto rs = Apri()->OpenRecordset("categorie");
  const std::string prima = Contenuto();
  rs->AddNew();
  rs->Fields("id").SetValue(Valore::Testo("x"));
  rs->MoveFirst();
  rs->Edit();
  rs->Fields("titolo").SetValue(Valore::Testo("y"));
  rs->MoveNext();
  rs->Edit();
  rs->Fields("titolo").SetValue(Valore::Testo("z"));
  rs->AddNew();
  EXPECT_EQ(NumeroErrore([&] { rs->Close(); }), 0);
  EXPECT_EQ(Contenuto(), prima);
  auto altro = Apri()->OpenRecordset("categorie");
  EXPECT_EQ(NumeroErrore([&] { altro->Update(); }), 3020);
  EXPECT_EQ(NumeroErrore([&] { altro->Fields("id").SetValue(Valore::Testo("a")); }), 3020);
}

class RicercaTest : public DaoTest {
 protected:
  RicercaTest() {
    EseguiSql(file, R"(
      CREATE TABLE articoli (codice TEXT(50), catID TEXT(99), ordinamento INTEGER);
      INSERT INTO articoli VALUES ('A', 'c1', 10), ('a', 'c1', 20), ('A', 'c2', 30),
                                  ('l''acqua', 'c2', 40), (NULL, 'c3', 50), ('', 'c3', 60);)");
    rs = db->OpenRecordset("articoli");
  }
  // The "ordinamento" of every row that the criterion finds, in order.
  std::string Trova(const std::string& criterio) {
    std::string r;
    for (rs->FindFirst(criterio); !rs->NoMatch(); rs->FindNext(criterio))
      r += std::to_string(rs->Fields("ordinamento").Value().Intero64()) + " ";
    return r;
  }
  std::shared_ptr<Database> db = Apri();
  std::unique_ptr<Recordset> rs;
};

TEST_F(RicercaTest, FindsEveryRowExactlyWithLetterCase) {
  EXPECT_EQ(Trova(Criterio("codice", "A")), "10 30 ");
  EXPECT_EQ(Trova("CODICE = 'a'"), "20 ");
  EXPECT_EQ(Trova(Criterio("codice", "l'acqua")), "40 ");
  EXPECT_EQ(Trova("codice=''"), "60 ");  // Null never matches
  EXPECT_EQ(Trova("ordinamento=30"), "30 ");
  EXPECT_EQ(Trova("ordinamento=30.0"), "30 ");  // '.' under any regional settings
  EXPECT_EQ(Trova("ordinamento='50'"), "50 ");
  EXPECT_EQ(Trova(Criterio("codice", "B")), "");
}

TEST_F(RicercaTest, NoMatchKeepsThePositionAndFindNextStartsAfterIt) {
  rs->FindFirst("codice='a'");
  rs->FindFirst("codice='zzz'");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(rs->Fields("ordinamento").Value(), Valore::Lungo(20));
  rs->FindNext("codice='A'");
  EXPECT_EQ(rs->Fields("ordinamento").Value(), Valore::Lungo(30));
}

TEST_F(RicercaTest, TheIndexFollowsAddNewEditAndDelete) {
  EXPECT_EQ(Trova("codice='A'"), "10 30 ");  // builds the index
  rs->AddNew();
  rs->Fields("codice").SetValue(Valore::Testo("A"));
  rs->Fields("ordinamento").SetValue(Valore::Lungo(70));
  rs->Update();
  rs->FindFirst("codice='A'");
  rs->Edit();
  rs->Fields("codice").SetValue(Valore::Testo("B"));
  rs->Update();
  rs->FindFirst("codice='A'");
  rs->Delete();
  EXPECT_EQ(Trova("codice='A'"), "70 ");
  EXPECT_EQ(Trova("codice='B'"), "10 ");
  // A clone shares the rows and the index, with a position of its own.
  auto clone = rs->Clone();
  clone->FindFirst("codice='B'");
  rs->FindFirst("codice='a'");
  EXPECT_EQ(clone->Fields("ordinamento").Value(), Valore::Lungo(10));
  EXPECT_EQ(rs->Fields("ordinamento").Value(), Valore::Lungo(20));
  clone->Edit();
  clone->Fields("codice").SetValue(Valore::Testo("C"));
  clone->Update();
  EXPECT_EQ(Trova("codice='C'"), "10 ");
}

TEST_F(RicercaTest, AnIndexThatGrowsKeepsFindingLongAndRepeatedValues) {
  motore.Workspaces(0).BeginTrans();  // one write to disk for the lot
  EXPECT_EQ(Trova("codice='A'"), "10 30 ");
  const std::string lungo = "un codice ben più lungo di sedici byte ";
  for (int i = 0; i < 300; ++i) {
    rs->AddNew();
    rs->Fields("codice").SetValue(Valore::Testo(lungo + std::to_string(i % 100)));
    rs->Fields("ordinamento").SetValue(Valore::Lungo(1000 + i));
    rs->Update();
  }
  for (int i : {0, 57, 99}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Trova(Criterio("codice", lungo + std::to_string(i))),
              std::to_string(1000 + i) + " " + std::to_string(1100 + i) + " " +
                  std::to_string(1200 + i) + " ");
  }
  // Down to one row and back to none.
  for (int volte = 0; volte < 2; ++volte) {
    rs->FindFirst(Criterio("codice", lungo + "7"));
    rs->Delete();
  }
  EXPECT_EQ(Trova(Criterio("codice", lungo + "7")), "1207 ");
  rs->FindFirst(Criterio("codice", lungo + "7"));
  rs->Delete();
  EXPECT_EQ(Trova(Criterio("codice", lungo + "7")), "");
  EXPECT_EQ(Trova("codice='A'"), "10 30 ");
  motore.Workspaces(0).CommitTrans();
}

TEST_F(RicercaTest, MalformedCriteriaAreRefused) {
  for (const char* criterio : {"codice", "codice=", "codice='x", "='x'", "codice='l'acqua'",
                               "codice LIKE 'x'", "codice='x' AND ordinamento=1", "codice=abc"}) {
    SCOPED_TRACE(criterio);
    EXPECT_EQ(NumeroErrore([&] { rs->FindFirst(criterio); }), 3075);
  }
  EXPECT_EQ(NumeroErrore([&] { rs->FindFirst("prezzo='1'"); }), 3070);
  EXPECT_EQ(NumeroErrore([&] { rs->FindFirst("ordinamento='dieci'"); }), 3464);
}

TEST_F(DaoTest, RequeryReadsTheTableAgain) {
  auto db = Apri();
  auto rs = db->OpenRecordset("categorie");
  auto altro = db->OpenRecordset("categorie");
  altro->AddNew();
  altro->Fields("id").SetValue(Valore::Testo("imp09"));
  altro->Update();
  EXPECT_EQ(rs->RecordCount(), 2);
  rs->Requery();
  EXPECT_EQ(rs->RecordCount(), 3);
  rs->FindFirst("id='imp09'");
  EXPECT_FALSE(rs->NoMatch());
}

TEST_F(DaoTest, SelectsAndTableDefsReadTheSchema) {
  auto db = Apri();
  auto rs = db->OpenRecordset("SELECT * FROM categorie ORDER BY ordinamento");
  EXPECT_FALSE(rs->Updatable());
  rs->MoveLast();
  EXPECT_EQ(rs->Fields("ordinamento").Value(), Valore::Lungo(20));
  EXPECT_EQ(rs->RecordCount(), 2);
  EXPECT_EQ(NumeroErrore([&] { rs->Edit(); }), 3027);
  auto vuoto = db->OpenRecordset("SELECT * FROM categorie WHERE 0");
  EXPECT_TRUE(vuoto->Eof());
  EXPECT_EQ(NumeroErrore([&] { vuoto->MoveLast(); }), 3021);
  EXPECT_EQ(vuoto->RecordCount(), 0);
  EXPECT_NE(NumeroErrore([&] { db->OpenRecordset("SELECT prezzo1 FROM categorie"); }), 0);
  EXPECT_EQ(NumeroErrore([&] { db->OpenRecordset("lingue"); }), 3078);

  // SQLite's own tables (the AutoNumber sequences) are system objects.
  std::vector<TableDef> tabelle;
  for (const auto& t : db->TableDefs()) {
    if (t.Name().rfind("sqlite_", 0) == 0)
      EXPECT_EQ(t.Attributes() & dbSystemObject, dbSystemObject) << t.Name();
    else
      tabelle.push_back(t);
  }
  ASSERT_EQ(tabelle.size(), 1u);
  EXPECT_EQ(tabelle[0].Name(), "categorie");
  EXPECT_EQ(tabelle[0].Attributes() & dbSystemObject, 0);
  const auto& campi = tabelle[0].Fields();
  ASSERT_EQ(campi.size(), 9u);
  EXPECT_TRUE(campi[0].Contatore());
  EXPECT_EQ(campi[1].Size(), 10);
  EXPECT_EQ(campi[3].Type(), TipoValore::Text);
  EXPECT_EQ(campi[3].Size(), 0);
  EXPECT_EQ(campi[4].Type(), TipoValore::Single);
  EXPECT_EQ(campi[6].Type(), TipoValore::Currency);
  EXPECT_EQ(campi[7].Type(), TipoValore::Boolean);
  EXPECT_EQ(campi[8].Type(), TipoValore::Date);
}

TEST_F(DaoTest, ClosingADatabaseInvalidatesItsRecordsets) {
  auto db = Apri();
  auto rs = db->OpenRecordset("categorie");
  db->Close();
  EXPECT_EQ(NumeroErrore([&] { rs->MoveNext(); }), 3420);
  EXPECT_EQ(NumeroErrore([&] { db->OpenRecordset("categorie"); }), 3420);
  EXPECT_EQ(NumeroErrore([&] { motore.Workspaces(0).OpenDatabase(cartella / "manca.mdb"); }), 3024);
  EXPECT_EQ(NumeroErrore([&] { motore.Workspaces(1); }), 3265);
}

// A database another program has open fails to open with the engine's own text, never as a
// file whose format is not known; a file that is no database does.
TEST_F(DaoTest, AFileInUseIsNoUnknownFormat) {
  EseguiSql(file, "PRAGMA journal_mode=WAL");
  sqlite3* altro = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &altro), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(altro, "BEGIN; SELECT count(*) FROM categorie;", nullptr, nullptr, nullptr),
      SQLITE_OK);
  try {
    Apri();  // it must leave WAL mode, which a reader prevents
    ADD_FAILURE() << "aperto";
  } catch (const ErroreDao& e) {
    EXPECT_EQ(e.Numero(), 3045);
    EXPECT_EQ(std::string(e.what()), "Il database \"" + file + "\" è in uso da un altro programma");
  }
  sqlite3_exec(altro, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(altro);

  const std::string guasto = cartella.Scrivi(
      "guasto.mdb", std::string("SQLite format 3\0", 16) + std::string(4080, '\xFF'));
  EXPECT_EQ(NumeroErrore([&] { motore.Workspaces(0).OpenDatabase(guasto); }), 3343);
}

}  // namespace
}  // namespace tarkpo::dao
