#include "core/dao/sorgente_access.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/dao/errore.h"
#include "core/dao/sorgente_comune.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/righe_sorgente.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

std::string Dati(const std::string& nome) { return TARKPO_DATI_TEST "/access/" + nome; }

using test::LeggiTutto;

int ErroreApertura(const std::string& percorso, const std::string& password) {
  return test::NumeroErrore([&] { ApriSorgenteAccess(percorso, password); });
}

std::vector<std::string> TabelleUtente(const Sorgente& s) {
  std::vector<std::string> nomi;
  for (const auto& t : s.Tabelle())
    if ((t.attributi & static_cast<int32_t>(0x80000002u)) == 0) nomi.push_back(t.nome);
  return nomi;
}

class TabellaDeiTipi : public ::testing::TestWithParam<const char*> {};

TEST_P(TabellaDeiTipi, MapsEveryCommonTypeFromTheRawValues) {
  auto s = ApriSorgenteAccess(Dati(GetParam()), "");
  EXPECT_EQ(TabelleUtente(*s), (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
  const auto& tabelle = s->Tabelle();
  EXPECT_TRUE(std::any_of(tabelle.begin(), tabelle.end(), [](const TabellaSorgente& t) {
    return t.nome == "MSysObjects" && (t.attributi & 0x80000002u) == 0x80000002u;
  }));
  const auto& t1 = tabelle[IndiceTabella(tabelle, "Table1")];
  std::vector<TipoValore> tipi;
  for (const auto& c : t1.campi) tipi.push_back(c.tipo);
  EXPECT_EQ(tipi,
            (std::vector<TipoValore>{TipoValore::Text, TipoValore::Text, TipoValore::Byte,
                                     TipoValore::Integer, TipoValore::Long, TipoValore::Double,
                                     TipoValore::Date, TipoValore::Currency, TipoValore::Boolean}));
  auto righe = LeggiTutto(*s, "table1");
  ASSERT_EQ(righe.size(), 2u);
  std::sort(righe.begin(), righe.end(),
            [](const auto& a, const auto& b) { return a[0].Stringa() > b[0].Stringa(); });
  const std::vector<Valore> attesa{Valore::Testo("abcdefg"),
                                   Valore::Testo("hijklmnop"),
                                   Valore::Byte(2),
                                   Valore::Intero(222),
                                   Valore::Lungo(333333333),
                                   Valore::Doppio(444.555),
                                   Valore::Data(*GiorniDaData(1974, 9, 21)),
                                   Valore::Valuta(35000),
                                   Valore::Booleano(true)};
  EXPECT_EQ(righe[0], attesa);
  EXPECT_EQ(righe[1][8], Valore::Booleano(false));
  EXPECT_EQ(righe[1][6], Valore::Data(*GiorniDaData(1981, 12, 12)));
}

INSTANTIATE_TEST_SUITE_P(Jet3EJet4, TabellaDeiTipi,
                         ::testing::Values("V1997_no-password.mdb", "V2000_test.mdb"),
                         [](const auto& info) {  // the Jet version: V1997, V2000
                           const std::string file = info.param;
                           return file.substr(0, file.find_first_of("_."));
                         });

TEST(SorgenteAccess, MemoIsWholeNullIsNotEmptyAndOleIsNull) {
  auto s = ApriSorgenteAccess(Dati("test2V2000.mdb"), "");
  const auto& tabelle = s->Tabelle();
  const auto& t = tabelle[IndiceTabella(tabelle, "MSP_PROJECTS")];
  auto posizione = [&](const std::string& nome) {
    for (size_t i = 0; i < t.campi.size(); ++i)
      if (t.campi[i].nome == nome) return i;
    ADD_FAILURE() << nome;
    return size_t{0};
  };
  const auto righe = LeggiTutto(*s, "MSP_PROJECTS");
  ASSERT_EQ(righe.size(), 1u);
  const auto& autore = righe[0][posizione("PROJ_PROP_AUTHOR")];
  ASSERT_EQ(autore.Tipo(), TipoValore::Text);
  EXPECT_EQ(autore.Stringa().rfind("Jon Iles this is a", 0), 0u);
  EXPECT_EQ(autore.Stringa().size(), 348u);
  EXPECT_EQ(righe[0][posizione("PROJ_PROP_CATEGORY")], Valore::Null());  // a Null memo
  EXPECT_EQ(righe[0][posizione("PROJ_NAME")], Valore::Testo("Project1"));
  EXPECT_EQ(t.campi[posizione("RESERVED_BINARY_DATA")].tipo, TipoValore::Null);
  EXPECT_EQ(righe[0][posizione("RESERVED_BINARY_DATA")], Valore::Null());
}

TEST(SorgenteAccess, EmptyDatabaseHasNoUserTable) {
  EXPECT_TRUE(TabelleUtente(*ApriSorgenteAccess(Dati("V2000_empty.mdb"), "")).empty());
}

TEST(SorgenteAccess, ReplicationIdReadsAsText) {
  auto s = ApriSorgenteAccess(Dati("V2000_test.mdb"), "");
  const auto& tabelle = s->Tabelle();
  EXPECT_EQ(tabelle[IndiceTabella(tabelle, "Table4")].campi[1].tipo, TipoValore::Text);
}

TEST(SorgenteAccess, PasswordIsCheckedExactly) {
  struct Caso {
    const char* file;
    const char* password;
    int errore;
  };
  const Caso casi[] = {
      {"V2000_with-password.mdb", "", errori::kPasswordNonValida},
      {"V2000_with-password.mdb", "Password", errori::kPasswordNonValida},
      {"V2000_with-password.mdb", "password ", errori::kPasswordNonValida},
      {"V2000_with-password.mdb", "password", 0},
      {"V2003_with-password.mdb", "pass", errori::kPasswordNonValida},
      {"V2003_with-password.mdb", "password", 0},
      {"V2000_test.mdb", "qualsiasi", 0},  // an unprotected file ignores the option
      {"V1997_no-password.mdb", "qualsiasi", 0},
  };
  for (const auto& c : casi)
    EXPECT_EQ(ErroreApertura(Dati(c.file), c.password), c.errore) << c.file << " " << c.password;
  EXPECT_EQ(PasswordDatabaseAccess(Dati("V2000_with-password.mdb")), "password");
  EXPECT_EQ(PasswordDatabaseAccess(Dati("V1997_no-password.mdb")), "");

  auto s = ApriSorgenteAccess(Dati("V2000_with-password.mdb"), "password");
  const auto righe = LeggiTutto(*s, "Table1");
  ASSERT_FALSE(righe.empty());
  EXPECT_EQ(righe[0][0], Valore::Lungo(1));
  EXPECT_EQ(righe[0][1], Valore::Testo("One"));
}

TEST(SorgenteAccess, TwoCursorsReadIndependently) {
  auto s = ApriSorgenteAccess(Dati("V2000_with-password.mdb"), "password");
  auto a = s->Apri("Table1");
  auto b = s->Apri("Table1");
  std::vector<Valore> ra, rb;
  ASSERT_TRUE(a->Leggi(ra));
  ASSERT_TRUE(a->Leggi(ra));
  ASSERT_TRUE(b->Leggi(rb));
  EXPECT_EQ(ra[0], Valore::Lungo(2));
  EXPECT_EQ(rb[0], Valore::Lungo(1));
  EXPECT_THROW(s->Apri("Tabella che non c'è"), ErroreDao);
}

TEST(SorgenteAccess, DamagedFilesGiveClearErrors) {
  test::CartellaTemp cartella;
  const std::string intero = test::LeggiFile(Dati("V2000_test.mdb"));
  EXPECT_EQ(ErroreApertura(cartella / "manca.mdb", ""), errori::kFileNonTrovato);
  EXPECT_EQ(ErroreApertura(cartella.Scrivi("testo.mdb", std::string(8192, 'x')), ""),
            errori::kFormatoNonRiconosciuto);
  EXPECT_EQ(
      ErroreApertura(cartella.Scrivi("mezza.mdb", intero.substr(0, intero.size() / 2 + 100)), ""),
      errori::kFormatoNonRiconosciuto);
  EXPECT_EQ(ErroreApertura(cartella.Scrivi("testa.mdb", intero.substr(0, 4096)), ""),
            errori::kFormatoNonRiconosciuto);
  // One damaged byte in an object's property record: the catalog is read all the same.
  std::string proprieta = test::LeggiFile(Dati("V1997_no-password.mdb"));
  proprieta[100208] = '\xC7';
  auto guasto = ApriSorgenteAccess(cartella.Scrivi("proprieta.mdb", proprieta), "");
  EXPECT_EQ(LeggiTutto(*guasto, "Table1").size(), 2u);
  // Cut at a page boundary the file passes the header check: reading it must still end in
  // data or an error, never a crash or a hang.
  for (size_t pagine : {3, 4, 8, 16, 64, 256}) {
    const std::string percorso = cartella.Scrivi("pagine" + std::to_string(pagine) + ".mdb",
                                                 intero.substr(0, pagine * 4096));
    try {
      auto s = ApriSorgenteAccess(percorso, "");
      for (const auto& t : s->Tabelle()) LeggiTutto(*s, t.nome);
    } catch (const ErroreDao& e) {
      EXPECT_EQ(e.Numero(), errori::kFormatoNonRiconosciuto) << pagine;
    }
  }
}

}  // namespace
}  // namespace tarkpo::dao
