// Numbers of every kind of source and of a definition file, read under the process locale
// the run was given (CI runs the suite under C.UTF-8 and it_IT.UTF-8), to the last digit.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/dao/conversioni.h"
#include "core/dao/dao.h"
#include "core/file_definizione.h"
#include "core/impostazioni.h"
#include "core/regionali.h"
#include "engine/regole.h"
#include "support/cartella_temp.h"
#include "support/locale_processo.h"
#include "support/messaggi_script.h"
#include "support/stampa_valore.h"

namespace tarkpo::motore {
namespace {

// The catalogue an Italian desktop writes has decimal commas; one under "." settings has
// points. Each locale reads its own, and both hold the same numbers.
std::string CartellaCsv() {
  return std::string(TARKPO_DATI_TEST "/csv/") +
         (Regionali().SeparatoreDecimale() == ',' ? "numeri_virgola" : "numeri_punto");
}

struct CasoNumero {
  const char* nome;
  std::string percorso;
  const char* connect;
  const char* tabella;
  const char* chiave;  // the column that picks the row, and its value
  const char* valoreChiave;
  const char* campo;
  Valore letto;  // type and digits as the source holds them
  int64_t valuta;
  float singolo;
  float percentuale;
};

void PrintTo(const CasoNumero& c, std::ostream* os) { *os << c.nome; }

std::vector<CasoNumero> Casi() {
  const std::string demo = std::string(TARKPO_SORGENTI) + "/demo/catalogo/listino.xls";
  const std::string access = TARKPO_DATI_TEST "/access/V2000_test.mdb";
  const char* csv = "Text;HDR=Yes";
  return {
      {"CsvPrezzo", CartellaCsv(), csv, "numeri#csv", "Codice", "A", "Prezzo", Valore::Doppio(3.2),
       32000, 3.2f, 3.2f},
      {"CsvPrezzoGrande", CartellaCsv(), csv, "numeri#csv", "Codice", "B", "Prezzo",
       Valore::Doppio(199999.99), 1999999900, 199999.99f, 199999.99f},
      {"CsvOfferta", CartellaCsv(), csv, "numeri#csv", "Codice", "A", "Offerta",
       Valore::Doppio(2.45), 24500, 2.45f, 2.45f},
      {"CsvPeso", CartellaCsv(), csv, "numeri#csv", "Codice", "B", "Peso", Valore::Doppio(1234.567),
       12345670, 1234.567f, 1234.567f},
      {"CsvIva", CartellaCsv(), csv, "numeri#csv", "Codice", "A", "IVA", Valore::Doppio(0.22), 2200,
       0.22f, 22},
      {"CsvSconto", CartellaCsv(), csv, "numeri#csv", "Codice", "B", "Sconto", Valore::Doppio(0.05),
       500, 0.05f, 5},
      {"AccessDouble", access, "", "Table1", "A", "abcdefg", "F", Valore::Doppio(444.555), 4445550,
       444.555f, 444.555f},
      {"AccessCurrency", access, "", "Table1", "A", "abcdefg", "H", Valore::Valuta(35000), 35000,
       3.5f, 3.5f},
      {"ExcelPrezzo", demo, "Excel 8.0;HDR=Yes", "Articoli$", "Codice", "P002", "Prezzo",
       Valore::Doppio(2.45), 24500, 2.45f, 2.45f},
      {"ExcelPeso", demo, "Excel 8.0;HDR=Yes", "Articoli$", "Codice", "V001", "Peso",
       Valore::Doppio(1.3), 13000, 1.3f, 1.3f},
  };
}

class NumeriSottoIlLocale : public ::testing::TestWithParam<CasoNumero> {
 protected:
  NumeriSottoIlLocale() {
    // The start-up's ";" for the text driver.
    SaveSetting(registro, "Tarvelin KPO", "set0\\Jet\\4.0\\Engines\\Text", "Format",
                "Delimited(;)");
    motore.IniPath =
        "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Tarvelin "
        "KPO\\set0\\Jet\\4.0";
  }

  tarkpo::test::CartellaTemp cartella;
  Registro registro{cartella / "utente", cartella / "macchina"};
  dao::DBEngine motore{registro};
};

TEST_P(NumeriSottoIlLocale, ReadsAndConvertsToTheLastDigit) {
  tarkpo::test::VerificaLocaleDelProcesso();
  const CasoNumero& c = GetParam();
  auto db = motore.Workspaces(0).OpenDatabase(c.percorso, c.connect);
  auto rs = db->OpenRecordset(c.tabella);
  while (!rs->Eof() && dao::ATesto(rs->Fields(c.chiave).Value()) != c.valoreChiave) rs->MoveNext();
  ASSERT_FALSE(rs->Eof()) << c.valoreChiave;
  const Valore v = rs->Fields(c.campo).Value();
  EXPECT_EQ(v, c.letto);
  EXPECT_EQ(ValutaDa(v), c.valuta);
  EXPECT_EQ(SingoloDa(v), c.singolo);
  EXPECT_EQ(Percentuale(v), c.percentuale);
  // Its text under the user's settings reads back as the same number.
  const std::string testo = dao::ATesto(v);
  EXPECT_EQ(Regionali().ADouble(testo), dao::ADouble(v)) << testo;
  EXPECT_EQ(testo.find(Regionali().SeparatoreDecimale() == ',' ? '.' : ','), std::string::npos)
      << testo;
}

INSTANTIATE_TEST_SUITE_P(Sorgenti, NumeriSottoIlLocale, ::testing::ValuesIn(Casi()),
                         [](const auto& info) { return std::string(info.param.nome); });

// Numbers written with the process's own grouping and currency symbol read to the last
// digit through the engine's conversions, and numbers turned into text have fifteen
// significant digits at most.
TEST(NumeriSottoIlLocaleRaggruppati, ReadAndWrittenAsTheSettingsDo) {
  tarkpo::test::VerificaLocaleDelProcesso();
  const ImpostazioniRegionali& r = Regionali();
  const std::string g = r.SeparatoreMigliaia();
  const std::string d(1, r.SeparatoreDecimale());
  struct Caso {
    std::string testo;
    int64_t valuta;
  };
  std::vector<Caso> casi = {
      {"1" + g + "234" + d + "56", 12345600},
      {"3" + g + "200" + d + "00", 32000000},
      {"-1" + g + "234" + g + "567" + d + "5", -12345675000},
      {"12" + d + "5", 125000},
  };
  if (!r.SimboloValuta().empty()) {
    casi.push_back({r.SimboloValuta() + " 1" + g + "990" + d + "00", 19900000});
    casi.push_back({"1" + g + "990" + d + "00 " + r.SimboloValuta(), 19900000});
  }
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.testo);
    const Valore v = Valore::Testo(c.testo);
    EXPECT_TRUE(dao::IsNumeric(v));
    EXPECT_EQ(ValutaDa(v), c.valuta);
    EXPECT_EQ(dao::ADouble(v), static_cast<double>(c.valuta) / 10000);
    EXPECT_EQ(SingoloDa(v), static_cast<float>(static_cast<double>(c.valuta) / 10000));
  }
  EXPECT_EQ(StatoGiacenza("1" + g + "000", 5), 2);
  EXPECT_EQ(StatoGiacenza("4", 5), 1);
  // A point or comma that is not the settings' grouping leaves the text no number.
  EXPECT_FALSE(r.IsNumeric("3" + std::string(d == "," ? "." : ",") + "2"));
  EXPECT_EQ(dao::ATesto(Valore::Doppio(100 * 1.1)), "110");
  EXPECT_EQ(dao::ATesto(Valore::Doppio(0.1 + 0.2)), "0" + d + "3");
  EXPECT_EQ(dao::ATesto(Valore::Doppio(1234567.5)), "1234567" + d + "5");
}

// A definition written under Italian settings reads under any locale, and one written under
// the process's settings holds its separator and reads back equal.
TEST(NumeriSottoIlLocaleDefinizione, VariationReadsAndWritesToTheLastDigit) {
  tarkpo::test::VerificaLocaleDelProcesso();
  DefinizioneImportazione d;
  ASSERT_EQ(CaricaImportazione(d, TARKPO_DATI_TEST "/definizione/variazione_virgola.kpo"), 1);
  EXPECT_EQ(d.gVariazione, -12.34567f);
  EXPECT_EQ(d.gGiacenzaMinima, 5);

  tarkpo::test::CartellaTemp cartella;
  tarkpo::test::MessaggiScript messaggi;
  const std::string file = cartella / "salvata.kpo";
  ASSERT_TRUE(SalvaImportazione(d, file, messaggi));
  std::ifstream in(file, std::ios::binary);
  std::stringstream contenuto;
  contenuto << in.rdbuf();
  const std::string atteso =
      std::string("\r\n-12") + Regionali().SeparatoreDecimale() + "34567 \r\n";
  EXPECT_NE(contenuto.str().find(atteso), std::string::npos);
  DefinizioneImportazione riletta;
  ASSERT_EQ(CaricaImportazione(riletta, file), 1);
  EXPECT_EQ(riletta.gVariazione, -12.34567f);
}

}  // namespace
}  // namespace tarkpo::motore
