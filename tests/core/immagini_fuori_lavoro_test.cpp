// Image paths from catalogue data may point anywhere: the copy writes into the shop's
// "work" folder and nowhere else, whatever the path holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/immagini.h"
#include "support/cartella_temp.h"
#include "support/scatola_finta.h"

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

// Links planted in the work folder: nothing is written through them, nothing lands
// outside, and a field is set only for a copy really made. A work folder that is itself a
// link to a folder (the pictures kept on another disk) is followed, as the shop folder's
// own path is, and gets the copies; the links inside it are still not followed.
TEST(ImmaginiFuoriLavoro, NessunaScritturaAttraversoUnLink) {
  for (const bool collegata : {false, true}) {
    SCOPED_TRACE(collegata ? "work a link to a folder" : "work a folder");
    test::CartellaTemp radice;
    const fs::path negozio = radice.Percorso() / "negozio";
    const fs::path lavoro = collegata ? radice.Percorso() / "disco2" / "foto" : negozio / "work";
    fs::create_directories(lavoro);
    fs::create_directories(negozio);
    if (collegata) fs::create_directory_symlink("../disco2/foto", negozio / "work");
    const std::string fuori = radice.Scrivi("fuori/bersaglio.jpg", "non toccare");
    const std::string a = radice.Scrivi("origine/a.jpg", "IMG 4x4");
    const std::string b = radice.Scrivi("origine/b.jpg", "IMG 5x5");
    const std::string c = radice.Scrivi("origine/c.jpg", "IMG 6x6");
    fs::create_symlink(fuori, lavoro / NomeImmagineLavoro(a));
    fs::create_symlink(radice.Percorso() / "fuori" / "nuovo.jpg", lavoro / NomeImmagineLavoro(b));
    test::ScatolaFinta scatola;
    std::string nomeA, nomeB, nomeC;
    auto copia = [&](const std::string& p, std::string& nome) {
      return CopiaImmagine(p, negozio, scatola,
                           {[&](const Valore& v) { nome = v.Stringa(); }, {}, {}});
    };
    EXPECT_NE(copia(a, nomeA), "");
    EXPECT_NE(copia(b, nomeB), "");
    EXPECT_EQ(copia(c, nomeC), NomeImmagineLavoro(c));
    EXPECT_EQ(test::LeggiFile(fuori), "non toccare");
    EXPECT_FALSE(fs::exists(radice.Percorso() / "fuori" / "nuovo.jpg"));
    // The link holds the work name: the copy takes another name, in the folder itself.
    ASSERT_FALSE(nomeA.empty());
    EXPECT_NE(nomeA, NomeImmagineLavoro(a));
    EXPECT_FALSE(fs::is_symlink(lavoro / nomeA));
    EXPECT_EQ(test::LeggiFile(lavoro / nomeA), "IMG 4x4");
    EXPECT_EQ(nomeC, NomeImmagineLavoro(c));
    EXPECT_EQ(test::LeggiFile(lavoro / nomeC), "IMG 6x6");
    EXPECT_EQ(scatola.Larghezza(), 6);  // measured in the folder written
    EXPECT_TRUE(ImmagineGiaCopiata(c, negozio));
    EXPECT_EQ(copia(c, nomeC), nomeC);  // known again, not copied again
    EXPECT_EQ(std::distance(fs::directory_iterator(lavoro), fs::directory_iterator()), 5);
  }

  // "work" a link to a file, or to nothing: no copy, no field set.
  for (const bool alFile : {true, false}) {
    SCOPED_TRACE(alFile ? "a link to a file" : "a dangling link");
    test::CartellaTemp radice;
    const fs::path negozio = radice.Percorso() / "negozio";
    fs::create_directories(negozio);
    const std::string bersaglio = alFile ? radice.Scrivi("file.jpg", "non toccare") : "manca";
    fs::create_symlink(bersaglio, negozio / "work");
    const std::string a = radice.Scrivi("origine/a.jpg", "IMG 4x4");
    test::ScatolaFinta scatola;
    std::string campo = "intatto";
    CopiaImmagine(a, negozio, scatola, {[&](const Valore& v) { campo = v.Stringa(); }, {}, {}});
    EXPECT_EQ(campo, "intatto");
    if (alFile) {
      EXPECT_EQ(test::LeggiFile(bersaglio), "non toccare");
    }
    EXPECT_FALSE(fs::exists(radice.Percorso() / "manca"));
  }
}

// ".." goes back one name, as on Windows: "lnk/../x.jpg" is the x.jpg beside lnk, never the
// one beside the folder lnk leads to.
TEST(ImmaginiFuoriLavoro, PuntoPuntoRisoltoPerNome) {
  test::CartellaTemp radice;
  const fs::path negozio = radice.Percorso() / "negozio";
  fs::create_directories(negozio / "work");
  radice.Scrivi("origine/x.jpg", "IMG 1x1");
  radice.Scrivi("altrove/x.jpg", "IMG 9x9");
  fs::create_directories(radice.Percorso() / "altrove" / "dentro");
  fs::create_directory_symlink(radice.Percorso() / "altrove" / "dentro",
                               radice.Percorso() / "origine" / "lnk");
  test::ScatolaFinta scatola;
  for (const char* scritto : {"origine/lnk/../x.jpg", "origine/LNK/../X.JPG"}) {
    Valore larghezza;
    const std::string p = radice / scritto;
    EXPECT_NE(CopiaImmagine(p, negozio, scatola, {{}, [&](const Valore& v) { larghezza = v; }, {}}),
              "")
        << scritto;
    EXPECT_EQ(larghezza, Valore::Lungo(1)) << scritto;
  }
  EXPECT_TRUE(VerificaImmagine(radice / "origine/lnk/../x.jpg"));
  EXPECT_FALSE(VerificaImmagine(radice / "origine/lnk/../../altrove/dentro/../y.jpg"));
}

// A work name longer than a name may be (255 bytes) cannot be copied: the picture is
// skipped like any other that cannot be, and nothing is left behind.
TEST(ImmaginiFuoriLavoro, NomeTroppoLungoSaltato) {
  test::CartellaTemp radice;
  const fs::path negozio = radice.Percorso() / "negozio";
  fs::create_directories(negozio / "work");
  ScatolaSempre scatola;
  for (const size_t lunghezza : {size_t{255}, size_t{256}}) {
    // the work name adds the sum's hexadecimal digits to the name without its extension
    std::string p;
    for (size_t n = 200; n < 252 && NomeImmagineLavoro(p).size() != lunghezza; ++n)
      p = radice / ("o/" + std::string(n, 'a') + ".jpg");
    ASSERT_EQ(NomeImmagineLavoro(p).size(), lunghezza);
    radice.Scrivi("o/" + fs::path(p).filename().string(), "IMG 1x1");
    std::string campo = "intatto";
    CopiaImmagine(p, negozio, scatola, {[&](const Valore& v) { campo = v.Stringa(); }, {}, {}});
    EXPECT_EQ(campo, lunghezza <= 255 ? NomeImmagineLavoro(p) : "intatto") << lunghezza;
    fs::remove(p);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(negozio / "work"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tarkpo
