#pragma once
// The database engine layer: an engine object, its workspace with the transaction, databases,
// table definitions, recordsets with their fields, and the data control of a page. Every
// database we write is a SQLite file; other sources (Access, Excel, text files) are opened
// read-only through ApriSorgenteEsterna (core/dao/apri_sorgente.h). Every failing call raises
// ErroreDao (core/dao/errore.h) with the engine's number and an Italian description.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dao/errore.h"
#include "core/dao/valore.h"

namespace tarkpo {
class Registro;
}

namespace tarkpo::dao {

class Database;
class Recordset;
class Connessione;  // one SQLite connection, shared by a database and the workspace

// Recordset types: every type opens a keyed, updatable recordset on a SQLite table; a SELECT
// and every source that is not SQLite give a read-only recordset.
enum TipoRecordset : int {
  dbOpenDefault = 0,
  dbOpenTable = 1,
  dbOpenDynaset = 2,
  dbOpenSnapshot = 4,
  dbOpenForwardOnly = 8
};

// Attributes of a table definition: system objects carry both bits.
constexpr int32_t dbSystemObject = static_cast<int32_t>(0x80000002u);

// A field of a table definition or of a recordset.
class FieldDef {
 public:
  FieldDef() = default;
  FieldDef(std::string nome, TipoValore tipo, int32_t dimensione = 0, bool contatore = false)
      : nome_(std::move(nome)), tipo_(tipo), dimensione_(dimensione), contatore_(contatore) {}
  const std::string& Name() const { return nome_; }
  TipoValore Type() const { return tipo_; }
  // The largest number of characters of a bounded text field; 0 for everything else.
  int32_t Size() const { return dimensione_; }
  // An AutoNumber field: the engine assigns it at AddNew and refuses writes.
  bool Contatore() const { return contatore_; }

 private:
  std::string nome_;
  TipoValore tipo_ = TipoValore::Text;
  int32_t dimensione_ = 0;
  bool contatore_ = false;
};

class TableDef {
 public:
  TableDef(std::string nome, int32_t attributi, std::vector<FieldDef> campi)
      : nome_(std::move(nome)), attributi_(attributi), campi_(std::move(campi)) {}
  const std::string& Name() const { return nome_; }
  int32_t Attributes() const { return attributi_; }
  const std::vector<FieldDef>& Fields() const { return campi_; }

 private:
  std::string nome_;
  int32_t attributi_;
  std::vector<FieldDef> campi_;
};

// One field of the current row of a recordset; valid while the recordset lives.
class Field {
 public:
  const std::string& Name() const;
  TipoValore Type() const;
  int32_t Size() const;
  // Raises 3021 without a current row.
  const Valore& Value() const;
  // Only after AddNew or Edit (else 3020); converts to the field's type (3421), checks a
  // bounded text's length (3163); an AutoNumber field refuses it (3164); read-only
  // recordsets raise 3027.
  void SetValue(const Valore& valore);

 private:
  friend class Recordset;
  Field(Recordset* rs, int indice) : rs_(rs), indice_(indice) {}
  Recordset* rs_;
  int indice_;
};

class Recordset {
 public:
  virtual ~Recordset() = default;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  virtual bool Eof() const = 0;
  virtual bool Bof() const = 0;
  // MoveFirst and MoveLast raise 3021 on an empty recordset, MoveNext at the end. A move
  // drops pending changes of AddNew or Edit.
  virtual void MoveFirst() = 0;
  virtual void MoveLast() = 0;
  virtual void MoveNext() = 0;
  // The rows reached so far; exact after MoveLast (and always on a SQLite table).
  virtual int32_t RecordCount() const = 0;

  int FieldCount() const { return static_cast<int>(Campi().size()); }
  // Names match without regard to case; an unknown name or position raises 3265.
  Field Fields(std::string_view nome);
  Field Fields(int posizione);
  // The position of a field by name, or -1.
  int IndiceCampo(std::string_view nome) const;
  const std::vector<FieldDef>& Campi() const { return CampiDef(); }

  virtual bool Updatable() const = 0;
  // AddNew starts a new row with the column defaults and its AutoNumber already assigned;
  // Update stores it at the end of the recordset and the current row stays the one before
  // AddNew. Edit changes the current row. Update raises 3020 without AddNew or Edit, 3022
  // for a duplicate in a unique index; a refused Update leaves the table unchanged and the
  // pending row in place. Delete removes the current row (reading it then raises 3167).
  virtual void AddNew() = 0;
  virtual void Edit() = 0;
  virtual void Update() = 0;
  virtual void CancelUpdate() = 0;
  virtual void Delete() = 0;

  // Criteria: column='text' (a '' inside stands for one apostrophe) or column=number, blanks
  // allowed around the "="; anything else raises 3075. The comparison is exact, letter case
  // included; Null never matches. FindFirst searches from the first row, FindNext after the
  // current one; when nothing matches NoMatch is true and the position is unchanged.
  virtual void FindFirst(std::string_view criterio) = 0;
  virtual void FindNext(std::string_view criterio) = 0;
  virtual bool NoMatch() const = 0;

  // Reads the rows again and moves to the first.
  virtual void Requery() = 0;
  // A recordset over the same rows, with its own position (at the first row).
  virtual std::unique_ptr<Recordset> Clone() = 0;
  virtual void Close() = 0;

 protected:
  Recordset() = default;
  friend class Field;
  virtual const std::vector<FieldDef>& CampiDef() const = 0;
  virtual const Valore& ValoreCampo(int indice) = 0;
  virtual void ImpostaCampo(int indice, const Valore& valore) = 0;
};

class Database : public std::enable_shared_from_this<Database> {
 public:
  virtual ~Database() = default;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // The path it was opened from.
  virtual const std::string& Name() const = 0;
  virtual bool SolaLettura() const = 0;
  // The tables in the engine's order.
  virtual const std::vector<TableDef>& TableDefs() = 0;
  // `sorgente` is a table name (any case) or a SELECT; 3078 for an unknown table.
  virtual std::unique_ptr<Recordset> OpenRecordset(const std::string& sorgente,
                                                   int tipo = dbOpenDefault) = 0;
  // Closes its recordsets (their calls then raise 3420). Changes made inside the
  // workspace's pending transaction stay pending until CommitTrans or Rollback.
  virtual void Close() = 0;
  virtual bool Aperto() const = 0;

 protected:
  Database() = default;
};

class DBEngine;

// How OpenDatabase opens a SQLite file.
enum class Accesso {
  Scrittura,
  Lettura,
  // Only read while another program may be writing it (the shop before the import): its
  // locks are honoured, so a file in use reads whole or gives the engine's own error (busy,
  // locked, a journal of an interrupted transaction to roll back).
  LetturaCondivisa,
};

class Workspace {
 public:
  explicit Workspace(DBEngine& motore);
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // A SQLite file is opened here; any other source (a connect string other than "" or
  // "Access 2000;..." on a SQLite file, a file that is not SQLite, a folder) goes to
  // ApriSorgenteEsterna, which only reads. A missing path raises 3024. A SQLite database
  // opened while a transaction is pending takes part in it. `solaLettura` (and a file we
  // may not write) opens a SQLite file without writing to it: its journal mode stays,
  // nothing is made beside it unless a WAL left there has to be read, and every schema
  // listing and recordset reads it as it then stands. A SQLite file opened to be written is
  // kept in rollback-journal mode; nothing of a transaction reaches it before the commit,
  // and the commit is on the disk when CommitTrans returns. A file that only fails to open
  // (busy, locked, damaged, unreadable) raises the engine's own error; 3343 only for a file
  // that is not a database.
  std::shared_ptr<Database> OpenDatabase(const std::string& percorso,
                                         const std::string& connect = "", bool solaLettura = false);
  std::shared_ptr<Database> OpenDatabase(const std::string& percorso, const std::string& connect,
                                         Accesso accesso);
  // One level of transaction over every SQLite database of the workspace, also those opened
  // after BeginTrans; CommitTrans and Rollback raise 3034 without BeginTrans. Each database
  // written takes its write lock when it joins the transaction, waiting as DBEngine::Attesa
  // says for another program that holds it; when it cannot be had, the join fails with 3045
  // before anything is written. From the first failure of a database itself in the
  // transaction (in use, unreadable, unwritable, damaged, out of memory) the database writes
  // nothing more and CommitTrans raises that failure; a row's own faults (a constraint, a
  // value, a column) leave the transaction as it was.
  void BeginTrans();
  void CommitTrans();
  void Rollback();
  bool TransazioneInCorso() const { return inCorso_; }

  // For the databases of this workspace.
  void Registra(const std::shared_ptr<Connessione>& connessione);

 private:
  DBEngine& motore_;
  bool inCorso_ = false;
  std::vector<std::weak_ptr<Connessione>> aperte_;       // every SQLite database opened
  std::vector<std::shared_ptr<Connessione>> coinvolte_;  // those in the pending transaction
};

// How a database waits for another program that holds its lock: up to `limite`, then the
// call fails with the engine's "in use" error. `aOgniAttesa`, when set, runs before each
// pause of the wait (tests release the lock there).
struct AttesaBlocco {
  std::chrono::milliseconds limite{5000};
  std::function<void()> aOgniAttesa;
};

// One per process: created by the program and passed to whoever opens a database.
class DBEngine {
 public:
  explicit DBEngine(Registro& registro);
  ~DBEngine();
  DBEngine(const DBEngine&) = delete;
  DBEngine& operator=(const DBEngine&) = delete;

  // The registry path of the engine's settings, e.g. "HKEY_CURRENT_USER\Software\...\Jet\4.0".
  std::string IniPath;
  // The wait of every SQLite database opened from now on.
  AttesaBlocco Attesa;

  // Only the default workspace 0 exists; any other index raises 3265.
  Workspace& Workspaces(int indice);
  Registro& Impostazioni() const { return registro_; }

  // An engine setting: IniPath + "\Engines\<sottochiave>" first, then the machine-wide
  // "Software\Microsoft\Jet\4.0\Engines\<sottochiave>"; a DWORD as its decimal text.
  std::optional<std::string> LeggiImpostazione(const std::string& sottochiave,
                                               const std::string& nome) const;

 private:
  Registro& registro_;
  std::unique_ptr<Workspace> workspace_;
};

// Lets SQLite finish what a writer left unfinished beside a SQLite file, as it does when it
// opens one to write: the journal of an interrupted transaction is rolled back, a
// write-ahead log is folded into the file, which stays in rollback-journal mode. The file
// alone then holds all of its content; `leggi` runs while SQLite holds it still for
// reading (no SQLite writer can commit to it meanwhile). A file that is not SQLite is only
// handed to `leggi`. Raises ErroreDao with the engine's text (busy, locked, I/O).
void CompletaFileSqlite(const std::string& percorso, const std::function<void()>& leggi = {});

// A criterion for FindFirst/FindNext: colonna='valore' with every apostrophe doubled.
std::string Criterio(std::string_view colonna, std::string_view valore);

// The data control of a page: opens a database from a name and a connect string, and holds a
// recordset (opened from RecordSource, or assigned) for the widgets bound to it.
class DataControl {
 public:
  explicit DataControl(DBEngine& motore) : motore_(motore) {}

  std::string DatabaseName;
  std::string Connect;
  std::string RecordSource;
  bool ReadOnly = false;  // the database is opened only to be read

  // Opens DatabaseName with Connect (again when either changed or the database was closed)
  // and, when RecordSource is not empty, its recordset; an assigned recordset without
  // RecordSource moves to its first row. An empty DatabaseName closes and releases the
  // database that this control opened, and its recordset. Errors of opening raise.
  void Refresh();
  std::shared_ptr<dao::Database> Database() const { return database_; }
  std::shared_ptr<dao::Recordset> Recordset() const { return recordset_; }
  void SetRecordset(std::shared_ptr<dao::Recordset> rs) { recordset_ = std::move(rs); }

 private:
  DBEngine& motore_;
  std::shared_ptr<dao::Database> database_;
  std::shared_ptr<dao::Recordset> recordset_;
  std::string apertoNome_;
  std::string apertoConnect_;
  bool apertoSolaLettura_ = false;
};

}  // namespace tarkpo::dao
