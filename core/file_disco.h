#pragma once
// Files as the disk holds them: which file a path names and whether it was written since,
// and whether two files hold the same bytes.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarkpo {

// What tells a file apart and shows whether it was written since: its device and inode,
// its length, its modification and change times (in nanoseconds; nobody can set a change
// time back).
struct ImprontaFile {
  uint64_t dispositivo = 0;
  uint64_t inode = 0;
  int64_t lunghezza = 0;
  int64_t modificato = 0;
  int64_t cambiato = 0;
  bool operator==(const ImprontaFile&) const = default;
  bool StessoFile(const ImprontaFile& altra) const {
    return dispositivo == altra.dispositivo && inode == altra.inode;
  }
};

ImprontaFile ImprontaDa(const struct stat& info);
// The ordinary file at the path (links followed); nothing when there is none.
std::optional<ImprontaFile> Impronta(const std::string& percorso);

// An ordinary file opened to be read.
struct FileInLettura {
  int fd = -1;            // blocking, close-on-exec; -1 when not opened
  int errore = 0;         // errno of open(2) or fstat(2); 0 when opened, or not an ordinary file
  ImprontaFile impronta;  // of the file opened
  bool NonOrdinario() const { return fd < 0 && errore == 0; }
};

// Opens the file at `percorso` (links followed) only when it is an ordinary file. It is
// opened without waiting, so a FIFO with no writer never hangs the program, and looked at
// before anything is read from it, so a device such as /dev/zero is never read; a folder,
// a FIFO, a device or a socket is closed at once and gives fd -1 with errore 0.
FileInLettura ApriFileOrdinario(const std::string& percorso);

enum class EsitoLettura { Letto, NonAperto, NonOrdinario, TroppoGrande, ErroreLettura, Cambiato };

// The whole ordinary file at `percorso` into `dati`, refused without reading it whole when
// it holds more than `limite` bytes. `impronta`, when given, receives the file's identity
// as it was opened; the result is Cambiato when the file changed while it was read.
EsitoLettura LeggiFileOrdinario(const std::string& percorso, size_t limite, std::string& dati,
                                ImprontaFile* impronta = nullptr);

// The first `n` bytes of the ordinary file at `percorso` (fewer when it is shorter); empty
// when it is no ordinary file or cannot be read.
std::string InizioFile(const std::string& percorso, size_t n);

// read(2), tried again when a signal cuts it short.
ssize_t LeggiDa(int fd, char* dati, size_t n);
// Whether the two open files hold the same bytes from where each stands to its end.
bool StessiByte(int a, int b);
bool StessiByte(const std::string& primo, const std::string& secondo);

// The writes of a file written whole (a picture copy, a definition), as the system calls make
// them; tests derive from it to make them fail (a short write, a full disk, a flush that fails).
class IScritturaFile {
 public:
  virtual ~IScritturaFile() = default;
  // As write(2).
  virtual ssize_t Scrivi(int fd, const void* dati, std::size_t n);
  // As fdatasync(2); also given a folder, to make its new names lasting.
  virtual int Sincronizza(int fd);
  // As syncfs(2) on a folder: every write of its file system reaches the disk. Fails
  // with ENOSYS where the kernel would not report a write that failed (before Linux 5.8).
  virtual int SincronizzaDisco(int cartella);
};

// Files written whole under a temporary name of their own in a folder, ".tarkpo-PID-N.tmp"
// (PID the process writing it), then given their name.
// A new temporary file of the folder open for writing, never an existing file nor through a
// link; its name in `nome`, N counted on from `contatore`. -1 (errno set) when none can be
// made.
int CreaTemporaneo(int cartella, unsigned& contatore, std::string& nome);
// Whether `nome` is such a temporary file, and one that a writer killed half-way left: of a
// process gone, or of this one, which has none open between two of its writes.
bool ETemporaneo(std::string_view nome);
bool TemporaneoOrfano(std::string_view nome);
// Calls `voce` with the name of every entry of the open folder, "." and ".." included.
void PerOgniVoce(int cartella, const std::function<void(const char*)>& voce);
// Removes what a writer killed half-way left in the folder: the temporary files of processes
// gone, and of this one, which has none open between two of its writes.
void RimuoviTemporaneiOrfani(int cartella);
// Gives the file `da` of the folder the name `a`, never replacing a file of that name: a
// rename that refuses an existing name where the file system has one, else a second link
// and the name `da` removed.
bool DaiNome(int cartella, const std::string& da, const std::string& a);

}  // namespace tarkpo
