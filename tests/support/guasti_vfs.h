#pragma once
// An I/O fault injector under SQLite, as SQLite's own tests build them: a VFS over the
// default one that counts the writes, syncs, truncations and deletions of the files under
// one folder and fails the chosen ones as a full or failing disk would. While it lives it is
// SQLite's default VFS, so every connection the process opens goes through it; it must
// outlive them. Syncs it lets through return at once without reaching the disk: the files
// are as durable as the tests need, and a sweep of hundreds of imports stays quick.
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace tarkpo::test {

class GuastiVfs {
 public:
  enum class Guasto {
    Pieno,     // SQLITE_FULL; a write that fails has written its first half
    ErroreIo,  // SQLITE_IOERR_WRITE, _FSYNC, _TRUNCATE, _DELETE; nothing is written
    Codice,    // the code given to FallisciConCodice; nothing is written
  };

  enum class Tipo { Scrittura, Sincronia, Troncamento, Cancellazione };

  explicit GuastiVfs(std::string cartella);
  ~GuastiVfs();
  GuastiVfs(const GuastiVfs&) = delete;
  GuastiVfs& operator=(const GuastiVfs&) = delete;

  // From now on counts the operations again and fails none.
  void Nessuno();
  enum class Ripetizione {
    UnaVolta,   // the n-th operation only
    PerSempre,  // the n-th and every later one, as a disk that stays full
    Ogni,       // every n-th: a disk that fails now and then
  };
  // Fails the n-th operation from now (1-based) with `guasto`, and the later ones that
  // `ripetizione` says.
  void FallisciAl(int n, Guasto guasto, Ripetizione ripetizione);
  // Fails the n-th operation from now, once, with the SQLite result `codice` (SQLITE_BUSY,
  // SQLITE_CORRUPT...), as a file system or another program may make SQLite's calls fail.
  void FallisciConCodice(int n, int codice) {
    FallisciAl(n, Guasto::Codice, Ripetizione::UnaVolta);
    codice_ = codice;
  }
  // A disk with `byte` bytes free for the folder's files from now on: a write that would
  // take more fails with SQLITE_FULL after writing what fits; shrinking or deleting a file
  // gives its bytes back.
  void SpazioLibero(int64_t byte);

  // Called before every operation counted, with the file's path.
  void Osserva(std::function<void(Tipo, const std::string&)> osservatore) {
    osservatore_ = std::move(osservatore);
  }

  int Operazioni() const { return operazioni_; }
  bool Scattato() const { return scattato_; }
  // The most bytes the folder's files took beyond what they took when counting began.
  int64_t Picco() const { return picco_; }

  // For the VFS callbacks.
  // Counts an operation; the result it must give, SQLITE_OK to let it run.
  int Decidi(Tipo tipo, const std::string& percorso);
  void Scatta() { scattato_ = true; }
  // How far a write that ends at `fine` can go in the file before the disk is full.
  int64_t Spazio(const std::string& percorso, int64_t fine) const;
  // A file opened with its length; a file written up to, or truncated to, a length.
  void Apertura(const std::string& percorso, int64_t lunghezza);
  void Lunghezza(const std::string& percorso, int64_t lunghezza, bool tronca);
  void Dimentica(const std::string& percorso);
  bool Seguito(const char* percorso) const;
  sqlite3_vfs* Vero() const { return vero_; }

 private:
  std::string cartella_;
  sqlite3_vfs* vero_;
  sqlite3_vfs vfs_{};
  int operazioni_ = 0;
  int n_ = 0;
  Guasto guasto_ = Guasto::Pieno;
  int codice_ = SQLITE_IOERR;
  Ripetizione ripetizione_ = Ripetizione::UnaVolta;
  bool scattato_ = false;
  int64_t limite_ = -1;  // bytes the files may grow by; -1: no limit
  int64_t occupati_ = 0;
  int64_t picco_ = 0;
  std::map<std::string, int64_t> lunghezze_;  // of the files seen
  std::function<void(Tipo, const std::string&)> osservatore_;
};

}  // namespace tarkpo::test
