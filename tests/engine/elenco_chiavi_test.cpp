#include "engine/elenco_chiavi.h"

#include <gtest/gtest.h>

namespace tarkpo::motore {
namespace {

ElencoChiavi Con(std::initializer_list<std::string> voci) {
  ElencoChiavi elenco;
  for (const auto& v : voci) elenco.Aggiungi(v);
  return elenco;
}

struct CasoChiave {
  const char* nome;
  std::vector<std::string> voci;
  std::string chiave;
  size_t volte;
};

void PrintTo(const CasoChiave& c, std::ostream* os) { *os << c.nome; }

// A joined "°A°B°" text searched for "°" + key + "°" would answer wrongly in the cases
// marked: here the key is in the list exactly when an entry equals it.
const CasoChiave kCasi[] = {
    {"Uguale", {"A1", "B7"}, "B7", 1},
    {"MaiuscoleContano", {"A1"}, "a1", 0},
    {"ParteDiUnaVoce", {"A12"}, "A1", 0},
    {"SeparatoreTraDueVoci", {"A", "B"}, "A°B", 0},  // the text would find it
    {"SeparatoreDentroLaVoce", {"A°B"}, "A", 0},     // the text would find it
    {"VoceColSeparatore", {"A°B"}, "A°B", 1},
    {"VoceVuota", {"A", "", "B"}, "", 1},
    {"NessunaVoceVuota", {"A", "B"}, "", 0},
    {"Doppioni", {"X", "Y", "X"}, "X", 2},
    {"SpaziContano", {" A1 "}, "A1", 0},
};

class ElencoChiaviCasi : public testing::TestWithParam<CasoChiave> {};

TEST_P(ElencoChiaviCasi, FindsExactlyTheEntriesEqualToTheKey) {
  ElencoChiavi elenco;
  for (const auto& v : GetParam().voci) elenco.Aggiungi(v);
  EXPECT_EQ(elenco.Contiene(GetParam().chiave), GetParam().volte > 0);
  EXPECT_EQ(elenco.Conta(GetParam().chiave), GetParam().volte);
}

INSTANTIATE_TEST_SUITE_P(Casi, ElencoChiaviCasi, testing::ValuesIn(kCasi),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST(ElencoChiavi, KeepsOrderDuplicatesAndEmptyEntriesInItsText) {
  ElencoChiavi elenco;
  EXPECT_EQ(elenco.Testo(), "°");
  elenco = Con({"A1", "", "B7", "A1"});
  EXPECT_EQ(elenco.Testo(), "°A1°°B7°A1°");
  EXPECT_EQ(elenco.Voci(), (std::vector<std::string>{"A1", "", "B7", "A1"}));
  EXPECT_EQ(elenco.PrimaPosizione("A1"), 0u);
  EXPECT_EQ(elenco.PrimaPosizione("B8"), ElencoChiavi::npos);
  elenco.Svuota();
  EXPECT_EQ(elenco.Testo(), "°");
  EXPECT_FALSE(elenco.Contiene("A1"));
}

TEST(ElencoChiavi, ReplacingAnEntryMovesItsKey) {
  ElencoChiavi elenco = Con({"Vini", "Birre", "Vini"});
  elenco.Sostituisci(0, "Liquori");
  EXPECT_EQ(elenco.Testo(), "°Liquori°Birre°Vini°");
  EXPECT_EQ(elenco.Conta("Vini"), 1u);
  EXPECT_EQ(elenco.PrimaPosizione("Vini"), 2u);
  elenco.Sostituisci(2, "Liquori");
  EXPECT_FALSE(elenco.Contiene("Vini"));
  EXPECT_EQ(elenco.PrimaPosizione("Liquori"), 0u);
  elenco.Sostituisci(0, "Birre");
  EXPECT_EQ(elenco.PrimaPosizione("Birre"), 0u);
  EXPECT_EQ(elenco.Conta("Birre"), 2u);
  EXPECT_EQ(elenco, Con({"Birre", "Birre", "Liquori"}));
}

}  // namespace
}  // namespace tarkpo::motore
