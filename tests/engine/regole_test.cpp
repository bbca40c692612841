#include "engine/regole.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/regionali.h"

namespace tarkpo::motore {
namespace {

class RegoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    salvate_ = Regionali();
    Regionali() = ImpostazioniRegionali::Inglesi();
  }
  void TearDown() override { Regionali() = salvate_; }
  ImpostazioniRegionali salvate_;
};

constexpr int64_t Euro(double v) { return static_cast<int64_t>(v * 10000 + (v < 0 ? -0.5 : 0.5)); }

TEST_F(RegoleTest, PrezzoVariatoEArrotondato) {
  struct Caso {
    double prezzo;
    float variazione;
    bool arrotonda;
    double atteso;
  } casi[] = {
      {10, 10, false, 11.00},  // 11.000000000000002 as a double
      {9.99, -15, true, 8},    // 8.4915 -> 8.49 -> 8
      {9.99, -15, false, 8.49},
      {9.99, -100, false, 9.99},  // a factor of 0 skips the variation and
                                  // the cents
      {9.99, -100, true, 10},
      {2.125, 0, false, 2.12},  // halves go to the even cent
      {2.135, 0, false, 2.14},
      {12.3456, 0, false, 12.35},
      {2.5, 0, true, 2},
      {3.5, 0, true, 4},
      {-2.5, 0, true, -2},
      {0, 50, true, 0},
  };
  for (const auto& c : casi) {
    EXPECT_EQ(RegolaPrezzo(Euro(c.prezzo), FattorePrezzo(c.variazione), c.arrotonda),
              Euro(c.atteso))
        << c.prezzo << " " << c.variazione << "% " << c.arrotonda;
  }
}

TEST_F(RegoleTest, ArrotondamentoDellaValutaAlPariDaEntrambiILati) {
  EXPECT_EQ(ArrotondaValuta(21250, 2), 21200);
  EXPECT_EQ(ArrotondaValuta(-21250, 2), -21200);
  EXPECT_EQ(ArrotondaValuta(-21350, 2), -21400);
  EXPECT_EQ(ArrotondaValuta(-21251, 2), -21300);
  EXPECT_EQ(ArrotondaValuta(15000, 0), 20000);
  EXPECT_EQ(ArrotondaValuta(INT64_MAX, 0), INT64_MAX);  // no wrap at the edge
}

TEST_F(RegoleTest, ValoriLettiComeNumeri) {
  EXPECT_EQ(ValutaDa(Valore()), 0);
  EXPECT_EQ(ValutaDa(Valore::Testo("abc")), 0);
  EXPECT_EQ(ValutaDa(Valore::Testo("7.5")), 75000);
  EXPECT_EQ(ValutaDa(Valore::Doppio(8.4915)), 84915);
  EXPECT_EQ(ValutaDa(Valore::Doppio(1e300)), 0);  // does not fit a currency
  EXPECT_FLOAT_EQ(SingoloDa(Valore::Testo("abc")), 0);
  EXPECT_FLOAT_EQ(SingoloDa(Valore::Testo("1.25")), 1.25f);
  EXPECT_FLOAT_EQ(SingoloDa(Valore::Doppio(1e39)), 0);
  Regionali() = ImpostazioniRegionali::Italiane();
  EXPECT_EQ(ValutaDa(Valore::Testo("7,5")), 75000);
  EXPECT_EQ(TestoDa(Valore::Doppio(12.5)), "12,5");
}

TEST_F(RegoleTest, StatoDellaGiacenza) {
  struct Caso {
    const char* giacenza;
    int32_t minimo;
    int16_t atteso;
  } casi[] = {
      {"3", 5, 1},          {"5", 5, 2},           {"12", 5, 2},  {"", 5, 0},    {"n/a", 5, 0},
      {"3", -1, 0},         {"4.5", 5, 1},         {"4.6", 5, 2}, {"5.5", 6, 2},  // half to even
      {"3000000000", 5, 2}, {"-3000000000", 5, 1},  // beyond 32 bits: as the number it is
      {" 7 ", 5, 2},        {"0", 0, 2},
  };
  for (const auto& c : casi)
    EXPECT_EQ(StatoGiacenza(c.giacenza, c.minimo), c.atteso) << c.giacenza << " " << c.minimo;
}

TEST_F(RegoleTest, IdentificativiDeiReparti) {
  EXPECT_EQ(IdReparto("12"), "imp012");
  EXPECT_EQ(IdReparto(""), "imp0");
  EXPECT_EQ(IdReparto(std::string(100, 'x')), "imp0" + std::string(95, 'x'));
  // cut by characters, not bytes
  std::string accentato;
  for (int i = 0; i < 100; ++i) accentato += "è";
  std::string atteso = "imp0";
  for (int i = 0; i < 95; ++i) atteso += "è";
  EXPECT_EQ(IdReparto(accentato), atteso);
  EXPECT_EQ(IdRepartoContatore(7), "cat007");
  EXPECT_EQ(IdRepartoContatore(0), "cat000");
  EXPECT_EQ(IdRepartoContatore(1234), "cat1234");
}

TEST_F(RegoleTest, IvaEScontoInPercentuale) {
  struct Caso {
    Valore v;
    float atteso;
  } casi[] = {
      {Valore::Singolo(22), 22},
      {Valore::Doppio(0.22), 22},
      {Valore::Lungo(1), 1},
      {Valore::Doppio(0.5), 50},
      {Valore::Testo("IVA"), 0},
      {Valore::Testo("22%"), 0},
      {Valore(), 0},
      {Valore::Doppio(-0.5), -50},
      {Valore::Doppio(-0.1), -10},
      {Valore::Lungo(-3), -300},
      {Valore::Doppio(1e39), 0},
      {Valore::Testo("0.22"), 22},
  };
  for (const auto& c : casi) EXPECT_FLOAT_EQ(Percentuale(c.v), c.atteso) << TestoDa(c.v);
  Regionali() = ImpostazioniRegionali::Italiane();
  EXPECT_FLOAT_EQ(Percentuale(Valore::Testo("0,22")), 22);
}

}  // namespace
}  // namespace tarkpo::motore
