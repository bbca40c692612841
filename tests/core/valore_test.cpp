#include "core/dao/valore.h"
#include "support/stampa_valore.h"

#include <gtest/gtest.h>

namespace tarkpo {
namespace {

TEST(Valore, EqualityTakesTheKindIntoAccount) {
  EXPECT_NE(Valore::Lungo(1), Valore::Intero(1));
  EXPECT_NE(Valore::Testo(""), Valore::Null());
  EXPECT_NE(Valore(), Valore::Null());
  EXPECT_EQ(Valore::Valuta(12345), Valore::Valuta(12345));
  EXPECT_FLOAT_EQ(static_cast<float>(Valore::Singolo(0.1f).Reale()), 0.1f);
}

}  // namespace
}  // namespace tarkpo
