#include "core/dao/conversioni.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/dao/errore.h"
#include "core/regionali.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

class ConversioniTest : public ::testing::Test {
 protected:
  ConversioniTest() : prima_(Regionali()) { Regionali() = ImpostazioniRegionali::Italiane(); }
  ~ConversioniTest() override { Regionali() = prima_; }

 private:
  ImpostazioniRegionali prima_;
};

struct Caso {
  Valore da;
  TipoValore a;
  Valore atteso;  // Empty: the conversion raises 3421
};

TEST_F(ConversioniTest, ValuesConvertToAFieldTypeOrRaise) {
  const Caso casi[] = {
      {Valore::Testo(" 12,5 "), TipoValore::Double, Valore::Doppio(12.5)},
      {Valore::Testo("12.5"), TipoValore::Double, Valore()},       // not the decimal separator
      {Valore::Testo("2,5"), TipoValore::Long, Valore::Lungo(2)},  // half to even
      {Valore::Testo("3,5"), TipoValore::Integer, Valore::Intero(4)},
      {Valore::Testo("40000"), TipoValore::Integer, Valore()},
      {Valore::Testo("abc"), TipoValore::Single, Valore()},
      // Past a Single, Long or Currency, and Inf or NaN, nothing converts.
      {Valore::Doppio(1e39), TipoValore::Single, Valore()},
      {Valore::Testo("1e39"), TipoValore::Single, Valore()},
      {Valore::Doppio(std::numeric_limits<double>::infinity()), TipoValore::Single, Valore()},
      {Valore::Doppio(std::numeric_limits<double>::quiet_NaN()), TipoValore::Single, Valore()},
      {Valore::Doppio(std::numeric_limits<double>::quiet_NaN()), TipoValore::Currency, Valore()},
      {Valore::Doppio(1e15), TipoValore::Currency, Valore()},
      {Valore::Doppio(2147483647.5), TipoValore::Long, Valore()},
      {Valore::Doppio(199999.99), TipoValore::Currency, Valore::Valuta(1999999900)},
      {Valore::Doppio(3.4e38), TipoValore::Single, Valore::Singolo(3.4e38f)},
      {Valore::Testo("1,23456"), TipoValore::Currency, Valore::Valuta(12346)},
      {Valore::Doppio(0.00005), TipoValore::Currency, Valore::Valuta(0)},
      {Valore::Lungo(3), TipoValore::Currency, Valore::Valuta(30000)},
      {Valore::Valuta(15000), TipoValore::Text, Valore::Testo("1,5")},
      {Valore::Singolo(0.1f), TipoValore::Text, Valore::Testo("0,1")},
      {Valore::Booleano(true), TipoValore::Long, Valore::Lungo(-1)},
      {Valore::Testo("Vero"), TipoValore::Boolean, Valore::Booleano(true)},
      {Valore::Testo("0"), TipoValore::Boolean, Valore::Booleano(false)},
      {Valore::Testo("forse"), TipoValore::Boolean, Valore()},
      {Valore::Lungo(256), TipoValore::Byte, Valore()},
      {Valore::Testo("31/12/2024"), TipoValore::Date, Valore::Data(45657)},
      {Valore::Testo("2024-12-31 12:00"), TipoValore::Date, Valore::Data(45657.5)},
      {Valore::Testo("31/02/2024"), TipoValore::Date, Valore()},
      {Valore::Data(45657.5), TipoValore::Text, Valore::Testo("31/12/2024 12:00:00")},
      {Valore::Data(2), TipoValore::Text, Valore::Testo("01/01/1900")},
      // Day zero is a time alone, also before it (negative times count back from it).
      {Valore::Data(0.5), TipoValore::Text, Valore::Testo("12:00:00")},
      {Valore::Data(-0.25), TipoValore::Text, Valore::Testo("06:00:00")},
      {Valore::Data(0), TipoValore::Text, Valore::Testo("00:00:00")},
      {Valore::Data(1.5), TipoValore::Text, Valore::Testo("31/12/1899 12:00:00")},
      // Below 1E-04 with an exponent, as from 1E+15 up.
      {Valore::Doppio(0.00001), TipoValore::Text, Valore::Testo("1E-05")},
      {Valore::Doppio(-0.000015), TipoValore::Text, Valore::Testo("-1,5E-05")},
      {Valore::Singolo(0.000099f), TipoValore::Text, Valore::Testo("9,9E-05")},
      {Valore::Doppio(0.0001), TipoValore::Text, Valore::Testo("0,0001")},
      {Valore::Null(), TipoValore::Long, Valore::Null()},  // the field decides on Null
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(ATesto(c.da) + " -> " + std::to_string(static_cast<int>(c.a)));
    if (c.atteso.IsEmpty()) {
      try {
        ConvertiA(c.da, c.a);
        ADD_FAILURE() << "no error";
      } catch (const ErroreDao& e) {
        EXPECT_EQ(e.Numero(), 3421);
      }
    } else {
      EXPECT_EQ(ConvertiA(c.da, c.a), c.atteso);
    }
  }
}

TEST_F(ConversioniTest, AnInfiniteSingleDoesNotConvert) {
  EXPECT_THROW(ASingle(Valore::Singolo(-std::numeric_limits<float>::infinity())), ErroreDao);
}

TEST_F(ConversioniTest, NullIsNoNumber) {
  EXPECT_THROW(ALong(Valore::Null()), ErroreDao);
  EXPECT_FALSE(IsNumeric(Valore::Null()));
  EXPECT_TRUE(IsNumeric(Valore::Testo("-1000,5")));
  EXPECT_FALSE(IsNumeric(Valore::Testo("1000.5")));
  EXPECT_EQ(ATesto(Valore::Null()), "");
}

}  // namespace
}  // namespace tarkpo::dao
