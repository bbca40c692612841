#include "support/guasti_vfs.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace tarkpo::test {

namespace {

constexpr const char* kNome = "tarkpo-guasti";

// Our file: the real one follows it in the same allocation.
struct File {
  sqlite3_file base;
  sqlite3_file* vero;
  GuastiVfs* guasti;
  bool seguito;  // under the folder
  std::string* percorso;
};

GuastiVfs* Di(sqlite3_vfs* vfs) { return static_cast<GuastiVfs*>(vfs->pAppData); }
File* Di(sqlite3_file* f) { return reinterpret_cast<File*>(f); }
sqlite3_file* Vero(sqlite3_file* f) { return Di(f)->vero; }

int Chiudi(sqlite3_file* f) {
  File* file = Di(f);
  const int rc = file->vero->pMethods ? file->vero->pMethods->xClose(file->vero) : SQLITE_OK;
  delete file->percorso;
  file->percorso = nullptr;
  return rc;
}

int Leggi(sqlite3_file* f, void* dati, int n, sqlite3_int64 da) {
  return Vero(f)->pMethods->xRead(Vero(f), dati, n, da);
}

int Scrivi(sqlite3_file* f, const void* dati, int n, sqlite3_int64 da) {
  File* file = Di(f);
  if (!file->seguito) return file->vero->pMethods->xWrite(file->vero, dati, n, da);
  GuastiVfs& g = *file->guasti;
  const std::string& p = *file->percorso;
  const int rc = g.Decidi(GuastiVfs::Tipo::Scrittura, p);
  if (rc != SQLITE_OK && rc != SQLITE_FULL) return rc;
  // What fits on the disk; a full disk cuts the write that fills it.
  int64_t scritti = std::clamp<int64_t>(g.Spazio(p, da + n) - da, 0, n);
  if (rc == SQLITE_FULL) scritti = std::min<int64_t>(scritti, n / 2);
  if (scritti > 0) {
    const int esito = file->vero->pMethods->xWrite(file->vero, dati, static_cast<int>(scritti), da);
    if (esito != SQLITE_OK) return esito;
    g.Lunghezza(p, da + scritti, false);
  }
  if (rc == SQLITE_OK && scritti == n) return SQLITE_OK;
  g.Scatta();
  return SQLITE_FULL;
}

int Tronca(sqlite3_file* f, sqlite3_int64 lunghezza) {
  File* file = Di(f);
  if (file->seguito) {
    if (int rc = file->guasti->Decidi(GuastiVfs::Tipo::Troncamento, *file->percorso)) return rc;
  }
  const int rc = file->vero->pMethods->xTruncate(file->vero, lunghezza);
  if (rc == SQLITE_OK && file->seguito) file->guasti->Lunghezza(*file->percorso, lunghezza, true);
  return rc;
}

int Sincronizza(sqlite3_file* f, int) {
  File* file = Di(f);
  if (file->seguito) return file->guasti->Decidi(GuastiVfs::Tipo::Sincronia, *file->percorso);
  return SQLITE_OK;  // durability is not what these tests look at
}

int DimensioneFile(sqlite3_file* f, sqlite3_int64* n) {
  return Vero(f)->pMethods->xFileSize(Vero(f), n);
}
int Blocca(sqlite3_file* f, int l) { return Vero(f)->pMethods->xLock(Vero(f), l); }
int Sblocca(sqlite3_file* f, int l) { return Vero(f)->pMethods->xUnlock(Vero(f), l); }
int Riservato(sqlite3_file* f, int* r) { return Vero(f)->pMethods->xCheckReservedLock(Vero(f), r); }
int Controllo(sqlite3_file* f, int op, void* a) {
  return Vero(f)->pMethods->xFileControl(Vero(f), op, a);
}
int Settore(sqlite3_file* f) { return Vero(f)->pMethods->xSectorSize(Vero(f)); }
int Caratteristiche(sqlite3_file* f) { return Vero(f)->pMethods->xDeviceCharacteristics(Vero(f)); }
int MappaShm(sqlite3_file* f, int i, int n, int s, void volatile** p) {
  return Vero(f)->pMethods->xShmMap(Vero(f), i, n, s, p);
}
int BloccaShm(sqlite3_file* f, int o, int n, int fl) {
  return Vero(f)->pMethods->xShmLock(Vero(f), o, n, fl);
}
void BarrieraShm(sqlite3_file* f) { Vero(f)->pMethods->xShmBarrier(Vero(f)); }
int ChiudiShm(sqlite3_file* f, int d) { return Vero(f)->pMethods->xShmUnmap(Vero(f), d); }
int Prendi(sqlite3_file* f, sqlite3_int64 da, int n, void** p) {
  return Vero(f)->pMethods->xFetch(Vero(f), da, n, p);
}
int Rilascia(sqlite3_file* f, sqlite3_int64 da, void* p) {
  return Vero(f)->pMethods->xUnfetch(Vero(f), da, p);
}

const sqlite3_io_methods kMetodi = {
    3,         Chiudi,      Leggi,     Scrivi,    Tronca,  Sincronizza,     DimensioneFile,
    Blocca,    Sblocca,     Riservato, Controllo, Settore, Caratteristiche, MappaShm,
    BloccaShm, BarrieraShm, ChiudiShm, Prendi,    Rilascia};

int Apri(sqlite3_vfs* vfs, const char* nome, sqlite3_file* f, int flag, int* uscita) {
  GuastiVfs* guasti = Di(vfs);
  File* file = Di(f);
  file->base.pMethods = nullptr;
  file->vero = reinterpret_cast<sqlite3_file*>(file + 1);
  file->guasti = guasti;
  file->seguito = guasti->Seguito(nome);
  file->percorso = nullptr;
  const int rc = guasti->Vero()->xOpen(guasti->Vero(), nome, file->vero, flag, uscita);
  if (rc != SQLITE_OK) return rc;
  file->percorso = new std::string(nome ? nome : "");
  file->base.pMethods = &kMetodi;
  if (file->seguito) {
    sqlite3_int64 n = 0;
    file->vero->pMethods->xFileSize(file->vero, &n);
    guasti->Apertura(*file->percorso, n);
  }
  return SQLITE_OK;
}

int Cancella(sqlite3_vfs* vfs, const char* nome, int sincronizza) {
  GuastiVfs* guasti = Di(vfs);
  if (guasti->Seguito(nome)) {
    if (int rc = guasti->Decidi(GuastiVfs::Tipo::Cancellazione, nome)) return rc;
    guasti->Dimentica(nome);
  }
  return guasti->Vero()->xDelete(guasti->Vero(), nome, sincronizza);
}

int Accedi(sqlite3_vfs* v, const char* n, int fl, int* r) {
  return Di(v)->Vero()->xAccess(Di(v)->Vero(), n, fl, r);
}
int PercorsoPieno(sqlite3_vfs* v, const char* n, int l, char* u) {
  return Di(v)->Vero()->xFullPathname(Di(v)->Vero(), n, l, u);
}
void* ApriLibreria(sqlite3_vfs* v, const char* n) {
  return Di(v)->Vero()->xDlOpen(Di(v)->Vero(), n);
}
void ErroreLibreria(sqlite3_vfs* v, int n, char* m) {
  Di(v)->Vero()->xDlError(Di(v)->Vero(), n, m);
}
void (*SimboloLibreria(sqlite3_vfs* v, void* l, const char* s))(void) {
  return Di(v)->Vero()->xDlSym(Di(v)->Vero(), l, s);
}
void ChiudiLibreria(sqlite3_vfs* v, void* l) { Di(v)->Vero()->xDlClose(Di(v)->Vero(), l); }
int Caso(sqlite3_vfs* v, int n, char* u) { return Di(v)->Vero()->xRandomness(Di(v)->Vero(), n, u); }
int Dormi(sqlite3_vfs* v, int us) { return Di(v)->Vero()->xSleep(Di(v)->Vero(), us); }
int Ora(sqlite3_vfs* v, double* t) { return Di(v)->Vero()->xCurrentTime(Di(v)->Vero(), t); }
int UltimoErrore(sqlite3_vfs* v, int n, char* u) {
  return Di(v)->Vero()->xGetLastError(Di(v)->Vero(), n, u);
}
int Ora64(sqlite3_vfs* v, sqlite3_int64* t) {
  return Di(v)->Vero()->xCurrentTimeInt64(Di(v)->Vero(), t);
}
int ImpostaChiamata(sqlite3_vfs* v, const char* n, sqlite3_syscall_ptr p) {
  return Di(v)->Vero()->xSetSystemCall(Di(v)->Vero(), n, p);
}
sqlite3_syscall_ptr LeggiChiamata(sqlite3_vfs* v, const char* n) {
  return Di(v)->Vero()->xGetSystemCall(Di(v)->Vero(), n);
}
const char* ProssimaChiamata(sqlite3_vfs* v, const char* n) {
  return Di(v)->Vero()->xNextSystemCall(Di(v)->Vero(), n);
}

}  // namespace

GuastiVfs::GuastiVfs(std::string cartella) : cartella_(std::move(cartella)) {
  vero_ = sqlite3_vfs_find(nullptr);
  if (!vero_ || vero_->iVersion < 3) throw std::runtime_error("VFS di SQLite non adatto");
  if (!cartella_.empty() && cartella_.back() != '/') cartella_ += '/';
  vfs_.iVersion = 3;
  vfs_.szOsFile = static_cast<int>(sizeof(File)) + vero_->szOsFile;
  vfs_.mxPathname = vero_->mxPathname;
  vfs_.zName = kNome;
  vfs_.pAppData = this;
  vfs_.xOpen = Apri;
  vfs_.xDelete = Cancella;
  vfs_.xAccess = Accedi;
  vfs_.xFullPathname = PercorsoPieno;
  vfs_.xDlOpen = ApriLibreria;
  vfs_.xDlError = ErroreLibreria;
  vfs_.xDlSym = SimboloLibreria;
  vfs_.xDlClose = ChiudiLibreria;
  vfs_.xRandomness = Caso;
  vfs_.xSleep = Dormi;
  vfs_.xCurrentTime = Ora;
  vfs_.xGetLastError = UltimoErrore;
  vfs_.xCurrentTimeInt64 = Ora64;
  vfs_.xSetSystemCall = ImpostaChiamata;
  vfs_.xGetSystemCall = LeggiChiamata;
  vfs_.xNextSystemCall = ProssimaChiamata;
  if (sqlite3_vfs_register(&vfs_, 1) != SQLITE_OK)
    throw std::runtime_error("VFS dei guasti non registrato");
}

GuastiVfs::~GuastiVfs() {
  sqlite3_vfs_unregister(&vfs_);
  sqlite3_vfs_register(vero_, 1);
}

void GuastiVfs::Nessuno() {
  operazioni_ = 0;
  n_ = 0;
  scattato_ = false;
  limite_ = -1;
  occupati_ = 0;
  picco_ = 0;
}

void GuastiVfs::FallisciAl(int n, Guasto guasto, Ripetizione ripetizione) {
  Nessuno();
  n_ = n;
  guasto_ = guasto;
  ripetizione_ = ripetizione;
}

void GuastiVfs::SpazioLibero(int64_t byte) {
  Nessuno();
  limite_ = byte;
}

bool GuastiVfs::Seguito(const char* percorso) const {
  return percorso && std::strncmp(percorso, cartella_.c_str(), cartella_.size()) == 0;
}

int GuastiVfs::Decidi(Tipo tipo, const std::string& percorso) {
  // A copy: the observer may replace itself.
  if (auto osservatore = osservatore_) osservatore(tipo, percorso);
  ++operazioni_;
  const bool fallisce = n_ > 0 && (ripetizione_ == Ripetizione::Ogni        ? operazioni_ % n_ == 0
                                   : ripetizione_ == Ripetizione::PerSempre ? operazioni_ >= n_
                                                                            : operazioni_ == n_);
  if (!fallisce) return SQLITE_OK;
  scattato_ = true;
  if (guasto_ == Guasto::Pieno) return SQLITE_FULL;
  if (guasto_ == Guasto::Codice) return codice_;
  switch (tipo) {
    case Tipo::Scrittura:
      return SQLITE_IOERR_WRITE;
    case Tipo::Sincronia:
      return SQLITE_IOERR_FSYNC;
    case Tipo::Troncamento:
      return SQLITE_IOERR_TRUNCATE;
    case Tipo::Cancellazione:
      return SQLITE_IOERR_DELETE;
  }
  return SQLITE_IOERR;
}

int64_t GuastiVfs::Spazio(const std::string& percorso, int64_t fine) const {
  if (limite_ < 0) return fine;
  const auto it = lunghezze_.find(percorso);
  const int64_t attuale = it == lunghezze_.end() ? 0 : it->second;
  return fine <= attuale ? fine
                         : std::min(fine, attuale + std::max<int64_t>(0, limite_ - occupati_));
}

void GuastiVfs::Apertura(const std::string& percorso, int64_t lunghezza) {
  lunghezze_[percorso] = lunghezza;
}

void GuastiVfs::Lunghezza(const std::string& percorso, int64_t lunghezza, bool tronca) {
  int64_t& attuale = lunghezze_[percorso];
  const int64_t nuova = tronca ? lunghezza : std::max(attuale, lunghezza);
  occupati_ += nuova - attuale;
  picco_ = std::max(picco_, occupati_);
  attuale = nuova;
}

void GuastiVfs::Dimentica(const std::string& percorso) {
  const auto it = lunghezze_.find(percorso);
  if (it == lunghezze_.end()) return;
  occupati_ -= it->second;
  lunghezze_.erase(it);
}

}  // namespace tarkpo::test
