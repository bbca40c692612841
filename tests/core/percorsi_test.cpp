#include "core/percorsi.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/cartella_temp.h"

namespace tarkpo {
namespace {

struct CasoPercorso {
  const char* gPathDb;
  const char* percorso;  // nullptr: only CartellaDb is checked
  const char* atteso;
};

TEST(Percorsi, CartellaDbAndPercorsoCompleto) {
  const CasoPercorso casi[] = {
      // CartellaDb: a file gives its folder (the extension test ignores case), a folder itself.
      {"/dati/LISTINO.MDB", nullptr, "/dati/"},
      {"/dati/listino.Xls", nullptr, "/dati/"},
      {"listino.xls", nullptr, ""},
      {"/dati/csv", nullptr, "/dati/csv/"},
      {"/dati/csv/", nullptr, "/dati/csv/"},
      {"/", nullptr, "/"},
      {"/dati/listino.xlsx", nullptr, "/dati/listino.xlsx/"},
      // PercorsoCompleto: relative to the source folder, with Windows separators turned.
      {"/dati/listino.xls", "img/a.jpg", "/dati/img/a.jpg"},
      {"/dati/listino.xls", "img\\sotto\\a.jpg", "/dati/img/sotto/a.jpg"},
      {"/dati/csv", "a.jpg", "/dati/csv/a.jpg"},
      {"/dati/listino.mdb", "/foto/a.jpg", "/foto/a.jpg"},
      {"/dati/listino.mdb", "\\foto\\a.jpg", "/foto/a.jpg"},
      {"/dati/listino.mdb", "\\\\server\\img\\a.jpg", "//server/img/a.jpg"},
      {"/dati/listino.mdb", "D:a.jpg", "/dati/D:a.jpg"},
      {"/dati/listino.mdb", "", ""},
  };
  for (const auto& c : casi) {
    DefinizioneImportazione def;
    def.gPathDb = c.gPathDb;
    if (c.percorso)
      EXPECT_EQ(PercorsoCompleto(def, c.percorso), c.atteso) << c.gPathDb << " " << c.percorso;
    else
      EXPECT_EQ(CartellaDb(def), c.atteso) << c.gPathDb;
  }
}

// ".." goes back one name, whatever the name is on disk (a link to a folder elsewhere).
TEST(Percorsi, RisoltoPerNomeComeWindows) {
  const std::pair<const char*, const char*> casi[] = {
      {"/dati/lnk/../x.jpg", "/dati/x.jpg"},
      {"/dati/./img//a.jpg", "/dati/img/a.jpg"},
      {"/dati/a/b/../../c.jpg", "/dati/c.jpg"},
      {"/../x.jpg", "/x.jpg"},
      {"img/../../x.jpg", "../x.jpg"},
      {"../../x.jpg", "../../x.jpg"},
      {"a/..", "."},
      {"", ""},
  };
  for (const auto& [percorso, atteso] : casi)
    EXPECT_EQ(RisoltoPerNome(percorso), atteso) << percorso;
}

// Names as a catalogue written on Windows holds them: Windows ignores letter case and the
// trailing blanks and dots of a file name.
TEST(Percorsi, PercorsoSuDiscoComeWindows) {
  tarkpo::test::CartellaTemp c;
  for (const char* file :
       {"img/foto1.jpg", "img/Caffè Ì.jpg", "doppi/a.jpg", "doppi/A.jpg", "Due/x.jpg", "due/x.jpg"})
    c.Scrivi(file, "x");
  const std::string r = c.Percorso().string();
  struct Caso {
    const char* percorso;
    const char* atteso;  // relative to the folder; nullptr: not found
  } casi[] = {
      {"img/foto1.jpg", "img/foto1.jpg"},
      {"IMG/Foto1.JPG ", "img/foto1.jpg"},
      {"Img/FOTO1.jpg. .", "img/foto1.jpg"},
      {"img/../IMG/foto1.JPG", "img/foto1.jpg"},
      {"img/./foto1.jpg", "img/foto1.jpg"},
      {"img/CAFFÈ ì.JPG", "img/Caffè Ì.jpg"},  // accented letters of Windows-1252 too
      {"img /foto1.jpg", nullptr},             // only the file name loses its blanks
      {"img/foto1", nullptr},
      {"img/manca.jpg", nullptr},
      {"doppi/a.jpg", "doppi/a.jpg"},  // several match: only the exact one is taken
      {"doppi/A.JPG", nullptr},
      {"DUE/x.jpg", nullptr},
      {"due/X.JPG", "due/x.jpg"},
  };
  // Each path on its own, then all through the listings one import keeps.
  ElenchiCartelle elenchi;
  for (const auto& caso : casi) {
    const std::string atteso = caso.atteso ? r + "/" + caso.atteso : "";
    EXPECT_EQ(PercorsoSuDisco(r + "/" + caso.percorso), atteso) << caso.percorso;
    EXPECT_EQ(PercorsoSuDisco(r + "/" + caso.percorso, elenchi), atteso) << caso.percorso;
  }
  EXPECT_EQ(PercorsoSuDisco(""), "");
}

}  // namespace
}  // namespace tarkpo
