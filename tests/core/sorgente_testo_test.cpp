#include "core/dao/sorgente_testo.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "core/dao/errore.h"
#include "core/dao/sorgente_comune.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/righe_sorgente.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

using test::CartellaTemp;

using test::LeggiTutto;

std::vector<std::string> NomiCampi(const TabellaSorgente& t) {
  std::vector<std::string> nomi;
  for (const auto& c : t.campi) nomi.push_back(c.nome);
  return nomi;
}

TEST(SorgenteTesto, ListsEveryTextFileUnderItsEngineName) {
  CartellaTemp cartella;
  for (const char* nome : {"b.csv", "a.TXT", "c.tab", "d.asc", "e.dat", "schema.ini", "f.csv.bak"})
    cartella.Scrivi(nome, "x\n1\n");
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), {});
  std::vector<std::string> nomi;
  for (const auto& t : s->Tabelle()) nomi.push_back(t.nome);
  EXPECT_EQ(nomi, (std::vector<std::string>{"a#TXT", "b#csv", "c#tab", "d#asc"}));
  EXPECT_EQ(LeggiTutto(*s, "A#txt").size(), 1u);  // table names ignore case
  EXPECT_EQ(test::NumeroErrore([&] { s->Apri("e#dat"); }), errori::kTabellaNonTrovata);
}

TEST(SorgenteTesto, MissingFolderRaises3024) {
  CartellaTemp cartella;
  EXPECT_EQ(test::NumeroErrore([&] { ApriSorgenteTesto(cartella / "manca", {}); }),
            errori::kFileNonTrovato);
}

// The same catalogue in Windows-1252 with ";" and in UTF-8 with a byte-order mark and ",".
struct CasoFixture {
  const char* cartella;
  char delimitatore;
};

void PrintTo(const CasoFixture& c, std::ostream* os) { *os << c.cartella; }

class FixtureCsv : public ::testing::TestWithParam<CasoFixture> {};

TEST_P(FixtureCsv, ReadsNamesTypesAccentsAndNulls) {
  OpzioniTesto opzioni;
  opzioni.delimitatore = GetParam().delimitatore;
  opzioni.righeAnalizzate = 0;
  opzioni.regionali = ImpostazioniRegionali::Italiane();
  auto s = ApriSorgenteTesto(std::string(TARKPO_DATI_TEST "/csv/") + GetParam().cartella, opzioni);
  ASSERT_EQ(s->Tabelle().size(), 1u);
  const auto& t = s->Tabelle()[0];
  EXPECT_EQ(t.nome, "articoli#csv");
  EXPECT_EQ(NomiCampi(t),
            (std::vector<std::string>{"Codice", "Descrizione", "Prezzo", "Giacenza", "Arrivo"}));
  std::vector<TipoValore> tipi;
  for (const auto& c : t.campi) tipi.push_back(c.tipo);
  EXPECT_EQ(tipi, (std::vector<TipoValore>{TipoValore::Text, TipoValore::Text, TipoValore::Double,
                                           TipoValore::Long, TipoValore::Date}));
  const auto righe = LeggiTutto(*s, "articoli#csv");
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[0][0], Valore::Testo("007"));
  EXPECT_EQ(righe[0][1], Valore::Testo("Perché è così caro"));
  EXPECT_EQ(righe[0][2], Valore::Doppio(12.5));
  EXPECT_EQ(righe[0][4], Valore::Data(*GiorniDaData(2008, 12, 31)));
  EXPECT_EQ(righe[1][1], Valore::Testo("Caffè; tostato \"scuro\""));
  EXPECT_EQ(righe[1][3], Valore::Null());
  EXPECT_EQ(righe[2][1], Valore::Null());
  EXPECT_EQ(righe[2][3], Valore::Lungo(-2));
}

INSTANTIATE_TEST_SUITE_P(DueCodifiche, FixtureCsv,
                         ::testing::Values(CasoFixture{"punto_e_virgola", ';'},
                                           CasoFixture{"virgola", ','}),
                         [](const auto& info) { return std::string(info.param.cartella); });

TEST(SorgenteTesto, HeaderOffNamesFieldsByPosition) {
  CartellaTemp cartella;
  cartella.Scrivi("t.csv", "a,,c\n1,2\n");
  OpzioniTesto senza;
  senza.intestazione = false;
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), senza);
  EXPECT_EQ(NomiCampi(s->Tabelle()[0]), (std::vector<std::string>{"F1", "F2", "F3"}));
  const auto righe = LeggiTutto(*s, "t#csv");
  ASSERT_EQ(righe.size(), 2u);
  EXPECT_EQ(righe[0][0], Valore::Testo("a"));
  EXPECT_EQ(righe[1][2], Valore::Null());  // a short record ends in Nulls

  auto conIntestazione = ApriSorgenteTesto(cartella.Percorso().string(), {});
  EXPECT_EQ(NomiCampi(conIntestazione->Tabelle()[0]), (std::vector<std::string>{"a", "F2", "c"}));
  EXPECT_EQ(LeggiTutto(*conIntestazione, "t#csv").size(), 1u);
}

struct CasoTipo {
  const char* colonna;  // the values, one per line
  TipoValore tipo;
};

void PrintTo(const CasoTipo& c, std::ostream* os) {
  std::string colonna(c.colonna);
  if (colonna.size() > 40) colonna = colonna.substr(0, 40) + "...";
  *os << ::testing::PrintToString(colonna) << " -> " << NomeTipo(c.tipo);
}

// Digits past the largest double: a number no double holds.
const std::string kOltreDouble = "1" + std::string(400, '0') + "\n";

class TipoColonna : public ::testing::TestWithParam<CasoTipo> {};

TEST_P(TipoColonna, IsGuessedFromTheScannedValues) {
  CartellaTemp cartella;
  cartella.Scrivi("t.csv", std::string("v\n") + GetParam().colonna);
  OpzioniTesto opzioni;
  opzioni.delimitatore = ';';
  opzioni.righeAnalizzate = 0;
  opzioni.regionali = ImpostazioniRegionali::Italiane();
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), opzioni);
  EXPECT_EQ(s->Tabelle()[0].campi[0].tipo, GetParam().tipo) << GetParam().colonna;
}

INSTANTIATE_TEST_SUITE_P(
    Casi, TipoColonna,
    ::testing::Values(
        CasoTipo{"1\n-20\n\n+3\n", TipoValore::Long}, CasoTipo{"1\n2,5\n", TipoValore::Double},
        CasoTipo{"3000000000\n", TipoValore::Double},  // past a Long
        CasoTipo{"1.5\n", TipoValore::Text},           // not the regional separator
        CasoTipo{"12\n007\n", TipoValore::Text}, CasoTipo{"0\n0,5\n", TipoValore::Double},
        CasoTipo{"31/12/2008\n01/02/2009\n2009-01-02 10:30\n", TipoValore::Date},
        CasoTipo{"31/02/2008\n", TipoValore::Text}, CasoTipo{"1\nabc\n", TipoValore::Text},
        CasoTipo{"\n\n", TipoValore::Text}, CasoTipo{kOltreDouble.c_str(), TipoValore::Text}),
    [](const auto& info) {
      return std::string(NomeTipo(info.param.tipo)) + "_" + std::to_string(info.index);
    });

// Prices and stock as a spreadsheet with separators writes them, and codes with points: a
// grouped value or a currency symbol keeps its column text and every value as written, in
// UTF-8 and in Windows-1252 (a no-break space); the engine converts the prices when it
// stores them. Plain numbers, an exponent included, make a number column.
TEST(SorgenteTesto, OnlyPlainNumbersMakeANumberColumn) {
  struct Caso {
    const char* nome;
    ImpostazioniRegionali regionali;
    const char* righe;  // Prezzo;Giacenza;Semplice
    std::vector<const char*> prezzi, giacenze;
  };
  const Caso casi[] = {
      {"it",
       ImpostazioniRegionali::Italiane(),
       "1.234,56;1.000;1\n3.200,00;5;2,5\n€ 12,5;10.200;1,5E+03\n",
       {"1.234,56", "3.200,00", "€ 12,5"},
       {"1.000", "5", "10.200"}},
      {"fr_utf8",
       ImpostazioniRegionali(',', "\u202F", "€"),
       "1\u202F234,56;1\u00A0000;1\n3 200,00;5;2,5\n12,5 €;1\u202F234\u202F567;1,5E+03\n",
       {"1\u202F234,56", "3 200,00", "12,5 €"},
       {"1\u00A0000", "5", "1\u202F234\u202F567"}},
      {"fr_cp1252",
       ImpostazioniRegionali(',', "\u202F", "€"),  // \240: a no-break space, \200 the euro
       "1\240234,56;1\240000;1\n3 200,00;5;2,5\n12,5 \200;1 234 567;1,5E+03\n",
       {"1\u00A0234,56", "3 200,00", "12,5 €"},
       {"1\u00A0000", "5", "1 234 567"}},
      {"ch",
       ImpostazioniRegionali('.', "\u2019", "CHF"),
       "1'234.56;1\u2019000;1\n3'200.00;5;2.5\nCHF 12.5;1'234'567;1.5E+03\n",
       {"1'234.56", "3'200.00", "CHF 12.5"},
       {"1\u2019000", "5", "1'234'567"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    CartellaTemp cartella;
    cartella.Scrivi("t.csv", std::string("Prezzo;Giacenza;Semplice\n") + c.righe);
    OpzioniTesto opzioni;
    opzioni.delimitatore = ';';
    opzioni.regionali = c.regionali;
    auto s = ApriSorgenteTesto(cartella.Percorso().string(), opzioni);
    const auto& campi = s->Tabelle()[0].campi;
    EXPECT_EQ(campi[0].tipo, TipoValore::Text);
    EXPECT_EQ(campi[1].tipo, TipoValore::Text);
    EXPECT_EQ(campi[2].tipo, TipoValore::Double);
    const auto righe = LeggiTutto(*s, "t#csv");
    ASSERT_EQ(righe.size(), 3u);
    const double semplici[] = {1, 2.5, 1500};
    for (size_t r = 0; r < 3; ++r) {
      EXPECT_EQ(righe[r],
                (std::vector<Valore>{Valore::Testo(c.prezzi[r]), Valore::Testo(c.giacenze[r]),
                                     Valore::Doppio(semplici[r])}));
    }
  }
  // A point that is no decimal separator under Italian settings keeps its column text.
  CartellaTemp cartella;
  cartella.Scrivi("t.csv", "v\n1.234\n3.2\n");
  OpzioniTesto opzioni;
  opzioni.regionali = ImpostazioniRegionali::Italiane();
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), opzioni);
  EXPECT_EQ(s->Tabelle()[0].campi[0].tipo, TipoValore::Text);
}

TEST(SorgenteTesto, ScannedRowsDecideAndLaterMisfitsReadAsNull) {
  CartellaTemp cartella;
  cartella.Scrivi("t.csv", "v\n1\n2\nabc\n");
  OpzioniTesto opzioni;
  opzioni.righeAnalizzate = 2;
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), opzioni);
  EXPECT_EQ(s->Tabelle()[0].campi[0].tipo, TipoValore::Long);
  const auto righe = LeggiTutto(*s, "t#csv");
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[2][0], Valore::Null());

  opzioni.righeAnalizzate = 0;  // every row
  EXPECT_EQ(ApriSorgenteTesto(cartella.Percorso().string(), opzioni)->Tabelle()[0].campi[0].tipo,
            TipoValore::Text);
}

TEST(SorgenteTesto, QuotedFieldsHoldDelimitersQuotesAndLineBreaks) {
  CartellaTemp cartella;
  cartella.Scrivi("t.csv",
                  "a;b\r\n\"x;y\";\"riga 1\r\nriga 2\"\r\n\"\"\"q\"\"\";z\r\n\r\n"
                  "\"chiuso\"dopo;x\"y\"\r\n");
  OpzioniTesto opzioni;
  opzioni.delimitatore = ';';
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), opzioni);
  const auto righe = LeggiTutto(*s, "t#csv");
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[0][0], Valore::Testo("x;y"));
  EXPECT_EQ(righe[0][1], Valore::Testo("riga 1\r\nriga 2"));
  EXPECT_EQ(righe[1][0], Valore::Testo("\"q\""));
  EXPECT_EQ(righe[1][1], Valore::Testo("z"));
  // What follows a closing quote, and a quote inside an unquoted field, are kept as text.
  EXPECT_EQ(righe[2][0], Valore::Testo("chiusodopo"));
  EXPECT_EQ(righe[2][1], Valore::Testo("x\"y\""));
}

// A stray quote opens a field that never closes: it would swallow the rest of the file into
// one value. Reading the table fails with the file's name, on the first row or on the last,
// and under the header too; other tables of the folder still read.
TEST(SorgenteTesto, VirgoletteAperteAllaFineSonoUnErrore) {
  struct Caso {
    const char* nome;
    const char* contenuto;
  } casi[] = {
      {"riga", "a;b\n1;2\n\"3;4\n5;6\n7;8\n"},
      {"ultima", "a;b\n1;2\n3;\"4"},
      {"intestazione", "a;\"b\n1;2\n"},
      {"dopo_chiusa", "a;b\n1;\"x\"\"\n"},
  };
  CartellaTemp cartella;
  cartella.Scrivi("buono.csv", "a;b\n1;2\n");
  for (const auto& c : casi) cartella.Scrivi(std::string(c.nome) + ".csv", c.contenuto);
  OpzioniTesto opzioni;
  opzioni.delimitatore = ';';
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), opzioni);
  EXPECT_EQ(LeggiTutto(*s, "buono#csv").size(), 1u);
  for (const auto& c : casi) {
    try {
      LeggiTutto(*s, std::string(c.nome) + "#csv");
      ADD_FAILURE() << c.nome << ": read without an error";
    } catch (const ErroreDao& e) {
      EXPECT_NE(e.Descrizione().find(cartella / (std::string(c.nome) + ".csv")), std::string::npos)
          << e.Descrizione();
    }
  }
}

TEST(SorgenteTesto, EncodingIsUtf8OnlyWhenTheWholeFileIsValid) {
  CartellaTemp cartella;
  // A valid UTF-8 start, then a Windows-1252 byte far beyond the scanned rows.
  std::string testo = "v\nperch\xC3\xA9\n";
  for (int i = 0; i < 20000; ++i) testo += "riga\n";
  cartella.Scrivi("cp.csv", testo + "caff\xE8\n");
  cartella.Scrivi("utf.csv", "v\ncaff\xC3\xA8\n");
  cartella.Scrivi("bom.csv",
                  "\xEF\xBB\xBF"
                  "caff\xE8\n");  // a mark, then Windows-1252
  OpzioniTesto opzioni;
  opzioni.righeAnalizzate = 1;
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), opzioni);
  const auto cp = LeggiTutto(*s, "cp#csv");
  EXPECT_EQ(cp.front()[0], Valore::Testo("perch\xC3\x83\xC2\xA9"));
  EXPECT_EQ(cp.back()[0], Valore::Testo("caff\xC3\xA8"));
  EXPECT_EQ(LeggiTutto(*s, "utf#csv")[0][0], Valore::Testo("caff\xC3\xA8"));
  opzioni.intestazione = false;
  EXPECT_EQ(LeggiTutto(*ApriSorgenteTesto(cartella.Percorso().string(), opzioni), "bom#csv")[0][0],
            Valore::Testo("caff\xC3\xA8"));
}

TEST(SorgenteTesto, SchemaIniTakesPrecedenceForItsFile) {
  CartellaTemp cartella;
  cartella.Scrivi("schema.ini",
                  "; settings\r\n[Listino.CSV]\r\nFormat=Delimited(|)\r\nColNameHeader=False\r\n"
                  "MaxScanRows=1\r\nCharacterSet=ANSI\r\n");
  cartella.Scrivi("listino.csv", "1|caff\xC3\xA8\nx|y\n");
  cartella.Scrivi("altro.csv", "a,b\n1,2\n");
  auto s = ApriSorgenteTesto(cartella.Percorso().string(), {});
  const auto& tabelle = s->Tabelle();
  ASSERT_EQ(tabelle.size(), 2u);
  EXPECT_EQ(NomiCampi(tabelle[0]), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(NomiCampi(tabelle[1]), (std::vector<std::string>{"F1", "F2"}));
  EXPECT_EQ(tabelle[1].campi[0].tipo, TipoValore::Long);
  const auto righe = LeggiTutto(*s, "listino#csv");
  ASSERT_EQ(righe.size(), 2u);
  EXPECT_EQ(righe[0][1], Valore::Testo("caff\xC3\x83\xC2\xA8"));  // read as ANSI
  EXPECT_EQ(righe[1][0], Valore::Null());
}

// A FIFO with no writer would hang the opening, /dev/zero fill the memory: in place of
// schema.ini the folder is refused, and in place of a table listed before, that table;
// each says which file and why. A schema.ini too large to be settings is refused unread.
TEST(SorgenteTesto, OnlyOrdinaryFilesAreRead) {
  const std::pair<const char*, std::function<void(const std::string&)>> casi[] = {
      {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
      {"/dev/zero", [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); }},
      {"over 1 MB",
       [](const std::string& p) { std::ofstream(p) << std::string((1 << 20) + 1, ';'); }},
  };
  auto messaggio = [](const std::function<void()>& chiamata) {
    try {
      chiamata();
    } catch (const ErroreDao& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  for (const auto& [nome, crea] : casi) {
    SCOPED_TRACE(nome);
    const bool grande = std::string(nome) == "over 1 MB";
    CartellaTemp cartella;
    cartella.Scrivi("a.csv", "x\n1\n");
    crea(cartella / "schema.ini");
    EXPECT_EQ(messaggio([&] { ApriSorgenteTesto(cartella.Percorso().string(), {}); }),
              "Impossibile leggere il file '" + cartella / "schema.ini" +
                  "': " + (grande ? "è più grande di 1 MB." : "non è un file ordinario."));
    if (grande) continue;  // a table has no bound

    CartellaTemp altra;
    altra.Scrivi("a.csv", "x\n1\n");
    auto s = ApriSorgenteTesto(altra.Percorso().string(), {});
    std::filesystem::remove(altra / "a.csv");
    crea(altra / "a.csv");
    EXPECT_EQ(messaggio([&] { s->Apri("a#csv"); }),
              "Impossibile leggere il file '" + altra / "a.csv" + "': non è un file ordinario.");
  }
}

TEST(SorgenteTesto, FormatSettingGivesTheDelimiter) {
  const std::pair<const char*, char> casi[] = {{"Delimited(;)", ';'}, {"delimited(|)", '|'},
                                               {"CSVDelimited", ','}, {"TabDelimited", '\t'},
                                               {"Delimited()", 0},    {"FixedLength", 0}};
  for (const auto& [formato, atteso] : casi)
    EXPECT_EQ(DelimitatoreDaFormato(formato), atteso) << formato;
}

}  // namespace
}  // namespace tarkpo::dao
