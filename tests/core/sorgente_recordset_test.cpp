// Recordsets over read-only sources, and the data control.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/dao/dao.h"
#include "core/dao/interno.h"
#include "core/impostazioni.h"
#include "support/cartella_temp.h"
#include "support/errore_dao.h"
#include "support/stampa_valore.h"

namespace tarkpo::dao {
namespace {

using test::NumeroErrore;

// A source of generated rows that counts how often a cursor was opened.
class SorgenteFinta : public Sorgente {
 public:
  explicit SorgenteFinta(int righe) : righe_(righe) {
    tabelle_.push_back(
        {"Listino$", 0, {{"Codice", TipoValore::Text}, {"Prezzo", TipoValore::Double}}});
    tabelle_.push_back({"Vuoto$", 0, {{"A", TipoValore::Text}}});
    tabelle_.push_back({"MSysObjects", dbSystemObject, {}});
  }
  const std::vector<TabellaSorgente>& Tabelle() const override { return tabelle_; }
  std::unique_ptr<CursoreSorgente> Apri(const std::string& tabella) override {
    ++aperture;
    struct Cursore : CursoreSorgente {
      int n, i = 0;
      explicit Cursore(int righe) : n(righe) {}
      bool Leggi(std::vector<Valore>& riga) override {
        if (i >= n) return false;
        riga = {Valore::Testo("C" + std::to_string(i)), Valore::Doppio(i * 1.5)};
        ++i;
        return true;
      }
    };
    return std::make_unique<Cursore>(tabella == "Vuoto$" ? 0 : righe_);
  }
  int aperture = 0;

 private:
  int righe_;
  std::vector<TabellaSorgente> tabelle_;
};

TEST(RecordsetSorgente, ReadsThroughWithoutHoldingTheTable) {
  auto sorgente = std::make_unique<SorgenteFinta>(1000);
  SorgenteFinta* s = sorgente.get();
  auto db = NuovoDatabaseSorgente("/x/listino.xls", std::move(sorgente));
  ASSERT_EQ(db->TableDefs().size(), 3u);
  EXPECT_EQ(db->TableDefs()[2].Attributes() & dbSystemObject, dbSystemObject);
  EXPECT_EQ(db->TableDefs()[0].Fields()[1].Name(), "Prezzo");

  auto rs = db->OpenRecordset("listino$");
  EXPECT_EQ(rs->Fields("codice").Value(), Valore::Testo("C0"));
  rs->MoveNext();
  EXPECT_EQ(rs->RecordCount(), 2);  // rows reached so far
  rs->MoveLast();
  EXPECT_EQ(rs->RecordCount(), 1000);
  EXPECT_EQ(rs->Fields(1).Value(), Valore::Doppio(999 * 1.5));
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(NumeroErrore([&] { (void)rs->Fields(0).Value(); }), 3021);
  const int prima = s->aperture;
  rs->MoveFirst();
  EXPECT_EQ(s->aperture, prima + 1);
  EXPECT_EQ(rs->Fields(0).Value(), Valore::Testo("C0"));
  EXPECT_EQ(rs->RecordCount(), 1000);

  EXPECT_EQ(NumeroErrore([&] { rs->AddNew(); }), 3027);
  EXPECT_EQ(NumeroErrore([&] { rs->Fields(0).SetValue(Valore::Testo("x")); }), 3027);
  EXPECT_EQ(NumeroErrore([&] { (void)rs->Fields(2); }), 3265);
  EXPECT_EQ(NumeroErrore([&] { db->OpenRecordset("Altro$"); }), 3078);

  auto vuoto = db->OpenRecordset("Vuoto$");
  EXPECT_TRUE(vuoto->Eof());
  EXPECT_EQ(NumeroErrore([&] { vuoto->MoveLast(); }), 3021);
  db->Close();
  EXPECT_EQ(NumeroErrore([&] { rs->MoveNext(); }), 3420);
}

TEST(DataControl, OpensFromItsNameAndReleasesOnAnEmptyOne) {
  test::CartellaTemp cartella;
  const std::string file = cartella / "catalog.mdb";
  sqlite3* raw = nullptr;
  sqlite3_open(file.c_str(), &raw);
  sqlite3_exec(raw, "CREATE TABLE t (a TEXT); INSERT INTO t VALUES ('x'), ('y');", nullptr, nullptr,
               nullptr);
  sqlite3_close(raw);
  Registro registro(cartella / "u", cartella / "m");
  DBEngine motore(registro);

  DataControl dati(motore);
  dati.DatabaseName = file;
  dati.Connect = "Access 2000;";
  dati.Refresh();
  auto db = dati.Database();
  ASSERT_TRUE(db);
  EXPECT_FALSE(dati.Recordset());
  dati.Refresh();  // nothing changed: the same database
  EXPECT_EQ(dati.Database(), db);

  // A recordset assigned to another control, as the preview does.
  DataControl anteprima(motore);
  anteprima.SetRecordset(db->OpenRecordset("t"));
  anteprima.Recordset()->MoveNext();
  anteprima.Refresh();
  EXPECT_EQ(anteprima.Recordset()->Fields(0).Value(), Valore::Testo("x"));

  dati.DatabaseName = "";
  dati.Refresh();
  EXPECT_FALSE(dati.Database());
  EXPECT_FALSE(db->Aperto());

  dati.DatabaseName = cartella / "manca.mdb";
  EXPECT_EQ(NumeroErrore([&] { dati.Refresh(); }), 3024);
  dati.DatabaseName = file;
  dati.RecordSource = "t";
  dati.Refresh();
  ASSERT_TRUE(dati.Recordset());
  EXPECT_EQ(dati.Recordset()->RecordCount(), 2);
}

}  // namespace
}  // namespace tarkpo::dao
