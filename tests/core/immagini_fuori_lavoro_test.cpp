// Image paths from catalogue data may point anywhere: the copy writes into the shop's
// "work" folder and nowhere else, whatever the path holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/immagini.h"
#include "support/cartella_temp.h"

namespace tarkpo {
namespace {

namespace fs = std::filesystem;

class ScatolaSempre : public IScatolaImmagine {
 public:
  bool Carica(const std::string&) override { return true; }
  int Larghezza() const override { return 3; }
  int Altezza() const override { return 2; }
};

// Every file under `radice` with its content.
std::map<std::string, std::string> Albero(const fs::path& radice) {
  std::map<std::string, std::string> file;
  for (const auto& e : fs::recursive_directory_iterator(radice))
    if (e.is_regular_file())
      file[fs::relative(e.path(), radice).string()] = test::LeggiFile(e.path());
  return file;
}

TEST(ImmaginiFuoriLavoro, CopyLandsOnlyInTheWorkFolder) {
  test::CartellaTemp radice;
  const std::string negozio = radice / "negozio";
  fs::create_directories(negozio + "/work");
  radice.Scrivi("negozio/catalog.mdb", "negozio");
  radice.Scrivi("fuori/a.jpg", "a");
  radice.Scrivi("fuori/..\\..\\b.jpg", "b");  // backslashes are part of the name here
  radice.Scrivi("fuori/...jpg", "c");
  radice.Scrivi("fuori/.jpg", "d");
  radice.Scrivi("negozio/work/sotto/e.gif", "e");
  const std::string r = radice.Percorso().string();
  const std::string percorsi[] = {
      r + "/fuori/a.jpg",
      negozio + "/work/../../fuori/a.jpg",
      r + "/fuori/../fuori/./a.jpg",
      r + "//fuori///a.jpg",
      r + "/fuori/..\\..\\b.jpg",
      r + "/fuori/...jpg",
      r + "/fuori/.jpg",
      negozio + "/work/sotto/e.gif",
      negozio + "/catalog.mdb",  // not an image: refused
      "/etc/passwd",
      "",
  };
  const auto prima = Albero(radice.Percorso());
  ScatolaSempre scatola;
  for (const std::string& p : percorsi) {
    const std::string nome = CopiaImmagine(p, negozio, scatola, {});
    EXPECT_EQ(nome.find_first_of("/\\"), std::string::npos) << p;
    if (!nome.empty()) {
      EXPECT_TRUE(fs::is_regular_file(negozio + "/work/" + nome)) << p;
    }
  }

  // Everything that was there is unchanged; what is new is a file directly inside "work".
  const auto dopo = Albero(radice.Percorso());
  for (const auto& [file, contenuto] : prima) EXPECT_EQ(dopo.at(file), contenuto) << file;
  int nuovi = 0;
  for (const auto& [file, contenuto] : dopo) {
    if (prima.count(file)) continue;
    ++nuovi;
    EXPECT_EQ(fs::path(file).parent_path(), fs::path("negozio/work")) << file;
  }
  EXPECT_GT(nuovi, 0);
}

}  // namespace
}  // namespace tarkpo
