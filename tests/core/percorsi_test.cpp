#include "core/percorsi.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarkpo
