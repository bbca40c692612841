// The language and price-list pages: what they read from the shop as they open, what they
// store, and the way on and back.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "support/negozio_test.h"
#include "tests/wizard/ambiente.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_listini.h"
#include "wizard/frm_rimuovi_articoli.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

// A program whose definition points at a shop folder, with or without a shop in it.
struct ConNegozio {
  explicit ConNegozio(const char* schema) {
    prog.def.gPathNegozio = cartella;
    if (schema != nullptr) file = test::CreaNegozio(cartella, schema);
  }
  Ambiente a;
  Programma& prog = a.Crea();
  std::string cartella = a.cartella / "negozio";
  std::string file;
};

TEST(Lingue, SoloLeLingueCheIlNegozioNomina) {
  struct Caso {
    const char* sql;  // run on the ten-list, four-language shop
    int16_t lingua;
    std::array<bool, 4> abilitate;
    std::array<const char*, 4> nomi;
    int scelta;
  } casi[] = {
      {"UPDATE lingue SET lingua3 = '', lingua4 = NULL",
       1,
       {true, true, false, false},
       {"(Italiano)", "(English)", "", ""},
       1},
      // The stored language stays chosen, shown disabled.
      {"UPDATE lingue SET lingua3 = '', lingua4 = ''",
       2,
       {true, true, false, false},
       {"(Italiano)", "(English)", "", ""},
       2},
      {"UPDATE lingue SET lingua1 = ''",
       3,
       {true, true, true, true},
       {"()", "(English)", "(Français)", "(Deutsch)"},
       3},
      // No record: nothing can be read, only language 1 stays.
      {"DELETE FROM lingue", 2, {true, false, false, false}, {"", "", "", ""}, 2},
      // No table: language 1 is chosen.
      {"DROP TABLE lingue", 3, {true, false, false, false}, {"", "", "", ""}, 0},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.sql);
    ConNegozio n(test::kSchemaEsteso);
    test::EseguiSql(n.file, c.sql);
    n.prog.def.gLingua = c.lingua;
    auto& p = n.prog.Form<frmLingue>();
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(p.optLingua[i]->isEnabled(), c.abilitate[i]) << i;
      EXPECT_EQ(p.lblLingua[i]->text().toStdString(), c.nomi[i]) << i;
      EXPECT_EQ(p.optLingua[i]->isChecked(), i == c.scelta) << i;
    }
    EXPECT_EQ(n.prog.def.gLingua, c.scelta);
    EXPECT_EQ(n.prog.statoMotore.gDbNegozio, nullptr);
    EXPECT_TRUE(n.a.messaggi.Mostrati().empty());
  }
}

TEST(Lingue, SenzaNegozioIlMessaggioPoiLaPaginaConLaSolaPrimaLingua) {
  ConNegozio n(nullptr);
  n.prog.def.gLingua = 1;
  auto& p = n.prog.Form<frmLingue>();
  EXPECT_EQ(n.a.messaggi.Mostrati().size(), 1u);
  EXPECT_TRUE(p.optLingua[0]->isEnabled());
  EXPECT_FALSE(p.optLingua[1]->isEnabled());
  EXPECT_TRUE(p.optLingua[1]->isChecked());
  EXPECT_EQ(n.prog.def.gLingua, 1);
  p.optLingua[0]->setChecked(true);
  EXPECT_EQ(n.prog.def.gLingua, 0);
}

TEST(Lingue, IndietroVersoGliArticoliMancantiEAvantiVersoIListini) {
  ConNegozio n(test::kSchemaBase);
  n.prog.def.gImpArt = 1;
  n.prog.Form<frmLingue>().cmdBack->click();
  EXPECT_EQ(n.prog.Caricata<frmLingue>(), nullptr);
  ASSERT_NE(n.prog.Caricata<frmRimuoviArticoli>(), nullptr);

  n.prog.Form<frmLingue>().cmdImport->click();
  EXPECT_EQ(n.prog.Caricata<frmLingue>(), nullptr);
  ASSERT_NE(n.prog.Caricata<frmListini>(), nullptr);
}

TEST(Listini, DieciListiniOUnoSolo) {
  struct Caso {
    const char* schema;
    std::vector<int> scelti;  // in the definition, 0-based
    std::vector<int> spuntati;
    bool tuttiAbilitati;
  } casi[] = {
      {test::kSchemaBase, {0, 2}, {0}, false},
      {test::kSchemaEsteso, {1, 9}, {1, 9}, true},
      {test::kSchemaEsteso, {0}, {0}, true},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.schema);
    ConNegozio n(c.schema);
    n.prog.def.gListini.fill(0);
    for (int i : c.scelti) n.prog.def.gListini[i] = 1;
    auto& p = n.prog.Form<frmListini>();
    for (int i = 0; i < kListini; ++i) {
      const bool spuntato = std::find(c.spuntati.begin(), c.spuntati.end(), i) != c.spuntati.end();
      EXPECT_EQ(p.chkListino[i]->isChecked(), spuntato) << i;
      EXPECT_EQ(p.chkListino[i]->isEnabled(), c.tuttiAbilitati || i == 0) << i;
      // A shop with one list has the other flags cleared at once.
      EXPECT_EQ(n.prog.def.gListini[i], spuntato ? 1 : 0) << i;
    }
    EXPECT_EQ(n.prog.statoMotore.gDbNegozio, nullptr);
    EXPECT_TRUE(n.a.messaggi.Mostrati().empty());
  }
}

TEST(Listini, AvantiVuoleAlmenoUnListinoIndietroNo) {
  ConNegozio n(test::kSchemaEsteso);
  n.prog.def.gListini.fill(0);
  n.prog.def.gListini[0] = 1;
  auto& p = n.prog.Form<frmListini>();
  p.chkListino[0]->setChecked(false);
  p.cmdImport->click();
  EXPECT_EQ(n.a.messaggi.Testi(),
            std::vector<std::string>{"Almeno un listino deve essere selezionato"});
  EXPECT_EQ(n.a.messaggi.Mostrati().front().icona, Icona::Informazione);
  EXPECT_EQ(n.prog.Caricata<frmListini>(), &p);
  EXPECT_EQ(n.prog.def.gListini[0], 0);

  n.a.messaggi.Pulisci();
  p.chkListino[4]->setChecked(true);
  p.cmdImport->click();
  EXPECT_EQ(n.prog.Caricata<frmListini>(), nullptr);
  ASSERT_NE(n.prog.Caricata<frmImporta>(), nullptr);
  EXPECT_EQ(n.prog.def.gListini[4], 1);

  auto& di_nuovo = n.prog.Form<frmListini>();
  for (QCheckBox* b : di_nuovo.chkListino) b->setChecked(false);
  di_nuovo.cmdBack->click();
  EXPECT_TRUE(n.a.messaggi.Mostrati().empty());
  EXPECT_EQ(n.prog.Caricata<frmListini>(), nullptr);
  ASSERT_NE(n.prog.Caricata<frmLingue>(), nullptr);
  for (int16_t f : n.prog.def.gListini) EXPECT_EQ(f, 0);
}

TEST(Listini, SenzaNegozioLeCaselleRestanoComeProgettate) {
  ConNegozio n(nullptr);
  n.prog.def.gListini.fill(1);
  auto& p = n.prog.Form<frmListini>();
  EXPECT_EQ(n.a.messaggi.Mostrati().size(), 1u);
  for (int i = 0; i < kListini; ++i) {
    EXPECT_FALSE(p.chkListino[i]->isChecked()) << i;
    EXPECT_EQ(p.chkListino[i]->isEnabled(), i == 0) << i;
    EXPECT_EQ(n.prog.def.gListini[i], 1) << i;
  }
  n.a.messaggi.Pulisci();
  p.cmdImport->click();
  EXPECT_EQ(n.a.messaggi.Testi(),
            std::vector<std::string>{"Almeno un listino deve essere selezionato"});
}

// The pages read the shop and write nothing to it: not its journal mode (a shop in WAL mode
// stays so, and is read through the log another program keeps open beside it), not a table
// of the engine's own. A journal that an interrupted writer left is left for the import to
// roll back, and each page says in the engine's words what kept it from reading.
TEST(LingueListini, LeggonoIlNegozioSenzaScriverlo) {
  struct Caso {
    const char* nome;
    const char* accanto;  // the file beside the shop that must stay as it is
    const char* lingua2;  // shown for language 2; nullptr: the shop could not be read
  } casi[] = {
      {"giornale", "", "(English)"},
      {"WAL tenuto aperto", "-wal", "(Inglese)"},
      {"transazione interrotta", "-journal", nullptr},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    ConNegozio n(test::kSchemaEsteso);
    sqlite3* altro = nullptr;
    ASSERT_EQ(sqlite3_open(n.file.c_str(), &altro), SQLITE_OK);
    const std::string accanto = n.file + c.accanto;
    if (std::string(c.accanto) == "-wal") {
      // Another program keeps the shop open, with a change still in its log.
      ASSERT_EQ(sqlite3_exec(altro,
                             "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                             "UPDATE lingue SET lingua2 = 'Inglese'",
                             nullptr, nullptr, nullptr),
                SQLITE_OK);
    } else if (std::string(c.accanto) == "-journal") {
      // A writer killed halfway: pages of its transaction in the file, its journal beside.
      const std::string scrittore = n.a.cartella / "scrittore.mdb";
      std::filesystem::copy_file(n.file, scrittore);
      sqlite3* s = nullptr;
      ASSERT_EQ(sqlite3_open(scrittore.c_str(), &s), SQLITE_OK);
      ASSERT_EQ(sqlite3_exec(s,
                             "PRAGMA cache_size=1; BEGIN; UPDATE lingue SET lingua2 = 'Inglese';"
                             "CREATE TABLE t (x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                             "SELECT i + 1 FROM n WHERE i < 20) INSERT INTO t "
                             "SELECT hex(randomblob(3000)) FROM n",
                             nullptr, nullptr, nullptr),
                SQLITE_OK);
      std::filesystem::copy_file(scrittore, n.file,
                                 std::filesystem::copy_options::overwrite_existing);
      std::filesystem::copy_file(scrittore + "-journal", accanto);
      sqlite3_close(s);
    }
    const std::string file = test::LeggiFile(n.file);
    const std::string dati = test::LeggiFile(accanto);

    auto& lingue = n.prog.Form<frmLingue>();
    const std::string lingua2 = lingue.lblLingua[1]->text().toStdString();
    lingue.cmdImport->click();
    ASSERT_NE(n.prog.Caricata<frmListini>(), nullptr);

    EXPECT_TRUE(test::LeggiFile(n.file) == file) << "il negozio è stato scritto";
    EXPECT_TRUE(test::LeggiFile(accanto) == dati) << "il file accanto è stato scritto";
    if (c.lingua2) {
      EXPECT_EQ(lingua2, c.lingua2);
      EXPECT_TRUE(n.a.messaggi.Mostrati().empty()) << n.a.messaggi.Testi().front();
    } else {
      const std::string atteso = "Impossibile aprire il file \"" + n.file +
                                 "\":\nErrore del database \"" + n.file +
                                 "\": una transazione interrotta attende di essere annullata";
      EXPECT_EQ(n.a.messaggi.Testi(), (std::vector<std::string>{atteso, atteso}));
    }
    sqlite3_close(altro);
  }
}

}  // namespace
}  // namespace tarkpo::wizard
