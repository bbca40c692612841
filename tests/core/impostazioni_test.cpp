#include "core/impostazioni.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/dao/dao.h"
#include "support/cartella_temp.h"

namespace tarkpo {
namespace {

class ImpostazioniTest : public ::testing::Test {
 protected:
  test::CartellaTemp cartella;
  Registro registro{cartella / "utente", cartella / "macchina"};
};

TEST_F(ImpostazioniTest, ValuesRoundTripWithKeysAndNamesInAnyCase) {
  const std::string strano = "a \"quoted\" \\ back\nnew line è";
  ASSERT_TRUE(registro.ScriviStringa(HKEY_CURRENT_USER, "Software\\A\\B", "Testo", strano));
  ASSERT_TRUE(registro.ScriviDword(HKEY_CURRENT_USER, "Software\\A\\B", "Numero", 4294967295u));
  ASSERT_TRUE(registro.ScriviDword(HKEY_CURRENT_USER, "software\\a\\b", "NUMERO", 7));

  Registro altro(cartella / "utente", cartella / "macchina");  // a fresh reader of the file
  auto testo = altro.Leggi(HKEY_CURRENT_USER, "SOFTWARE\\a\\B\\", "testo");
  ASSERT_TRUE(testo);
  EXPECT_EQ(testo->tipo, ValoreRegistro::Tipo::Stringa);
  EXPECT_EQ(testo->testo, strano);
  auto numero = altro.Leggi(HKEY_CURRENT_USER, "Software\\A\\B", "Numero");
  ASSERT_TRUE(numero);
  EXPECT_EQ(numero->tipo, ValoreRegistro::Tipo::Dword);
  EXPECT_EQ(numero->ComeTesto(), "7");
  // Keys above a written one exist; the other root is a different file.
  EXPECT_TRUE(altro.EsisteChiave(HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_FALSE(altro.Leggi(HKEY_LOCAL_MACHINE, "Software\\A\\B", "Numero"));
  EXPECT_FALSE(altro.Leggi(HKEY_CURRENT_USER, "Software\\A\\B", "Altro"));
}

TEST_F(ImpostazioniTest, SettingsOfTheProgramLiveUnderTheirKey) {
  ASSERT_TRUE(SaveSetting(registro, "Tarvelin KPO", "set0\\Jet\\4.0\\Engines\\Text", "Format",
                          "Delimited(;)"));
  EXPECT_EQ(GetSetting(registro, "Tarvelin KPO", "set0\\Jet\\4.0\\Engines\\Text", "Format"),
            "Delimited(;)");
  EXPECT_EQ(GetSetting(registro, "Tarvelin KPO", "AppIni", "ModJetReg", "def"), "def");
  auto v = registro.Leggi(
      HKEY_CURRENT_USER,
      "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set0\\Jet\\4.0\\Engines\\Text",
      "Format");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->testo, "Delimited(;)");
}

TEST_F(ImpostazioniTest, AFailedWriteLeavesTheStoreAsItWas) {
  ASSERT_TRUE(registro.ScriviDword(HKEY_LOCAL_MACHINE, "K", "v", 1));
  // A folder where the temporary file would go makes the write fail, even for root.
  std::filesystem::create_directory(cartella /
                                    ("macchina/registro.ini.tmp" + std::to_string(::getpid())));
  EXPECT_FALSE(registro.ScriviDword(HKEY_LOCAL_MACHINE, "K", "v", 2));
  EXPECT_EQ(registro.Leggi(HKEY_LOCAL_MACHINE, "K", "v")->dword, 1u);
  EXPECT_FALSE(registro.ScriviDword(12345, "K", "v", 2));  // no such root
}

TEST_F(ImpostazioniTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kValori = 40;
  pid_t figlio = fork();
  ASSERT_GE(figlio, 0);
  const char* chi = figlio == 0 ? "figlio" : "padre";
  for (int i = 0; i < kValori; ++i)
    registro.ScriviDword(HKEY_CURRENT_USER, std::string("Software\\") + chi, std::to_string(i),
                         static_cast<uint32_t>(i));
  if (figlio == 0) _exit(0);
  int stato = 0;
  waitpid(figlio, &stato, 0);
  ASSERT_TRUE(WIFEXITED(stato));
  for (const char* k : {"padre", "figlio"})
    for (int i = 0; i < kValori; ++i)
      EXPECT_TRUE(
          registro.Leggi(HKEY_CURRENT_USER, std::string("Software\\") + k, std::to_string(i)))
          << k << " " << i;
  // Only the store and its lock file remain: every temporary file was renamed or removed.
  int file = 0;
  for (auto& f : std::filesystem::directory_iterator(cartella / "utente")) {
    (void)f;
    ++file;
  }
  EXPECT_EQ(file, 2);
}

TEST_F(ImpostazioniTest, FoldersComeFromTheEnvironment) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* macchina = std::getenv("TARKPO_MACHINE_DIR");
  const std::string xdgPrima = xdg ? xdg : "", macchinaPrima = macchina ? macchina : "";
  setenv("XDG_CONFIG_HOME", (cartella / "cfg").c_str(), 1);
  setenv("TARKPO_MACHINE_DIR", (cartella / "etc").c_str(), 1);
  Registro r = Registro::DaAmbiente();
  EXPECT_EQ(r.CartellaUtente(), cartella / "cfg/tarkpo");
  EXPECT_EQ(r.CartellaMacchina(), cartella / "etc");
  unsetenv("TARKPO_MACHINE_DIR");
  EXPECT_EQ(Registro::DaAmbiente().CartellaMacchina(), "/etc/tarkpo");
  xdg ? setenv("XDG_CONFIG_HOME", xdgPrima.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  if (macchina) setenv("TARKPO_MACHINE_DIR", macchinaPrima.c_str(), 1);
}

TEST_F(ImpostazioniTest, EngineSettingsPreferIniPathOverTheMachineKey) {
  dao::DBEngine motore(registro);
  motore.IniPath =
      "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Tarvelin KPO\\set0\\Jet\\4.0";
  EXPECT_FALSE(motore.LeggiImpostazione("Text", "MaxScanRows"));
  registro.ScriviDword(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Jet\\4.0\\Engines\\Text",
                       "MaxScanRows", 8);
  EXPECT_EQ(motore.LeggiImpostazione("Text", "MaxScanRows"), "8");
  registro.ScriviDword(HKEY_CURRENT_USER,
                       "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set0\\Jet\\4.0\\"
                       "Engines\\Text",
                       "MaxScanRows", 0);
  EXPECT_EQ(motore.LeggiImpostazione("Text", "MaxScanRows"), "0");
  // The other subtree has no value of its own and falls back to the machine.
  motore.IniPath =
      "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Tarvelin KPO\\set1\\Jet\\4.0";
  EXPECT_EQ(motore.LeggiImpostazione("Text", "MaxScanRows"), "8");
}

}  // namespace
}  // namespace tarkpo
