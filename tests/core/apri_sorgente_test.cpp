#include "core/dao/apri_sorgente.h"

#include <gtest/gtest.h>

#include "core/dao/dao.h"
#include "core/impostazioni.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

using test::NumeroErrore;

const std::string kImpostazioni = "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\";

class ApriSorgente : public ::testing::Test {
 protected:
  ApriSorgente() {
    // What the start-up writes: ";" for set0 only, every row scanned.
    SaveSetting(registro, "Tarvelin KPO", "set0\\Jet\\4.0\\Engines\\Text", "Format",
                "Delimited(;)");
  }
  void Insieme(const std::string& insieme) {
    motore.IniPath = kImpostazioni + "Tarvelin KPO\\" + insieme + "\\Jet\\4.0";
  }
  // The field names of the table `tabella`, or of the first table.
  std::vector<std::string> Campi(const std::string& percorso, const std::string& connect,
                                 const std::string& tabella = "") {
    auto db = motore.Workspaces(0).OpenDatabase(percorso, connect);
    std::vector<std::string> nomi;
    for (const auto& t : db->TableDefs()) {
      if (!tabella.empty() && t.Name() != tabella) continue;
      for (const auto& c : t.Fields()) nomi.push_back(c.Name());
      break;
    }
    return nomi;
  }

  test::CartellaTemp cartella;
  Registro registro{cartella / "utente", cartella / "macchina"};
  DBEngine motore{registro};
};

TEST_F(ApriSorgente, SettingsPathChoosesTheDelimiter) {
  const std::vector<std::string> cinque{"Codice", "Descrizione", "Prezzo", "Giacenza", "Arrivo"};
  Insieme("set0");
  EXPECT_EQ(Campi(TARKPO_DATI_TEST "/csv/punto_e_virgola", "Text;HDR=Yes"), cinque);
  EXPECT_EQ(Campi(TARKPO_DATI_TEST "/csv/virgola", "Text;HDR=Yes")[0],
            "Codice,Descrizione,Prezzo,Giacenza,Arrivo");
  Insieme("set1");  // no Format there: the comma
  EXPECT_EQ(Campi(TARKPO_DATI_TEST "/csv/virgola", "Text;HDR=Yes"), cinque);
  // Missing at IniPath, the machine-wide key decides.
  registro.ScriviStringa(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Jet\\4.0\\Engines\\Text",
                         "Format", "Delimited(;)");
  EXPECT_EQ(Campi(TARKPO_DATI_TEST "/csv/punto_e_virgola", "Text;"), cinque);
  EXPECT_EQ(Campi(TARKPO_DATI_TEST "/csv/punto_e_virgola", "Text;HDR=No")[0], "F1");
}

TEST_F(ApriSorgente, MaxScanRowsComesFromTheSettings) {
  std::string testo = "v\n";
  for (int i = 0; i < 30; ++i) testo += "1\n";
  cartella.Scrivi("csv/t.csv", testo + "abc\n");
  Insieme("set1");
  auto tipo = [&] {
    auto db = motore.Workspaces(0).OpenDatabase(cartella / "csv", "Text;");
    return db->TableDefs().at(0).Fields().at(0).Type();
  };
  EXPECT_EQ(tipo(), TipoValore::Long);  // the engine's 25 rows
  registro.ScriviDword(
      HKEY_CURRENT_USER,
      "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set1\\Jet\\4.0\\Engines\\Text",
      "MaxScanRows", 0);
  EXPECT_EQ(tipo(), TipoValore::Text);
}

TEST_F(ApriSorgente, ConnectStringsOfEveryKind) {
  const std::string access = TARKPO_DATI_TEST "/access/V2000_with-password.mdb";
  const std::string excel = TARKPO_DATI_TEST "/excel/listino.xls";
  EXPECT_EQ(Campi(access, ";PWD=password", "Table1"), (std::vector<std::string>{"ID", "Data"}));
  EXPECT_EQ(Campi(access, "Access 2000;PWD=password", "Table1"),
            (std::vector<std::string>{"ID", "Data"}));
  EXPECT_EQ(Campi(excel, "Excel 8.0;")[0], "Codice");
  EXPECT_EQ(Campi(excel, "Excel 8.0;HDR=No; IMEX=1;")[0], "F1");
  auto db = motore.Workspaces(0).OpenDatabase(excel, "Excel 8.0;HDR=Yes; IMEX=1;");
  EXPECT_EQ(db->TableDefs().at(0).Fields().at(6).Type(), TipoValore::Text);

  struct Caso {
    std::string percorso, connect;
    int errore;
  };
  const Caso casi[] = {
      {access, "Access 2000;", errori::kPasswordNonValida},
      {access, ";PWD=password ", errori::kPasswordNonValida},
      {excel, "Access 2000;", errori::kFormatoNonRiconosciuto},
      {access, "Excel 8.0;HDR=Yes; IMEX=1;", errori::kFormatoNonRiconosciuto},
      {excel, "Text;HDR=Yes", errori::kFileNonTrovato},
      {TARKPO_DATI_TEST "/csv", "Access 2000;", errori::kFormatoNonRiconosciuto},
      {excel, "dBASE IV;", 3170},
      {cartella / "manca.mdb", "Access 2000;", errori::kFileNonTrovato},
  };
  for (const auto& c : casi)
    EXPECT_EQ(NumeroErrore([&] { motore.Workspaces(0).OpenDatabase(c.percorso, c.connect); }),
              c.errore)
        << c.percorso << " " << c.connect;
}

}  // namespace
}  // namespace tarkpo::dao
