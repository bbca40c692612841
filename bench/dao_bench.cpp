// Inserting through the engine layer against a bare prepared-statement loop, and FindFirst
// at two table sizes.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/misura.h"
#include "core/dao/dao.h"
#include "core/impostazioni.h"

using namespace tarkpo;

namespace {

using bench::PiccoKb;
using bench::Secondi;

constexpr const char* kSchema =
    "CREATE TABLE articoli (contatore COUNTER, catID TEXT(99), codice TEXT(50), titolo TEXT(199),"
    " sottotitolo TEXT(199), descrizione MEMO, note MEMO, giacenza TEXT(255), link TEXT(255),"
    " peso SINGLE DEFAULT 0, prezzo CURRENCY DEFAULT 0, offertaprezzo CURRENCY DEFAULT 0,"
    " offerta BIT DEFAULT 0, fuoricatalogo BIT DEFAULT 0, ordinamento INTEGER DEFAULT 0,"
    " immagine0 TEXT(255), imgX0 INTEGER DEFAULT 0, imgY0 INTEGER DEFAULT 0)";
constexpr int kColonne = 18;

std::string Codice(int i) {
  char b[16];
  std::snprintf(b, sizeof b, "ART%07d", i);
  return b;
}

std::string NuovoFile(const std::string& cartella, const char* nome) {
  std::string f = cartella + "/" + nome;
  std::filesystem::remove(f);
  sqlite3* db = nullptr;
  sqlite3_open(f.c_str(), &db);
  sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return f;
}

double CicloNudo(const std::string& file, int righe) {
  auto t = std::chrono::steady_clock::now();
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA journal_mode=DELETE; BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  std::string sql = "INSERT INTO articoli VALUES (?";
  for (int i = 1; i < kColonne; ++i) sql += ",?";
  sqlite3_prepare_v2(db, (sql + ")").c_str(), -1, &st, nullptr);
  const std::string titolo = "Titolo dell'articolo di prova", descrizione(200, 'd');
  for (int i = 0; i < righe; ++i) {
    std::string codice = Codice(i);
    sqlite3_bind_int(st, 1, i + 1);
    sqlite3_bind_text(st, 2, "imp012", -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, codice.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 4, titolo.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_null(st, 5);
    sqlite3_bind_text(st, 6, descrizione.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_null(st, 7);
    sqlite3_bind_text(st, 8, "5", -1, SQLITE_TRANSIENT);
    sqlite3_bind_null(st, 9);
    sqlite3_bind_double(st, 10, 1.5);
    sqlite3_bind_int64(st, 11, 123400);
    sqlite3_bind_int64(st, 12, 0);
    sqlite3_bind_int(st, 13, 0);
    sqlite3_bind_int(st, 14, 0);
    sqlite3_bind_int(st, 15, (i + 1) * 10);
    sqlite3_bind_null(st, 16);
    sqlite3_bind_int(st, 17, 0);
    sqlite3_bind_int(st, 18, 0);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return Secondi(t);
}

double CicloStrato(dao::DBEngine& motore, const std::string& file, int righe) {
  auto t = std::chrono::steady_clock::now();
  auto& ws = motore.Workspaces(0);
  ws.BeginTrans();
  auto db = ws.OpenDatabase(file);
  auto rs = db->OpenRecordset("articoli", dao::dbOpenDynaset);
  const Valore reparto = Valore::Testo("imp012"),
               titolo = Valore::Testo("Titolo dell'articolo di prova"),
               descrizione = Valore::Testo(std::string(200, 'd')), giacenza = Valore::Testo("5"),
               peso = Valore::Singolo(1.5f), prezzo = Valore::Valuta(123400),
               falso = Valore::Booleano(false);
  for (int i = 0; i < righe; ++i) {
    rs->AddNew();
    rs->Fields("catID").SetValue(reparto);
    rs->Fields("codice").SetValue(Valore::Testo(Codice(i)));
    rs->Fields("titolo").SetValue(titolo);
    rs->Fields("descrizione").SetValue(descrizione);
    rs->Fields("giacenza").SetValue(giacenza);
    rs->Fields("peso").SetValue(peso);
    rs->Fields("prezzo").SetValue(prezzo);
    rs->Fields("offerta").SetValue(falso);
    rs->Fields("fuoricatalogo").SetValue(falso);
    rs->Fields("ordinamento").SetValue(Valore::Lungo((i + 1) * 10));
    rs->Update();
  }
  rs->Close();
  db->Close();
  ws.CommitTrans();
  return Secondi(t);
}

// The best of three runs of `ricerche` FindFirst calls on a freshly opened recordset (the
// first call of each run builds the index, timed apart).
double Ricerche(dao::DBEngine& motore, const std::string& file, int righe, int ricerche) {
  double migliore = 1e9, indice = 1e9;
  for (int prova = 0; prova < 3; ++prova) {
    auto db = motore.Workspaces(0).OpenDatabase(file);
    auto rs = db->OpenRecordset("articoli", dao::dbOpenDynaset);
    auto t = std::chrono::steady_clock::now();
    rs->FindFirst(dao::Criterio("codice", Codice(0)));
    indice = std::min(indice, Secondi(t));
    t = std::chrono::steady_clock::now();
    unsigned x = 12345;
    int trovati = 0;
    for (int i = 0; i < ricerche; ++i) {
      x = x * 1103515245u + 12345u;
      rs->FindFirst(
          dao::Criterio("codice", Codice(static_cast<int>(x % static_cast<unsigned>(righe)))));
      trovati += !rs->NoMatch();
    }
    migliore = std::min(migliore, Secondi(t));
    if (trovati != ricerche) std::printf("  (only %d of %d found!)\n", trovati, ricerche);
  }
  std::printf("  index of %d rows built in %.3f s\n", righe, indice);
  return migliore;
}

}  // namespace

int main() {
  std::string cartella =
      std::filesystem::temp_directory_path() / ("tarkpo-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(cartella);
  Registro registro(cartella + "/u", cartella + "/m");
  dao::DBEngine motore(registro);

  constexpr int kRighe = 100000;
  // The best of three alternating runs each, so that disk noise weighs on neither side.
  double nudo = 1e9, strato = 1e9;
  for (int prova = 0; prova < 3; ++prova) {
    nudo = std::min(nudo, CicloNudo(NuovoFile(cartella, "nudo.db"), kRighe));
    strato = std::min(strato, CicloStrato(motore, NuovoFile(cartella, "strato.db"), kRighe));
  }
  std::printf("insert %d rows: bare loop %.3f s, engine layer %.3f s, ratio %.2f\n", kRighe, nudo,
              strato, strato / nudo);

  std::string doppio = NuovoFile(cartella, "doppio.db");
  CicloStrato(motore, doppio, 2 * kRighe);
  std::string file100 = cartella + "/strato.db";
  double f100 = Ricerche(motore, file100, kRighe, kRighe);
  double f200 = Ricerche(motore, doppio, 2 * kRighe, 2 * kRighe);
  double f200fisse = Ricerche(motore, doppio, 2 * kRighe, kRighe);
  std::printf(
      "FindFirst: %d calls on %d rows %.3f s; %d calls on %d rows %.3f s (x%.2f);"
      " %d calls on %d rows %.3f s\n",
      kRighe, kRighe, f100, 2 * kRighe, 2 * kRighe, f200, f200 / f100, kRighe, 2 * kRighe,
      f200fisse);
  {
    // The update path of the import: find each item by its code and change a few fields.
    auto& ws = motore.Workspaces(0);
    ws.BeginTrans();
    auto db = ws.OpenDatabase(doppio);
    auto rs = db->OpenRecordset("articoli", dao::dbOpenDynaset);
    auto t = std::chrono::steady_clock::now();
    const Valore titolo = Valore::Testo("Titolo cambiato"), prezzo = Valore::Valuta(99900);
    for (int i = 0; i < kRighe; ++i) {
      rs->FindFirst(dao::Criterio("codice", Codice(i * 2)));
      rs->Edit();
      rs->Fields("titolo").SetValue(titolo);
      rs->Fields("prezzo").SetValue(prezzo);
      rs->Fields("giacenza").SetValue(Valore::Testo(std::to_string(i)));
      rs->Update();
    }
    rs->Close();
    db->Close();
    ws.CommitTrans();
    std::printf("FindFirst + Edit + Update of %d rows in a %d-row table: %.3f s\n", kRighe,
                2 * kRighe, Secondi(t));
  }
  {
    // The highest sort position, as the shop's tables are opened.
    auto db = motore.Workspaces(0).OpenDatabase(doppio);
    auto t = std::chrono::steady_clock::now();
    auto rs = db->OpenRecordset("SELECT * FROM articoli ORDER BY ordinamento");
    rs->MoveLast();
    std::printf("SELECT * ... ORDER BY ordinamento and MoveLast over %d rows: %.3f s\n",
                rs->RecordCount(), Secondi(t));
  }
  {
    // The key lists of the import: one pass reading one column of every row.
    auto db = motore.Workspaces(0).OpenDatabase(doppio);
    auto t = std::chrono::steady_clock::now();
    auto rs = db->OpenRecordset("articoli", dao::dbOpenDynaset);
    size_t lunghezza = 0;
    for (; !rs->Eof(); rs->MoveNext()) lunghezza += rs->Fields("codice").Value().Stringa().size();
    std::printf("walk of %d rows reading one field: %.3f s\n", 2 * kRighe, Secondi(t));
    if (lunghezza == 0) return 1;
  }
  std::filesystem::remove_all(cartella);
  return 0;
}
