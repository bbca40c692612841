#include "core/dao/cartella_excel.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/dao/file_composto.h"
#include "core/dao/sorgente_comune.h"
#include "support/cartella_excel_prova.h"
#include "support/cartella_temp.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

using namespace test::xls;

CartellaExcel Leggi(const std::string& file) {
  const auto flusso = LeggiFlussoComposto(file, {"Workbook", "Book"});
  if (!flusso) throw FormatoDanneggiato("nessun flusso");
  return LeggiCartellaExcel(*flusso);
}

// Every cell of a sheet by place: (row, column) -> value.
using Celle = std::map<std::pair<uint32_t, uint32_t>, Valore>;

Celle CelleDi(const CartellaExcel& cartella, size_t foglio) {
  Celle celle;
  for (const auto& c : cartella.fogli.at(foglio).celle)
    celle[{c.riga, c.colonna}] = ValoreCellaExcel(c, cartella);
  return celle;
}

Valore T(const char* s) { return Valore::Testo(s); }
Valore N(double v) { return Valore::Doppio(v); }

struct Genuina {
  const char* nome;
  const char* file;
  uint32_t righe, colonne;
  Celle celle;  // every cell Excel saved, formula results included
};

void PrintTo(const Genuina& g, std::ostream* os) { *os << g.nome; }

const Genuina kGenuine[] = {
    {"FormulaSjmachin",
     "formula_test_sjmachin.xls",
     8,
     2,
     {{{0, 0}, T("Description")},
      {{0, 1}, T("Data")},
      {{1, 0}, T("Non-latin1 text")},
      {{1, 1}, T("МОСКВА Москва")},
      {{2, 0}, T("formula number")},
      {{2, 1}, N(0.14285714285714285)},
      {{3, 0}, T("formula text")},
      {{3, 1}, T("ABCDEF")},
      {{4, 0}, T("formula zero-length text")},
      {{4, 1}, T("")},
      {{5, 0}, T("formula boolean")},
      {{5, 1}, Valore::Booleano(true)},
      {{6, 0}, T("formula error")},
      {{6, 1}, Valore::Null()},  // #DIV/0!
      {{7, 0}, T("formula non-latin1 text")},
      {{7, 1}, T("МОСКВА Москва")}}},
    {"FormulaNames",
     "formula_test_names.xls",
     8,
     2,
     {{{0, 0}, T("Description")},
      {{0, 1}, T("Data")},
      {{1, 0}, T("Unary operation")},
      {{1, 1}, N(-7)},
      {{2, 0}, T("Single param sum")},
      {{2, 1}, N(4)},
      {{3, 0}, T("Function call")},
      {{3, 1}, N(6)},
      {{4, 0}, T("Function with variable # args")},
      {{4, 1}, N(3)},
      {{5, 0}, T("If function")},
      {{5, 1}, T("b")},
      {{6, 0}, T("Choose function")},
      {{6, 1}, T("C")},
      {{7, 0}, T("Binary operation → bool")},
      {{7, 1}, Valore::Booleano(true)}}},
    {"Ragged",
     "ragged.xls",
     5,
     4,
     {{{0, 0}, T("a")},
      {{0, 1}, T("b")},
      {{0, 2}, T("c")},
      {{1, 0}, T("d")},
      {{1, 1}, T("e")},
      {{2, 0}, T("f")},
      {{3, 0}, T("g")},
      {{3, 1}, T("h")},
      {{3, 2}, T("I")},
      {{3, 3}, T("j")},
      {{4, 0}, T("k")},
      {{4, 3}, T("l")}}},
};

class CartelleGenuine : public ::testing::TestWithParam<Genuina> {};

TEST_P(CartelleGenuine, EveryCellReadsAsExcelSavedIt) {
  const Genuina& g = GetParam();
  const auto cartella = Leggi(test::LeggiFile(TARKPO_DATI_TEST "/excel/" + std::string(g.file)));
  ASSERT_EQ(cartella.fogli.size(), 3u);
  EXPECT_EQ(cartella.fogli[0].nome, "Sheet1");
  EXPECT_EQ(cartella.fogli[1].nome, "Sheet2");
  EXPECT_EQ(cartella.fogli[2].nome, "Sheet3");
  const auto& foglio = cartella.fogli[0];
  EXPECT_EQ(foglio.primaRiga, 0u);
  EXPECT_EQ(foglio.fineRiga, g.righe);
  EXPECT_EQ(foglio.primaColonna, 0u);
  EXPECT_EQ(foglio.fineColonna, g.colonne);
  EXPECT_EQ(CelleDi(cartella, 0), g.celle);
  for (size_t f = 1; f < 3; ++f) {
    EXPECT_TRUE(cartella.fogli[f].celle.empty());
    EXPECT_EQ(cartella.fogli[f].fineRiga, cartella.fogli[f].primaRiga);
  }
}

INSTANTIATE_TEST_SUITE_P(Fixture, CartelleGenuine, ::testing::ValuesIn(kGenuine),
                         [](const auto& info) { return std::string(info.param.nome); });

// One sheet of the given records, read back.
CartellaExcel UnFoglio(const std::string& record, const std::string& globali = "") {
  return Leggi(Cartella({{u"Foglio", record}}, globali));
}

TEST(CartellaExcel, NumbersDatesAndTimesByTheirFormat) {
  const std::string record = Numero(0, 0, 39813) + Numero(0, 1, 39813, 1) +  // 2008-12-31
                             Numero(0, 2, 0.5, 2) +      // 12:00 in the own format hh:mm
                             Numero(0, 3, 39813.5, 3) +  // "d" quoted: a number
                             Numero(0, 4, 1, 1) +        // 1900-01-01
                             Numero(0, 5, 61, 1) +       // 1900-03-01, past the false leap day
                             Numero(0, 6, 2958466, 1) +  // past 9999-12-31: a number
                             Numero(0, 7, -1, 1) +       // negative: a number
                             Rk(0, 8, (39813u << 2) | 2, 1);
  const auto celle = CelleDi(UnFoglio(record), 0);
  EXPECT_EQ(celle.at({0, 0}), N(39813));
  EXPECT_EQ(celle.at({0, 1}), Valore::Data(*GiorniDaData(2008, 12, 31)));
  EXPECT_EQ(celle.at({0, 2}), Valore::Data(0.5));
  EXPECT_EQ(celle.at({0, 3}), N(39813.5));
  EXPECT_EQ(celle.at({0, 4}), Valore::Data(*GiorniDaData(1900, 1, 1)));
  EXPECT_EQ(celle.at({0, 5}), Valore::Data(*GiorniDaData(1900, 3, 1)));
  EXPECT_EQ(celle.at({0, 6}), N(2958466));
  EXPECT_EQ(celle.at({0, 7}), N(-1));
  EXPECT_EQ(celle.at({0, 8}), Valore::Data(*GiorniDaData(2008, 12, 31)));

  // In the 1904 system day 0 is 1904-01-01.
  const auto celle1904 =
      CelleDi(UnFoglio(Numero(0, 0, 0, 1) + Numero(0, 1, 38351, 1), Record(0x0022, Le16(1))), 0);
  EXPECT_EQ(celle1904.at({0, 0}), Valore::Data(*GiorniDaData(1904, 1, 1)));
  EXPECT_EQ(celle1904.at({0, 1}), Valore::Data(*GiorniDaData(2008, 12, 31)));
}

TEST(CartellaExcel, RkAndMulrkNumbers) {
  const uint32_t unoEMezzo = static_cast<uint32_t>(std::bit_cast<uint64_t>(1.5) >> 32);
  const std::string mulrk = Record(0x00BD, Le16(1) + Le16(2) + Le16(0) + Le32((7u << 2) | 2) +
                                               Le16(0) + Le32(unoEMezzo) + Le16(3));
  const auto celle = CelleDi(
      UnFoglio(Rk(0, 0, (100u << 2) | 2) + Rk(0, 1, (1234u << 2) | 3) +
               Rk(0, 2, static_cast<uint32_t>(-5 * 4) | 2) + Rk(0, 3, unoEMezzo | 1) + mulrk),
      0);
  EXPECT_EQ(celle, (Celle{{{0, 0}, N(100)},
                          {{0, 1}, N(12.34)},
                          {{0, 2}, N(-5)},
                          {{0, 3}, N(0.015)},
                          {{1, 2}, N(7)},
                          {{1, 3}, N(1.5)}}));
}

TEST(CartellaExcel, FormulaValuesOfEveryKind) {
  const std::string record = Formula(0, 0, Reale(12.5)) + FormulaTesto(0, 1, u"Caffè") +
                             Formula(0, 2, ValoreSpeciale(1, 1)) +  // TRUE
                             Formula(0, 3, ValoreSpeciale(1, 0)) +  // FALSE
                             Formula(0, 4, ValoreSpeciale(2, 7)) +  // #DIV/0!
                             Formula(0, 5, ValoreSpeciale(3)) +     // ""
                             Formula(0, 6, Reale(39813), 1) +       // a date
                             // A shared formula's record may stand before the STRING.
                             Formula(0, 7, ValoreSpeciale(0)) +
                             Record(0x04BC, std::string(10, '\0')) +
                             Record(0x0207, Testo8(u"dopo")) +
                             // A STRING without its formula changes nothing.
                             Record(0x0207, Testo8(u"orfano")) + Booleano(0, 8, false) +
                             Record(0x0205, Posto(0, 9) + std::string("\x07\x01", 2));  // #DIV/0!
  EXPECT_EQ(CelleDi(UnFoglio(record), 0), (Celle{{{0, 0}, N(12.5)},
                                                 {{0, 1}, T("Caffè")},
                                                 {{0, 2}, Valore::Booleano(true)},
                                                 {{0, 3}, Valore::Booleano(false)},
                                                 {{0, 4}, Valore::Null()},
                                                 {{0, 5}, T("")},
                                                 {{0, 6}, Valore::Data(39813)},
                                                 {{0, 7}, T("dopo")},
                                                 {{0, 8}, Valore::Booleano(false)},
                                                 {{0, 9}, Valore::Null()}}));
}

TEST(CartellaExcel, SharedStringsSplitAcrossContinueRecords) {
  // "abcdef" split after "abc", going on in 16-bit characters; a rich string whose runs and
  // a phonetic block whose bytes cross the next boundary; an UTF-16 string whole.
  const std::string sst1 = Le32(4) + Le32(4) + Le16(6) + '\0' + "abc";
  const std::string cont1 = std::string(1, '\1') + Le16('d') + Le16('e') + Le16('f') + Le16(2) +
                            '\x08' + Le16(1) + "xy" + Le32(0x00010000);
  const std::string sst2 = Le16(1) + '\x04' + Le32(6) + "z" + "\x01\x02";
  const std::string cont2 = std::string("\x03\x04\x05\x06", 4) + Testo8(u"città", true);
  const std::string sst =
      Record(0x00FC, sst1) + Record(0x003C, cont1) + Record(0x003C, sst2) + Record(0x003C, cont2);
  const auto cartella = UnFoglio(
      EtichettaSst(0, 0, 0) + EtichettaSst(0, 1, 1) + EtichettaSst(0, 2, 2) + EtichettaSst(0, 3, 3),
      sst);
  EXPECT_EQ(
      CelleDi(cartella, 0),
      (Celle{{{0, 0}, T("abcdef")}, {{0, 1}, T("xy")}, {{0, 2}, T("z")}, {{0, 3}, T("città")}}));
}

TEST(CartellaExcel, TextsOfLabelRecordsAndBlankCellsInTheRange) {
  const std::string rstring = Record(0x00D6, Posto(2, 0) + Testo8(u"ricco") + Le16(1) + Le32(0));
  const std::string mulblank =
      Record(0x00BE, Le16(3) + Le16(1) + Le16(0) + Le16(0) + Le16(0) + Le16(3));
  const auto cartella = UnFoglio(Etichetta(0, 0, u"è latino") + Etichetta(1, 0, u"Москва", true) +
                                 rstring + mulblank + Vuota(4, 5));
  EXPECT_EQ(CelleDi(cartella, 0),
            (Celle{{{0, 0}, T("è latino")}, {{1, 0}, T("Москва")}, {{2, 0}, T("ricco")}}));
  const auto& foglio = cartella.fogli[0];
  EXPECT_EQ(foglio.fineRiga, 5u);
  EXPECT_EQ(foglio.fineColonna, 6u);
}

// The cells give the used range: a DIMENSIONS record from A1, as Gnumeric writes for every
// sheet, neither widens it nor gives an empty sheet one.
TEST(CartellaExcel, UsedRangeIsTheCellsOwn) {
  const auto cartella =
      UnFoglio(Dimensioni(0, 10, 0, 8) + Etichetta(2, 2, u"x") + Numero(5, 3, 1) + Vuota(4, 4));
  const auto& f = cartella.fogli[0];
  EXPECT_EQ(std::vector<uint32_t>({f.primaRiga, f.fineRiga, f.primaColonna, f.fineColonna}),
            std::vector<uint32_t>({2, 6, 2, 5}));
  const auto vuoto = UnFoglio(Dimensioni(0, 1, 0, 1));
  EXPECT_EQ(vuoto.fogli[0].fineRiga, vuoto.fogli[0].primaRiga);
  EXPECT_EQ(vuoto.fogli[0].fineColonna, vuoto.fogli[0].primaColonna);
}

// A formula's text in a STRING record going on in CONTINUE records: as Excel writes it, a
// flag byte at the start of each continuation; as Gnumeric does, none, even in the middle
// of a 16-bit character.
TEST(CartellaExcel, FormulaTextsContinuedWithOrWithoutTheFlagByte) {
  const std::string euro = "\xAC\x20";
  const struct {
    const char* nome;
    std::string string, continua;
    const char* atteso;  // nullptr: the text is cut short
  } casi[] = {
      {"Excel", Le16(6) + '\0' + "abc", '\0' + std::string("def"), "abcdef"},
      {"Excel, 8 to 16 bits", Le16(4) + '\0' + "ab", '\1' + euro + euro, "ab€€"},
      {"Gnumeric", Le16(6) + '\0' + "abc", "def", "abcdef"},
      {"Gnumeric, a character split", Le16(3) + '\1' + euro + "\xAC", "\x20" + euro, "€€€"},
      {"too short", Le16(12) + '\0' + "abc", "def", nullptr},
      {"too short, 16 bits", Le16(3) + '\1' + euro, "\xAC", nullptr},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const std::string record = Formula(0, 0, ValoreSpeciale(0)) + Record(0x0207, c.string) +
                               Record(0x003C, c.continua) + Numero(1, 0, 5);
    if (c.atteso == nullptr) {
      try {
        UnFoglio(record);
        ADD_FAILURE() << "read";
      } catch (const FormatoDanneggiato& e) {
        EXPECT_STREQ(e.what(), "cartella di lavoro danneggiata: testo troncato");
      }
    } else {
      EXPECT_EQ(CelleDi(UnFoglio(record), 0), (Celle{{{0, 0}, T(c.atteso)}, {{1, 0}, N(5)}}));
    }
  }
}

TEST(CartellaExcel, SheetNamesAsOnTheirTabsAndOnlyWorksheets) {
  std::string flusso =
      Flusso({{u"Seamus O'Reilly", Numero(0, 0, 1)}, {u"Città", ""}, {u"Grafico", ""}});
  // The third sheet becomes a chart: its BOUNDSHEET says so.
  const size_t terzo = flusso.find(std::string("G\0r\0a", 6)) - 3;
  flusso[terzo] = 2;
  const auto cartella = LeggiCartellaExcel(flusso);
  ASSERT_EQ(cartella.fogli.size(), 2u);
  EXPECT_EQ(cartella.fogli[0].nome, "Seamus O'Reilly");
  EXPECT_EQ(cartella.fogli[1].nome, "Città");
}

TEST(CartellaExcel, Excel95WorkbookInItsCodePage) {
  // BIFF5: a "Book" stream, 8-bit texts in the code page of CODEPAGE (1251, Cyrillic).
  const std::string nome = "\xCB\xE8\xF1\xF2";  // Лист
  const std::string testa = Bof(0x0005, 0x0500) + Record(0x0042, Le16(1251)) +
                            Record(0x00E0, Le16(0) + Le16(0) + std::string(12, '\0')) +
                            Record(0x00E0, Le16(0) + Le16(14) + std::string(12, '\0'));
  const size_t dopo = testa.size() + 4 + 7 + nome.size() + 4;
  const std::string globali =
      testa +
      Record(0x0085, Le32(static_cast<uint32_t>(dopo)) + Le16(0) + std::string(1, 4) + nome) +
      Record(0x000A, "");
  const std::string foglio =
      Bof(0x0010, 0x0500) + Record(0x0200, Le16(0) + Le16(1) + Le16(0) + Le16(3) + Le16(0)) +
      Record(0x0204, Posto(0, 0) + Le16(6) + "\xCC\xEE\xF1\xEA\xE2\xE0") + Numero(0, 1, 39813, 0) +
      Numero(0, 2, 39813, 1) + Formula(0, 3, ValoreSpeciale(0)) +
      Record(0x0207, Le16(2) + "\xE4\xE0") + Record(0x000A, "");
  const auto cartella = Leggi(FileComposto({{"Book", globali + foglio}}));
  ASSERT_EQ(cartella.fogli.size(), 1u);
  EXPECT_EQ(cartella.fogli[0].nome, "Лист");
  EXPECT_EQ(CelleDi(cartella, 0), (Celle{{{0, 0}, T("Москва")},
                                         {{0, 1}, N(39813)},
                                         {{0, 2}, Valore::Data(39813)},
                                         {{0, 3}, T("да")}}));
}

TEST(CartellaExcel, WorkbookStreamPreferredToAnOlderBookAndFoundInLargeFiles) {
  // Streams of 4096 bytes and more live in the file's own sectors, not in the mini stream.
  std::string grande = Etichetta(0, 0, u"grande");
  for (int i = 1; i < 400; ++i) grande += Numero(static_cast<uint16_t>(i), 0, i);
  const std::string file = FileComposto(
      {{"Book", Flusso({{u"Vecchio", ""}})}, {"Workbook", Flusso({{u"Nuovo", grande}})}});
  const auto cartella = Leggi(file);
  ASSERT_EQ(cartella.fogli.size(), 1u);
  EXPECT_EQ(cartella.fogli[0].nome, "Nuovo");
  EXPECT_EQ(cartella.fogli[0].celle.size(), 400u);
  EXPECT_EQ(cartella.fogli[0].celle.back().numero, 399);
}

// A damaged copy of a small workbook: each raises FormatoDanneggiato, never reads out of
// bounds, never loops.
struct Danno {
  const char* nome;
  std::function<std::string()> file;
};

void PrintTo(const Danno& d, std::ostream* os) { *os << d.nome; }

uint32_t Leggi32(const std::string& s, size_t p) {
  return static_cast<uint8_t>(s[p]) | (static_cast<uint8_t>(s[p + 1]) << 8) |
         (static_cast<uint8_t>(s[p + 2]) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[p + 3])) << 24);
}
void Scrivi32(std::string& s, size_t p, uint32_t v) { s.replace(p, 4, Le32(v)); }

// Offsets in a file of FileComposto: the directory entry of stream i (1-based) and the
// allocation table's entry for sector k.
size_t VoceFlusso(const std::string& f, size_t i) { return (Leggi32(f, 0x30) + 1) * 512 + 128 * i; }
size_t VoceFat(const std::string& f, uint32_t k) { return (Leggi32(f, 0x4C) + 1) * 512 + 4 * k; }

std::string Piccola() { return Cartella({{u"Foglio", Etichetta(0, 0, u"x") + Numero(1, 0, 1)}}); }
std::string Grande() {
  std::string record;
  for (int i = 0; i < 400; ++i) record += Numero(static_cast<uint16_t>(i), 0, i);
  return Cartella({{u"Foglio", record}});
}
std::string ConFlusso(const std::string& flusso) { return FileComposto({{"Workbook", flusso}}); }

const Danno kDanni[] = {
    {"TooShort", [] { return Piccola().substr(0, 511); }},
    {"SectorSize",
     [] {
       auto f = Piccola();
       f[0x1E] = 10;
       return f;
     }},
    {"FatCountBeyondFile",
     [] {
       auto f = Piccola();
       Scrivi32(f, 0x2C, 0xFFFFFFFF);
       return f;
     }},
    {"FatSectorBeyondFile",
     [] {
       auto f = Piccola();
       Scrivi32(f, 0x4C, 5000);
       return f;
     }},
    {"DifatChainBeyondFile",
     [] {
       // More allocation sectors than the header's 109 numbers: the rest are in the chain.
       auto f =
           FileComposto({{"Workbook", Flusso({{u"a", ""}})}, {"Pieno", std::string(60000, 'x')}});
       Scrivi32(f, 0x2C, 110);
       for (size_t i = 1; i < 109; ++i) Scrivi32(f, 0x4C + 4 * i, Leggi32(f, 0x4C));
       Scrivi32(f, 0x44, 7777);
       return f;
     }},
    {"DirectoryChainLoops",
     [] {
       auto f = Piccola();
       Scrivi32(f, VoceFat(f, Leggi32(f, 0x30)), Leggi32(f, 0x30));
       return f;
     }},
    {"StreamChainLoops",
     [] {
       auto f = Grande();
       const uint32_t inizio = Leggi32(f, VoceFlusso(f, 1) + 0x74);
       Scrivi32(f, VoceFat(f, inizio + 2), inizio);
       return f;
     }},
    {"StreamChainEndsEarly",
     [] {
       auto f = Grande();
       const uint32_t inizio = Leggi32(f, VoceFlusso(f, 1) + 0x74);
       Scrivi32(f, VoceFat(f, inizio + 2), 0xFFFFFFFE);
       return f;
     }},
    {"StreamLongerThanFile",
     [] {
       auto f = Grande();
       Scrivi32(f, VoceFlusso(f, 1) + 0x78, 0x7FFFFFFF);
       return f;
     }},
    {"MiniChainLoops",
     [] {
       auto f = Piccola();
       const uint32_t miniFat = Leggi32(f, 0x3C);
       Scrivi32(f, (miniFat + 1) * 512 + 4, 0);  // mini sector 1 leads back to 0
       return f;
     }},
    {"DirectoryTreeLoops",
     [] {
       auto f = Piccola();
       Scrivi32(f, VoceFlusso(f, 1) + 0x48, 1);  // the stream is its own right sibling
       return f;
     }},
    {"DirectoryTreeBackToTheRoot",
     [] {
       auto f = Piccola();
       Scrivi32(f, VoceFlusso(f, 1) + 0x44, 0);
       return f;
     }},
    {"DirectoryEntryBeyondDirectory",
     [] {
       auto f = Piccola();
       Scrivi32(f, VoceFlusso(f, 1) + 0x48, 1000);
       return f;
     }},
    {"NoBof", [] { return ConFlusso(Record(0x0042, Le16(1200))); }},
    {"Excel4Stream", [] { return ConFlusso(Record(0x0809, Le16(0x0400) + Le16(5))); }},
    {"GlobalsWithoutEof", [] { return ConFlusso(Bof(0x0005) + GlobaliPredefiniti()); }},
    {"RecordPastTheEnd", [] { return ConFlusso(Bof(0x0005) + Le16(0x0042) + Le16(200) + "xx"); }},
    {"SheetBeyondTheStream",
     [] {
       return ConFlusso(Bof(0x0005) + Record(0x0085, Le32(100000) + Le16(0) + NomeFoglio(u"a")) +
                        Record(0x000A, ""));
     }},
    {"SheetInsideTheGlobals",
     [] {
       return ConFlusso(Bof(0x0005) + Record(0x0085, Le32(0) + Le16(0) + NomeFoglio(u"a")) +
                        Record(0x000A, ""));
     }},
    {"TwoSheetsOnOneSubstream",
     [] {
       auto f = Flusso({{u"a", ""}, {u"b", ""}});
       const size_t primo =
           (Bof(0x0005) + Record(0x0042, Le16(1200)) + GlobaliPredefiniti()).size();
       const size_t secondo = primo + 4 + 8 + 2;
       f.replace(secondo + 4, 4, f.substr(primo + 4, 4));
       return ConFlusso(f);
     }},
    {"SheetWithoutEof",
     [] {
       auto f = Flusso({{u"a", Numero(0, 0, 1)}});
       return ConFlusso(f.substr(0, f.size() - 4));
     }},
    {"ShortDimensions",
     [] {
       return Cartella({{u"a", Record(0x0200, std::string(11, '\0'))}});
     }},
    {"ShortNumber",
     [] {
       return Cartella({{u"a", Record(0x0203, Posto(0, 0) + "1234")}});
     }},
    {"ColumnPastIV",
     [] {
       return Cartella({{u"a", Numero(0, 256, 1)}});
     }},
    {"MulrkCountWrong",
     [] {
       return Cartella({{u"a", Record(0x00BD, Le16(0) + Le16(0) + Le16(0) + Le32(2) + Le16(5))}});
     }},
    {"MulblankPastIV",
     [] {
       return Cartella(
           {{u"a", Record(0x00BE, Le16(0) + Le16(255) + Le16(0) + Le16(0) + Le16(256))}});
     }},
    {"SharedStringMissing",
     [] {
       return Cartella({{u"a", EtichettaSst(0, 0, 0)}});
     }},
    {"SharedStringsHugeCountCutShort",
     [] {
       return Cartella(
           {{u"a", EtichettaSst(0, 0, 0)}},
           Record(0x00FC, Le32(0xFFFFFFFF) + Le32(0xFFFFFFFF) + Le16(60000) + '\0' + "ab"));
     }},
    {"TextLongerThanRecord",
     [] {
       return Cartella({{u"a", Record(0x0204, Posto(0, 0) + Le16(500) + '\0' + "abc")}});
     }},
    {"HalfACharacterAtTheEnd",
     [] {
       return Cartella({{u"a", Record(0x0204, Posto(0, 0) + Le16(2) + '\1' + "abc")}});
     }},
    {"ContinueWithoutFlag",
     [] {
       return Cartella(
           {{u"a", EtichettaSst(0, 0, 0)}},
           Record(0x00FC, Le32(1) + Le32(1) + Le16(4) + '\0' + "ab") + Record(0x003C, ""));
     }},
};

class CartelleDanneggiate : public ::testing::TestWithParam<Danno> {};

TEST_P(CartelleDanneggiate, AreRefused) {
  const std::string file = GetParam().file();
  EXPECT_THROW(Leggi(file), FormatoDanneggiato);
}

INSTANTIATE_TEST_SUITE_P(Danno, CartelleDanneggiate, ::testing::ValuesIn(kDanni),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST(CartellaExcel, DamageCheckedHereLeavesTheUndamagedFilesReadable) {
  // The damaged files above differ from these in the one place each names.
  EXPECT_EQ(CelleDi(Leggi(Piccola()), 0), (Celle{{{0, 0}, T("x")}, {{1, 0}, N(1)}}));
  EXPECT_EQ(Leggi(Grande()).fogli[0].celle.size(), 400u);
  EXPECT_EQ(Leggi(Cartella({{u"a", ""}, {u"b", ""}})).fogli.size(), 2u);
}

}  // namespace
}  // namespace tarkpo::dao
