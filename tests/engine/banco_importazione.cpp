#include "banco_importazione.h"

#include <filesystem>

#include <sqlite3.h>
#include "core/mappa_campi.h"
#include "engine/negozio.h"

namespace tarkpo::motore::test {

namespace {

constexpr const char* kCampiReparti[] = {"Codice", "Titolo", "Descrizione",
                                         "Note",   "IVA",    "Sconto"};
constexpr const char* kCampiArticoli[] = {
    "Reparto", "Codice", "Titolo", "Sottotitolo", "Descrizione", "Note",      "Prezzo",
    "Offerta", "Link",   "Peso",   "Giacenza",    "Immagine1",   "Immagine2", "ImmaginePiccola"};

}  // namespace

BancoImportazione::BancoImportazione()
    : registro_(impostazioni_ / "utente", impostazioni_ / "macchina"), motore_(registro_) {
  UsaNegozio(tarkpo::test::kSchemaBase);
  std::filesystem::create_directory(negozio_.Percorso() / "work");
  fileOrigine_ = origine_ / "listino.mdb";
  SqlOrigine(
      "CREATE TABLE reparti (Codice MEMO, Titolo MEMO, Descrizione MEMO, Note MEMO, IVA DOUBLE, "
      "Sconto DOUBLE);"
      "CREATE TABLE articoli (Reparto MEMO, Codice MEMO, Titolo MEMO, Sottotitolo MEMO, "
      "Descrizione MEMO, Note MEMO, Prezzo DOUBLE, Offerta DOUBLE, Link MEMO, Peso DOUBLE, "
      "Giacenza MEMO, Immagine1 MEMO, Immagine2 MEMO, ImmaginePiccola MEMO);");

  def_.gPathNegozio = CartellaNegozio();
  def_.gPathDb = fileOrigine_;
  def_.gTipoDb = "Access 2000;";
  def_.gImpRep = 1;
  def_.gImpArt = 1;
  def_.gTabellaRep = "reparti";
  def_.gTabellaArt = "articoli";
  for (int k = 0; k < kRigheReparti; ++k) {
    def_.gCampiRep[k] = k + 1;
    def_.gNomiCampiRep[k] = kCampiReparti[k];
  }
  for (int k = 0; k < kRigheArticoli; ++k) {
    def_.gCampiArt[k] = k + 1;
    def_.gNomiCampiArt[k] = kCampiArticoli[k];
  }
  def_.gSovrascrivi = 1;
  def_.gGiacenzaMinima = -1;
  def_.gListini[0] = 1;
  NuovaSessione();
}

void BancoImportazione::UsaNegozio(const std::string& schema) {
  std::filesystem::remove(negozio_ / "catalog.mdb");
  fileNegozio_ = tarkpo::test::CreaNegozio(CartellaNegozio(), schema);
}

std::string BancoImportazione::Negozio(const std::string& sql) const {
  sqlite3* db = nullptr;
  sqlite3_open(fileNegozio_.c_str(), &db);
  sqlite3_stmt* st = nullptr;
  std::string righe;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
  } else {
    for (bool prima = true; sqlite3_step(st) == SQLITE_ROW; prima = false) {
      if (!prima) righe += "|";
      if (const unsigned char* t = sqlite3_column_text(st, 0))
        righe += reinterpret_cast<const char*>(t);
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return righe;
}

void BancoImportazione::TestiConPuntoEVirgola() {
  const std::string impostazioni =
      "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set0\\Jet\\4.0";
  motore_.IniPath = "HKEY_CURRENT_USER\\" + impostazioni;
  ASSERT_TRUE(registro_.ScriviStringa(HKEY_CURRENT_USER, impostazioni + "\\Engines\\Text", "Format",
                                      "Delimited(;)"));
}

void BancoImportazione::NuovaSessione() {
  stato_ = std::make_unique<StatoMotore>();
  imp_ = std::make_unique<StatoImportazione>();
  progresso_.etichette.clear();
}

bool BancoImportazione::Importa() {
  auto& ws = motore_.Workspaces(0);
  // As the program opens it: only to be read.
  stato_->gDb = ws.OpenDatabase(def_.gPathDb, def_.gTipoDb, true);
  Contesto c{def_, *stato_, *imp_, messaggi_, progresso_, eventi_, scatola_};
  esito_ = EseguiImportazione(c, ws, "");
  stato_->gDb->Close();
  return esito_.riuscita;
}

Contesto BancoImportazione::Apri() {
  auto& ws = motore_.Workspaces(0);
  stato_->gDb = ws.OpenDatabase(def_.gPathDb, def_.gTipoDb);
  EXPECT_TRUE(ApriNegozio(*stato_, def_, ws, messaggi_));
  return Contesto{def_, *stato_, *imp_, messaggi_, progresso_, eventi_, scatola_};
}

}  // namespace tarkpo::motore::test
