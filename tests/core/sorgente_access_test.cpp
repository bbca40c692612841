#include "core/dao/sorgente_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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

// Rows 3 and 5 grew and moved to a later page, leaving a pointer in their first slot: they
// are read in the table's order, where their slot stands. Most rows were stored before later
// columns were added. Cells not listed are Null.
TEST(SorgenteAccess, MovedRowsReadInPlaceAndRowsWithFewerColumnsReadWhole) {
  auto s = ApriSorgenteAccess(Dati("overflowTestV2000.mdb"), "");
  const auto& tabelle = s->Tabelle();
  std::vector<std::string> colonne;
  for (const auto& c : tabelle[IndiceTabella(tabelle, "Table1")].campi) colonne.push_back(c.nome);
  ASSERT_EQ(colonne, (std::vector<std::string>{"data1", "data3", "data4", "data5", "data6", "data7",
                                               "data8", "data9", "data10"}));
  using Celle = std::map<std::string, std::string>;
  const std::vector<Celle> attese{
      {{"data1", "row1col1"}},
      {{"data1", "row2col1"}, {"data3", "row2col3"}},
      {{"data3", "row3col3"}, {"data9", "row3col9"}},
      {{"data1", "row4col1"}, {"data3", "row4col2"}},
      {{"data3", "row5col2"}},
      {{"data3", "row6col2"}, {"data4", "row6col3"}},
      {{"data1", "row7col1"}, {"data7", "row7col7"}},
  };
  const auto righe = LeggiTutto(*s, "Table1");
  ASSERT_EQ(righe.size(), attese.size());
  for (size_t r = 0; r < righe.size(); ++r) {
    ASSERT_EQ(righe[r].size(), colonne.size());
    for (size_t c = 0; c < colonne.size(); ++c) {
      const auto valore = attese[r].find(colonne[c]);
      EXPECT_EQ(righe[r][c],
                valore == attese[r].end() ? Valore::Null() : Valore::Testo(valore->second))
          << "riga " << r + 1 << ", " << colonne[c];
    }
  }
}

// Row 3 deleted after it moved: its pointer slot is marked deleted and the row it led to is
// read neither there nor where it lies.
TEST(SorgenteAccess, AMovedRowDeletedStaysDeleted) {
  test::CartellaTemp cartella;
  std::string file = test::LeggiFile(Dati("overflowTestV2000.mdb"));
  constexpr size_t kPagina = 4096, kContaRighe = 12;
  size_t puntatore = 0;
  for (size_t p = 3 * kPagina; p + kPagina <= file.size() && puntatore == 0; p += kPagina) {
    if (file[p] != 1) continue;  // data pages only
    const size_t righe = static_cast<unsigned char>(file[p + kContaRighe]) |
                         (static_cast<unsigned char>(file[p + kContaRighe + 1]) << 8);
    for (size_t r = 0; r < righe && puntatore == 0; ++r) {
      const size_t slot = p + kContaRighe + 2 + 2 * r;
      if ((static_cast<unsigned char>(file[slot + 1]) & 0xC0) == 0x40) puntatore = slot;
    }
  }
  ASSERT_NE(puntatore, 0u);
  file[puntatore + 1] = static_cast<char>(file[puntatore + 1] | 0x80);
  auto s = ApriSorgenteAccess(cartella.Scrivi("cancellata.mdb", file), "");
  std::vector<std::string> prime;
  for (const auto& r : LeggiTutto(*s, "Table1"))
    prime.push_back(r[0].IsNull() ? r[1].Stringa() : r[0].Stringa());
  EXPECT_EQ(prime, (std::vector<std::string>{"row1col1", "row2col1", "row4col1", "row5col2",
                                             "row6col2", "row7col1"}));

  // A damaged pointer (its row number, its page) ends in data or an error, never a crash.
  file[puntatore + 1] = static_cast<char>(file[puntatore + 1] & 0x7F);
  const size_t dati = puntatore - puntatore % kPagina +
                      ((static_cast<unsigned char>(file[puntatore]) |
                        (static_cast<unsigned char>(file[puntatore + 1]) << 8)) &
                       0x1FFF);
  for (size_t byte = 0; byte < 4; ++byte) {
    for (const char valore : {'\x00', '\x07', '\x7F', '\xFF'}) {
      std::string guasto = file;
      guasto[dati + byte] = valore;
      try {
        auto g = ApriSorgenteAccess(cartella.Scrivi("puntatore.mdb", guasto), "");
        LeggiTutto(*g, "Table1");
      } catch (const ErroreDao& e) {
        EXPECT_EQ(e.Numero(), errori::kFormatoNonRiconosciuto) << byte << " " << int(valore);
      }
    }
  }
}

// The catalog of a Jet 3 file whose row slots carry the flag that marks a moved row: the
// tables are listed and read as before.
TEST(SorgenteAccess, CatalogRowsFlaggedAsMovedAreRead) {
  test::CartellaTemp cartella;
  std::string file = test::LeggiFile(Dati("V1997_no-password.mdb"));
  constexpr size_t kPagina = 2048, kContaRighe = 8;
  int segnate = 0;
  for (size_t p = 3 * kPagina; p + kPagina <= file.size(); p += kPagina) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(file[p + i]); };
    // A data page (type 1) of MSysObjects, whose definition is on page 2.
    if (byte(0) != 1 || byte(4) != 2 || byte(5) != 0 || byte(6) != 0 || byte(7) != 0) continue;
    const size_t righe = byte(kContaRighe) | (byte(kContaRighe + 1) << 8);
    for (size_t r = 0; r < righe; ++r) {
      const size_t slot = p + kContaRighe + 2 + 2 * r;
      if ((static_cast<unsigned char>(file[slot + 1]) & 0xC0) != 0) continue;
      file[slot + 1] = static_cast<char>(file[slot + 1] | 0x80);
      ++segnate;
    }
  }
  ASSERT_GT(segnate, 0);
  auto s = ApriSorgenteAccess(cartella.Scrivi("spostate.mdb", file), "");
  EXPECT_EQ(TabelleUtente(*s), (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
  EXPECT_EQ(LeggiTutto(*s, "Table1").size(), 2u);
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
