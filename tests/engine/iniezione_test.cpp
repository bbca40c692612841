// Catalogue values that look like the syntax of the statements around them (apostrophes,
// quotes, the key lists' "°", semicolons, SQL fragments) are stored as they are, found
// again by key, and change no statement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "banco_importazione.h"

namespace tarkpo::motore::test {
namespace {

// A text as an SQL literal, for setting up the source outside the engine.
std::string Letterale(const std::string& s) {
  std::string r = "'";
  for (char c : s) r += c == '\'' ? std::string("''") : std::string(1, c);
  return r + "'";
}

class IniezioneTest : public BancoImportazione {};

TEST_F(IniezioneTest, ValuesAreStoredAsTheyAreAndFoundAgainByKey) {
  const std::vector<std::string> reparti = {"O'Brien", "Vini \"rossi\"", "1°2", "a;b"};
  // "A°B" holds the key lists' separator: "A" and "B" must still be items of their own.
  const std::vector<std::string> codici = {"A°B",
                                           "A",
                                           "B",
                                           "l'olio",
                                           "\"virgolette\"",
                                           "x; DROP TABLE articoli; --",
                                           "' OR '1'='1",
                                           "Robert'); DELETE FROM articoli;--",
                                           "°",
                                           "%_*?[]"};
  for (size_t k = 0; k < reparti.size(); ++k)
    SqlOrigine("INSERT INTO reparti (Codice, Titolo) VALUES (" + Letterale(reparti[k]) + ", " +
               Letterale("Titolo '" + reparti[k] + "'") + ")");
  auto articoli = [&](const std::string& prefisso) {
    SqlOrigine("DELETE FROM articoli");
    for (size_t k = 0; k < codici.size(); ++k)
      SqlOrigine("INSERT INTO articoli (Reparto, Codice, Titolo, Descrizione) VALUES (" +
                 Letterale(reparti[k % reparti.size()]) + ", " + Letterale(codici[k]) + ", " +
                 Letterale(prefisso + codici[k]) + ", " + Letterale("'; --" + codici[k]) + ")");
  };
  def_.gSovrascrivi = 1;

  // A first run inserts, a second finds every row by its key and updates it in place.
  for (const std::string prefisso : {"prima ", "dopo "}) {
    SCOPED_TRACE(prefisso);
    articoli(prefisso);
    NuovaSessione();
    ASSERT_TRUE(Importa());
    EXPECT_EQ(Negozio("SELECT count(*) FROM categorie WHERE id LIKE 'imp0%'"),
              std::to_string(reparti.size()));
    EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), std::to_string(codici.size()));
    for (size_t k = 0; k < codici.size(); ++k) {
      SCOPED_TRACE(codici[k]);
      const std::string dove = " FROM articoli WHERE codice = " + Letterale(codici[k]);
      EXPECT_EQ(Negozio("SELECT titolo" + dove), prefisso + codici[k]);
      EXPECT_EQ(Negozio("SELECT descrizione" + dove), "'; --" + codici[k]);
      EXPECT_EQ(Negozio("SELECT catID" + dove), "imp0" + reparti[k % reparti.size()]);
    }
    for (const std::string& r : reparti)
      EXPECT_EQ(Negozio("SELECT titolo FROM categorie WHERE id = " + Letterale("imp0" + r)),
                "Titolo '" + r + "'");
  }
}

}  // namespace
}  // namespace tarkpo::motore::test
