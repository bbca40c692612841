#include "support/negozio_test.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "support/cartella_temp.h"

namespace tarkpo::test {

namespace {

struct ChiudiDb {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, ChiudiDb>;

Db Apri(const std::string& file) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open(file.c_str(), &db);
  Db tenuto(db);
  if (rc != SQLITE_OK) throw std::runtime_error("sqlite3_open " + file + ": " + sqlite3_errmsg(db));
  // Test files need no flush to the disk at every statement.
  sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
  return tenuto;
}

}  // namespace

void EseguiSql(const std::string& file, const std::string& sql) {
  Db db = Apri(file);
  char* errore = nullptr;
  if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &errore) != SQLITE_OK) {
    std::string testo = errore ? errore : "?";
    sqlite3_free(errore);
    throw std::runtime_error("SQL su " + file + ": " + testo);
  }
}

std::string PrimoValore(const std::string& file, const std::string& sql) {
  Db db = Apri(file);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
    throw std::runtime_error(std::string("SQL: ") + sqlite3_errmsg(db.get()));
  std::string valore;
  if (sqlite3_step(st) == SQLITE_ROW) {
    if (const unsigned char* t = sqlite3_column_text(st, 0))
      valore = reinterpret_cast<const char*>(t);
  }
  sqlite3_finalize(st);
  return valore;
}

std::string CreaNegozio(const std::string& cartella, const std::string& schema,
                        const std::string& file) {
  std::string sql = std::string(TARKPO_SORGENTI) + "/schemi/" + schema + ".sql";
  if (!std::filesystem::is_regular_file(sql))
    throw std::runtime_error("schema non trovato: " + sql);
  std::filesystem::create_directories(cartella);
  std::string percorso = (std::filesystem::path(cartella) / file).string();
  EseguiSql(percorso, LeggiFile(sql));
  return percorso;
}

}  // namespace tarkpo::test
