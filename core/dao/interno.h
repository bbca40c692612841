#pragma once
// Pieces shared by the implementations of the engine layer; not for callers.
#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/dao/dao.h"
#include "core/dao/sorgente.h"

namespace tarkpo::dao {

std::string MinuscoloAscii(std::string_view s);
// "nome" with every double quote doubled, inside double quotes.
std::string IdentificatoreSql(std::string_view nome);
// The number of characters of a UTF-8 text.
size_t CaratteriUtf8(std::string_view s);

// A parsed criterion: column, and the value as text or as a number.
struct CriterioAnalizzato {
  std::string colonna;
  bool numerico = false;
  std::string testo;  // the literal (a text without its quotes, or the number as written)
  double numero = 0;
};
// Raises 3075 for anything but column='text' or column=number.
CriterioAnalizzato AnalizzaCriterio(std::string_view criterio);

// The column type that a declared SQLite type stands for.
FieldDef CampoDaTipoDichiarato(std::string nome, std::string_view dichiarato, bool chiaveRowid);

// One SQLite connection with its cached statements and per-table information.
struct InfoTabella;
class Connessione {
 public:
  // Waits for another program's lock as `attesa` says.
  Connessione(sqlite3* db, std::string percorso, bool solaLettura, AttesaBlocco attesa = {});
  ~Connessione();
  Connessione(const Connessione&) = delete;
  Connessione& operator=(const Connessione&) = delete;

  sqlite3* Db() const { return db_; }
  const std::string& Percorso() const { return percorso_; }
  bool SolaLettura() const { return solaLettura_; }
  // A statement prepared once per connection and reset for reuse; 3078 for an unknown
  // table named in `tabella`.
  sqlite3_stmt* Prepara(const std::string& sql);
  void Esegui(const char* sql);
  // The error of the last call as ErroreDao; `tabella` names the table in the message.
  [[noreturn]] void Errore(int rc, const std::string& tabella = "") const;
  // The table by name (any case), or nullptr.
  std::shared_ptr<InfoTabella> Tabella(const std::string& nome);
  // The next AutoNumber of a table's counter column, recorded as used up at once.
  int32_t ProssimoContatore(InfoTabella& tabella);
  // Makes the table where the AutoNumbers issued are recorded when a table has a counter
  // column. For a database just opened: SQLite cannot make it while a statement reads.
  void PreparaSequenze();

  bool inTransazione = false;
  // Read as an immutable file: SQLite takes no lock and assumes that nothing changes it.
  bool immutabile = false;
  // A source, which must not change while a recordset reads it through (FileCambiato).
  bool sorgente = false;
  // The error with which SQLite ended the pending transaction by itself (a full disk, an
  // I/O error); "" while it holds. Once set, the connection refuses every write
  // (query_only) until the workspace ends the transaction.
  mutable std::string transazionePersa;

 private:
  // SQLite's busy handler: whether to try again after the `volte`-th refusal of the lock.
  static int Attendi(void* connessione, int volte);
  // Whether the database holds SQLite's table of AUTOINCREMENT sequences.
  bool EsisteSequenze();
  void CreaSequenze();

  sqlite3* db_;
  std::string percorso_;
  bool solaLettura_;
  AttesaBlocco attesa_;
  std::chrono::steady_clock::time_point inizioAttesa_;
  std::unordered_map<std::string, sqlite3_stmt*> istruzioni_;
  std::unordered_map<std::string, std::shared_ptr<InfoTabella>> tabelle_;
};

struct InfoTabella {
  std::string nome;  // as the schema spells it
  std::string sqlNome;
  std::string sqlInserisci, sqlElimina;
  std::vector<FieldDef> campi;
  std::vector<Valore> predefiniti;
  std::unordered_map<std::string, int> perNome;  // lower-case name -> position
  int contatore = -1;
  bool contatoreLetto = false;
  int64_t ultimoContatore = 0;
  std::string sqlLeggiDa;  // rows from a rowid on
  // Statements of the connection (it finalizes them), prepared at first use.
  sqlite3_stmt* inserisci = nullptr;
  sqlite3_stmt* elimina = nullptr;
  std::map<std::vector<int>, sqlite3_stmt*> aggiorna;  // by the set of changed columns
};

// A value read from column `i` of a statement, as a field of type `campo`.
Valore LeggiColonna(sqlite3_stmt* st, int i, const FieldDef& campo);
// Binds a value (already of the field's type) to parameter `i`.
void LegaValore(sqlite3_stmt* st, int i, const Valore& v);

// Reads rows one at a time; Riapri goes back before the first row.
class Cursore {
 public:
  virtual ~Cursore() = default;
  virtual bool Leggi(std::vector<Valore>& riga) = 0;
  virtual void Riapri() = 0;
};

// A read-only recordset that reads through a cursor, holding only the current row.
std::unique_ptr<Recordset> NuovoRecordsetSequenziale(std::vector<FieldDef> campi,
                                                     std::unique_ptr<Cursore> cursore,
                                                     std::shared_ptr<bool> databaseAperto);

// Databases. `rinnovo`, when given, is asked before the schema is listed or a recordset
// opened: a new connection when the file has changed since, else null.
using Rinnovo = std::function<std::shared_ptr<Connessione>()>;
std::shared_ptr<Database> NuovoDatabaseSqlite(std::shared_ptr<Connessione> connessione,
                                              Rinnovo rinnovo = {});
std::shared_ptr<Database> NuovoDatabaseSorgente(std::string percorso,
                                                std::unique_ptr<Sorgente> sorgente);

// A keyed, updatable recordset over a SQLite table.
std::unique_ptr<Recordset> NuovoRecordsetTabella(std::shared_ptr<Connessione> connessione,
                                                 std::shared_ptr<InfoTabella> tabella,
                                                 std::shared_ptr<bool> databaseAperto);

[[noreturn]] void ErroreChiuso();

}  // namespace tarkpo::dao
