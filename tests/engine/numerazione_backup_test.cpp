#include "engine/numerazione_backup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/cartella_temp.h"

namespace tarkpo::motore {
namespace {

struct CasoNumerazione {
  const char* nome;
  std::vector<std::string> file;
  std::vector<std::string> cartelle;
  std::string atteso;
};

void PrintTo(const CasoNumerazione& c, std::ostream* os) { *os << c.nome; }

const CasoNumerazione kCasi[] = {
    {"PrimoBackup", {"catalog.mdb"}, {}, "catalog.000"},
    {"UnoPiuDelMassimoSenzaColmareIVuoti", {"catalog.000", "catalog.004"}, {}, "catalog.005"},
    {"AltriNomiNonContano",
     {"catalog.mdb", "catalog.ldb", "catalog.bak", "catalog.12", "items.007", "catalog"},
     {},
     "catalog.000"},
    {"MaiuscoleNelNome", {"CATALOG.004"}, {}, "catalog.005"},
    {"UnaCartellaNonEUnBackupMaNonSiSovrascrive", {"catalog.008"}, {"catalog.009"}, "catalog.010"},
    // catalog.old.005 sorts after catalog.005 and gives 006.
    {"VecchioDopoIlNumerato", {"catalog.005", "catalog.old.005"}, {}, "catalog.006"},
    {"NomeCalcolatoGiaPreso", {"catalog.005", "catalog.006", "catalog.old.005"}, {}, "catalog.007"},
    {"UltimoNumero", {"catalog.998"}, {}, "catalog.999"},
    {"OltreIlNovecentonovantanove", {"catalog.999"}, {}, ""},
};

class NumerazioneBackup : public testing::TestWithParam<CasoNumerazione> {};

TEST_P(NumerazioneBackup, NamesTheNextFreeNumber) {
  test::CartellaTemp cartella;
  for (const auto& f : GetParam().file) cartella.Scrivi(f, "x");
  for (const auto& c : GetParam().cartelle) std::filesystem::create_directory(cartella / c);
  EXPECT_EQ(NomeProssimoBackup(cartella.Percorso().string()), GetParam().atteso);
}

INSTANTIATE_TEST_SUITE_P(Casi, NumerazioneBackup, testing::ValuesIn(kCasi),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST(NumerazioneBackupPiena, NoNameWhenEveryNumberIsTaken) {
  test::CartellaTemp cartella;
  for (int i = 0; i <= 999; ++i) {
    char nome[24];
    std::snprintf(nome, sizeof nome, "catalog.%03d", i);
    cartella.Scrivi(nome, "");
  }
  EXPECT_EQ(NomeProssimoBackup(cartella.Percorso().string()), "");
  // A gap low down is not reused: numbers only go up.
  std::filesystem::remove(cartella / "catalog.010");
  EXPECT_EQ(NomeProssimoBackup(cartella.Percorso().string()), "");
}

}  // namespace
}  // namespace tarkpo::motore
