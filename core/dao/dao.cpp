// The engine object, its workspace and transaction, fields, criteria and the data control.
#include "core/dao/dao.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/caratteri.h"
#include "core/dao/apri_sorgente.h"
#include "core/dao/interno.h"
#include "core/file_disco.h"
#include "core/impostazioni.h"
#include "core/regionali.h"

namespace tarkpo::dao {

namespace {

bool EFileSqlite(const std::string& percorso) {
  return InizioFile(percorso, 16) == std::string_view("SQLite format 3\0", 16);
}

// A connect string that asks for nothing but the file itself ("", "Access 2000;PWD=...").
bool ConnectDiFile(const std::string& connect) {
  if (connect.empty() || connect[0] == ';') return true;
  return MinuscoloAscii(connect).rfind("access", 0) == 0;
}

// How a SQLite file is read without writing: through shared locks ("mode=ro"), so that a
// commit made by another program after it was opened is seen and a VACUUM breaks nothing.
// A WAL database is the exception while no WAL is beside it: a read through locks would
// make its WAL and shared-memory files beside it and leave them, so it is read as
// immutable, and opened again whenever the file changes (Rinnovo). A file that another
// program may be writing right then (the shop before the import) is never read as
// immutable.
struct LetturaSqlite {
  std::string uri;
  bool immutabile = false;
};

// What tells that a file has changed: the file itself, and whether a WAL stands beside it.
struct StatoFile {
  std::optional<ImprontaFile> file;
  bool wal = false;
  bool operator==(const StatoFile&) const = default;
};

StatoFile StatoDi(const std::string& percorso) {
  std::error_code ec;
  return {Impronta(percorso), std::filesystem::exists(percorso + "-wal", ec)};
}

LetturaSqlite LetturaSolaLettura(const std::string& percorso, bool condivisa) {
  std::error_code ec;
  const bool accanto = condivisa || std::filesystem::exists(percorso + "-wal", ec) ||
                       std::filesystem::exists(percorso + "-journal", ec);
  // Bytes 18 and 19 of the header are 2 in a WAL database.
  const std::string intestazione = InizioFile(percorso, 20);
  const bool modoWal =
      intestazione.size() == 20 && (intestazione[18] == 2 || intestazione[19] == 2);
  LetturaSqlite l;
  l.immutabile = modoWal && !accanto;
  l.uri = "file:";
  static const char kCifre[] = "0123456789ABCDEF";
  for (const unsigned char c : std::filesystem::absolute(percorso, ec).string()) {
    const bool semplice = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '/' || c == '.' || c == '-' || c == '_' ||
                          c == '~';
    if (semplice) {
      l.uri += static_cast<char>(c);
    } else {
      l.uri += '%';
      l.uri += kCifre[c >> 4];
      l.uri += kCifre[c & 0xF];
    }
  }
  l.uri += l.immutabile ? "?immutable=1" : "?mode=ro";
  return l;
}

// The SQLite file `percorso` opened as `nome` (the path, or a URI with SQLITE_OPEN_URI); the
// engine's error when it cannot be. The Connessione made of it waits for other programs'
// locks.
sqlite3* ApriSqlite(const std::string& percorso, const std::string& nome, int modo) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(nome.c_str(), &db, modo, nullptr) != SQLITE_OK) {
    std::string messaggio = db ? sqlite3_errmsg(db) : "memoria esaurita";
    sqlite3_close_v2(db);
    throw ErroreDao(errori::kErroreMotore,
                    "Impossibile aprire il file \"" + percorso + "\": " + messaggio);
  }
  return db;
}

// A SQLite file opened and checked: read-only as LetturaSolaLettura says, or to be written
// with the rollback journal.
std::shared_ptr<Connessione> ConnessioneSqlite(const std::string& percorso, Accesso accesso,
                                               const AttesaBlocco& attesa) {
  const bool solaLettura = accesso != Accesso::Scrittura;
  const LetturaSqlite lettura =
      solaLettura ? LetturaSolaLettura(percorso, accesso == Accesso::LetturaCondivisa)
                  : LetturaSqlite{};
  sqlite3* db = solaLettura
                    ? ApriSqlite(percorso, lettura.uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI)
                    : ApriSqlite(percorso, percorso, SQLITE_OPEN_READWRITE);
  auto conn = std::make_shared<Connessione>(db, percorso, solaLettura, attesa);
  conn->immutabile = lettura.immutabile;
  conn->sorgente = accesso == Accesso::Lettura;
  try {
    if (!solaLettura) {
      // The rollback journal keeps the data file whole by itself whenever nothing is
      // pending, so that a byte copy of it is a backup; and with no page spilled before the
      // commit, the file is untouched until then: a kill leaves it as it was, and a change
      // to it by another program shows in its times. A cache that holds what a large import
      // touches spares SQLite a vain search for a page to spill at every page it reads.
      conn->Esegui("PRAGMA journal_mode=DELETE");
      // A commit has reached the disk once the journal's removal has: SQLite syncs the
      // folder after it (in WAL mode, kept by another program, the log at every commit).
      conn->Esegui("PRAGMA synchronous=EXTRA");
      conn->Esegui("PRAGMA cache_spill=OFF");
      conn->Esegui("PRAGMA cache_size=-262144");
    }
    conn->Esegui("SELECT count(*) FROM sqlite_master");
  } catch (const ErroreDao&) {
    // A file that only fails to open (busy, locked, a damaged page, an I/O error) keeps the
    // engine's own account; only a file that is no database is reported as such.
    if ((sqlite3_extended_errcode(db) & 0xFF) != SQLITE_NOTADB) throw;
    throw ErroreDao(errori::kFormatoNonRiconosciuto,
                    "Formato del database \"" + percorso + "\" non riconosciuto");
  }
  return conn;
}

[[noreturn]] void ErroreSintassi(std::string_view criterio) {
  throw ErroreDao(errori::kSintassiCriterio,
                  "Errore di sintassi nel criterio: " + std::string(criterio));
}

}  // namespace

// ---- Fields -------------------------------------------------------------------------------

const std::string& Field::Name() const { return rs_->Campi()[static_cast<size_t>(indice_)].Name(); }
TipoValore Field::Type() const { return rs_->Campi()[static_cast<size_t>(indice_)].Type(); }
int32_t Field::Size() const { return rs_->Campi()[static_cast<size_t>(indice_)].Size(); }
const Valore& Field::Value() const { return rs_->ValoreCampo(indice_); }
void Field::SetValue(const Valore& valore) { rs_->ImpostaCampo(indice_, valore); }

int Recordset::IndiceCampo(std::string_view nome) const {
  const auto& campi = Campi();
  for (size_t i = 0; i < campi.size(); ++i)
    if (UgualiSenzaMaiuscole(campi[i].Name(), nome)) return static_cast<int>(i);
  return -1;
}

Field Recordset::Fields(std::string_view nome) {
  int i = IndiceCampo(nome);
  if (i < 0)
    throw ErroreDao(errori::kElementoNonTrovato,
                    "Elemento non trovato in questa raccolta: \"" + std::string(nome) + "\"");
  return Field(this, i);
}

Field Recordset::Fields(int posizione) {
  if (posizione < 0 || posizione >= FieldCount())
    throw ErroreDao(errori::kElementoNonTrovato,
                    "Elemento non trovato in questa raccolta: " + std::to_string(posizione));
  return Field(this, posizione);
}

// ---- Criteria -----------------------------------------------------------------------------

std::string Criterio(std::string_view colonna, std::string_view valore) {
  std::string r(colonna);
  r += "='";
  for (char c : valore) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r + "'";
}

CriterioAnalizzato AnalizzaCriterio(std::string_view criterio) {
  CriterioAnalizzato c;
  size_t i = 0;
  const size_t n = criterio.size();
  auto spazi = [&] {
    while (i < n && (criterio[i] == ' ' || criterio[i] == '\t')) ++i;
  };
  spazi();
  if (i < n && criterio[i] == '[') {
    size_t fine = criterio.find(']', i + 1);
    if (fine == std::string_view::npos) ErroreSintassi(criterio);
    c.colonna = criterio.substr(i + 1, fine - i - 1);
    i = fine + 1;
  } else {
    size_t inizio = i;
    while (i < n && criterio[i] != '=' && criterio[i] != ' ' && criterio[i] != '\t' &&
           criterio[i] != '\'' && criterio[i] != '"')
      ++i;
    c.colonna = criterio.substr(inizio, i - inizio);
  }
  if (c.colonna.empty()) ErroreSintassi(criterio);
  spazi();
  if (i >= n || criterio[i] != '=') ErroreSintassi(criterio);
  ++i;
  spazi();
  if (i < n && (criterio[i] == '\'' || criterio[i] == '"')) {
    const char q = criterio[i++];
    bool chiuso = false;
    while (i < n) {
      if (criterio[i] == q) {
        if (i + 1 < n && criterio[i + 1] == q) {
          c.testo += q;
          i += 2;
          continue;
        }
        ++i;
        chiuso = true;
        break;
      }
      c.testo += criterio[i++];
    }
    if (!chiuso) ErroreSintassi(criterio);
  } else {
    size_t inizio = i;
    if (i < n && (criterio[i] == '-' || criterio[i] == '+')) ++i;
    size_t cifre = 0;
    while (i < n && ((criterio[i] >= '0' && criterio[i] <= '9') || criterio[i] == '.')) {
      cifre += criterio[i] != '.';
      ++i;
    }
    if (cifre == 0) ErroreSintassi(criterio);
    c.testo = criterio.substr(inizio, i - inizio);
    // A number in a criterion is written with '.', whatever the regional settings.
    auto numero = ImpostazioniRegionali('.').ADouble(c.testo);
    if (!numero) ErroreSintassi(criterio);
    c.numero = *numero;
    c.numerico = true;
  }
  spazi();
  if (i != n) ErroreSintassi(criterio);
  return c;
}

// ---- Workspace ----------------------------------------------------------------------------

Workspace::Workspace(DBEngine& motore) : motore_(motore) {}
Workspace::~Workspace() = default;

std::shared_ptr<Database> Workspace::OpenDatabase(const std::string& percorso,
                                                  const std::string& connect, bool perSolaLettura) {
  return OpenDatabase(percorso, connect, perSolaLettura ? Accesso::Lettura : Accesso::Scrittura);
}

std::shared_ptr<Database> Workspace::OpenDatabase(const std::string& percorso,
                                                  const std::string& connect, Accesso accesso) {
  std::error_code ec;
  if (percorso.empty() || !std::filesystem::exists(percorso, ec))
    throw ErroreDao(errori::kFileNonTrovato, "Impossibile trovare il file \"" + percorso + "\"");
  if (!std::filesystem::is_regular_file(percorso, ec) || !EFileSqlite(percorso) ||
      !ConnectDiFile(connect))
    return NuovoDatabaseSorgente(percorso, ApriSorgenteEsterna(motore_, percorso, connect));

  if (accesso == Accesso::Scrittura && ::access(percorso.c_str(), W_OK) != 0)
    accesso = Accesso::Lettura;
  if (accesso != Accesso::Scrittura) {
    auto conn = ConnessioneSqlite(percorso, accesso, motore_.Attesa);
    Registra(conn);
    if (!conn->immutabile) return NuovoDatabaseSqlite(conn);
    // Read as immutable: opened again, as it then stands, once it has changed.
    Rinnovo rinnovo = [percorso, accesso, attesa = motore_.Attesa,
                       impronta = StatoDi(percorso)]() mutable {
      StatoFile ora = StatoDi(percorso);
      if (ora == impronta) return std::shared_ptr<Connessione>();
      auto nuova = ConnessioneSqlite(percorso, accesso, attesa);
      impronta = ora;
      return nuova;
    };
    return NuovoDatabaseSqlite(conn, std::move(rinnovo));
  }
  auto conn = ConnessioneSqlite(percorso, Accesso::Scrittura, motore_.Attesa);
  Registra(conn);
  try {
    conn->PreparaSequenze();
  } catch (const ErroreDao&) {
    // AddNew reports it, if a number is ever needed
  }
  return NuovoDatabaseSqlite(conn);
}

void CompletaFileSqlite(const std::string& percorso, const std::function<void()>& leggi) {
  if (!EFileSqlite(percorso)) {
    if (leggi) leggi();
    return;
  }
  sqlite3* db = ApriSqlite(percorso, percorso, SQLITE_OPEN_READWRITE);
  Connessione conn(db, percorso, false);
  sqlite3_stmt* st = conn.Prepara("PRAGMA journal_mode=DELETE");
  if (sqlite3_step(st) != SQLITE_ROW) conn.Errore(sqlite3_extended_errcode(db));
  const unsigned char* modo = sqlite3_column_text(st, 0);
  const std::string giornale = modo ? reinterpret_cast<const char*>(modo) : "";
  sqlite3_reset(st);
  if (MinuscoloAscii(giornale) != "delete")
    throw ErroreDao(errori::kErroreMotore, "Errore del database \"" + percorso +
                                               "\": modalità del giornale \"" + giornale +
                                               "\" non modificabile");
  conn.Esegui("BEGIN");
  conn.Esegui("SELECT count(*) FROM sqlite_master");
  if (leggi) leggi();
  conn.Esegui("COMMIT");
}

void Workspace::Registra(const std::shared_ptr<Connessione>& connessione) {
  std::erase_if(aperte_, [](const std::weak_ptr<Connessione>& c) { return c.expired(); });
  aperte_.push_back(connessione);
  if (inCorso_ && !connessione->SolaLettura()) {
    // The write lock at once: a transaction that read first could not wait for another
    // writer, and its first write would fail while rows are being imported.
    connessione->Esegui("BEGIN IMMEDIATE");
    connessione->inTransazione = true;
    coinvolte_.push_back(connessione);
  }
}

void Workspace::BeginTrans() {
  if (inCorso_) throw ErroreDao(errori::kErroreMotore, "Una transazione è già in corso");
  std::vector<std::shared_ptr<Connessione>> coinvolte;
  try {
    for (const auto& debole : aperte_) {
      auto c = debole.lock();
      if (!c || c->SolaLettura()) continue;
      c->Esegui("BEGIN IMMEDIATE");
      c->inTransazione = true;
      coinvolte.push_back(std::move(c));
    }
  } catch (const ErroreDao&) {
    for (auto& c : coinvolte) {
      c->inTransazione = false;
      sqlite3_exec(c->Db(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    throw;
  }
  coinvolte_ = std::move(coinvolte);
  inCorso_ = true;
}

namespace {
// Ends the transaction on every connection; the first failure is raised once all are done.
void Chiudi(std::vector<std::shared_ptr<Connessione>>& coinvolte, bool conferma) {
  std::optional<ErroreDao> primo;
  for (auto& c : coinvolte) {
    if (!c->inTransazione) continue;
    c->inTransazione = false;
    if (c->transazionePersa.empty() && sqlite3_get_autocommit(c->Db()))
      c->transazionePersa = "Errore del database \"" + c->Percorso() + "\": transazione interrotta";
    if (!c->transazionePersa.empty()) {
      // SQLite already undid the transaction, and nothing was written since: what a later
      // statement began is only rolled back.
      const ErroreDao perdita(errori::kErroreMotore, c->transazionePersa);
      c->transazionePersa.clear();
      sqlite3_exec(c->Db(), "ROLLBACK", nullptr, nullptr, nullptr);
      sqlite3_exec(c->Db(), "PRAGMA query_only=0", nullptr, nullptr, nullptr);
      if (conferma && !primo) primo = perdita;
      continue;
    }
    try {
      c->Esegui(conferma ? "COMMIT" : "ROLLBACK");
    } catch (const ErroreDao& e) {
      if (!primo) primo = e;
      if (conferma) {
        try {
          c->Esegui("ROLLBACK");
        } catch (const ErroreDao&) {
        }
      }
    }
  }
  coinvolte.clear();
  if (primo) throw *primo;
}
}  // namespace

void Workspace::CommitTrans() {
  if (!inCorso_)
    throw ErroreDao(errori::kSenzaBeginTrans, "CommitTrans o Rollback senza BeginTrans");
  inCorso_ = false;
  Chiudi(coinvolte_, true);
}

void Workspace::Rollback() {
  if (!inCorso_)
    throw ErroreDao(errori::kSenzaBeginTrans, "CommitTrans o Rollback senza BeginTrans");
  inCorso_ = false;
  Chiudi(coinvolte_, false);
}

// ---- Engine -------------------------------------------------------------------------------

DBEngine::DBEngine(Registro& registro)
    : registro_(registro), workspace_(std::make_unique<Workspace>(*this)) {}
DBEngine::~DBEngine() = default;

Workspace& DBEngine::Workspaces(int indice) {
  if (indice != 0)
    throw ErroreDao(errori::kElementoNonTrovato,
                    "Elemento non trovato in questa raccolta: " + std::to_string(indice));
  return *workspace_;
}

std::optional<std::string> DBEngine::LeggiImpostazione(const std::string& sottochiave,
                                                       const std::string& nome) const {
  if (auto percorso = Registro::DividiPercorso(IniPath)) {
    if (auto v =
            registro_.Leggi(percorso->first, percorso->second + "\\Engines\\" + sottochiave, nome))
      return v->ComeTesto();
  }
  if (auto v = registro_.Leggi(HKEY_LOCAL_MACHINE,
                               "Software\\Microsoft\\Jet\\4.0\\Engines\\" + sottochiave, nome))
    return v->ComeTesto();
  return std::nullopt;
}

// ---- Data control -------------------------------------------------------------------------

void DataControl::Refresh() {
  if (DatabaseName.empty()) {
    if (database_) {
      recordset_.reset();
      database_->Close();
      database_.reset();
    }
    apertoNome_.clear();
  } else if (!database_ || !database_->Aperto() || DatabaseName != apertoNome_ ||
             Connect != apertoConnect_ || ReadOnly != apertoSolaLettura_) {
    auto nuovo = motore_.Workspaces(0).OpenDatabase(DatabaseName, Connect, ReadOnly);
    recordset_.reset();
    if (database_) database_->Close();
    database_ = std::move(nuovo);
    apertoNome_ = DatabaseName;
    apertoConnect_ = Connect;
    apertoSolaLettura_ = ReadOnly;
  }
  if (database_ && !RecordSource.empty()) {
    recordset_ = database_->OpenRecordset(RecordSource);
  } else if (recordset_ && !(recordset_->Bof() && recordset_->Eof())) {
    recordset_->MoveFirst();
  }
}

}  // namespace tarkpo::dao
