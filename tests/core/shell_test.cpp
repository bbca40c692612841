// The shell and registry wrappers over a recording shell.
#include "core/shell.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/impostazioni.h"
#include "support/cartella_temp.h"
#include "support/shell_finta.h"

namespace tarkpo {
namespace {

TEST(ApriDocumento, ApreSoloUnFileCheEsiste) {
  test::CartellaTemp t;
  t.Scrivi("tutorial/index.htm", "<html></html>");
  struct Caso {
    std::string file;
    std::string cartella;
    bool shellRiesce;
    bool risultato;  // true = failure
    bool aperto;
  };
  const Caso casi[] = {
      {"", t / "tutorial", true, false, false},
      {"index.htm", t / "tutorial", true, false, true},
      {"index.htm", t / "tutorial/", true, false, true},
      {"index.htm", t / "tutorial", false, true, true},
      {"index.htm", t / "manca", true, true, false},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.file + " in " + c.cartella);
    test::ShellFinto shell;
    shell.riesce = c.shellRiesce;
    EXPECT_EQ(ApriDocumento(shell, c.file, c.cartella), c.risultato);
    if (c.aperto) {
      EXPECT_EQ(shell.aperti, std::vector<std::string>{t / "tutorial/index.htm"});
    } else {
      EXPECT_TRUE(shell.aperti.empty());
    }
  }
}

TEST(EseguiProgramma, AvviaDallaCartellaDelProgrammaConIlSuoArgomento) {
  test::ShellFinto shell;
  EXPECT_FALSE(EseguiProgramma(shell, "", "r", "/opt/tarkpo"));
  EXPECT_TRUE(shell.avvii.empty());

  EXPECT_FALSE(EseguiProgramma(shell, "tarkpo", "r", "/opt/tarkpo"));
  EXPECT_FALSE(EseguiProgramma(shell, "tarkpo", "", "/opt/tarkpo"));
  shell.riesce = false;
  EXPECT_TRUE(EseguiProgramma(shell, "tarkpo", "i", "/opt/tarkpo"));
  ASSERT_EQ(shell.avvii.size(), 3u);
  EXPECT_EQ(shell.avvii[0].programma, "/opt/tarkpo/tarkpo");
  EXPECT_EQ(shell.avvii[0].argomenti, std::vector<std::string>{"r"});
  EXPECT_EQ(shell.avvii[0].cartella, "/opt/tarkpo");
  EXPECT_TRUE(shell.avvii[1].argomenti.empty());
  EXPECT_EQ(shell.avvii[2].argomenti, std::vector<std::string>{"i"});
}

TEST(SfogliaCartella, PreselezionaSoloUnaCartellaCheEsiste) {
  test::CartellaTemp t;
  std::filesystem::create_directories(t / "negozio");
  t.Scrivi("file.txt", "x");
  test::ShellFinto shell;
  shell.scelta = "/scelta";
  EXPECT_EQ(SfogliaCartella(shell, "Negozio", t / "negozio"), "/scelta");
  EXPECT_EQ(SfogliaCartella(shell, "Negozio", t / "manca"), "/scelta");
  EXPECT_EQ(SfogliaCartella(shell, "Negozio", t / "file.txt"), "/scelta");
  shell.scelta.clear();
  EXPECT_EQ(SfogliaCartella(shell, "Negozio", ""), "");
  ASSERT_EQ(shell.sfogliate.size(), 4u);
  EXPECT_EQ(shell.sfogliate[0], std::make_pair(std::string("Negozio"), t / "negozio"));
  EXPECT_EQ(shell.sfogliate[1].second, "");
  EXPECT_EQ(shell.sfogliate[2].second, "");
}

TEST(ImpostaValoreRegistro, CreaLaChiaveMancanteEScriveUnDword) {
  test::CartellaTemp t;
  Registro registro(t / "utente", t / "macchina");
  ImpostaValoreRegistro(registro, HKEY_LOCAL_MACHINE, "Software\\Nuova\\Sotto", "Righe", 0);
  ImpostaValoreRegistro(registro, HKEY_CURRENT_USER, "Software\\Nuova", "Meno", -1);
  auto letto = registro.Leggi(HKEY_LOCAL_MACHINE, "Software\\Nuova\\Sotto", "Righe");
  ASSERT_TRUE(letto.has_value());
  EXPECT_EQ(letto->tipo, ValoreRegistro::Tipo::Dword);
  EXPECT_EQ(letto->dword, 0u);
  EXPECT_EQ(registro.Leggi(HKEY_CURRENT_USER, "Software\\Nuova", "Meno")->dword, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace tarkpo
