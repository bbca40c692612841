#include "engine/importazione.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "banco_importazione.h"
#include "core/file_definizione.h"
#include "core/mappa_campi.h"
#include "core/regionali.h"
#include "support/guasti_vfs.h"
#include "support/negozio_test.h"

namespace tarkpo::motore::test {
namespace {

class ImportazioneTest : public BancoImportazione {
 protected:
  void SetUp() override {
    def_.gImpRep = 0;
    SqlNegozio("INSERT INTO categorie (id, titolo) VALUES ('imp01', 'Pane')");
  }
  // Every item as code:published-or-excluded:department, in code order.
  std::string Articoli() {
    return Negozio(
        "SELECT coalesce(codice, '') || ':' || (fuoricatalogo <> 0) || ':' || "
        "coalesce(catID, '') FROM articoli ORDER BY codice, ordinamento");
  }
  // A run on a shop made afresh, as a new program run finds it.
  void NegozioNuovo() {
    for (const auto& voce : std::filesystem::directory_iterator(negozio_.Percorso()))
      if (voce.is_regular_file()) std::filesystem::remove(voce.path());
    UsaNegozio(tarkpo::test::kSchemaBase);
    SetUp();
    NuovaSessione();
    messaggi_.Pulisci();
  }
  std::string IdPerTitolo(const std::string& titolo) {
    return Negozio("SELECT id FROM categorie WHERE titolo = '" + titolo + "'");
  }
};

TEST_F(ImportazioneTest, TrattamentiDegliArticoliMancanti) {
  struct Caso {
    int escludi;
    // "*" stands for "* Articoli importati", "O" for "* Articoli orfani"; the code-less
    // item this run adds comes first
    const char* atteso;
  } casi[] = {
      {0, ":0:*|:0:imp01|A:0:imp01|B:0:imp01|C:0:imp01|c:0:*"},
      {1, ":0:*|:0:imp01|A:0:imp01|B:1:imp01|C:0:imp01|c:0:*"},
      {-1, ":0:*|:1:imp01|A:0:imp01|B:1:imp01|C:0:imp01|c:0:*"},
      {2, ":0:*|:0:imp01|A:0:imp01|B:1:O|C:0:imp01|c:0:*"},
      {-2, ":0:*|:1:O|A:0:imp01|B:1:O|C:0:imp01|c:0:*"},
      {3, ":0:*|:0:imp01|A:0:imp01|C:0:imp01|c:0:*"},
      {-3, ":0:*|A:0:imp01|C:0:imp01|c:0:*"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.escludi);
    UsaNegozio(tarkpo::test::kSchemaBase);
    SetUp();
    NuovaSessione();
    SqlNegozio(
        "INSERT INTO articoli (codice, catID, ordinamento) VALUES "
        "('A', 'imp01', 10), ('B', 'imp01', 20), ('C', 'imp01', 30), ('', 'imp01', 40)");
    // c matches C ignoring case; the code-less source item is added by this run.
    SqlOrigine(
        "DELETE FROM articoli;"
        "INSERT INTO articoli (Codice, Titolo) VALUES ('A', 'a'), ('c', 'c'), ('', 'nuovo')");
    def_.gEscludi = c.escludi;
    def_.gCampiArt[artReparto] = 0;
    ASSERT_TRUE(Importa());
    std::string atteso = c.atteso;
    const std::string importati = IdPerTitolo("* Articoli importati");
    for (auto [segno, id] : {std::pair{'*', importati}, {'O', IdPerTitolo("* Articoli orfani")}})
      for (auto p = atteso.find(segno); p != std::string::npos; p = atteso.find(segno))
        atteso.replace(p, 1, id);
    // The new code-less item is the one in "* Articoli importati"; sort it by its position.
    EXPECT_EQ(Negozio("SELECT coalesce(codice, '') || ':' || (fuoricatalogo <> 0) || ':' || "
                      "catID FROM articoli ORDER BY codice, catID = '" +
                      importati + "' DESC"),
              atteso);
    if (std::abs(c.escludi) != 2) {
      EXPECT_EQ(IdPerTitolo("* Articoli orfani"), "");
    }
  }
}

// Items are matched by code: with "Codice" unmapped no shop item is missing, whatever the
// chosen treatment, and the source's items are added as new ones.
TEST_F(ImportazioneTest, SenzaCodiceMappatoNessunArticoloMancante) {
  for (const int escludi : {1, -1, 2, -2, 3, -3}) {
    SCOPED_TRACE(escludi);
    UsaNegozio(tarkpo::test::kSchemaBase);
    SetUp();
    NuovaSessione();
    SqlNegozio(
        "INSERT INTO articoli (codice, catID, ordinamento) VALUES "
        "('A', 'imp01', 10), ('', 'imp01', 20)");
    SqlOrigine("DELETE FROM articoli; INSERT INTO articoli (Codice, Titolo) VALUES ('A', 'a')");
    def_.gCampiArt[artReparto] = 0;
    def_.gCampiArt[artCodice] = 0;
    def_.gEscludi = escludi;
    ASSERT_TRUE(Importa());
    EXPECT_EQ(Articoli(), ":0:imp01|:0:" + IdPerTitolo("* Articoli importati") + "|A:0:imp01");
    EXPECT_EQ(IdPerTitolo("* Articoli orfani"), "");
  }
}

// A stray quote in a CSV catalogue would swallow the rest of the file into one title and
// leave every later item missing: the import fails whole, naming the file, and deletes
// nothing.
TEST_F(ImportazioneTest, VirgolettaInPiuNelCsvFallisceTutto) {
  SqlNegozio("INSERT INTO articoli (codice, catID) VALUES ('A', 'imp01'), ('B', 'imp01')");
  const std::string csv =
      origine_.Scrivi("csv/articoli.csv", "Codice,Titolo\nA,uno\nX,\"due\nB,tre\n");
  def_.gPathDb = origine_ / "csv";
  def_.gTipoDb = "Text;";
  def_.gOpzioniDb = "HDR=Yes";
  def_.gTabellaArt = "articoli#csv";
  def_.gCampiArt = {};
  def_.gCampiArt[artCodice] = 1;
  def_.gNomiCampiArt[artCodice] = "Codice";
  def_.gCampiArt[artTitolo] = 2;
  def_.gNomiCampiArt[artTitolo] = "Titolo";
  def_.gEscludi = 3;
  const std::string prima = tarkpo::test::LeggiFile(fileNegozio_);
  EXPECT_FALSE(Importa());
  const auto testi = messaggi_.Testi();
  ASSERT_GE(testi.size(), 2u);
  EXPECT_EQ(testi[testi.size() - 2],
            "Non è stato possibile aprire la tabella articoli.csv:\nVirgolette non chiuse alla "
            "fine del file '" +
                csv + "'.");
  EXPECT_EQ(testi.back(), "Il negozio non è stato modificato");
  EXPECT_EQ(tarkpo::test::LeggiFile(fileNegozio_), prima);
}

TEST_F(ImportazioneTest, TabellaOrigineVuotaAnnullaTutto) {
  SqlNegozio("INSERT INTO articoli (codice, titolo) VALUES ('A', 'vecchio')");
  def_.gImpRep = 1;
  SqlOrigine("INSERT INTO reparti VALUES ('5', 'Nuovo', '', '', 0, 0)");
  const std::string prima = tarkpo::test::LeggiFile(fileNegozio_);
  EXPECT_FALSE(Importa());
  EXPECT_TRUE(esito_.eseguita);
  EXPECT_EQ(tarkpo::test::LeggiFile(fileNegozio_), prima);
  EXPECT_EQ(messaggi_.Testi().back(), "Il negozio non è stato modificato");
  EXPECT_EQ(messaggi_.Mostrati().back().icona, Icona::Informazione);
  EXPECT_EQ(esito_.backup, "");
  EXPECT_FALSE(std::filesystem::exists(negozio_ / "catalog.000"));
}

TEST_F(ImportazioneTest, CommitNonRiuscitoEUnFallimento) {
  SqlOrigine("INSERT INTO articoli (Reparto, Codice) VALUES ('1', 'A')");
  const std::string prima = tarkpo::test::LeggiFile(fileNegozio_);
  // Another reader holds the shop open for the whole run, so the commit cannot take the file.
  sqlite3* lettore = nullptr;
  ASSERT_EQ(sqlite3_open(fileNegozio_.c_str(), &lettore), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(lettore, "BEGIN; SELECT count(*) FROM articoli;", nullptr, nullptr, nullptr),
      SQLITE_OK);
  const bool riuscita = Importa();
  sqlite3_exec(lettore, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(lettore);
  EXPECT_FALSE(riuscita);
  EXPECT_EQ(messaggi_.Testi().back(), "Il negozio non è stato modificato");
  EXPECT_EQ(tarkpo::test::LeggiFile(fileNegozio_), prima);
  EXPECT_FALSE(std::filesystem::exists(negozio_ / "catalog.000"));
}

// Runs a task the first time the engine yields, as another program would act while the
// import runs.
class EventiConAzione : public IEventi {
 public:
  explicit EventiConAzione(std::function<void()> azione) : azione_(std::move(azione)) {}
  void ElaboraEventi() override {
    if (azione_) std::exchange(azione_, nullptr)();
  }

 private:
  std::function<void()> azione_;
};

// The shop's data file replaced while the import runs, by a user restoring a backup by
// renaming it or by a program copying another file over it: the import fails and says so,
// keeps the backup and leaves the file now standing in the shop as it was put there.
TEST_F(ImportazioneTest, UnNegozioSostituitoDuranteLImportazione) {
  struct Caso {
    const char* nome;
    bool rinominato;  // else copied over, in place
    bool alCommit;    // while the commit writes the file, else while the rows are imported
  } casi[] = {
      {"rinominato", true, false},
      {"copiato sopra", false, false},
      {"rinominato durante il commit", true, true},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    NegozioNuovo();
    SqlNegozio("INSERT INTO articoli (codice, titolo) VALUES ('A', 'vecchio')");
    SqlOrigine(
        "DELETE FROM articoli; INSERT INTO articoli (Reparto, Codice, Titolo) VALUES "
        "('1', 'A', 'nuovo'), ('1', 'B', 'b')");
    const std::string prima = tarkpo::test::LeggiFile(fileNegozio_);
    const std::string altro = negozio_ / "altro.mdb";
    std::filesystem::copy_file(fileNegozio_, altro);
    tarkpo::test::EseguiSql(altro, "UPDATE articoli SET titolo = 'altro'");
    const std::string altroByte = tarkpo::test::LeggiFile(altro);
    auto sostituisci = [&] {
      // Another process: ours would drop the import's locks by closing the file.
      const std::string comando = caso.rinominato ? "mv -f '" + altro + "' '" + fileNegozio_ + "'"
                                                  : "cp '" + altro + "' '" + fileNegozio_ + "'";
      ASSERT_EQ(std::system(comando.c_str()), 0);
    };
    tarkpo::test::GuastiVfs vfs(CartellaNegozio());
    if (caso.alCommit) {
      vfs.Osserva([&](tarkpo::test::GuastiVfs::Tipo tipo, const std::string& percorso) {
        if (tipo == tarkpo::test::GuastiVfs::Tipo::Scrittura && percorso == fileNegozio_) {
          vfs.Osserva(nullptr);
          sostituisci();
        }
      });
    }
    EventiConAzione eventi(caso.alCommit ? std::function<void()>() : sostituisci);
    auto& ws = motore_.Workspaces(0);
    stato_->gDb = ws.OpenDatabase(def_.gPathDb, def_.gTipoDb);
    Contesto c{def_, *stato_, *imp_, messaggi_, progresso_, eventi, scatola_};
    esito_ = EseguiImportazione(c, ws, "");
    stato_->gDb->Close();

    EXPECT_FALSE(esito_.riuscita);
    // After a commit into the file renamed away what happened is known, and said once.
    const std::string conservato =
        "\nE' stato conservato il backup del negozio:\n" + negozio_ / "catalog.000";
    const std::string sostituito =
        "Il file del negozio \"" + fileNegozio_ + "\" è stato sostituito";
    const std::vector<std::string> attesi =
        caso.alCommit
            ? std::vector<std::string>{sostituito +
                                       " durante l'importazione: i dati importati non sono "
                                       "nel negozio." +
                                       conservato}
            : std::vector<std::string>{
                  sostituito + " o modificato da un altro programma durante l'importazione.",
                  "Il negozio potrebbe essere stato modificato." + conservato};
    EXPECT_EQ(messaggi_.Testi(), attesi);
    EXPECT_TRUE(tarkpo::test::LeggiFile(negozio_ / "catalog.000") == prima) << "backup";
    EXPECT_TRUE(tarkpo::test::LeggiFile(fileNegozio_) == altroByte) << "the file put in place";
    EXPECT_EQ(Negozio("PRAGMA integrity_check"), "ok");
  }
}

// A source file that changes while the import reads it, as when an export program starts
// writing it again or a user saves another version over it: the import fails whole, names
// the file, and leaves the shop as it was; with "Cancella l'articolo dal negozio" chosen,
// nothing is deleted. The file changes when the third row is imported.
TEST_F(ImportazioneTest, UnaSorgenteCambiataDuranteLaLetturaFallisceTutto) {
  namespace fs = std::filesystem;
  const std::string demo = std::string(TARKPO_SORGENTI) + "/demo/catalogo";
  // Far longer than the reader's buffer, so that the cut falls in what is still to read.
  std::string lungo = "Reparto;Codice;Titolo\n";
  std::string codici;
  for (int i = 0; i < 5000; ++i) {
    const std::string codice = "C" + std::to_string(10000 + i);
    lungo += "1;" + codice + ";Articolo numero " + std::to_string(i) + "\n";
    codici += (i == 0 ? "('" : ", ('") + codice + "', 'imp01')";
  }
  auto sostituisci = [](const std::string& file) {
    fs::copy_file(file, file + ".nuovo");
    fs::rename(file + ".nuovo", file);
  };
  auto commit = [](const std::string& file) {
    tarkpo::test::EseguiSql(file, "UPDATE articoli SET Titolo = 'altro' WHERE Codice = 'P001'");
  };
  struct Caso {
    const char* nome;
    const char* file;  // in the source folder
    const char* tipo;
    const char* opzioni;
    const char* tabella;
    int codice;  // the positions of the code and the title, which follows it
    const char* campi[2];
    std::function<void(const std::string&)> cambia;  // given the file's path
  } casi[] = {
      {"CSV cut to half",
       "csv/articoli.csv",
       "Text;",
       "HDR=Yes",
       "articoli#csv",
       2,
       {"Codice", "Titolo"},
       [](const std::string& f) { fs::resize_file(f, fs::file_size(f) / 2); }},
      {"schema.ini rewritten",
       "csv/schema.ini",
       "Text;",
       "HDR=Yes",
       "articoli#csv",
       2,
       {"Codice", "Titolo"},
       [](const std::string& f) { std::ofstream(f, std::ios::app) << "MaxScanRows=0\n"; }},
      {"workbook replaced",
       "listino.xls",
       "Excel 8.0;",
       "HDR=Yes",
       "Articoli$",
       2,
       {"Codice", "Titolo"},
       sostituisci},
      {"Access file replaced",
       "access.mdb",
       "Access 2000;",
       "",
       "Table1",
       1,
       {"data1", "data3"},
       sostituisci},
      {"SQLite file replaced",
       "listino.mdb",
       "Access 2000;",
       "",
       "articoli",
       2,
       {"Codice", "Titolo"},
       sostituisci},
      {"SQLite file written",
       "listino.mdb",
       "Access 2000;",
       "",
       "articoli",
       2,
       {"Codice", "Titolo"},
       commit},
  };
  TestiConPuntoEVirgola();
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    UsaNegozio(tarkpo::test::kSchemaBase);
    SetUp();
    NuovaSessione();
    messaggi_.Pulisci();
    fs::remove(negozio_ / "catalog.000");
    SqlNegozio("INSERT INTO articoli (codice, catID) VALUES " + codici);
    fs::create_directories(origine_ / "csv");
    origine_.Scrivi("csv/articoli.csv", lungo);
    origine_.Scrivi("csv/schema.ini", "[articoli.csv]\nFormat=Delimited(;)\n");
    for (const char* f : {"listino.xls", "listino.mdb"})
      fs::copy_file(demo + "/" + f, origine_ / f, fs::copy_options::overwrite_existing);
    fs::copy_file(TARKPO_DATI_TEST "/access/overflowTestV2000.mdb", origine_ / "access.mdb",
                  fs::copy_options::overwrite_existing);
    const std::string file = origine_ / caso.file;
    const bool testo = std::string(caso.tipo) == "Text;";
    def_.gPathDb = testo ? origine_ / "csv" : file;
    def_.gTipoDb = caso.tipo;
    def_.gOpzioniDb = caso.opzioni;
    def_.gTabellaArt = caso.tabella;
    def_.gCampiArt = {};
    def_.gCampiArt[artCodice] = caso.codice;
    def_.gNomiCampiArt[artCodice] = caso.campi[0];
    def_.gCampiArt[artTitolo] = caso.codice + 1;
    def_.gNomiCampiArt[artTitolo] = caso.campi[1];
    def_.gEscludi = 3;
    const std::string prima = tarkpo::test::LeggiFile(fileNegozio_);
    int righe = 0;
    eventi_.azione = [&] {
      if (++righe == 3) caso.cambia(file);
    };
    const bool riuscita = Importa();
    eventi_.azione = nullptr;

    EXPECT_FALSE(riuscita);
    const auto testi = messaggi_.Testi();
    EXPECT_EQ(testi.size() >= 2 ? testi[testi.size() - 2] : "",
              "Il file \"" + file + "\" è stato modificato durante l'importazione.");
    EXPECT_EQ(testi.empty() ? "" : testi.back(), "Il negozio non è stato modificato");
    EXPECT_TRUE(tarkpo::test::LeggiFile(fileNegozio_) == prima);
    EXPECT_FALSE(fs::exists(negozio_ / "catalog.000"));
  }
}

// Another program holds the shop's write lock when the import begins (a transaction begun
// with BEGIN IMMEDIATE, as a second import or a database tool keeps it). The import waits
// for it: held past the wait, the import fails whole before writing a row and says why;
// released meanwhile by a commit of that program, the import runs whole, and its backup is
// the shop that program left, the one the import changed.
TEST_F(ImportazioneTest, UnAltroScrittoreTieneIlNegozio) {
  for (const bool rilascia : {false, true}) {
    SCOPED_TRACE(rilascia ? "rilasciato durante l'attesa" : "tenuto oltre l'attesa");
    NegozioNuovo();
    SqlOrigine(
        "DELETE FROM articoli; INSERT INTO articoli (Reparto, Codice, Titolo) VALUES "
        "('1', 'A', 'a'), ('1', 'B', 'b'), ('1', 'C', 'c')");
    const std::string prima = tarkpo::test::LeggiFile(fileNegozio_);
    sqlite3* altro = nullptr;
    ASSERT_EQ(sqlite3_open(fileNegozio_.c_str(), &altro), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(altro,
                           "BEGIN IMMEDIATE; INSERT INTO categorie (id, titolo) VALUES "
                           "('altro', 'Dell''altro programma')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    int attese = 0;
    motore_.Attesa = {std::chrono::milliseconds(300), [&] {
                        if (++attese == 1 && rilascia) {
                          EXPECT_EQ(sqlite3_exec(altro, "COMMIT", nullptr, nullptr, nullptr),
                                    SQLITE_OK);
                        }
                      }};
    const bool riuscita = Importa();
    sqlite3_exec(altro, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(altro);
    EXPECT_GT(attese, 0);
    const auto testi = messaggi_.Testi();
    if (rilascia) {
      EXPECT_TRUE(riuscita) << ::testing::PrintToString(testi);
      EXPECT_EQ(Negozio("SELECT codice FROM articoli ORDER BY codice"), "A|B|C");
      EXPECT_EQ(Negozio("SELECT count(*) FROM categorie WHERE id = 'altro'"), "1");
      EXPECT_EQ(esito_.backup, negozio_ / "catalog.000");
      EXPECT_EQ(tarkpo::test::PrimoValore(esito_.backup,
                                          "SELECT count(*) FROM categorie WHERE id = 'altro'"),
                "1");
      EXPECT_EQ(tarkpo::test::PrimoValore(esito_.backup, "SELECT count(*) FROM articoli"), "0");
    } else {
      EXPECT_FALSE(riuscita);
      EXPECT_NE(std::find(testi.begin(), testi.end(),
                          "Impossibile aprire il file \"" + fileNegozio_ + "\":\nIl database \"" +
                              fileNegozio_ + "\" è in uso da un altro programma"),
                testi.end())
          << ::testing::PrintToString(testi);
      ASSERT_FALSE(testi.empty());
      EXPECT_EQ(testi.back(), "Il negozio non è stato modificato");
      EXPECT_TRUE(tarkpo::test::LeggiFile(fileNegozio_) == prima);
      EXPECT_FALSE(std::filesystem::exists(negozio_ / "catalog.000"));
    }
  }
}

// A failure of the database itself while rows are written (the shop in use or locked,
// unwritable, unreadable, damaged, a full disk, an I/O error) is no fault of the row that met
// it: the import fails whole and leaves the shop as it was, instead of going on without
// that row and calling the rest a success.
TEST_F(ImportazioneTest, UnGuastoDelDatabaseFallisceTutto) {
  const struct {
    const char* nome;
    int codice;
  } casi[] = {
      {"occupato", SQLITE_BUSY},         {"bloccato", SQLITE_LOCKED},
      {"sola lettura", SQLITE_READONLY}, {"danneggiato", SQLITE_CORRUPT},
      {"non apribile", SQLITE_CANTOPEN}, {"permesso", SQLITE_PERM},
      {"protocollo", SQLITE_PROTOCOL},   {"errore di I/O", SQLITE_IOERR_WRITE},
      {"disco pieno", SQLITE_FULL},
  };
  def_.gImpRep = 1;
  std::string sql = "DELETE FROM reparti; DELETE FROM articoli;";
  for (int i = 0; i < 30; ++i)
    sql += "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('R', 'A" + std::to_string(i) +
           "', '" + std::string(500, 't') + "');";
  SqlOrigine(sql + "INSERT INTO reparti VALUES ('R', 'Reparto', '', '', 0, 0)");
  for (const auto& caso : casi) {
    // The first write of the import, and one among its rows.
    for (const int operazione : {1, 4}) {
      SCOPED_TRACE(std::string(caso.nome) + ", operazione " + std::to_string(operazione));
      NegozioNuovo();
      const std::string prima = tarkpo::test::LeggiFile(fileNegozio_);
      tarkpo::test::GuastiVfs guasti(CartellaNegozio());
      guasti.FallisciConCodice(operazione, caso.codice);
      const bool riuscita = Importa();
      EXPECT_TRUE(guasti.Scattato());
      EXPECT_FALSE(riuscita) << Negozio("SELECT count(*) FROM articoli") << " articoli";
      ASSERT_FALSE(messaggi_.Testi().empty());
      EXPECT_EQ(messaggi_.Testi().back(), "Il negozio non è stato modificato");
      EXPECT_TRUE(tarkpo::test::LeggiFile(fileNegozio_) == prima);
    }
  }
}

TEST_F(ImportazioneTest, RepartiFallitiArticoliNonImportati) {
  def_.gImpRep = 1;  // the departments table is empty
  SqlOrigine("INSERT INTO articoli (Codice) VALUES ('A')");
  EXPECT_FALSE(Importa());
  const auto testi = messaggi_.Testi();
  ASSERT_GE(testi.size(), 2u);
  EXPECT_EQ(testi[testi.size() - 2],
            "L'importazione dei reparti non è riuscita:\ngli articoli non saranno importati.");
  EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "0");
}

TEST_F(ImportazioneTest, SenzaBackupSoloSeConfermato) {
  negozio_.Scrivi("catalog.999", "");  // no backup number is free
  SqlOrigine("INSERT INTO articoli (Codice) VALUES ('A')");
  messaggi_.Rispondi(Risposta::No);
  EXPECT_FALSE(Importa());
  EXPECT_FALSE(esito_.eseguita);
  EXPECT_EQ(messaggi_.Testi().back(),
            "Non è possibile creare un backup del negozio:\nprocedere comunque all'importazione?");
  EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "0");

  NuovaSessione();
  messaggi_.Rispondi(Risposta::Si);
  EXPECT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "1");
}

TEST_F(ImportazioneTest, SuccessoConBackupEUltimaImportazione) {
  SqlOrigine("INSERT INTO articoli (Codice) VALUES ('A')");
  auto& ws = motore_.Workspaces(0);
  stato_->gDb = ws.OpenDatabase(def_.gPathDb, def_.gTipoDb);
  Contesto c{def_, *stato_, *imp_, messaggi_, progresso_, eventi_, scatola_};
  tarkpo::test::CartellaTemp programma;
  esito_ = EseguiImportazione(c, ws, programma.Percorso().string());
  ASSERT_TRUE(esito_.riuscita);
  EXPECT_EQ(esito_.backup, negozio_ / "catalog.000");
  EXPECT_EQ(messaggi_.Testi().back(),
            "E' stato creato un backup del negozio:\n" + esito_.backup +
                "\n\nPer ripristinare il backup, rinominare questo\nfile in \"catalog.mdb\"");
  EXPECT_TRUE(std::filesystem::exists(programma / "last.ini"));
  EXPECT_FALSE(ws.TransazioneInCorso());
  EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "1");
}

TEST_F(ImportazioneTest, ImportazioneRipetutaNonCambiaNulla) {
  def_.gImpRep = 1;
  def_.gEscludi = 1;
  SqlOrigine(
      "INSERT INTO reparti VALUES ('1', 'Pane', 'fresco', '', 4, 0);"
      "INSERT INTO reparti VALUES ('', 'Senza codice', '', '', 10, 0);"
      "INSERT INTO articoli (Reparto, Codice, Titolo, Prezzo) VALUES ('1', 'A', 'a', 1.5),"
      "('Senza codice', 'B', 'b', 2), ('', 'C', 'c', 3), ('1', 'A', 'a', 1.5)");
  ASSERT_TRUE(Importa());
  const std::string dump =
      "SELECT group_concat(r, '|') FROM (SELECT id || titolo || ordinamento "
      "AS r FROM categorie UNION ALL SELECT codice || catID || titolo || "
      "prezzo || ordinamento || fuoricatalogo FROM articoli ORDER BY 1)";
  const std::string prima = Negozio(dump);
  NuovaSessione();
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio(dump), prima);
  EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "3");
  EXPECT_EQ(Negozio("SELECT count(*) FROM categorie"), "3");  // with "* Articoli importati"

  // One value changed in the catalogue: that one reaches the shop, on both rows of the code.
  SqlNegozio("INSERT INTO articoli (codice, catID, prezzo, ordinamento) VALUES ('A', 'x', 1, 99)");
  SqlOrigine("UPDATE articoli SET Prezzo = 1.75 WHERE Codice = 'A'");
  NuovaSessione();
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT prezzo || catID FROM articoli WHERE codice = 'A'"),
            "17500imp01|17500imp01");
}

TEST_F(ImportazioneTest, ArticoliDelSorgenteNonSonoMaiMancanti) {
  // The sort counter is at its limit: no item can be added or counted, yet none is deleted.
  SqlNegozio(
      "INSERT INTO articoli (codice, catID, ordinamento) VALUES "
      "('A', 'imp01', 2147483640), ('B', 'imp01', 2147483630), ('X', 'imp01', 5)");
  SqlOrigine(
      "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('1', 'A', 'a'), "
      "('1', 'B', 'b'), ('1', 'N', 'n')");
  def_.gEscludi = 3;
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT codice FROM articoli ORDER BY codice"), "A|B");
}

TEST_F(ImportazioneTest, MaiUnArticoloSenzaReparto) {
  // Price list 2 on a one-list shop: "* Articoli importati" cannot be updated (no "sconto1").
  SqlNegozio(
      "INSERT INTO categorie (id, titolo) VALUES ('cat050', '* Articoli importati');"
      "INSERT INTO articoli (codice, catID, prezzo) VALUES ('A', 'imp01', 10000), "
      "('M', 'imp01', 10000)");
  def_.gImpRep = 1;
  def_.gListini = {1, 1};
  SqlOrigine(
      "INSERT INTO reparti VALUES ('1', 'Pane', '', '', 0, 0);"
      "INSERT INTO articoli (Reparto, Codice, Prezzo) VALUES ('', 'A', 2), ('', 'N', 3)");
  def_.gEscludi = 2;
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT count(*) FROM articoli WHERE catID = '' OR catID IS NULL"), "0");
  EXPECT_EQ(Negozio("SELECT codice || ':' || catID FROM articoli ORDER BY codice"),
            "A:imp01|M:imp01");
}

TEST_F(ImportazioneTest, MancantiEsclusiSenzaRepartoOrfani) {
  // "* Articoli orfani" cannot be made (no "sconto1"), so missing items keep their department.
  SqlNegozio("INSERT INTO articoli (codice, catID) VALUES ('A', 'imp01'), ('M', 'imp01')");
  def_.gListini = {1, 1};
  def_.gSovrascrivi = 2;
  SqlOrigine("INSERT INTO articoli (Reparto, Codice) VALUES ('1', 'A')");
  def_.gEscludi = 2;
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Articoli(), "A:0:imp01|M:1:imp01");
}

TEST_F(ImportazioneTest, SenzaCodiceSostituitiDalNuovoCatalogo) {
  SqlNegozio("INSERT INTO articoli (codice, titolo, catID) VALUES ('', 'vecchio', 'imp01')");
  SqlOrigine(
      "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('1', '', 'uno'), "
      "('1', '', 'due')");
  def_.gEscludi = -3;
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT titolo FROM articoli ORDER BY ordinamento"), "uno|due");
  NuovaSessione();
  SqlOrigine("UPDATE articoli SET Titolo = Titolo || '2'");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT titolo FROM articoli ORDER BY ordinamento"), "uno2|due2");
}

TEST_F(ImportazioneTest, ProgressoDegliArticoli) {
  SqlOrigine("INSERT INTO articoli (Reparto, Codice) VALUES ('1', 'A'), ('1', 'B'), ('1', 'C')");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(progresso_.etichette,
            (std::vector<std::string>{"Importazione articoli", "Importazione articoli (1)",
                                      "Importazione articoli (2)", "Importazione articoli (3)",
                                      "Aggiornamento articoli...", ""}));
  // No item ended in a special department, so neither stays.
  EXPECT_EQ(Negozio("SELECT count(*) FROM categorie"), "1");
}

}  // namespace
}  // namespace tarkpo::motore::test

namespace tarkpo::motore::test {
namespace {

// A source's REAL columns hold doubles: a price that needs them arrives whole, and a number
// beyond a Single never reaches the shop as an infinity.
TEST_F(BancoImportazione, NumeriRealiInteriEFuoriIntervalloAZero) {
  SqlOrigine(
      "DROP TABLE reparti; DROP TABLE articoli;"
      "CREATE TABLE reparti (Codice MEMO, Titolo MEMO, Descrizione MEMO, Note MEMO, IVA REAL, "
      "Sconto REAL);"
      "CREATE TABLE articoli (Reparto MEMO, Codice MEMO, Titolo MEMO, Sottotitolo MEMO, "
      "Descrizione MEMO, Note MEMO, Prezzo REAL, Offerta REAL, Link MEMO, Peso REAL, "
      "Giacenza MEMO, Immagine1 MEMO, Immagine2 MEMO, ImmaginePiccola MEMO);"
      "INSERT INTO reparti (Codice, Titolo, IVA, Sconto) VALUES ('1', 'Pane', 1e39, -1e37),"
      "('2', 'Vini', 0.22, 9e999);"
      "INSERT INTO articoli (Reparto, Codice, Titolo, Prezzo, Offerta, Peso) VALUES "
      "('1', 'A', 'x', 199999.99, 1e39, 1e39), ('2', 'B', 'y', 2.45, 1.99, 0.25),"
      "('2', 'C', 'z', 1e300, -9e999, -1e39)");
  ASSERT_TRUE(Importa()) << ::testing::PrintToString(messaggi_.Testi());
  // -1e37 times 100 is past a Single: the discount stays as read.
  EXPECT_EQ(Negozio("SELECT printf('%s %g %g', id, iva, sconto) FROM categorie "
                    "WHERE id LIKE 'imp0%' ORDER BY id"),
            "imp01 0 -1e+37|imp02 22 0");
  EXPECT_EQ(Negozio("SELECT printf('%s %d %d %g', codice, prezzo, offertaprezzo, peso) "
                    "FROM articoli ORDER BY codice"),
            "A 1999999900 0 0|B 24500 19900 0.25|C 0 0 0");
}

// A saved definition run from start to end against the demo catalogue, in each of its
// three kinds: the same shop comes out of all of them.
TEST_F(BancoImportazione, DefinizioneSalvataEseguitaSulCatalogoDemo) {
  std::filesystem::copy(
      std::string(TARKPO_SORGENTI) + "/demo/catalogo", origine_.Percorso(),
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  // The CSV files are ";" delimited with decimal commas, as an Italian user writes them.
  TestiConPuntoEVirgola();
  const ImpostazioniRegionali salvate = Regionali();
  Regionali() = ImpostazioniRegionali::Italiane();

  struct Tipo {
    std::string percorso, tipo, opzioni, reparti, articoli;
  } tipi[] = {
      {origine_ / "listino.mdb", "Access 2000;", "", "reparti", "articoli"},
      {origine_ / "listino.xls", "Excel 8.0;", "HDR=Yes", "Reparti$", "Articoli$"},
      {CartellaOrigine(), "Text;", "HDR=Yes", "reparti#csv", "articoli#csv"},
  };
  for (const auto& t : tipi) {
    SCOPED_TRACE(t.tipo);
    UsaNegozio(tarkpo::test::kSchemaBase);
    std::filesystem::remove_all(negozio_ / "work");
    std::filesystem::create_directory(negozio_ / "work");
    NuovaSessione();
    DefinizioneImportazione salvata = def_;
    salvata.gPathDb = t.percorso;
    salvata.gTipoDb = t.tipo;
    salvata.gOpzioniDb = t.opzioni;
    salvata.gTabellaRep = t.reparti;
    salvata.gTabellaArt = t.articoli;
    salvata.gNomiCampiRep = {"Codice", "Titolo", "Descrizione", "Note", "IVA", "Sconto"};
    const char* campi[] = {"Reparto",     "Codice", "Titolo",   "Sottotitolo",
                           "Descrizione", "Note",   "Prezzo",   "Offerta",
                           "Link",        "Peso",   "Giacenza", "Immagine"};
    for (int k = 0; k < 12; ++k) salvata.gNomiCampiArt[k] = campi[k];
    salvata.gCampiArt[artImmagine2] = 0;
    salvata.gNomiCampiArt[artImmagine2] = "";
    salvata.gCampiArt[artImmaginePiccola] = 13;
    salvata.gNomiCampiArt[artImmaginePiccola] = "ImmaginePiccola";
    salvata.gGiacenzaMinima = 5;
    tarkpo::test::CartellaTemp cartella;
    ASSERT_TRUE(SalvaImportazione(salvata, cartella / "demo.kpo", messaggi_));
    def_ = DefinizioneImportazione{};
    ASSERT_EQ(CaricaImportazione(def_, cartella / "demo.kpo"), 1);

    ASSERT_TRUE(Importa()) << ::testing::PrintToString(messaggi_.Testi());
    EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "15");
    EXPECT_EQ(Negozio("SELECT count(*) FROM categorie"), "6");
    const std::string offerte =
        Negozio("SELECT id FROM categorie WHERE titolo = 'Offerte della settimana'");
    const std::string importati =
        Negozio("SELECT id FROM categorie WHERE titolo = '* Articoli importati'");
    EXPECT_EQ(Negozio("SELECT catID FROM articoli WHERE codice IN ('O003', 'S001', 'X001', "
                      "'X002') ORDER BY codice"),
              "imp04|" + offerte + "|" + importati + "|" + importati);
    EXPECT_EQ(Negozio("SELECT printf('%g %g', iva, sconto) FROM categorie WHERE id = 'imp03'"),
              "4 0");
    EXPECT_EQ(Negozio("SELECT printf('%d %d %d %g', prezzo, offertaprezzo, fuoricatalogo <> 0, "
                      "peso) FROM articoli WHERE codice IN ('F003', 'V001') ORDER BY codice"),
              "67500 0 1 0.3|389000 345000 0 1.3");
    // Every number of the catalogue, as it holds it, whatever the process locale.
    EXPECT_EQ(Negozio("SELECT printf('%s %g %g', coalesce(titolo, ''), iva, sconto) FROM categorie "
                      "WHERE titolo NOT LIKE '* %' ORDER BY titolo"),
              "Formaggi 4 0|Offerte della settimana 22 0|Olio e condimenti 22 10|"
              "Pane e forni 4 0|Vini 22 5");
    EXPECT_EQ(Negozio("SELECT printf('%s %d %d %.9g', codice, prezzo, offertaprezzo, peso) "
                      "FROM articoli ORDER BY codice"),
              "F001 128000 0 0.5|F002 41000 36000 0.25|F003 67500 0 0.3|"
              "O001 105000 0 0.92|O002 79000 0 0.3|O003 12000 0 1|"
              "P001 32000 0 1|P002 24500 19900 0.25|P003 45000 0 0.5|"
              "S001 490000 390000 5|V001 389000 345000 1.3|V002 99900 0 1.3|"
              "V003 115000 0 1.3|X001 10000 0 0|X002 20000 0 0");
    // The weights as the catalogue writes them, to the last bit of the shop's doubles.
    EXPECT_EQ(Negozio("SELECT codice FROM articoli WHERE peso IN (0.3, 0.92, 1.3) ORDER BY codice"),
              "F003|O001|O002|V001|V002|V003");
    EXPECT_EQ(Negozio("SELECT imgX0 || 'x' || imgY0 || ' ' || imgX2 FROM articoli "
                      "WHERE codice = 'P001'"),
              "120x90 40");
    EXPECT_EQ(Negozio("SELECT imgY0 FROM articoli WHERE codice = 'V001'"), "160");
    int copiate = 0;
    for ([[maybe_unused]] const auto& f : std::filesystem::directory_iterator(negozio_ / "work"))
      ++copiate;
    EXPECT_EQ(copiate, 5);
  }
  Regionali() = salvate;
}

// Italian CSV columns: codes with points, grouped prices, stock "1.000" and currency
// symbols stay text columns and are stored as written in the shop's text fields, while
// the number fields take their values through the regional settings; plain numbers make a
// number column.
TEST_F(BancoImportazione, ColonneCsvItalianeTipiEValoriNelNegozio) {
  TestiConPuntoEVirgola();
  const ImpostazioniRegionali salvate = Regionali();
  struct Caso {
    const char* nome;
    int riga;               // the item mapping row that the column "V" feeds
    const char* valori[3];  // the column, one value for each of the items T1, T2, T3
    TipoValore tipo;        // its field's type
    const char* colonna;    // what the shop holds, read by item
    const char* atteso;
  };
  const Caso casi[] = {
      {"codici con punti",
       artCodice,
       {"10.200", "10.201", "20.300"},
       TipoValore::Text,
       "codice",
       "10.200|10.201|20.300"},
      {"codici numerici",
       artCodice,
       {"10200", "10201", "7"},
       TipoValore::Long,
       "codice",
       "10200|10201|7"},
      {"giacenze raggruppate",
       artGiacenza,
       {"1.000", "3", "12"},
       TipoValore::Text,
       "giacenza || ' ' || fuoricatalogo",
       "1.000 0|3 1|12 0"},
      {"prezzi raggruppati",
       artPrezzo,
       {"1.234,50", "12,50", "3.200"},
       TipoValore::Text,
       "prezzo",
       "12345000|125000|32000000"},
      {"simboli di valuta",
       artOfferta,
       {"€ 12,50", "9,90 €", "€ 1.000"},
       TipoValore::Text,
       "offertaprezzo || ' ' || offerta",
       "125000 1|99000 1|10000000 1"},
      {"prezzi semplici",
       artPrezzo,
       {"12,50", "3", "0,99"},
       TipoValore::Double,
       "prezzo",
       "125000|30000|9900"},
      {"pesi con esponente",
       artPeso,
       {"1,5E+03", "2,25", "-3"},
       TipoValore::Double,
       "printf('%g', peso)",
       "1500|2.25|-3"},
  };
  def_.gPathDb = CartellaOrigine();
  def_.gTipoDb = "Text;";
  def_.gOpzioniDb = "HDR=Yes";
  def_.gImpRep = 0;
  def_.gTabellaArt = "articoli#csv";
  def_.gGiacenzaMinima = 5;
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    for (int k = 0; k < kRigheArticoli; ++k) {
      def_.gCampiArt[k] = 0;
      def_.gNomiCampiArt[k].clear();
    }
    def_.gCampiArt[artTitolo] = 1;
    def_.gNomiCampiArt[artTitolo] = "Titolo";
    def_.gCampiArt[c.riga] = 2;
    def_.gNomiCampiArt[c.riga] = "V";
    std::string csv = "Titolo;V\r\n";
    for (int r = 0; r < 3; ++r) csv += "T" + std::to_string(r + 1) + ";" + c.valori[r] + "\r\n";
    origine_.Scrivi("articoli.csv", csv);
    Regionali() = ImpostazioniRegionali::Italiane();
    TipoValore tipo = TipoValore::Empty;
    {
      auto db = motore_.Workspaces(0).OpenDatabase(CartellaOrigine(), "Text;HDR=Yes");
      for (const auto& t : db->TableDefs())
        if (t.Name() == "articoli#csv") tipo = t.Fields().at(1).Type();
      db->Close();
    }
    UsaNegozio(tarkpo::test::kSchemaBase);
    NuovaSessione();
    const bool riuscita = Importa();
    Regionali() = salvate;
    EXPECT_EQ(tipo, c.tipo);
    ASSERT_TRUE(riuscita) << ::testing::PrintToString(messaggi_.Testi());
    EXPECT_EQ(Negozio(std::string("SELECT ") + c.colonna + " FROM articoli ORDER BY titolo"),
              c.atteso);
  }
}

// A positive number of hundredths as a spreadsheet formatted with separators writes it
// under `r`: 320000 as "3.200,00" under Italian settings, whole units without decimals.
std::string ConSeparatori(int64_t centesimi, const ImpostazioniRegionali& r, bool decimali) {
  const std::string intere = std::to_string(centesimi / 100);
  std::string testo;
  for (size_t i = 0; i < intere.size(); ++i) {
    if (i > 0 && (intere.size() - i) % 3 == 0) testo += r.SeparatoreMigliaia();
    testo += intere[i];
  }
  if (decimali) {
    testo += r.SeparatoreDecimale();
    testo += std::to_string(centesimi % 100 + 100).substr(1);
  }
  return testo;
}

std::vector<std::string> Campi(const std::string& riga) {
  std::vector<std::string> campi(1);
  for (char c : riga) {
    if (c == ';')
      campi.emplace_back();
    else if (c != '\r')
      campi.back() += c;
  }
  return campi;
}

// The demo catalogue with its prices, offers and stock a thousand times larger, written as a
// spreadsheet with separators writes them ("3.200,00", "€ 34.500,00", "40.000" under
// Italian settings): imported under those settings, to the cent.
TEST_F(BancoImportazione, CatalogoDemoConSeparatoriDelleMigliaia) {
  TestiConPuntoEVirgola();
  const ImpostazioniRegionali salvate = Regionali();
  const ImpostazioniRegionali italiane = ImpostazioniRegionali::Italiane();
  struct Caso {
    const char* nome;
    ImpostazioniRegionali regionali;
  } casi[] = {
      {"process", ImpostazioniRegionali::DalLocale()},
      {"it", italiane},
      {"fr", ImpostazioniRegionali(',', "\u202F", "€")},
      {"ch", ImpostazioniRegionali('.', "\u2019", "CHF")},
  };
  std::vector<std::vector<std::string>> righe;
  {
    std::string demo = tarkpo::test::LeggiFile(TARKPO_SORGENTI "/demo/catalogo/articoli.csv");
    for (size_t inizio = 0; inizio < demo.size();) {
      const size_t fine = demo.find('\n', inizio);
      righe.push_back(Campi(demo.substr(inizio, fine - inizio)));
      inizio = fine == std::string::npos ? demo.size() : fine + 1;
    }
  }
  ASSERT_EQ(righe.size(), 16u);
  constexpr size_t kPrezzo = 6, kOfferta = 7, kPeso = 9, kGiacenza = 10;
  std::vector<std::string> articoli;  // code, price, offer, excluded: as the demo holds them
  for (size_t r = 1; r < righe.size(); ++r) {
    const auto& c = righe[r];
    articoli.push_back(c[1] + " " + std::to_string(*italiane.ACurrency(c[kPrezzo]) * 1000) + " " +
                       std::to_string(*italiane.ACurrency(c[kOfferta]) * 1000) + " " +
                       (*italiane.ALong(c[kGiacenza]) < 5 ? "1" : "0"));
  }
  std::sort(articoli.begin(), articoli.end());
  std::string atteso;
  for (const std::string& a : articoli) atteso += (atteso.empty() ? "" : "|") + a;

  def_.gPathDb = CartellaOrigine();
  def_.gTipoDb = "Text;";
  def_.gImpRep = 0;
  def_.gTabellaArt = "articoli#csv";
  for (int k = artImmagine1; k < kRigheArticoli; ++k) {
    def_.gCampiArt[k] = 0;
    def_.gNomiCampiArt[k].clear();
  }
  def_.gGiacenzaMinima = 5000;
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    const ImpostazioniRegionali& reg = caso.regionali;
    std::string csv;
    for (size_t r = 0; r < righe.size(); ++r) {
      std::vector<std::string> c = righe[r];
      if (r > 0) {
        c[kPrezzo] = ConSeparatori(*italiane.ACurrency(c[kPrezzo]) / 100 * 1000, reg, true);
        // The currency symbol before or after, as the settings' conversion takes it.
        const std::string offerta =
            ConSeparatori(*italiane.ACurrency(c[kOfferta]) / 100 * 1000, reg, true);
        c[kOfferta] = reg.SimboloValuta().empty() ? offerta
                      : r % 2 != 0                ? reg.SimboloValuta() + " " + offerta
                                                  : offerta + " " + reg.SimboloValuta();
        c[kGiacenza] = ConSeparatori(*italiane.ALong(c[kGiacenza]) * 100000, reg, false);
        for (char& ch : c[kPeso])
          if (ch == ',') ch = reg.SeparatoreDecimale();
      }
      for (size_t k = 0; k < c.size(); ++k) csv += (k ? ";" : "") + c[k];
      csv += "\r\n";
    }
    origine_.Scrivi("articoli.csv", csv);
    Regionali() = reg;
    UsaNegozio(tarkpo::test::kSchemaBase);
    NuovaSessione();
    const bool riuscita = Importa();
    Regionali() = salvate;
    ASSERT_TRUE(riuscita) << ::testing::PrintToString(messaggi_.Testi());
    EXPECT_EQ(Negozio("SELECT codice || ' ' || prezzo || ' ' || offertaprezzo || ' ' || "
                      "(fuoricatalogo <> 0) FROM articoli ORDER BY codice"),
              atteso)
        << csv;
    EXPECT_EQ(Negozio("SELECT codice FROM articoli WHERE peso IN (0.3, 0.92, 1.3) ORDER BY codice"),
              "F003|O001|O002|V001|V002|V003");
  }
}

}  // namespace
}  // namespace tarkpo::motore::test
