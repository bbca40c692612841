// The criteria of FindFirst/FindNext on arbitrary text, against a SQLite table: a criterion
// either finds or raises the engine's error, and a value quoted by Criterio() is searched
// as it is, whatever quotes or fragments it holds.
#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "cartella_fuzz.h"
#include "core/dao/dao.h"
#include "core/dao/interno.h"
#include "core/impostazioni.h"

namespace {

using namespace tarkpo;

struct Banco {
  std::unique_ptr<Registro> registro;
  std::unique_ptr<dao::DBEngine> motore;
  std::shared_ptr<dao::Database> db;
  std::unique_ptr<dao::Recordset> rs;

  Banco() {
    const std::string& cartella = fuzz::Cartella();
    const std::string file = cartella + "/catalog.mdb";
    sqlite3* s = nullptr;
    if (sqlite3_open(file.c_str(), &s) != SQLITE_OK) std::abort();
    const char* sql =
        "CREATE TABLE articoli (id INTEGER PRIMARY KEY, codice TEXT(50), prezzo CURRENCY,"
        " fuoricatalogo BIT, peso REAL);"
        "INSERT INTO articoli (codice, prezzo, fuoricatalogo, peso) VALUES"
        " ('A1', 1.5, 1, 0.25), ('l''olio', 2, 0, 1), ('x°y', 3, 1, NULL),"
        " (''' OR ''1''=''1', 4, 0, 2), ('A1', 5, 0, 3), (NULL, 6, 1, 4);";
    if (sqlite3_exec(s, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
    sqlite3_close(s);
    registro = std::make_unique<Registro>(cartella + "/utente", cartella + "/macchina");
    motore = std::make_unique<dao::DBEngine>(*registro);
    db = motore->Workspaces(0).OpenDatabase(file);
    rs = db->OpenRecordset("articoli", dao::dbOpenDynaset);
  }
};

Banco& Tavolo() {
  static Banco banco;
  return banco;
}

void Cerca(dao::Recordset& rs, const std::string& criterio) {
  try {
    rs.FindFirst(criterio);
    if (!rs.NoMatch()) rs.FindNext(criterio);
  } catch (const dao::ErroreDao&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string testo(reinterpret_cast<const char*>(dati), n);
  dao::Recordset& rs = *Tavolo().rs;
  Cerca(rs, testo);

  // Quoted by Criterio(), any text is one value of the column it names.
  const std::string criterio = dao::Criterio("codice", testo);
  dao::CriterioAnalizzato c = dao::AnalizzaCriterio(criterio);
  if (c.colonna != "codice" || c.numerico || c.testo != testo) {
    std::fprintf(stderr, "criterion changed by its value: %s\n", criterio.c_str());
    std::abort();
  }
  rs.FindFirst(criterio);  // must not raise
  if (!rs.NoMatch() && rs.Fields("codice").Value() != Valore::Testo(testo)) std::abort();
  return 0;
}
