#include "core/mappa_campi.h"

#include <gtest/gtest.h>

#include "core/dao/dao.h"
#include "core/dao/errore.h"
#include "core/impostazioni.h"
#include "support/cartella_temp.h"
#include "support/messaggi_script.h"
#include "support/negozio_test.h"

namespace tarkpo {
namespace {

class ElencoFinto : public IElencoCampo {
 public:
  void Svuota() override {
    voci_.clear();
    dati_.clear();
    scelta_ = -1;
  }
  void AggiungiVoce(const std::string& testo) override {
    voci_.push_back(testo);
    dati_.push_back(0);
  }
  int NumeroVoci() const override { return static_cast<int>(voci_.size()); }
  std::string Voce(int i) const override { return voci_.at(i); }
  bool ImpostaDato(int i, int32_t dato) override {
    if (i < 0 || i >= NumeroVoci()) return false;
    dati_[i] = dato;
    return true;
  }
  int32_t Dato(int i) const override { return dati_.at(i); }
  bool Seleziona(int i) override {
    if (i < -1 || i >= NumeroVoci()) return false;
    scelta_ = i;
    return true;
  }
  int Selezionata() const override { return scelta_; }

 private:
  std::vector<std::string> voci_;
  std::vector<int32_t> dati_;
  int scelta_ = -1;
};

class PaginaFinta : public IRigheMappa {
 public:
  IElencoCampo& Riga(int i) override { return righe_.at(i); }

 private:
  std::array<ElencoFinto, kRigheArticoli> righe_;
};

// "Note|Iva" holds the separator a joined list of used names would have used.
const std::vector<std::string> kCampi = {"Codice", "Nome", "Descr", "Note|Iva", "Iva"};

struct Mappa {
  std::array<int32_t, kRigheMappa> pos;
  std::array<std::string, kRigheMappa> nomi;
  Mappa() {
    pos.fill(9);
    nomi.fill("vecchio");
  }
  MappaCampi Vista() { return {pos, nomi}; }
};

// Every row of a new page filled from kCampi, then the row choices made (-1 = none).
void Scegli(PaginaFinta& pagina, const std::vector<int>& scelte) {
  std::array<int32_t, kRigheMappa> zero{};
  test::MessaggiScript m;
  ASSERT_TRUE(PopolaCampi(
      pagina, kRigheArticoli, zero, [] { return kCampi; }, m));
  for (size_t i = 0; i < scelte.size(); ++i) pagina.Riga(static_cast<int>(i)).Seleziona(scelte[i]);
}

struct CasoValida {
  const char* nome;
  bool articoli;
  std::vector<int> scelte;
  bool esito;
  std::string messaggio;
  // Stored rows; rows past these keep "9"/"vecchio".
  std::vector<int32_t> posizioni;
  std::vector<std::string> nomi;
};

void PrintTo(const CasoValida& c, std::ostream* os) { *os << c.nome; }

const char* const kDoppio =
    "Non è consentito attribuire lo stesso campo del database\na più campi del negozio";

// clang-format off
const CasoValida kCasiValida[] = {
    {"RepNuovaImportazione", false, {0, 0, 0, 0, 0, 0}, false,
     "Il campo del negozio \"Titolo\" non può essere vuoto", {0}, {""}},
    {"RepTitoloNonScelto", false, {1, -1, 0, 0, 0, 0}, false,
     "Il campo del negozio \"Titolo\" non può essere vuoto", {1}, {"Codice"}},
    {"RepSoloTitolo", false, {0, 2, 0, 0, 0, 0}, true, "",
     {0, 2, 0, 0, 0, 0}, {"", "Nome", "", "", "", ""}},
    {"RepStessoCampoRighe2e4", false, {1, 2, 3, 0, 3, 0}, false, kDoppio,
     {1, 2, 3, 0}, {"Codice", "Nome", "Descr", ""}},
    {"RepVuotoTraDueRighe", false, {1, 2, 0, 4, 0, 5}, true, "",
     {1, 2, 0, 4, 0, 5}, {"Codice", "Nome", "", "Note|Iva", "", "Iva"}},
    {"RepNessunaSelezione", false, {-1, 2, -1, -1, -1, -1}, true, "",
     {-1, 2, -1, -1, -1, -1}, {"", "Nome", "", "", "", ""}},
    {"ArtNuovaImportazione", true, std::vector<int>(14, 0), false, "Almeno un campo deve essere attribuito",
     std::vector<int32_t>(14, -1), std::vector<std::string>(14, "")},
    {"ArtVuotoENessunaSceltaDannoMenoUno", true, {0, 1, -1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 5}, true, "",
     {-1, 1, -1, -1, 2, -1, -1, -1, -1, -1, -1, -1, -1, 5},
     {"", "Codice", "", "", "Nome", "", "", "", "", "", "", "", "", "Iva"}},
    {"ArtStessoCampoRighe1e3", true, {2, 1, 0, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, kDoppio,
     {2, 1, -1}, {"Nome", "Codice", ""}},
};
// clang-format on

class ValidaCampi : public testing::TestWithParam<CasoValida> {};

TEST_P(ValidaCampi, StoresRowsUpToTheFirstFailureAndWarnsOnlyWhenAsked) {
  const CasoValida& caso = GetParam();
  for (bool mostra : {true, false}) {
    SCOPED_TRACE(mostra ? "with messages" : "silent");
    PaginaFinta pagina;
    Scegli(pagina, caso.scelte);
    Mappa mappa;
    test::MessaggiScript messaggi;
    bool esito = caso.articoli ? ValidaCampiArt(mappa.Vista(), pagina, mostra, messaggi)
                               : ValidaCampiRep(mappa.Vista(), pagina, mostra, messaggi);
    EXPECT_EQ(esito, caso.esito);
    if (mostra && !caso.messaggio.empty()) {
      ASSERT_EQ(messaggi.Mostrati().size(), 1u);
      EXPECT_EQ(messaggi.Mostrati()[0].testo, caso.messaggio);
      EXPECT_EQ(messaggi.Mostrati()[0].icona, Icona::Esclamazione);
    } else {
      EXPECT_TRUE(messaggi.Mostrati().empty());
    }
    for (int i = 0; i < kRigheMappa; ++i) {
      bool salvata = i < static_cast<int>(caso.posizioni.size());
      EXPECT_EQ(mappa.pos[i], salvata ? caso.posizioni[i] : 9) << "row " << i;
      EXPECT_EQ(mappa.nomi[i], salvata ? caso.nomi[i] : "vecchio") << "row " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Casi, ValidaCampi, testing::ValuesIn(kCasiValida),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST(PopolaCampi, FillsEveryRowAndSelectsStoredPositionsThatStillExist) {
  PaginaFinta pagina;
  std::array<int32_t, kRigheMappa> pos{};
  pos.fill(0);
  pos[1] = 7;   // past the five fields of the table now
  pos[2] = -1;  // nothing chosen
  pos[3] = 3;   // now another field than when stored
  test::MessaggiScript messaggi;
  ASSERT_TRUE(PopolaCampi(
      pagina, kRigheArticoli, pos, [] { return kCampi; }, messaggi));
  EXPECT_TRUE(messaggi.Mostrati().empty());
  for (int i = 0; i < kRigheArticoli; ++i) {
    IElencoCampo& riga = pagina.Riga(i);
    ASSERT_EQ(riga.NumeroVoci(), 6) << "row " << i;
    EXPECT_EQ(riga.Voce(0), "");
    for (int j = 0; j < 6; ++j) EXPECT_EQ(riga.Dato(j), j);
    EXPECT_EQ(riga.Voce(5), "Iva");
  }
  EXPECT_EQ(pagina.Riga(0).Selezionata(), 0);
  EXPECT_EQ(pagina.Riga(1).Selezionata(), -1);
  EXPECT_EQ(pagina.Riga(2).Selezionata(), -1);
  EXPECT_EQ(pagina.Riga(3).Selezionata(), 3);

  // The stored rows follow what the page shows now.
  Mappa mappa;
  ASSERT_TRUE(ValidaCampiArt(mappa.Vista(), pagina, true, messaggi));
  EXPECT_EQ(mappa.pos[1], -1);
  EXPECT_EQ(mappa.nomi[1], "");
  EXPECT_EQ(mappa.pos[3], 3);
  EXPECT_EQ(mappa.nomi[3], "Descr");
}

TEST(PopolaCampi, AVanishedTableLeavesOnlyTheBlankEntryAndOtherErrorsFail) {
  std::array<int32_t, kRigheMappa> pos{};
  {
    PaginaFinta pagina;
    test::MessaggiScript messaggi;
    auto sparita = []() -> std::vector<std::string> {
      throw dao::ErroreDao(dao::errori::kElementoNonTrovato, "Elemento non trovato");
    };
    EXPECT_TRUE(PopolaCampi(pagina, kRigheReparti, pos, sparita, messaggi));
    EXPECT_TRUE(messaggi.Mostrati().empty());
    EXPECT_EQ(pagina.Riga(5).NumeroVoci(), 1);
    EXPECT_EQ(pagina.Riga(5).Selezionata(), 0);
  }
  {
    PaginaFinta pagina;
    test::MessaggiScript messaggi;
    auto guasta = []() -> std::vector<std::string> {
      throw dao::ErroreDao(dao::errori::kFileNonTrovato, "File non trovato");
    };
    EXPECT_FALSE(PopolaCampi(pagina, kRigheReparti, pos, guasta, messaggi));
    ASSERT_EQ(messaggi.Mostrati().size(), 1u);
    EXPECT_EQ(messaggi.Mostrati()[0].testo, "Errore 3024:\nFile non trovato");
    EXPECT_EQ(messaggi.Mostrati()[0].icona, Icona::Esclamazione);
  }
}

// A page filled from a table it could not find holds the blank entry alone: leaving it,
// forward or back, keeps the saved mapping whole.
TEST(PaginaSenzaCampi, NeverStoresOverTheSavedMapping) {
  auto sparita = []() -> std::vector<std::string> {
    throw dao::ErroreDao(dao::errori::kElementoNonTrovato, "Elemento non trovato");
  };
  for (bool articoli : {false, true}) {
    for (bool mostra : {true, false}) {
      SCOPED_TRACE(testing::Message()
                   << (articoli ? "items" : "departments") << (mostra ? " forward" : " back"));
      std::array<int32_t, kRigheMappa> salvate{};
      salvate.fill(2);
      PaginaFinta pagina;
      test::MessaggiScript messaggi;
      ASSERT_TRUE(PopolaCampi(pagina, articoli ? kRigheArticoli : kRigheReparti, salvate, sparita,
                              messaggi));
      Mappa mappa;
      EXPECT_FALSE(articoli ? ValidaCampiArt(mappa.Vista(), pagina, mostra, messaggi)
                            : ValidaCampiRep(mappa.Vista(), pagina, mostra, messaggi));
      EXPECT_EQ(messaggi.Testi(),
                mostra
                    ? std::vector<std::string>{articoli ? "Almeno un campo deve essere attribuito"
                                                        : "Il campo del negozio \"Titolo\" non "
                                                          "può essere vuoto"}
                    : std::vector<std::string>{});
      for (int i = 0; i < kRigheMappa; ++i) {
        EXPECT_EQ(mappa.pos[i], 9) << "row " << i;
        EXPECT_EQ(mappa.nomi[i], "vecchio") << "row " << i;
      }
    }
  }
}

// A file copied from Windows keeps the Windows-1252 byte of "è" in its name; a saved
// definition gives the name back in UTF-8. The engine and the field lists find the table
// under either form, and under another letter case.
TEST(PopolaCampi, FindsTheTableAsTheEngineDoes) {
  test::CartellaTemp cartella;
  cartella.Scrivi("caff\xE8.csv", "Codice,Nome\r\nR9,Bar\r\n");
  Registro registro(cartella / "utente", cartella / "macchina");
  dao::DBEngine motore(registro);
  auto db = motore.Workspaces(0).OpenDatabase(cartella.Percorso().string(), "Text;HDR=Yes");
  for (const char* nome : {"caff\xE8#csv", "caffè#csv", "CAFFè#CSV"}) {
    SCOPED_TRACE(nome);
    DefinizioneImportazione def;
    def.gTabellaArt = nome;
    def.gCampiArt.fill(0);
    def.gCampiArt[1] = 2;
    PaginaFinta pagina;
    test::MessaggiScript messaggi;
    ASSERT_TRUE(PopolaCampiArt(def, *db, pagina, messaggi));
    ASSERT_EQ(pagina.Riga(1).NumeroVoci(), 3);
    EXPECT_EQ(pagina.Riga(1).Voce(pagina.Riga(1).Selezionata()), "Nome");
    EXPECT_EQ(db->OpenRecordset(nome)->Fields("Nome").Value(), Valore::Testo("Bar"));
  }
}

TEST(PopolaCampi, ReadsTheFieldsOfTheDefinitionsTablesFromTheSource) {
  test::CartellaTemp cartella;
  std::string file = cartella / "origine.db";
  test::EseguiSql(file, "CREATE TABLE Reparti (cod TEXT(9), titolo TEXT(99), iva SINGLE)");
  Registro registro(cartella / "utente", cartella / "macchina");
  dao::DBEngine motore(registro);
  auto db = motore.Workspaces(0).OpenDatabase(file);
  DefinizioneImportazione def;
  def.gTabellaRep = "reparti";  // table names match without regard to case
  def.gCampiRep[1] = 2;
  def.gTabellaArt = "articoli";  // not in the source
  test::MessaggiScript messaggi;
  PaginaFinta rep, art;
  ASSERT_TRUE(PopolaCampiRep(def, *db, rep, messaggi));
  ASSERT_TRUE(PopolaCampiArt(def, *db, art, messaggi));
  EXPECT_TRUE(messaggi.Mostrati().empty());
  ASSERT_EQ(rep.Riga(5).NumeroVoci(), 4);
  EXPECT_EQ(rep.Riga(5).Voce(3), "iva");
  EXPECT_EQ(art.Riga(13).NumeroVoci(), 1);
  ASSERT_TRUE(ValidaCampiRep(def, rep, true, messaggi));
  EXPECT_EQ(def.gCampiRep[1], 2);
  EXPECT_EQ(def.gNomiCampiRep[1], "titolo");

  db->Close();  // any other error of the engine is reported
  PaginaFinta chiusa;
  EXPECT_FALSE(PopolaCampiRep(def, *db, chiusa, messaggi));
  ASSERT_EQ(messaggi.Mostrati().size(), 1u);
  EXPECT_EQ(messaggi.Mostrati()[0].testo.rfind("Errore ", 0), 0u);
}

}  // namespace
}  // namespace tarkpo
