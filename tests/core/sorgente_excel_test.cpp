#include "core/dao/sorgente_excel.h"

#include <gtest/gtest.h>

#include "core/dao/conversioni.h"
#include "core/dao/errore.h"
#include "core/dao/sorgente_comune.h"
#include "support/cartella_excel_prova.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/righe_sorgente.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

const std::string kListino = TARKPO_DATI_TEST "/excel/listino.xls";

using test::LeggiTutto;

int ErroreDi(const std::string& percorso) {
  return test::NumeroErrore([&] { ApriSorgenteExcel(percorso, {}); });
}

TEST(SorgenteExcel, ListsSheetsWithDollarAndQuotesNamesWithBlanks) {
  auto s = ApriSorgenteExcel(kListino, {});
  ASSERT_EQ(s->Tabelle().size(), 2u);
  EXPECT_EQ(s->Tabelle()[0].nome, "Listino$");
  EXPECT_EQ(s->Tabelle()[1].nome, "'Dati 2008$'");
  EXPECT_EQ(LeggiTutto(*s, "listino$").size(), 3u);
  EXPECT_THROW(s->Apri("Listino"), ErroreDao);
}

TEST(SorgenteExcel, HeaderRowGivesNamesAndTypesAreGuessedOverAllRows) {
  auto s = ApriSorgenteExcel(kListino, {});
  const auto& t = s->Tabelle()[0];
  std::vector<std::string> nomi;
  std::vector<TipoValore> tipi;
  for (const auto& c : t.campi) nomi.push_back(c.nome), tipi.push_back(c.tipo);
  EXPECT_EQ(nomi, (std::vector<std::string>{"Codice", "Titolo", "Prezzo", "Arrivo", "Attivo", "F6",
                                            "Misto"}));
  // Excel's truth values are a Yes/No field.
  EXPECT_EQ(tipi, (std::vector<TipoValore>{TipoValore::Text, TipoValore::Text, TipoValore::Double,
                                           TipoValore::Date, TipoValore::Boolean,
                                           TipoValore::Double, TipoValore::Double}));
  const auto righe = LeggiTutto(*s, "Listino$");
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[0][1], Valore::Testo("Caffè è buono"));
  EXPECT_EQ(righe[0][2], Valore::Doppio(12.5));
  EXPECT_EQ(righe[0][3], Valore::Data(*GiorniDaData(2008, 12, 31)));
  EXPECT_EQ(righe[0][4], Valore::Booleano(true));
  EXPECT_EQ(righe[1][4], Valore::Booleano(false));
  EXPECT_EQ(righe[1][1], Valore::Null());
  EXPECT_EQ(righe[2][2], Valore::Null());
  EXPECT_EQ(righe[2][3], Valore::Null());
  // Without IMEX the minority kind of a mixed column reads as Null.
  EXPECT_EQ(righe[0][6], Valore::Doppio(10));
  EXPECT_EQ(righe[1][6], Valore::Null());
}

TEST(SorgenteExcel, ImexReadsAMixedColumnAsText) {
  OpzioniExcel opzioni;
  opzioni.imex = true;
  opzioni.regionali = ImpostazioniRegionali::Italiane();
  auto s = ApriSorgenteExcel(kListino, opzioni);
  EXPECT_EQ(s->Tabelle()[0].campi[6].tipo, TipoValore::Text);
  EXPECT_EQ(s->Tabelle()[0].campi[2].tipo, TipoValore::Double);  // one kind stays a number
  const auto righe = LeggiTutto(*s, "Listino$");
  EXPECT_EQ(righe[0][6], Valore::Testo("10"));
  EXPECT_EQ(righe[1][6], Valore::Testo("dieci"));

  opzioni.intestazione = false;  // the header row now is data, and makes Prezzo mixed
  auto senza = ApriSorgenteExcel(kListino, opzioni);
  const auto& campi = senza->Tabelle()[0].campi;
  EXPECT_EQ(campi[0].nome, "F1");
  EXPECT_EQ(campi[2].tipo, TipoValore::Text);
  const auto tutte = LeggiTutto(*senza, "Listino$");
  ASSERT_EQ(tutte.size(), 4u);
  EXPECT_EQ(tutte[0][0], Valore::Testo("Codice"));
  EXPECT_EQ(tutte[1][2], Valore::Testo("12,5"));
}

TEST(SorgenteExcel, FormulaCellReadsTheValueExcelComputed) {
  auto s = ApriSorgenteExcel(kListino, {});
  const auto righe = LeggiTutto(*s, "'Dati 2008$'");
  ASSERT_EQ(righe.size(), 1u);
  EXPECT_EQ(righe[0][0], Valore::Doppio(1));
  EXPECT_EQ(righe[0][1], Valore::Doppio(2));
}

TEST(SorgenteExcel, EmptyTextCellReadsAsEmptyText) {
  auto s = ApriSorgenteExcel(TARKPO_DATI_TEST "/excel/testo_vuoto.xls", {});
  EXPECT_EQ(LeggiTutto(*s, "Foglio$"),
            (std::vector<std::vector<Valore>>{{Valore::Testo("x"), Valore::Testo("")}}));
}

using Righe = std::vector<std::vector<Valore>>;
Valore T(const char* s) { return Valore::Testo(s); }
Valore D(double v) { return Valore::Doppio(v); }

// The genuine workbooks' formula values, each read as the field's type gives it.
TEST(SorgenteExcel, GenuineFormulaValuesByTheColumnsType) {
  const std::string sjmachin = TARKPO_DATI_TEST "/excel/formula_test_sjmachin.xls";
  const std::string names = TARKPO_DATI_TEST "/excel/formula_test_names.xls";
  const Valore settimo = Valore::Testo(ATesto(Valore::Doppio(1.0 / 7)));
  // Mostly texts: a text column, whatever IMEX says.
  for (bool imex : {false, true}) {
    OpzioniExcel opzioni;
    opzioni.imex = imex;
    opzioni.regionali = Regionali();
    auto s = ApriSorgenteExcel(sjmachin, opzioni);
    ASSERT_EQ(s->Tabelle().size(), 3u);
    EXPECT_EQ(s->Tabelle()[0].campi[1].nome, "Data");
    EXPECT_EQ(s->Tabelle()[0].campi[1].tipo, TipoValore::Text);
    EXPECT_EQ(LeggiTutto(*s, "Sheet1$"),
              (Righe{{T("Non-latin1 text"), T("МОСКВА Москва")},
                     {T("formula number"), settimo},
                     {T("formula text"), T("ABCDEF")},
                     {T("formula zero-length text"), T("")},
                     {T("formula boolean"), T("True")},
                     {T("formula error"), Valore::Null()},
                     {T("formula non-latin1 text"), T("МОСКВА Москва")}}));
    EXPECT_TRUE(LeggiTutto(*s, "Sheet2$").empty());
  }
  // Mostly numbers: a Double column whose texts and truth value read as Null, or with
  // IMEX=1 a text column.
  auto numeri = ApriSorgenteExcel(names, {});
  EXPECT_EQ(numeri->Tabelle()[0].campi[1].tipo, TipoValore::Double);
  const Valore n = Valore::Null();
  EXPECT_EQ(LeggiTutto(*numeri, "Sheet1$"), (Righe{{T("Unary operation"), D(-7)},
                                                   {T("Single param sum"), D(4)},
                                                   {T("Function call"), D(6)},
                                                   {T("Function with variable # args"), D(3)},
                                                   {T("If function"), n},
                                                   {T("Choose function"), n},
                                                   {T("Binary operation → bool"), n}}));
  OpzioniExcel imex;
  imex.imex = true;
  auto testi = ApriSorgenteExcel(names, imex);
  std::vector<Valore> colonna;
  for (const auto& riga : LeggiTutto(*testi, "Sheet1$")) colonna.push_back(riga[1]);
  EXPECT_EQ(colonna,
            (std::vector<Valore>{T("-7"), T("4"), T("6"), T("3"), T("b"), T("C"), T("True")}));
}

TEST(SorgenteExcel, NumbersReadAsTextAreWrittenInFull) {
  using namespace test::xls;
  test::CartellaTemp cartella;
  const std::string file = cartella.Scrivi(
      "codici.xls",
      Cartella(
          {{u"Codici", Etichetta(0, 0, u"Codice") + Numero(1, 0, 100000) + Numero(2, 0, 200000) +
                           Rk(3, 0, (12000000u << 2) | 2) + Etichetta(4, 0, u"A1") +
                           Numero(5, 0, 12.5) + Numero(6, 0, 39813, 1) + Booleano(7, 0, true)}}));
  OpzioniExcel opzioni;
  opzioni.imex = true;
  for (const auto& [regionali, mezzo] : {std::pair{ImpostazioniRegionali::Italiane(), "12,5"},
                                         std::pair{ImpostazioniRegionali::Inglesi(), "12.5"}}) {
    opzioni.regionali = regionali;
    auto s = ApriSorgenteExcel(file, opzioni);
    EXPECT_EQ(s->Tabelle()[0].campi[0].tipo, TipoValore::Text);
    EXPECT_EQ(LeggiTutto(*s, "Codici$"), (Righe{{T("100000")},
                                                {T("200000")},
                                                {T("12000000")},
                                                {T("A1")},
                                                {T(mezzo)},
                                                {T("31/12/2008")},
                                                {T("True")}}));
  }
  // Without IMEX the numbers win and keep their values; the other kinds read as Null.
  auto s = ApriSorgenteExcel(file, {});
  EXPECT_EQ(s->Tabelle()[0].campi[0].tipo, TipoValore::Double);
  EXPECT_EQ(LeggiTutto(*s, "Codici$")[2][0], D(12000000));
  EXPECT_EQ(LeggiTutto(*s, "Codici$")[3][0], Valore::Null());
}

// A time alone is written without its day zero, in a field's name as in a text field, and
// a number below 1E-04 with an exponent.
TEST(SorgenteExcel, TimesAndSmallNumbersAsText) {
  using namespace test::xls;
  test::CartellaTemp cartella;
  const std::string file = cartella.Scrivi(
      "ore.xls", Cartella({{u"Ore", Etichetta(0, 0, u"Codice") + Numero(0, 1, 0.5, 2) +
                                        Numero(1, 0, 0.5, 2) + Numero(2, 0, 0.000015) +
                                        Numero(3, 0, 39813.5, 1) + Etichetta(4, 0, u"A1")}}));
  OpzioniExcel opzioni;
  opzioni.imex = true;
  opzioni.regionali = ImpostazioniRegionali::Italiane();
  auto s = ApriSorgenteExcel(file, opzioni);
  EXPECT_EQ(s->Tabelle()[0].campi[1].nome, "12:00:00");
  std::vector<Valore> colonna;
  for (const auto& riga : LeggiTutto(*s, "Ore$")) colonna.push_back(riga[0]);
  EXPECT_EQ(colonna,
            (std::vector<Valore>{T("12:00:00"), T("1,5E-05"), T("31/12/2008 12:00:00"), T("A1")}));
}

TEST(SorgenteExcel, TypesAsTheEngineGivesThemAndTheUsedRange) {
  using namespace test::xls;
  test::CartellaTemp cartella;
  // The data begin at C3: the first row of the used range holds the names.
  const std::string file = cartella.Scrivi(
      "tipi.xls", Cartella({{u"Seamus O'Reilly",
                             Dimensioni(2, 5, 2, 6) + Etichetta(2, 2, u"Attivo") +
                                 Etichetta(2, 3, u"Data") + Etichetta(2, 4, u"Ora") +
                                 Numero(2, 5, 7) + Booleano(3, 2, true) + Numero(3, 3, 39813, 1) +
                                 Numero(3, 4, 0.75, 2) + Formula(4, 2, ValoreSpeciale(1, 0)) +
                                 Formula(4, 3, Reale(39814), 1) + Numero(4, 5, 1)}}));
  auto s = ApriSorgenteExcel(file, {});
  ASSERT_EQ(s->Tabelle().size(), 1u);
  const auto& t = s->Tabelle()[0];
  EXPECT_EQ(t.nome, "'Seamus O'Reilly$'");
  std::vector<std::pair<std::string, TipoValore>> campi;
  for (const auto& c : t.campi) campi.emplace_back(c.nome, c.tipo);
  EXPECT_EQ(campi, (std::vector<std::pair<std::string, TipoValore>>{{"Attivo", TipoValore::Boolean},
                                                                    {"Data", TipoValore::Date},
                                                                    {"Ora", TipoValore::Date},
                                                                    {"7", TipoValore::Double}}));
  EXPECT_EQ(LeggiTutto(*s, "'Seamus O'Reilly$'"),
            (Righe{{Valore::Booleano(true), Valore::Data(*GiorniDaData(2008, 12, 31)),
                    Valore::Data(0.75), Valore::Null()},
                   {Valore::Booleano(false), Valore::Data(*GiorniDaData(2009, 1, 1)),
                    Valore::Null(), D(1)}}));
}

// Workbooks saved by Gnumeric, read whole as their makers hold them: every sheet where its
// cells stand (Gnumeric's DIMENSIONS start at A1), and formula texts longer than a record.
TEST(SorgenteExcel, GnumericWorkbooksReadWhole) {
  OpzioniExcel opzioni;
  opzioni.regionali = ImpostazioniRegionali::Italiane();
  auto s = ApriSorgenteExcel(TARKPO_DATI_TEST "/excel/gn8_struttura.xls", opzioni);
  std::vector<std::string> tabelle;
  for (const auto& t : s->Tabelle()) tabelle.push_back(t.nome);
  EXPECT_EQ(tabelle,
            (std::vector<std::string>{"'Listino prezzi$'", "Dell'Orto$", "'Città e Società$'",
                                      "Прайс-лист$", "价格表$", "Nascosto$", "'Da riga 5$'",
                                      "Buchi$", "Vuoto$", "'Molto nascosto$'", "Protetto$",
                                      "Intestazioni$", "'Solo formati$'", "Calcoli$"}));
  auto campi = [&](const std::string& tabella) {
    std::vector<std::pair<std::string, TipoValore>> nomi;
    for (const auto& c : s->Tabelle()[IndiceTabella(s->Tabelle(), tabella)].campi)
      nomi.emplace_back(c.nome, c.tipo);
    return nomi;
  };
  using Campi = std::vector<std::pair<std::string, TipoValore>>;
  constexpr TipoValore kT = TipoValore::Text, kD = TipoValore::Double;
  const Valore n = Valore::Null();

  EXPECT_EQ(campi("'Da riga 5$'"), (Campi{{"Codice", kT}, {"Nome", kT}, {"Prezzo", kD}}));
  EXPECT_EQ(LeggiTutto(*s, "'Da riga 5$'"), (Righe{{T("R5-0"), T("Voce 0"), D(10)},
                                                   {T("R5-1"), T("Voce 1"), D(11)},
                                                   {T("R5-2"), T("Voce 2"), D(12)},
                                                   {T("R5-3"), T("Voce 3"), D(13)}}));
  EXPECT_EQ(campi("'Listino prezzi$'"),
            (Campi{{"Codice", kT}, {"Descrizione", kT}, {"Prezzo", kD}, {"Reparto", kT}}));
  Righe listino;
  for (int i = 1; i <= 10; ++i) {
    listino.push_back({Valore::Testo((i < 10 ? "P00" : "P0") + std::to_string(i)),
                       Valore::Testo("Prodotto " + std::to_string(i)), D(0.25 + 2.5 * i),
                       Valore::Testo("R" + std::to_string((i - 1) % 3 + 1))});
  }
  EXPECT_EQ(LeggiTutto(*s, "'Listino prezzi$'"), listino);
  EXPECT_EQ(campi("Dell'Orto$"), (Campi{{"Codice", kT}, {"Quantità", kD}}));
  EXPECT_EQ(LeggiTutto(*s, "Dell'Orto$"), (Righe{{T("DO-1"), D(5)}, {T("DO-2"), D(12)}}));
  EXPECT_EQ(LeggiTutto(*s, "'Città e Società$'"), (Righe{{T("Forlì"), T("Società Cooperativa")}}));
  EXPECT_EQ(campi("Прайс-лист$")[0].first, "Артикул");
  EXPECT_EQ(campi("价格表$")[0].first, "价格");
  EXPECT_EQ(LeggiTutto(*s, "Nascosto$"), (Righe{{T("chiave"), D(42)}}));
  EXPECT_EQ(LeggiTutto(*s, "'Molto nascosto$'"), (Righe{{T("k"), D(7)}}));
  EXPECT_EQ(LeggiTutto(*s, "Protetto$"), (Righe{{T("PR-1"), D(9.99)}}));
  // Headers of every kind, named by their text under the settings.
  std::vector<std::string> intestazioni;
  for (const auto& [nome, tipo] : campi("Intestazioni$")) intestazioni.push_back(nome);
  EXPECT_EQ(intestazioni,
            (std::vector<std::string>{"01/01/2025", "2024", "12,5", "True", "F5", "Calcolata!",
                                      "Prezzo unit.", "Cod. art.", " spazi ", "Codice"}));
  EXPECT_EQ(LeggiTutto(*s, "Intestazioni$").size(), 2u);
  // Merged cells, and empty rows and columns inside the data, stay in their places.
  EXPECT_EQ(campi("Buchi$"), (Campi{{"Titolo unito su tre colonne", kT},
                                    {"F2", kT},
                                    {"F3", kT},
                                    {"D", kD},
                                    {"F5", kT},
                                    {"F6", kT}}));
  EXPECT_EQ(LeggiTutto(*s, "Buchi$"),
            (Righe{{T("Codice"), T("Gruppo"), n, n, n, T("Note")},
                   {T("B1"), T("Unito in verticale"), n, D(1.5), n, T("x")},
                   {T("B2"), n, n, D(2.5), n, T("y")},
                   {n, n, n, n, n, n},
                   {T("B3"), T("dopo una riga vuota"), n, D(3.5), n, n},
                   {n, n, n, n, n, n},
                   {n, n, n, n, n, n},
                   {T("B4"), T("dopo due righe vuote"), n, D(4.5), n, T("z")},
                   {T("B5"), n, n, n, n, T("ultima")}}));
  EXPECT_TRUE(campi("Vuoto$").empty());
  EXPECT_TRUE(LeggiTutto(*s, "Vuoto$").empty());
  // Formatted blank cells make a range with no value.
  EXPECT_EQ(campi("'Solo formati$'"), (Campi{{"F1", kT}, {"F2", kT}}));
  EXPECT_EQ(LeggiTutto(*s, "'Solo formati$'"), (Righe{{n, n}, {n, n}}));
  EXPECT_EQ(campi("Calcoli$"),
            (Campi{{"Codice calcolato", kT}, {"Prezzo", kD}, {"Quantità", kD}, {"Segreto", kD}}));
  EXPECT_EQ(LeggiTutto(*s, "Calcoli$").size(), 11u);

  auto lunghi = ApriSorgenteExcel(TARKPO_DATI_TEST "/excel/gn8_formula_testo_lungo.xls", opzioni);
  std::string euro;
  for (int i = 0; i < 5000; ++i) euro += "€";
  std::string ab;
  for (int i = 0; i < 6000; ++i) ab += "ab";
  EXPECT_EQ(LeggiTutto(*lunghi, "Formule$"),
            (Righe{{T("latino"), Valore::Testo(ab), T("fine1")},
                   {T("euro"), Valore::Testo(euro), T("fine2")},
                   {T("appena oltre"), Valore::Testo(std::string(8300, 'x')), T("fine3")},
                   {T("lunghezze"), T("25300"), T("fine4")}}));
}

TEST(SorgenteExcel, BadFilesGiveClearErrors) {
  test::CartellaTemp cartella;
  const std::string intero = test::LeggiFile(kListino);
  const std::pair<std::string, int> casi[] = {
      {cartella / "manca.xls", errori::kFileNonTrovato},
      {TARKPO_DATI_TEST "/excel/cifrato.xls", errori::kFileCifrato},
      // The demo workbook with two bytes changed: a cell record became a DIMENSIONS record
      // too short for one.
      {TARKPO_DATI_TEST "/excel/listino_danneggiato.xls", errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("testo.xls", "Codice;Titolo\n1;a\n"), errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("vuoto.xls", ""), errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("meta.xls", intero.substr(0, intero.size() / 2)),
       errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("testa.xls", intero.substr(0, 600)), errori::kFormatoNonRiconosciuto},
      // Two sheets of one name, which Excel never writes: the second could not be opened.
      {cartella.Scrivi("doppio.xls",
                       test::xls::Cartella({{u"Dati", test::xls::Numero(0, 0, 1)}, {u"DATI", ""}})),
       errori::kFormatoNonRiconosciuto},
      // Excel 4.0 saved a workbook as a bare stream of records.
      {cartella.Scrivi("excel4.xls", std::string("\x09\x04\x06\x00\x00\x00\x10\x00\x00\x00", 10)),
       errori::kFormatoNonRiconosciuto},
  };
  for (const auto& [percorso, errore] : casi) EXPECT_EQ(ErroreDi(percorso), errore) << percorso;
}

}  // namespace
}  // namespace tarkpo::dao
