// SQLite storage of the engine layer: connections, column types, databases and SELECTs.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

#include "core/dao/conversioni.h"
#include "core/dao/interno.h"
#include "core/regionali.h"

namespace tarkpo::dao {

std::string MinuscoloAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string IdentificatoreSql(std::string_view nome) {
  std::string r = "\"";
  for (char c : nome) {
    r += c;
    if (c == '"') r += '"';
  }
  return r + "\"";
}

size_t CaratteriUtf8(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

void ErroreChiuso() {
  throw ErroreDao(errori::kOggettoNonValido, "L'oggetto non è valido o è stato chiuso");
}

FieldDef CampoDaTipoDichiarato(std::string nome, std::string_view dichiarato, bool chiaveRowid) {
  std::string t = MinuscoloAscii(dichiarato);
  int32_t dimensione = 0;
  if (size_t p = t.find('('); p != std::string::npos) {
    size_t cifre = t.find_first_not_of(' ', p + 1);
    if (cifre == std::string::npos) cifre = t.size();
    std::from_chars(t.data() + cifre, t.data() + t.size(), dimensione);
    t.erase(p);
  }
  while (!t.empty() && t.back() == ' ') t.pop_back();
  struct Voce {
    const char* nome;
    TipoValore tipo;
    bool contatore;
  };
  static const Voce kTipi[] = {
      {"counter", TipoValore::Long, true},       {"autoincrement", TipoValore::Long, true},
      {"autonumber", TipoValore::Long, true},    {"byte", TipoValore::Byte, false},
      {"tinyint", TipoValore::Byte, false},      {"smallint", TipoValore::Integer, false},
      {"short", TipoValore::Integer, false},     {"integer", TipoValore::Long, false},
      {"int", TipoValore::Long, false},          {"long", TipoValore::Long, false},
      {"real", TipoValore::Single, false},       {"single", TipoValore::Single, false},
      {"double", TipoValore::Double, false},     {"float", TipoValore::Double, false},
      {"currency", TipoValore::Currency, false}, {"money", TipoValore::Currency, false},
      {"bit", TipoValore::Boolean, false},       {"yesno", TipoValore::Boolean, false},
      {"boolean", TipoValore::Boolean, false},   {"logical", TipoValore::Boolean, false},
      {"datetime", TipoValore::Date, false},     {"date", TipoValore::Date, false},
      {"time", TipoValore::Date, false},         {"timestamp", TipoValore::Date, false},
  };
  for (const Voce& v : kTipi) {
    if (t == v.nome) {
      bool contatore = v.contatore || (chiaveRowid && v.tipo == TipoValore::Long);
      return FieldDef(std::move(nome), v.tipo, 0, contatore);
    }
  }
  // TEXT(n), VARCHAR(n), CHAR(n) are bounded; MEMO, LONGTEXT and a bare TEXT are not.
  bool limitato = t == "text" || t == "varchar" || t == "char" || t == "nvarchar" || t == "nchar" ||
                  t == "character" || t == "string";
  return FieldDef(std::move(nome), TipoValore::Text, limitato && dimensione > 0 ? dimensione : 0);
}

Valore LeggiColonna(sqlite3_stmt* st, int i, const FieldDef& campo) {
  int tipoSql = sqlite3_column_type(st, i);
  if (tipoSql == SQLITE_NULL) return Valore::Null();
  auto testo = [&] {
    const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, i)));
  };
  switch (campo.Type()) {
    case TipoValore::Text:
      if (tipoSql == SQLITE_TEXT || tipoSql == SQLITE_BLOB) return Valore::Testo(testo());
      if (tipoSql == SQLITE_INTEGER)
        return Valore::Testo(std::to_string(sqlite3_column_int64(st, i)));
      return Valore::Testo(ATesto(Valore::Doppio(sqlite3_column_double(st, i))));
    default:
      break;
  }
  if (tipoSql == SQLITE_TEXT || tipoSql == SQLITE_BLOB) {
    // A foreign value in a typed column: converted when it can be, else shown as it is.
    Valore v = Valore::Testo(testo());
    try {
      return ConvertiA(v, campo.Type());
    } catch (const ErroreDao&) {
      return v;
    }
  }
  const bool intero = tipoSql == SQLITE_INTEGER;
  const int64_t n = intero ? sqlite3_column_int64(st, i) : 0;
  const double d = intero ? static_cast<double>(n) : sqlite3_column_double(st, i);
  switch (campo.Type()) {
    case TipoValore::Boolean:
      return Valore::Booleano(intero ? n != 0 : d != 0);
    case TipoValore::Byte:
      if (intero && n >= 0 && n <= 255) return Valore::Byte(static_cast<uint8_t>(n));
      break;
    case TipoValore::Integer:
      if (intero && n >= INT16_MIN && n <= INT16_MAX)
        return Valore::Intero(static_cast<int16_t>(n));
      break;
    case TipoValore::Long:
      if (intero && n >= INT32_MIN && n <= INT32_MAX) return Valore::Lungo(static_cast<int32_t>(n));
      break;
    case TipoValore::Single:
      // SQLite holds a double: a Single written as its shortest form (1.3) or exactly
      // (1.2999999523162842) reads back as that Single; any other (a price 199999.99, a
      // 1e39, an Inf) is read as the Double it is, so no digit is lost and nothing becomes
      // Inf on the way.
      if (std::fabs(d) <= std::numeric_limits<float>::max()) {
        const float f = static_cast<float>(d);
        if (static_cast<double>(f) == d || DoubleDaSingle(f) == d) return Valore::Singolo(f);
      }
      break;
    case TipoValore::Double:
      return Valore::Doppio(d);
    case TipoValore::Currency:
      if (intero) return Valore::Valuta(n);
      if (auto valuta = DoubleACurrency(d)) return Valore::Valuta(*valuta);
      break;
    case TipoValore::Date:
      return Valore::Data(d);
    default:
      break;
  }
  // Out of the column's range, or a column without a declared type: as SQLite holds it.
  if (intero && n >= INT32_MIN && n <= INT32_MAX) return Valore::Lungo(static_cast<int32_t>(n));
  return Valore::Doppio(d);
}

void LegaValore(sqlite3_stmt* st, int i, const Valore& v) {
  switch (v.Tipo()) {
    case TipoValore::Empty:
    case TipoValore::Null:
      sqlite3_bind_null(st, i);
      break;
    case TipoValore::Boolean:
      sqlite3_bind_int(st, i, v.Bool() ? 1 : 0);
      break;
    case TipoValore::Byte:
    case TipoValore::Integer:
    case TipoValore::Long:
    case TipoValore::Currency:
      sqlite3_bind_int64(st, i, v.Intero64());
      break;
    case TipoValore::Single:
      // As the shortest decimal form the Single reads back from: the shop's other readers
      // see 1.3, not 1.2999999523162842.
      sqlite3_bind_double(st, i, DoubleDaSingle(static_cast<float>(v.Reale())));
      break;
    case TipoValore::Double:
    case TipoValore::Date:
      sqlite3_bind_double(st, i, v.Reale());
      break;
    case TipoValore::Text:
      sqlite3_bind_text(st, i, v.Stringa().data(), static_cast<int>(v.Stringa().size()),
                        SQLITE_STATIC);
      break;
  }
}

// ---- Connection -------------------------------------------------------------------------

Connessione::Connessione(sqlite3* db, std::string percorso, bool solaLettura, AttesaBlocco attesa)
    : db_(db),
      percorso_(std::move(percorso)),
      solaLettura_(solaLettura),
      attesa_(std::move(attesa)) {
  sqlite3_busy_handler(db_, &Connessione::Attendi, this);
  // While the workspace's transaction is pending, only its own COMMIT may make anything
  // durable: a statement that finds itself outside the transaction is rolled back.
  sqlite3_commit_hook(
      db_, [](void* c) { return static_cast<Connessione*>(c)->inTransazione ? 1 : 0; }, this);
}

int Connessione::Attendi(void* connessione, int volte) {
  auto& c = *static_cast<Connessione*>(connessione);
  const auto ora = std::chrono::steady_clock::now();
  if (volte == 0) c.inizioAttesa_ = ora;
  const auto resta = c.attesa_.limite - (ora - c.inizioAttesa_);
  if (resta <= std::chrono::steady_clock::duration::zero()) return 0;
  if (c.attesa_.aOgniAttesa) c.attesa_.aOgniAttesa();
  // Short pauses first, as a lock is mostly held for a moment.
  const auto pausa = std::min<std::chrono::steady_clock::duration>(
      resta, std::chrono::milliseconds(volte < 5 ? 1 << volte : 25));
  std::this_thread::sleep_for(pausa);
  return 1;
}

Connessione::~Connessione() {
  for (auto& [_, st] : istruzioni_) sqlite3_finalize(st);
  // Closing with a transaction pending rolls it back: the file stays as it was.
  sqlite3_close_v2(db_);
}

namespace {

// Whether a failure is the database's own (in use, unreadable or unwritable, damaged, out of
// memory, a full disk) rather than the fault of the row a statement wrote: a constraint, a
// value of the wrong kind or too long, a column or table the statement names wrongly.
bool GuastoDelDatabase(int esteso) {
  switch (esteso & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return false;
    case SQLITE_CONSTRAINT:
      return esteso == SQLITE_CONSTRAINT_COMMITHOOK;
    case SQLITE_ERROR:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
      return false;
    default:
      return true;
  }
}

bool InUso(int esteso) {
  return (esteso & 0xFF) == SQLITE_BUSY || (esteso & 0xFF) == SQLITE_LOCKED;
}

}  // namespace

void Connessione::Errore(int rc, const std::string& tabella) const {
  const int esteso = sqlite3_extended_errcode(db_);
  const std::string messaggio = sqlite3_errmsg(db_);
  const std::string descrizione =
      InUso(esteso) ? "Il database \"" + percorso_ + "\" è in uso da un altro programma"
                    : "Errore del database \"" + percorso_ + "\": " + messaggio;
  const int primario = rc & 0xFF;
  // After a failure of the database itself the transaction cannot be trusted whole: SQLite
  // may have ended it by itself (a full disk, an I/O error), and every later statement
  // would then be committed on its own, or kept it without the row that failed. From then
  // on the connection writes nothing until the workspace ends the transaction, every write
  // it refuses reports that failure, and so does the commit.
  if (inTransazione &&
      (!transazionePersa.empty() || sqlite3_get_autocommit(db_) || GuastoDelDatabase(esteso))) {
    const bool appenaPersa = transazionePersa.empty();
    if (appenaPersa) {
      transazionePersa = esteso == SQLITE_CONSTRAINT_COMMITHOOK
                             ? "Errore del database \"" + percorso_ + "\": transazione interrotta"
                             : descrizione;
      sqlite3_exec(db_, "PRAGMA query_only=1", nullptr, nullptr, nullptr);
    }
    if (appenaPersa || primario == SQLITE_READONLY || esteso == SQLITE_CONSTRAINT_COMMITHOOK)
      throw ErroreDao(errori::kErroreMotore, transazionePersa);
  }
  if (InUso(esteso)) throw ErroreDao(errori::kFileInUso, descrizione);
  // Read-only, SQLite cannot roll back what an interrupted writer left: the file is in use
  // or waits for a writer to open it, and is not read-only for all that.
  if (esteso == SQLITE_READONLY_ROLLBACK || esteso == SQLITE_READONLY_RECOVERY)
    throw ErroreDao(errori::kErroreMotore,
                    "Errore del database \"" + percorso_ +
                        "\": una transazione interrotta attende di essere annullata");
  if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
    throw ErroreDao(errori::kValoreDuplicato,
                    "Valore duplicato in un indice univoco della tabella \"" + tabella + "\"");
  if (rc == SQLITE_CONSTRAINT_NOTNULL) {
    std::string campo = messaggio.substr(messaggio.rfind(' ') + 1);
    throw ErroreDao(errori::kCampoObbligatorio,
                    "Il campo \"" + campo + "\" non può contenere un valore Null");
  }
  if (primario == SQLITE_READONLY)
    throw ErroreDao(errori::kSolaLettura, "Il database \"" + percorso_ + "\" è di sola lettura");
  if (messaggio.rfind("no such table", 0) == 0)
    throw ErroreDao(
        errori::kTabellaNonTrovata,
        "Tabella o query \"" + messaggio.substr(messaggio.find(':') + 2) + "\" non trovata");
  if (messaggio.rfind("no such column", 0) == 0)
    throw ErroreDao(errori::kCampoSconosciuto,
                    "Campo \"" + messaggio.substr(messaggio.find(':') + 2) + "\" sconosciuto");
  throw ErroreDao(errori::kErroreMotore, descrizione);
}

sqlite3_stmt* Connessione::Prepara(const std::string& sql) {
  auto it = istruzioni_.find(sql);
  if (it != istruzioni_.end()) {
    sqlite3_reset(it->second);
    return it->second;
  }
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &st, nullptr);
  if (rc != SQLITE_OK) Errore(rc);
  istruzioni_.emplace(sql, st);
  return st;
}

void Connessione::Esegui(const char* sql) {
  int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Errore(sqlite3_extended_errcode(db_));
}

std::shared_ptr<InfoTabella> Connessione::Tabella(const std::string& nome) {
  const std::string chiave = MinuscoloAscii(nome);
  if (auto it = tabelle_.find(chiave); it != tabelle_.end()) return it->second;

  sqlite3_stmt* st =
      Prepara("SELECT name FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
  sqlite3_bind_text(st, 1, nome.data(), static_cast<int>(nome.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(st) != SQLITE_ROW) {
    sqlite3_reset(st);
    return nullptr;
  }
  auto info = std::make_shared<InfoTabella>();
  info->nome = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
  sqlite3_reset(st);
  info->sqlNome = IdentificatoreSql(info->nome);

  sqlite3_stmt* colonne = Prepara("SELECT name, type, dflt_value, pk FROM pragma_table_info(?1)");
  sqlite3_bind_text(colonne, 1, info->nome.c_str(), -1, SQLITE_TRANSIENT);
  std::vector<std::string> predefiniti;
  int chiavi = 0;
  while (sqlite3_step(colonne) == SQLITE_ROW) chiavi += sqlite3_column_int(colonne, 3) > 0;
  sqlite3_reset(colonne);
  while (sqlite3_step(colonne) == SQLITE_ROW) {
    auto testo = [&](int i) {
      const unsigned char* p = sqlite3_column_text(colonne, i);
      return std::string(p ? reinterpret_cast<const char*>(p) : "");
    };
    std::string tipo = testo(1);
    // Only a sole INTEGER PRIMARY KEY is the rowid, numbered by the engine.
    bool rowid =
        chiavi == 1 && sqlite3_column_int(colonne, 3) == 1 && MinuscoloAscii(tipo) == "integer";
    info->campi.push_back(CampoDaTipoDichiarato(testo(0), tipo, rowid));
    predefiniti.push_back(sqlite3_column_type(colonne, 2) == SQLITE_NULL ? "" : testo(2));
  }
  sqlite3_reset(colonne);

  std::string elenco, parametri;
  for (size_t i = 0; i < info->campi.size(); ++i) {
    const FieldDef& c = info->campi[i];
    info->perNome.emplace(MinuscoloAscii(c.Name()), static_cast<int>(i));
    if (c.Contatore() && info->contatore < 0) info->contatore = static_cast<int>(i);
    elenco += (i ? "," : "") + IdentificatoreSql(c.Name());
    parametri += i ? ",?" : "?";
    // A column default is an expression of the schema: evaluated once, in the column's type.
    Valore v = Valore::Null();
    if (!predefiniti[i].empty()) {
      sqlite3_stmt* e = nullptr;
      std::string sql = "SELECT " + predefiniti[i];
      if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &e, nullptr) == SQLITE_OK &&
          sqlite3_step(e) == SQLITE_ROW) {
        FieldDef naturale(c.Name(),
                          c.Type() == TipoValore::Text ? TipoValore::Text : TipoValore::Double);
        v = LeggiColonna(e, 0, naturale);
        try {
          v = ConvertiA(v, c.Type());
        } catch (const ErroreDao&) {
        }
      }
      sqlite3_finalize(e);
    }
    info->predefiniti.push_back(std::move(v));
  }
  info->sqlLeggiDa =
      "SELECT " + elenco + ", rowid FROM " + info->sqlNome + " WHERE rowid>=? ORDER BY rowid";
  info->sqlInserisci =
      "INSERT INTO " + info->sqlNome + " (" + elenco + ") VALUES (" + parametri + ")";
  info->sqlElimina = "DELETE FROM " + info->sqlNome + " WHERE rowid=?";
  tabelle_.emplace(chiave, info);
  return info;
}

// Jet never issues an AutoNumber twice, not even after the row that held the highest one is
// gone. The last number issued is kept where SQLite keeps its AUTOINCREMENT sequences, in
// sqlite_sequence, by the table's name; a table without a row there (a shop made before, or
// a COUNTER column that SQLite does not number itself) starts after its highest value. A
// number is used up when AddNew assigns it, whether or not its row is then stored; inside
// a transaction the record of it goes with the transaction.
int32_t Connessione::ProssimoContatore(InfoTabella& tabella) {
  if (!tabella.contatoreLetto) {
    sqlite3_stmt* st =
        Prepara("SELECT max(" + IdentificatoreSql(tabella.campi[tabella.contatore].Name()) +
                ") FROM " + tabella.sqlNome);
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) Errore(rc, tabella.nome);
    tabella.ultimoContatore = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    if (EsisteSequenze()) {
      st = Prepara("SELECT seq FROM sqlite_sequence WHERE name=?1");
      sqlite3_bind_text(st, 1, tabella.nome.data(), static_cast<int>(tabella.nome.size()),
                        SQLITE_TRANSIENT);
      rc = sqlite3_step(st);
      if (rc == SQLITE_ROW)
        tabella.ultimoContatore =
            std::max<int64_t>(tabella.ultimoContatore, sqlite3_column_int64(st, 0));
      sqlite3_reset(st);
      if (rc != SQLITE_ROW && rc != SQLITE_DONE) Errore(rc, tabella.nome);
    }
    tabella.contatoreLetto = true;
  }
  if (tabella.ultimoContatore >= INT32_MAX)
    throw ErroreDao(errori::kErroreMotore,
                    "Numerazione automatica esaurita nella tabella \"" + tabella.nome + "\"");
  const int64_t numero = tabella.ultimoContatore + 1;
  // A rolled-back transaction may have taken the sequence table away again.
  if (!EsisteSequenze()) CreaSequenze();
  for (const char* sql : {"UPDATE sqlite_sequence SET seq=?2 WHERE name=?1",
                          "INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)"}) {
    sqlite3_stmt* st = Prepara(sql);
    sqlite3_bind_text(st, 1, tabella.nome.data(), static_cast<int>(tabella.nome.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 2, numero);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) Errore(sqlite3_extended_errcode(db_), tabella.nome);
    if (sqlite3_changes(db_) > 0) break;
  }
  tabella.ultimoContatore = numero;
  return static_cast<int32_t>(numero);
}

bool Connessione::EsisteSequenze() {
  sqlite3_stmt* st =
      Prepara("SELECT 1 FROM sqlite_master WHERE type='table' AND name='sqlite_sequence'");
  const int rc = sqlite3_step(st);
  sqlite3_reset(st);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) Errore(sqlite3_extended_errcode(db_));
  return rc == SQLITE_ROW;
}

// SQLite makes its sequence table with the first table that has an AUTOINCREMENT column,
// and keeps it when that table is dropped.
void Connessione::CreaSequenze() {
  try {
    Esegui(
        "SAVEPOINT sequenza; CREATE TABLE \"tarkpo sequenza\" (n INTEGER PRIMARY KEY "
        "AUTOINCREMENT); DROP TABLE \"tarkpo sequenza\"; RELEASE sequenza");
  } catch (const ErroreDao&) {
    sqlite3_exec(db_, "ROLLBACK TO sequenza; RELEASE sequenza", nullptr, nullptr, nullptr);
    throw;
  }
}

void Connessione::PreparaSequenze() {
  if (EsisteSequenze()) return;
  std::vector<std::string> nomi;
  sqlite3_stmt* st = Prepara("SELECT name FROM sqlite_master WHERE type='table'");
  while (sqlite3_step(st) == SQLITE_ROW)
    nomi.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_reset(st);
  for (const std::string& nome : nomi) {
    if (Tabella(nome)->contatore < 0) continue;
    CreaSequenze();
    return;
  }
}

// ---- SELECT -------------------------------------------------------------------------------

namespace {

class CursoreSelect : public Cursore {
 public:
  CursoreSelect(std::shared_ptr<Connessione> c, sqlite3_stmt* st, std::vector<FieldDef> campi)
      : conn_(std::move(c)), st_(st), campi_(std::move(campi)) {}
  ~CursoreSelect() override { sqlite3_finalize(st_); }
  bool Leggi(std::vector<Valore>& riga) override {
    int rc = sqlite3_step(st_);
    if (rc == SQLITE_DONE) return false;
    if (rc != SQLITE_ROW) conn_->Errore(sqlite3_extended_errcode(conn_->Db()));
    riga.resize(campi_.size());
    for (size_t i = 0; i < campi_.size(); ++i)
      riga[i] = LeggiColonna(st_, static_cast<int>(i), campi_[i]);
    return true;
  }
  void Riapri() override { sqlite3_reset(st_); }

 private:
  std::shared_ptr<Connessione> conn_;
  sqlite3_stmt* st_;
  std::vector<FieldDef> campi_;
};

class DatabaseSqlite : public Database {
 public:
  DatabaseSqlite(std::shared_ptr<Connessione> c, Rinnovo rinnovo)
      : conn_(std::move(c)),
        rinnovo_(std::move(rinnovo)),
        nome_(conn_->Percorso()),
        aperto_(std::make_shared<bool>(true)) {}
  // Its recordsets keep working after the object goes: only Close ends them.

  const std::string& Name() const override { return nome_; }
  bool SolaLettura() const override { return conn_ && conn_->SolaLettura(); }
  bool Aperto() const override { return *aperto_; }

  const std::vector<TableDef>& TableDefs() override {
    Verifica();
    Rinnova();
    tabelle_.clear();
    std::vector<std::string> nomi;
    sqlite3_stmt* st = conn_->Prepara("SELECT name FROM sqlite_master WHERE type='table'");
    while (sqlite3_step(st) == SQLITE_ROW)
      nomi.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_reset(st);
    for (const std::string& n : nomi) {
      int32_t attributi = n.rfind("sqlite_", 0) == 0 ? dbSystemObject : 0;
      auto info = conn_->Tabella(n);
      tabelle_.emplace_back(info->nome, attributi, info->campi);
    }
    return tabelle_;
  }

  std::unique_ptr<Recordset> OpenRecordset(const std::string& sorgente, int) override {
    Verifica();
    Rinnova();
    size_t inizio = sorgente.find_first_not_of(" \t\r\n(");
    std::string parola =
        MinuscoloAscii(sorgente.substr(inizio == std::string::npos ? 0 : inizio, 7));
    if (parola == "select " || parola == "select\t" || parola == "select\n")
      return ApriSelect(sorgente);
    auto info = conn_->Tabella(sorgente);
    if (!info)
      throw ErroreDao(errori::kTabellaNonTrovata, "Tabella \"" + sorgente + "\" non trovata");
    return NuovoRecordsetTabella(conn_, info, aperto_);
  }

  void Close() override {
    *aperto_ = false;
    aperto_ = std::make_shared<bool>(false);
    conn_.reset();  // the workspace keeps it while its transaction is pending
  }

 private:
  void Verifica() const {
    if (!*aperto_) ErroreChiuso();
  }
  // The recordsets already open keep the connection they read through.
  void Rinnova() {
    if (!rinnovo_) return;
    if (auto nuova = rinnovo_()) conn_ = std::move(nuova);
  }

  std::unique_ptr<Recordset> ApriSelect(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    int rc =
        sqlite3_prepare_v2(conn_->Db(), sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(st);
      conn_->Errore(rc);
    }
    if (!sqlite3_stmt_readonly(st)) {
      sqlite3_finalize(st);
      throw ErroreDao(errori::kSintassiCriterio, "Istruzione non valida: " + sql);
    }
    std::vector<FieldDef> campi;
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const char* dichiarato = sqlite3_column_decltype(st, i);
      if (dichiarato)
        campi.push_back(CampoDaTipoDichiarato(sqlite3_column_name(st, i), dichiarato, false));
      else  // an expression: values as SQLite holds them
        campi.emplace_back(sqlite3_column_name(st, i), TipoValore::Empty);
    }
    auto cursore = std::make_unique<CursoreSelect>(conn_, st, campi);
    return NuovoRecordsetSequenziale(std::move(campi), std::move(cursore), aperto_);
  }

  std::shared_ptr<Connessione> conn_;
  Rinnovo rinnovo_;
  std::string nome_;
  std::shared_ptr<bool> aperto_;
  std::vector<TableDef> tabelle_;
};

}  // namespace

std::shared_ptr<Database> NuovoDatabaseSqlite(std::shared_ptr<Connessione> connessione,
                                              Rinnovo rinnovo) {
  return std::make_shared<DatabaseSqlite>(std::move(connessione), std::move(rinnovo));
}

}  // namespace tarkpo::dao
