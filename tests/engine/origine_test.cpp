#include "engine/origine.h"

#include <gtest/gtest.h>

#include "ambiente_motore.h"
#include "support/stampa_valore.h"

namespace tarkpo::motore {
namespace {

// A source database with a table of three rows and an empty one.
class Origine : public test::AmbienteMotore {
 protected:
  void SetUp() override {
    std::string file = cartella / "origine.db";
    test::EseguiSql(file, R"(
      CREATE TABLE listino (codice TEXT(20), Nome TEXT(50), prezzo DOUBLE, note MEMO);
      INSERT INTO listino VALUES ('A1', 'Vino', 12.5, NULL),
                                 ('A2', CAST(X'41420043' AS TEXT), 3, 'x'),
                                 ('A3', 'Acqua', NULL, '');
      CREATE TABLE vuota (codice TEXT(20));)");
    stato.gDb = Workspace().OpenDatabase(file);
  }
  ProgressoMemoria progresso;
};

TEST_F(Origine, OpensOnTheFirstRowWithTheBarAtZeroOfTheRowCount) {
  progresso.valore = 7;
  ASSERT_TRUE(ApriTabellaOrigine(stato, def, "listino", progresso, messaggi));
  EXPECT_EQ(progresso.valore, 0);
  EXPECT_EQ(progresso.massimo, 3);
  EXPECT_EQ(LeggiCampoOrigine(*stato.gRsOrigine, 1), Valore::Testo("A1"));
  EXPECT_TRUE(messaggi.Mostrati().empty());
}

TEST_F(Origine, AnEmptyOrMissingTableFailsWithTheOpenTableMessage) {
  for (const char* tabella : {"vuota", "manca"}) {
    messaggi.Pulisci();
    EXPECT_FALSE(ApriTabellaOrigine(stato, def, tabella, progresso, messaggi));
    ASSERT_EQ(messaggi.Mostrati().size(), 1u) << tabella;
    std::string atteso = std::string("Non è stato possibile aprire la tabella ") + tabella + ":\n";
    EXPECT_EQ(messaggi.Mostrati()[0].testo.substr(0, atteso.size()), atteso);
    EXPECT_GT(messaggi.Mostrati()[0].testo.size(), atteso.size());
    EXPECT_EQ(messaggi.Mostrati()[0].icona, Icona::Nessuna);
  }
}

TEST(MessaggioTabella, ShowsTheTableAsTheSourceShowsIt) {
  struct Caso {
    const char* tipo;
    const char* tabella;
    const char* mostrata;
  };
  for (const Caso& c : {Caso{"Excel 8.0;", "Listino$", "Listino"},
                        Caso{"Excel 8.0;", "'Dati 2008$'", "'Dati 2008$'"},
                        Caso{"Text;", "articoli#csv", "articoli.csv"}, Caso{"Text;", "a#b", "a#b"},
                        Caso{"Access 2000;", "Listino$", "Listino$"}}) {
    DefinizioneImportazione def;
    def.gTipoDb = c.tipo;
    EXPECT_EQ(MessaggioTabellaNonAperta(def, c.tabella, "errore"),
              std::string("Non è stato possibile aprire la tabella ") + c.mostrata + ":\nerrore");
  }
}

TEST_F(Origine, ReadsFieldsByPositionOrNameCleaned) {
  ASSERT_TRUE(ApriTabellaOrigine(stato, def, "listino", progresso, messaggi));
  dao::Recordset& rs = *stato.gRsOrigine;
  // Unmapped and out-of-range positions read as the empty value.
  for (int32_t posizione : {0, -1, 5})
    EXPECT_TRUE(LeggiCampoOrigine(rs, posizione).IsEmpty()) << posizione;
  EXPECT_TRUE(LeggiCampoNegozio(rs, "manca").IsEmpty());
  EXPECT_EQ(LeggiCampoOrigine(rs, 3), Valore::Doppio(12.5));  // a number stays a number
  EXPECT_EQ(LeggiCampoOrigine(rs, 4), Valore::Testo(""));     // Null
  EXPECT_EQ(LeggiCampoNegozio(rs, "NOME"), Valore::Testo("Vino"));
  rs.MoveNext();
  EXPECT_EQ(LeggiCampoOrigine(rs, 2), Valore::Testo("ABC"));
  EXPECT_EQ(LeggiCampoNegozio(rs, "nome"), Valore::Testo("ABC"));
  rs.MoveNext();
  rs.MoveNext();
  EXPECT_TRUE(LeggiCampoOrigine(rs, 1).IsEmpty());  // past the last row
}

struct CasoVerifica {
  const char* nome;
  std::vector<std::pair<int32_t, std::string>> righe;  // rows 0.. of the mapping
  bool esito;
};

void PrintTo(const CasoVerifica& c, std::ostream* os) { *os << c.nome; }

const CasoVerifica kCasiVerifica[] = {
    {"Uguale", {{1, "codice"}, {0, "stantio"}, {2, "Nome"}, {-1, "stantio"}, {4, "note"}}, true},
    {"Rinominato", {{1, "codice"}, {2, "Titolo"}}, false},
    {"Spostato", {{2, "codice"}}, false},
    {"MaiuscoleCambiate", {{2, "nome"}}, false},
    {"OltreLUltimoCampo", {{5, "altro"}}, false},
    {"NessunaRigaAttribuita", {{0, "x"}, {-1, "y"}}, true},
};

class VerificaCampi : public Origine, public testing::WithParamInterface<CasoVerifica> {};

TEST_P(VerificaCampi, EveryMappedRowStillNamesItsField) {
  ASSERT_TRUE(ApriTabellaOrigine(stato, def, "listino", progresso, messaggi));
  const CasoVerifica& caso = GetParam();
  for (size_t i = 0; i < caso.righe.size(); ++i) {
    def.gCampiRep[i] = def.gCampiArt[20 - i] = caso.righe[i].first;
    def.gNomiCampiRep[i] = def.gNomiCampiArt[20 - i] = caso.righe[i].second;
  }
  EXPECT_EQ(VerificaCampiReparti(stato, def, messaggi), caso.esito);
  EXPECT_EQ(VerificaCampiArticoli(stato, def, messaggi), caso.esito);
  std::vector<std::string> attesi;
  if (!caso.esito)
    attesi.assign(2, "Campo non trovato: il database è cambiato rispetto all'importazione salvata");
  EXPECT_EQ(messaggi.Testi(), attesi);
  for (const auto& m : messaggi.Mostrati()) EXPECT_EQ(m.icona, Icona::Nessuna);
}

INSTANTIATE_TEST_SUITE_P(Casi, VerificaCampi, testing::ValuesIn(kCasiVerifica),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace tarkpo::motore
