// Inputs the fuzz targets found faults with, kept so the faults stay mended.
#include <gtest/gtest.h>

#include <string>

#include "core/dao/sorgente_access.h"
#include "core/file_definizione.h"
#include "core/testo.h"
#include "support/cartella_temp.h"

namespace tarkpo {
namespace {

std::string Dati(const std::string& nome) {
  return test::LeggiFile(TARKPO_DATI_TEST "/fuzz/" + nome);
}

TEST(RegressioniFuzz, JetPasswordWithHalfASurrogatePairIsValidUtf8) {
  test::CartellaTemp cartella;
  std::string file = Dati("intestazione_jet_surrogato.bin");
  file.resize(3 * 4096, '\0');  // whole pages, as the reader wants
  const std::string password = dao::PasswordDatabaseAccess(cartella.Scrivi("p.mdb", file));
  EXPECT_TRUE(IsUtf8Valido(password));
  EXPECT_NE(password.find("\xEF\xBF\xBD"), std::string::npos);  // U+FFFD in its place
}

TEST(RegressioniFuzz, DefinitionWithTwoByteOrderMarksReadsBackAsWritten) {
  test::CartellaTemp cartella;
  DefinizioneImportazione d;
  ASSERT_EQ(CaricaImportazione(d, cartella.Scrivi("a.kpo", "\xEF\xBB\xBF\xEF\xBB\xBF/negozio\r\n")),
            1);
  EXPECT_EQ(d.gPathNegozio, "/negozio");
  DefinizioneImportazione riletta;
  ASSERT_EQ(CaricaImportazione(riletta, cartella.Scrivi("b.kpo", TestoFileConfigurazione(d))), 1);
  EXPECT_EQ(riletta, d);
}

}  // namespace
}  // namespace tarkpo
