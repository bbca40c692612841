#include "core/regionali.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "support/locale_processo.h"

namespace tarkpo {
namespace {

const ImpostazioniRegionali kIt = ImpostazioniRegionali::Italiane();
const ImpostazioniRegionali kEn = ImpostazioniRegionali::Inglesi();

struct CasoTesto {
  const ImpostazioniRegionali* reg;
  const char* testo;
  std::optional<double> atteso;
};

// The test main sets the locale as the program does; the settings follow it.
TEST(Regionali, TheTestProcessRunsUnderTheEnvironmentsLocale) {
  tarkpo::test::VerificaLocaleDelProcesso();
}

TEST(Regionali, WhetherATextReadsAsANumber) {
  const CasoTesto casi[] = {
      {&kIt, "12,5", 12.5},
      {&kIt, "12.5", std::nullopt},
      {&kEn, "12.5", 12.5},
      {&kEn, "12,5", std::nullopt},
      {&kIt, "  -3 ", -3},
      {&kIt, "\t7\t", 7},
      {&kIt, "+4", 4},
      {&kIt, ",5", 0.5},
      {&kIt, "5,", 5},
      {&kIt, "1e3", 1000},
      {&kIt, "2,5E-1", 0.25},
      {&kIt, "", std::nullopt},
      {&kIt, "  ", std::nullopt},
      {&kIt, "-", std::nullopt},
      {&kIt, ",", std::nullopt},
      {&kIt, "1e", std::nullopt},
      {&kIt, "1 2", std::nullopt},
      {&kIt, "1,2,3", std::nullopt},
      {&kIt, "- 1", std::nullopt},
      {&kIt, "yes", std::nullopt},
      {&kIt, "1e999", std::nullopt},
      {&kIt, "1e-999", 0},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo);
    EXPECT_EQ(c.reg->IsNumeric(c.testo), c.atteso.has_value());
    EXPECT_EQ(c.reg->ADouble(c.testo), c.atteso);
  }
}

TEST(Regionali, WholeConversionsRoundHalfEvenAndRefuseToWrap) {
  struct Caso {
    const char* testo;
    std::optional<int16_t> integer;
    std::optional<int32_t> lungo;
  };
  const Caso casi[] = {
      {"2,5", 2, 2},
      {"3,5", 4, 4},
      {"-2,5", -2, -2},
      {"2,51", 3, 3},
      {"0,5", 0, 0},
      {" 1 ", 1, 1},
      {"32767", 32767, 32767},
      {"32767,5", std::nullopt, 32768},
      {"32768", std::nullopt, 32768},
      {"-32768", -32768, -32768},
      {"-32769", std::nullopt, -32769},
      {"2147483647", std::nullopt, 2147483647},
      {"2147483648", std::nullopt, std::nullopt},
      {"-2147483648", std::nullopt, std::numeric_limits<int32_t>::min()},
      {"1e5", std::nullopt, 100000},
      {"99999999999999999999999", std::nullopt, std::nullopt},
      {"abc", std::nullopt, std::nullopt},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo);
    EXPECT_EQ(kIt.AInteger(c.testo), c.integer);
    EXPECT_EQ(kIt.ALong(c.testo), c.lungo);
  }
}

TEST(Regionali, CurrencyIsExactToTheTenThousandth) {
  struct Caso {
    const char* testo;
    std::optional<int64_t> atteso;
  };
  const Caso casi[] = {
      {"12,5", 125000},
      {"1,23455", 12346},  // half to even
      {"1,23445", 12344},
      {"1,234451", 12345},
      {"-0,00005", 0},
      {"922337203685477,5807", std::numeric_limits<int64_t>::max()},
      {"922337203685477,5808", std::nullopt},
      {"-922337203685477,5808", std::numeric_limits<int64_t>::min()},
      {"-922337203685477,5809", std::nullopt},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo);
    EXPECT_EQ(kIt.ACurrency(c.testo), c.atteso);
  }
}

TEST(Regionali, SingleRangeIsChecked) {
  EXPECT_EQ(kIt.ASingle("-12,5"), -12.5f);
  EXPECT_EQ(kIt.ASingle("3,4e38"), 3.4e38f);
  EXPECT_EQ(kIt.ASingle("1e39"), std::nullopt);
  EXPECT_EQ(kIt.ADouble("1e39"), 1e39);
}

TEST(Regionali, RoundingHalfToEven) {
  struct Caso {
    double valore;
    int decimali;
    double atteso;
  };
  const Caso casi[] = {
      {2.5, 0, 2},     {3.5, 0, 4},        {-2.5, 0, -2},    {-3.5, 0, -4},    {2.4, 0, 2},
      {2.6, 0, 3},     {0.5, 0, 0},        {2.125, 2, 2.12}, {2.135, 2, 2.14}, {1.005, 2, 1},
      {12.5, 2, 12.5}, {-2.135, 2, -2.14}, {1e20, 0, 1e20},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(testing::Message() << c.valore << " a " << c.decimali);
    EXPECT_EQ(ArrotondaPari(c.valore, c.decimali), c.atteso);
  }
}

TEST(Regionali, ConversionsOfNumbers) {
  EXPECT_EQ(DoubleAInteger(2.5), 2);
  EXPECT_EQ(DoubleAInteger(-32768.4), -32768);
  EXPECT_EQ(DoubleAInteger(32767.5), std::nullopt);
  EXPECT_EQ(DoubleAInteger(std::nan("")), std::nullopt);
  EXPECT_EQ(DoubleALong(2147483647.4), 2147483647);
  EXPECT_EQ(DoubleALong(2147483647.5), std::nullopt);
  EXPECT_EQ(DoubleACurrency(1.23455), 12346);
  EXPECT_EQ(DoubleACurrency(0.1), 1000);
  EXPECT_EQ(DoubleACurrency(1e19), std::nullopt);
  EXPECT_EQ(DoubleACurrency(INFINITY), std::nullopt);
}

TEST(Regionali, TextForms) {
  struct Caso {
    const ImpostazioniRegionali* reg;
    float valore;
    const char* atteso;
  };
  const Caso casi[] = {
      {&kIt, 12.5f, "12,5"},         {&kEn, 12.5f, "12.5"},
      {&kIt, -12.5f, "-12,5"},       {&kIt, 0.0f, "0"},
      {&kIt, 100.0f, "100"},         {&kIt, 0.1f, "0,1"},
      {&kIt, 1.0f / 3, "0,3333333"}, {&kIt, 12345678.0f, "12345680"},
      {&kIt, 0.00001f, "1E-05"},     {&kIt, 1.5e-7f, "1,5E-07"},
      {&kIt, -1e20f, "-1E+20"},      {&kIt, 16777216.0f, "16777220"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.atteso);
    EXPECT_EQ(c.reg->TestoSingle(c.valore), c.atteso);
  }
  EXPECT_EQ(kIt.TestoDouble(0.1), "0,1");
  EXPECT_EQ(kIt.TestoDouble(123456789012.5), "123456789012,5");
  EXPECT_EQ(kEn.TestoDouble(1e15), "1E+15");
  EXPECT_EQ(kIt.TestoCurrency(125000), "12,5");
  EXPECT_EQ(kIt.TestoCurrency(-1), "-0,0001");
  EXPECT_EQ(kIt.TestoCurrency(10000), "1");
  EXPECT_EQ(kEn.TestoCurrency(std::numeric_limits<int64_t>::min()), "-922337203685477.5808");
}

TEST(Regionali, TextFormsReadBack) {
  for (float v : {12.5f, -0.25f, 1.0f / 3, 7e-6f, 3.4e38f, 1e-30f, 0.1f}) {
    SCOPED_TRACE(v);
    auto letto = kIt.ASingle(kIt.TestoSingle(v));
    ASSERT_TRUE(letto.has_value());
    EXPECT_FLOAT_EQ(*letto, v);
  }
  // Up to fifteen significant digits.
  for (double v : {0.1, -1e-300, 123456.789, 1.79769313486231e308}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(kEn.ADouble(kEn.TestoDouble(v)), v);
  }
}

// The settings of the locales users run under, as the C library gives them.
TEST(Regionali, ReadFromTheLocale) {
  struct Caso {
    const char* locale;
    char decimale;
    const char* migliaia;
    const char* valuta;
  };
  const Caso casi[] = {
      {"C.UTF-8", '.', "", ""},
      {"it_IT.UTF-8", ',', ".", "€"},
      {"fr_FR.UTF-8", ',', "\u202F", "€"},    // a narrow no-break space
      {"de_CH.UTF-8", '.', "\u2019", "CHF"},  // a typographic apostrophe
  };
  const char* prima = std::getenv("LC_ALL");
  const std::string salvato = prima != nullptr ? prima : "";
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.locale);
    ::setenv("LC_ALL", c.locale, 1);
    const ImpostazioniRegionali r = ImpostazioniRegionali::DalLocale();
    EXPECT_EQ(r.SeparatoreDecimale(), c.decimale);
    EXPECT_EQ(r.SeparatoreMigliaia(), c.migliaia);
    EXPECT_EQ(r.SimboloValuta(), c.valuta);
  }
  if (prima != nullptr)
    ::setenv("LC_ALL", salvato.c_str(), 1);
  else
    ::unsetenv("LC_ALL");
}

const ImpostazioniRegionali kFr(',', "\u202F", "€");
const ImpostazioniRegionali kCh('.', "\u2019", "CHF");
const ImpostazioniRegionali kC('.', "", "");

// Digits grouped in threes before the decimal separator, as a catalogue formatted with
// separators writes them, and the currency symbol on either side.
TEST(Regionali, GroupedDigitsAndTheCurrencySymbol) {
  const CasoTesto casi[] = {
      {&kIt, "1.234,56", 1234.56},
      {&kIt, "1.000", 1000},
      {&kIt, "1.234.567", 1234567},
      {&kIt, "-1.234,5", -1234.5},
      {&kIt, "+12.345", 12345},
      {&kIt, "123.456,", 123456},
      {&kIt, "0.123", 123},
      {&kIt, " 3.200,00 ", 3200},
      {&kIt, "3.2", std::nullopt},
      {&kIt, "1.23", std::nullopt},
      {&kIt, "1.2345", std::nullopt},
      {&kIt, "12.34.567", std::nullopt},
      {&kIt, "1234.567", std::nullopt},
      {&kIt, ".123", std::nullopt},
      {&kIt, "1..234", std::nullopt},
      {&kIt, "1.234.", std::nullopt},
      {&kIt, "1,234.567", std::nullopt},
      {&kIt, "1.234e2", 123400},
      {&kIt, "€ 1.234,56", 1234.56},
      {&kIt, "1.234,56 €", 1234.56},
      {&kIt, "€1.234,56", 1234.56},
      {&kIt, "-€ 5", -5},
      {&kIt, "€ -5", -5},
      {&kIt, "5€", 5},
      {&kIt, "€", std::nullopt},
      {&kIt, "€ 5 €", std::nullopt},
      {&kIt, "5 €uro", std::nullopt},
      {&kIt, "$ 5", std::nullopt},
      {&kEn, "1,234.56", 1234.56},
      {&kEn, "1,234,567", 1234567},
      {&kEn, "1.234,56", std::nullopt},
      {&kEn, "3,2", std::nullopt},
      {&kEn, "$1,000", 1000},
      {&kFr, "1\u202F234,56", 1234.56},  // narrow no-break space
      {&kFr, "1\u00A0234,56", 1234.56},  // no-break space
      {&kFr, "1 234 567,5", 1234567.5},  // blanks
      {&kFr, "1 234,56 €", 1234.56},
      {&kFr, "1\u202F234,56\u00A0€", 1234.56},
      {&kFr, "1 23", std::nullopt},
      {&kFr, "1.234,56", std::nullopt},
      {&kFr, "12 3456", std::nullopt},
      {&kCh, "1'234.56", 1234.56},
      {&kCh, "1\u2019234.56", 1234.56},
      {&kCh, "CHF 1'234.56", 1234.56},
      {&kCh, "1'234.56 CHF", 1234.56},
      {&kCh, "1'23", std::nullopt},
      {&kCh, "1 234.56", std::nullopt},
      {&kC, "1,234", std::nullopt},
      {&kC, "1234.5", 1234.5},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo);
    EXPECT_EQ(c.reg->IsNumeric(c.testo), c.atteso.has_value());
    EXPECT_EQ(c.reg->ADouble(c.testo), c.atteso);
    if (c.atteso) {
      EXPECT_EQ(c.reg->ACurrency(c.testo), static_cast<int64_t>(*c.atteso * 10000));
    }
  }
  EXPECT_EQ(kIt.ALong("2.147.483.647"), 2147483647);
  EXPECT_EQ(kIt.AInteger("32.768"), std::nullopt);
  EXPECT_EQ(kIt.ASingle("€ 1.234,5"), 1234.5f);
  // A plain number: an exponent, but no grouping and no currency.
  EXPECT_EQ(kIt.ADoubleSemplice(" -1234,56 "), -1234.56);
  EXPECT_EQ(kIt.ADoubleSemplice("1,5E+03"), 1500);
  EXPECT_EQ(kIt.ADoubleSemplice("1.234,56"), std::nullopt);
  EXPECT_EQ(kIt.ADoubleSemplice("10.200"), std::nullopt);
  EXPECT_EQ(kIt.ADoubleSemplice("€ 5"), std::nullopt);
  EXPECT_EQ(kFr.ADoubleSemplice("1 234,5"), std::nullopt);
}

// At most fifteen significant digits, every one of them up to fifteen.
TEST(Regionali, DoublesAreWrittenWithFifteenDigits) {
  struct Caso {
    const ImpostazioniRegionali* reg;
    double valore;
    const char* atteso;
  };
  const Caso casi[] = {
      {&kIt, 100 * 1.1, "110"},
      {&kIt, 0.1 + 0.2, "0,3"},
      {&kEn, 1.0 / 3, "0.333333333333333"},
      {&kIt, 2.0 / 3, "0,666666666666667"},
      {&kIt, 123456789012345.0, "123456789012345"},
      {&kIt, 12345678901234.5, "12345678901234,5"},
      {&kIt, 1234567890123456.0, "1,23456789012346E+15"},
      {&kIt, 999999999999999.9, "1E+15"},
      {&kIt, 0.000012345678901234567, "1,23456789012346E-05"},
      {&kIt, 0.00012345678901234567, "0,000123456789012346"},
      {&kIt, 0.0000012345678901234567, "1,23456789012346E-06"},
      {&kIt, -1234.5678, "-1234,5678"},
      {&kIt, 3200, "3200"},
      {&kIt, 1e300, "1E+300"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.atteso);
    EXPECT_EQ(c.reg->TestoDouble(c.valore), c.atteso);
  }
}

TEST(Regionali, ASingleAsTheDoubleOfItsShortestForm) {
  EXPECT_EQ(DoubleDaSingle(1.3f), 1.3);
  EXPECT_EQ(DoubleDaSingle(0.3f), 0.3);
  EXPECT_EQ(DoubleDaSingle(0.92f), 0.92);
  EXPECT_EQ(DoubleDaSingle(-12.5f), -12.5);
  EXPECT_EQ(DoubleDaSingle(16777216.0f), 16777216.0);
  for (float v : {1.3f, 0.1f, 1.0f / 3, 3.4e38f, 1e-45f, 123456.79f}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(static_cast<float>(DoubleDaSingle(v)), v);
  }
  EXPECT_TRUE(std::isinf(DoubleDaSingle(INFINITY)));
}

}  // namespace
}  // namespace tarkpo
