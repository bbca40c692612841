#include "core/dao/sorgente_excel.h"

#include <gtest/gtest.h>

#include "core/dao/errore.h"
#include "core/dao/sorgente_comune.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/righe_sorgente.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

const std::string kListino = TARKPO_DATI_TEST "/excel/listino.xls";

using test::LeggiTutto;

int ErroreDi(const std::string& percorso) {
  return test::NumeroErrore([&] { ApriSorgenteExcel(percorso, {}); });
}

TEST(SorgenteExcel, ListsSheetsWithDollarAndQuotesNamesWithBlanks) {
  auto s = ApriSorgenteExcel(kListino, {});
  ASSERT_EQ(s->Tabelle().size(), 2u);
  EXPECT_EQ(s->Tabelle()[0].nome, "Listino$");
  EXPECT_EQ(s->Tabelle()[1].nome, "'Dati 2008$'");
  EXPECT_EQ(LeggiTutto(*s, "listino$").size(), 3u);
  EXPECT_THROW(s->Apri("Listino"), ErroreDao);
}

TEST(SorgenteExcel, HeaderRowGivesNamesAndTypesAreGuessedOverAllRows) {
  auto s = ApriSorgenteExcel(kListino, {});
  const auto& t = s->Tabelle()[0];
  std::vector<std::string> nomi;
  std::vector<TipoValore> tipi;
  for (const auto& c : t.campi) nomi.push_back(c.nome), tipi.push_back(c.tipo);
  EXPECT_EQ(nomi, (std::vector<std::string>{"Codice", "Titolo", "Prezzo", "Arrivo", "Attivo", "F6",
                                            "Misto"}));
  // Booleans come from freexl as numbers.
  EXPECT_EQ(tipi, (std::vector<TipoValore>{TipoValore::Text, TipoValore::Text, TipoValore::Double,
                                           TipoValore::Date, TipoValore::Double, TipoValore::Double,
                                           TipoValore::Double}));
  const auto righe = LeggiTutto(*s, "Listino$");
  ASSERT_EQ(righe.size(), 3u);
  EXPECT_EQ(righe[0][1], Valore::Testo("Caffè è buono"));
  EXPECT_EQ(righe[0][2], Valore::Doppio(12.5));
  EXPECT_EQ(righe[0][3], Valore::Data(*GiorniDaData(2008, 12, 31)));
  EXPECT_EQ(righe[1][1], Valore::Null());
  EXPECT_EQ(righe[2][2], Valore::Null());
  EXPECT_EQ(righe[2][3], Valore::Null());
  // Without IMEX the minority kind of a mixed column reads as Null.
  EXPECT_EQ(righe[0][6], Valore::Doppio(10));
  EXPECT_EQ(righe[1][6], Valore::Null());
}

TEST(SorgenteExcel, ImexReadsAMixedColumnAsText) {
  OpzioniExcel opzioni;
  opzioni.imex = true;
  opzioni.separatoreDecimale = ',';
  auto s = ApriSorgenteExcel(kListino, opzioni);
  EXPECT_EQ(s->Tabelle()[0].campi[6].tipo, TipoValore::Text);
  EXPECT_EQ(s->Tabelle()[0].campi[2].tipo, TipoValore::Double);  // one kind stays a number
  const auto righe = LeggiTutto(*s, "Listino$");
  EXPECT_EQ(righe[0][6], Valore::Testo("10"));
  EXPECT_EQ(righe[1][6], Valore::Testo("dieci"));

  opzioni.intestazione = false;  // the header row now is data, and makes Prezzo mixed
  auto senza = ApriSorgenteExcel(kListino, opzioni);
  const auto& campi = senza->Tabelle()[0].campi;
  EXPECT_EQ(campi[0].nome, "F1");
  EXPECT_EQ(campi[2].tipo, TipoValore::Text);
  const auto tutte = LeggiTutto(*senza, "Listino$");
  ASSERT_EQ(tutte.size(), 4u);
  EXPECT_EQ(tutte[0][0], Valore::Testo("Codice"));
  EXPECT_EQ(tutte[1][2], Valore::Testo("12,5"));
}

TEST(SorgenteExcel, FormulaCellReadsAsNull) {
  auto s = ApriSorgenteExcel(kListino, {});
  const auto righe = LeggiTutto(*s, "'Dati 2008$'");
  ASSERT_EQ(righe.size(), 1u);
  EXPECT_EQ(righe[0][0], Valore::Doppio(1));
  EXPECT_EQ(righe[0][1], Valore::Null());
}

TEST(SorgenteExcel, BadFilesGiveClearErrors) {
  test::CartellaTemp cartella;
  const std::string intero = test::LeggiFile(kListino);
  const std::pair<std::string, int> casi[] = {
      {cartella / "manca.xls", errori::kFileNonTrovato},
      {TARKPO_DATI_TEST "/excel/cifrato.xls", errori::kFileCifrato},
      {TARKPO_DATI_TEST "/excel/testo_vuoto.xls", errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("testo.xls", "Codice;Titolo\n1;a\n"), errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("vuoto.xls", ""), errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("meta.xls", intero.substr(0, intero.size() / 2)),
       errori::kFormatoNonRiconosciuto},
      {cartella.Scrivi("testa.xls", intero.substr(0, 600)), errori::kFormatoNonRiconosciuto},
  };
  for (const auto& [percorso, errore] : casi) EXPECT_EQ(ErroreDi(percorso), errore) << percorso;
}

}  // namespace
}  // namespace tarkpo::dao
