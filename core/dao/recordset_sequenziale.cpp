// Read-only recordsets that read their rows through a cursor: SELECTs and every source
// that is not SQLite. Only the current row is held, so a large table costs no memory.
#include "core/dao/interno.h"
#include "core/dao/sorgente_comune.h"

namespace tarkpo::dao {

namespace {

[[noreturn]] void SolaLetturaRs() {
  throw ErroreDao(errori::kSolaLettura, "Il recordset è di sola lettura");
}
[[noreturn]] void NonSupportata(const char* operazione) {
  throw ErroreDao(errori::kOperazioneNonSupportata,
                  std::string("Operazione non supportata su questo recordset: ") + operazione);
}
[[noreturn]] void NessunRecord() {
  throw ErroreDao(errori::kNessunRecordCorrente, "Nessun record corrente");
}

class RecordsetSequenziale : public Recordset {
 public:
  RecordsetSequenziale(std::vector<FieldDef> campi, std::unique_ptr<Cursore> cursore,
                       std::shared_ptr<bool> aperto)
      : campi_(std::move(campi)), cursore_(std::move(cursore)), aperto_(std::move(aperto)) {
    Primo();
  }

  bool Eof() const override { return Attivo(), eof_; }
  bool Bof() const override { return Attivo(), vuoto_; }
  void MoveFirst() override {
    Attivo();
    if (vuoto_) NessunRecord();
    cursore_->Riapri();
    Primo();
  }
  void MoveLast() override {
    Attivo();
    if (vuoto_) NessunRecord();
    if (eof_) MoveFirst();
    // Reads through to the end; the last row read stays current.
    while (cursore_->Leggi(prossima_)) {
      riga_.swap(prossima_);
      ++posizione_;
    }
    totale_ = posizione_ + 1;
  }
  void MoveNext() override {
    Attivo();
    if (eof_) NessunRecord();
    if (cursore_->Leggi(prossima_)) {
      riga_.swap(prossima_);
      ++posizione_;
    } else {
      eof_ = true;
      totale_ = posizione_ + 1;
    }
  }
  int32_t RecordCount() const override {
    Attivo();
    return totale_ >= 0 ? totale_ : posizione_ + 1;
  }

  bool Updatable() const override { return false; }
  void AddNew() override { SolaLetturaRs(); }
  void Edit() override { SolaLetturaRs(); }
  void Update() override { SolaLetturaRs(); }
  void CancelUpdate() override {}
  void Delete() override { SolaLetturaRs(); }
  void FindFirst(std::string_view) override { NonSupportata("FindFirst"); }
  void FindNext(std::string_view) override { NonSupportata("FindNext"); }
  bool NoMatch() const override { return true; }
  void Requery() override {
    Attivo();
    cursore_->Riapri();
    totale_ = -1;
    Primo();
  }
  std::unique_ptr<Recordset> Clone() override { NonSupportata("Clone"); }
  void Close() override {
    cursore_.reset();
    chiuso_ = true;
  }

 protected:
  const std::vector<FieldDef>& CampiDef() const override { return campi_; }
  const Valore& ValoreCampo(int indice) override {
    Attivo();
    if (eof_ || vuoto_) NessunRecord();
    static const Valore kNull = Valore::Null();
    const size_t i = static_cast<size_t>(indice);
    return i < riga_.size() ? riga_[i] : kNull;  // a short row lacks its last fields
  }
  void ImpostaCampo(int, const Valore&) override { SolaLetturaRs(); }

 private:
  void Attivo() const {
    if (chiuso_ || !*aperto_) ErroreChiuso();
  }
  void Primo() {
    posizione_ = 0;
    eof_ = !cursore_->Leggi(riga_);
    vuoto_ = eof_;
    if (vuoto_) totale_ = 0;
    if (riga_.size() < campi_.size()) riga_.resize(campi_.size());
  }

  std::vector<FieldDef> campi_;
  std::unique_ptr<Cursore> cursore_;
  std::shared_ptr<bool> aperto_;
  std::vector<Valore> riga_, prossima_;
  int32_t posizione_ = 0;
  int32_t totale_ = -1;
  bool eof_ = true;
  bool vuoto_ = true;
  bool chiuso_ = false;
};

// A source's cursor: MoveFirst asks the source for a fresh one.
class CursoreDiSorgente : public Cursore {
 public:
  CursoreDiSorgente(std::shared_ptr<Sorgente> sorgente, std::string tabella)
      : sorgente_(std::move(sorgente)), tabella_(std::move(tabella)) {
    Riapri();
  }
  bool Leggi(std::vector<Valore>& riga) override { return cursore_->Leggi(riga); }
  void Riapri() override { cursore_ = sorgente_->Apri(tabella_); }

 private:
  std::shared_ptr<Sorgente> sorgente_;
  std::string tabella_;
  std::unique_ptr<CursoreSorgente> cursore_;
};

class DatabaseSorgente : public Database {
 public:
  DatabaseSorgente(std::string percorso, std::unique_ptr<Sorgente> sorgente)
      : nome_(std::move(percorso)),
        sorgente_(std::move(sorgente)),
        aperto_(std::make_shared<bool>(true)) {}

  const std::string& Name() const override { return nome_; }
  bool SolaLettura() const override { return true; }
  bool Aperto() const override { return *aperto_; }
  const std::vector<TableDef>& TableDefs() override {
    Verifica();
    if (tabelle_.empty()) {
      for (const TabellaSorgente& t : sorgente_->Tabelle()) {
        std::vector<FieldDef> campi;
        for (const CampoSorgente& c : t.campi) campi.emplace_back(c.nome, c.tipo);
        tabelle_.emplace_back(t.nome, t.attributi, std::move(campi));
      }
    }
    return tabelle_;
  }
  std::unique_ptr<Recordset> OpenRecordset(const std::string& sorgente, int) override {
    Verifica();
    const auto& tabelle = sorgente_->Tabelle();
    const auto i = CercaTabella(tabelle, sorgente);
    if (!i) throw ErroreDao(errori::kTabellaNonTrovata, "Tabella \"" + sorgente + "\" non trovata");
    const TabellaSorgente& t = tabelle[*i];
    std::vector<FieldDef> campi;
    for (const CampoSorgente& c : t.campi) campi.emplace_back(c.nome, c.tipo);
    return NuovoRecordsetSequenziale(
        std::move(campi), std::make_unique<CursoreDiSorgente>(sorgente_, t.nome), aperto_);
  }
  void Close() override {
    *aperto_ = false;
    sorgente_.reset();
  }

 private:
  void Verifica() const {
    if (!*aperto_) ErroreChiuso();
  }
  std::string nome_;
  std::shared_ptr<Sorgente> sorgente_;
  std::shared_ptr<bool> aperto_;
  std::vector<TableDef> tabelle_;
};

}  // namespace

std::unique_ptr<Recordset> NuovoRecordsetSequenziale(std::vector<FieldDef> campi,
                                                     std::unique_ptr<Cursore> cursore,
                                                     std::shared_ptr<bool> databaseAperto) {
  return std::make_unique<RecordsetSequenziale>(std::move(campi), std::move(cursore),
                                                std::move(databaseAperto));
}

std::shared_ptr<Database> NuovoDatabaseSorgente(std::string percorso,
                                                std::unique_ptr<Sorgente> sorgente) {
  return std::make_shared<DatabaseSorgente>(std::move(percorso), std::move(sorgente));
}

}  // namespace tarkpo::dao
