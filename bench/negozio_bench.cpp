// Opening the shop's tables with their key lists, and the per-row work on the lists, at two
// catalogue sizes: every figure should about double from the first size to the second.
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/misura.h"
#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/impostazioni.h"
#include "engine/negozio.h"

using namespace tarkpo;

namespace {

using bench::PiccoKb;
using bench::Secondi;

class MessaggiMuti : public IMessaggi {
 public:
  Risposta Mostra(const std::string& testo, Icona, Pulsanti) override {
    std::fprintf(stderr, "messaggio: %s\n", testo.c_str());
    return Risposta::No;
  }
};

std::string Codice(int i) {
  char b[24];
  std::snprintf(b, sizeof b, "ART%07d", i);
  return b;
}

void Esegui(sqlite3* db, const std::string& sql) {
  char* errore = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &errore) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", errore ? errore : "?");
    std::exit(1);
  }
}

// A shop of `articoli` items and one department per hundred of them.
void CreaNegozio(const std::string& file, int articoli) {
  std::filesystem::remove(file);
  std::FILE* f = std::fopen(TARKPO_SCHEMA, "rb");
  std::string schema;
  for (int c; f && (c = std::fgetc(f)) != EOF;) schema += static_cast<char>(c);
  if (f) std::fclose(f);
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  Esegui(db, schema);
  Esegui(db, "BEGIN");
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(
      db, "INSERT INTO articoli (catID, codice, titolo, ordinamento) VALUES (?, ?, ?, ?)", -1, &st,
      nullptr);
  for (int i = 0; i < articoli; ++i) {
    std::string codice = Codice(i), reparto = "imp0" + std::to_string(i / 100);
    sqlite3_bind_text(st, 1, reparto.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, codice.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, "Titolo dell'articolo", -1, SQLITE_STATIC);
    sqlite3_bind_int(st, 4, (i + 1) * 10);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_prepare_v2(db, "INSERT INTO categorie (id, titolo, ordinamento) VALUES (?, ?, ?)", -1,
                     &st, nullptr);
  for (int i = 0; i < articoli / 100; ++i) {
    std::string id = "imp0" + std::to_string(i), titolo = "Reparto " + std::to_string(i);
    sqlite3_bind_text(st, 1, id.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, titolo.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(st, 3, (i + 1) * 10);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  Esegui(db, "COMMIT");
  sqlite3_close(db);
}

struct Tempi {
  double apriArticoli, apriReparti, chiavi, aggiornaReparti;
};

Tempi Misura(const std::string& cartella, int articoli) {
  DefinizioneImportazione def;
  def.gPathNegozio = cartella + "/negozio-" + std::to_string(articoli);
  std::filesystem::create_directories(def.gPathNegozio);
  CreaNegozio(def.gPathNegozio + "/catalog.mdb", articoli);
  Registro registro(cartella + "/utente", cartella + "/macchina");
  dao::DBEngine dbEngine(registro);
  MessaggiMuti messaggi;
  motore::StatoMotore stato;
  Tempi t{};
  // As the import runs: inside the workspace's transaction.
  dbEngine.Workspaces(0).BeginTrans();
  if (!motore::ApriNegozio(stato, def, dbEngine.Workspaces(0), messaggi)) std::exit(1);

  auto inizio = std::chrono::steady_clock::now();
  if (!motore::ApriArticoli(stato, def, messaggi)) std::exit(1);
  t.apriArticoli = Secondi(inizio);

  // What the item import does per row with the code list: one test, one append.
  inizio = std::chrono::steady_clock::now();
  int trovati = 0;
  for (int i = 0; i < articoli; ++i) {
    std::string codice = Codice(i * 2);
    if (stato.gElencoCodiciNegozio.Contiene(codice))
      ++trovati;
    else
      stato.gElencoCodiciNegozio.Aggiungi(codice);
  }
  t.chiavi = Secondi(inizio);

  inizio = std::chrono::steady_clock::now();
  if (!motore::ApriReparti(stato, def, messaggi)) std::exit(1);
  t.apriReparti = Secondi(inizio);

  // Every department updated in place, each followed by the list update.
  dao::Recordset& rs = *stato.gRsReparti;
  inizio = std::chrono::steady_clock::now();
  for (int i = 0; i < articoli / 100; ++i) {
    rs.FindFirst(dao::Criterio("ID", "imp0" + std::to_string(i)));
    rs.Edit();
    rs.Fields("titolo").SetValue(Valore::Testo("Nuovo " + std::to_string(i)));
    rs.Update();
    motore::AggiornaElenchiReparti(stato, def);
  }
  t.aggiornaReparti = Secondi(inizio);
  if (trovati != articoli / 2)
    std::fprintf(stderr, "trovati %d invece di %d\n", trovati, articoli / 2);
  motore::ChiudiRecordset(stato.gRsReparti);
  motore::ChiudiRecordset(stato.gRsArticoli);
  stato.gDbNegozio->Close();
  dbEngine.Workspaces(0).Rollback();
  return t;
}

}  // namespace

int main() {
  std::string modello = (std::filesystem::temp_directory_path() / "tarkpo-bench-XXXXXX").string();
  if (!mkdtemp(modello.data())) return 1;
  const int piccolo = 100000, grande = 200000;
  Tempi a = Misura(modello, piccolo), b = Misura(modello, grande);
  std::printf("%-34s %10s %10s %7s\n", "", "100000", "200000", "ratio");
  auto riga = [](const char* nome, double x, double y) {
    std::printf("%-34s %9.3fs %9.3fs %7.2f\n", nome, x, y, y / x);
  };
  riga("ApriArticoli (codes, count)", a.apriArticoli, b.apriArticoli);
  riga("code test + append, per item", a.chiavi, b.chiavi);
  riga("ApriReparti (1 per 100 items)", a.apriReparti, b.apriReparti);
  riga("department update + list update", a.aggiornaReparti, b.aggiornaReparti);
  std::filesystem::remove_all(modello);
  return 0;
}
