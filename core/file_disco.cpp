#include "core/file_disco.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <functional>
#include <string_view>

namespace tarkpo {

ImprontaFile ImprontaDa(const struct stat& info) {
  ImprontaFile f;
  f.dispositivo = static_cast<uint64_t>(info.st_dev);
  f.inode = static_cast<uint64_t>(info.st_ino);
  f.lunghezza = static_cast<int64_t>(info.st_size);
  f.modificato = int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
  f.cambiato = int64_t{info.st_ctim.tv_sec} * 1'000'000'000 + info.st_ctim.tv_nsec;
  return f;
}

std::optional<ImprontaFile> Impronta(const std::string& percorso) {
  struct stat info {};
  if (::stat(percorso.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return ImprontaDa(info);
}

FileInLettura ApriFileOrdinario(const std::string& percorso) {
  FileInLettura f;
  const int fd = ::open(percorso.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    f.errore = errno;
    return f;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    f.errore = errno;
  } else if (S_ISREG(info.st_mode)) {
    // Reads of an ordinary file never wait; the flag is cleared so that none returns EAGAIN
    // on a file system that would heed it.
    const int flag = ::fcntl(fd, F_GETFL);
    if (flag >= 0 && ::fcntl(fd, F_SETFL, flag & ~O_NONBLOCK) == 0) {
      f.fd = fd;
      f.impronta = ImprontaDa(info);
      return f;
    }
    f.errore = errno;
  }
  ::close(fd);
  return f;
}

EsitoLettura LeggiFileOrdinario(const std::string& percorso, size_t limite, std::string& dati,
                                ImprontaFile* impronta) {
  const FileInLettura f = ApriFileOrdinario(percorso);
  if (f.fd < 0) return f.NonOrdinario() ? EsitoLettura::NonOrdinario : EsitoLettura::NonAperto;
  EsitoLettura esito = EsitoLettura::Letto;
  dati.clear();
  if (static_cast<uint64_t>(f.impronta.lunghezza) > limite) {
    esito = EsitoLettura::TroppoGrande;
  } else {
    dati.reserve(static_cast<size_t>(f.impronta.lunghezza));
    char blocco[1 << 16];
    for (;;) {
      const ssize_t n = LeggiDa(f.fd, blocco, sizeof blocco);
      if (n < 0) {
        esito = EsitoLettura::ErroreLettura;
        break;
      }
      if (n == 0) break;
      // A file that grows while it is read is held to the bound too.
      if (dati.size() + static_cast<size_t>(n) > limite) {
        esito = EsitoLettura::TroppoGrande;
        break;
      }
      dati.append(blocco, static_cast<size_t>(n));
    }
    struct stat dopo {};
    if (esito == EsitoLettura::Letto &&
        (::fstat(f.fd, &dopo) != 0 || ImprontaDa(dopo) != f.impronta))
      esito = EsitoLettura::Cambiato;
  }
  ::close(f.fd);
  if (esito != EsitoLettura::Letto) dati.clear();
  if (impronta) *impronta = f.impronta;
  return esito;
}

std::string InizioFile(const std::string& percorso, size_t n) {
  const FileInLettura f = ApriFileOrdinario(percorso);
  if (f.fd < 0) return "";
  std::string dati(n, '\0');
  size_t letti = 0;
  while (letti < n) {
    const ssize_t m = LeggiDa(f.fd, dati.data() + letti, n - letti);
    if (m <= 0) break;
    letti += static_cast<size_t>(m);
  }
  ::close(f.fd);
  dati.resize(letti);
  return dati;
}

ssize_t LeggiDa(int fd, char* dati, size_t n) {
  ssize_t letti;
  do letti = ::read(fd, dati, n);
  while (letti < 0 && errno == EINTR);
  return letti;
}

bool StessiByte(int a, int b) {
  static constexpr size_t kBlocco = 1 << 16;
  std::string x(kBlocco, '\0'), y(kBlocco, '\0');
  for (;;) {
    const ssize_t n = LeggiDa(a, x.data(), kBlocco);
    if (n < 0) return false;
    for (ssize_t letti = 0; letti < n;) {
      const ssize_t m = LeggiDa(b, y.data() + letti, static_cast<size_t>(n - letti));
      if (m <= 0) return false;
      letti += m;
    }
    if (n == 0) return LeggiDa(b, y.data(), 1) == 0;
    if (std::memcmp(x.data(), y.data(), static_cast<size_t>(n)) != 0) return false;
  }
}

bool StessiByte(const std::string& primo, const std::string& secondo) {
  const int a = ApriFileOrdinario(primo).fd;
  const int b = ApriFileOrdinario(secondo).fd;
  const bool uguali = a >= 0 && b >= 0 && StessiByte(a, b);
  if (a >= 0) ::close(a);
  if (b >= 0) ::close(b);
  return uguali;
}

namespace {

constexpr std::string_view kPrefissoTemporaneo = ".tarkpo-";
constexpr std::string_view kSuffissoTemporaneo = ".tmp";

// The process that wrote a temporary file of ours, 0 for any other name.
pid_t ProcessoDelTemporaneo(std::string_view nome) {
  if (nome.substr(0, kPrefissoTemporaneo.size()) != kPrefissoTemporaneo ||
      nome.size() < kPrefissoTemporaneo.size() + kSuffissoTemporaneo.size() ||
      nome.substr(nome.size() - kSuffissoTemporaneo.size()) != kSuffissoTemporaneo)
    return 0;
  pid_t pid = 0;
  const char* inizio = nome.data() + kPrefissoTemporaneo.size();
  const auto [fine, ec] = std::from_chars(inizio, nome.data() + nome.size(), pid);
  return ec == std::errc() && *fine == '-' ? pid : 0;
}

// syncfs(2) reports a write that failed on the file system since the folder was opened only
// from Linux 5.8 on; before, it reports nothing.
bool SyncfsSegnalaErrori() {
  utsname sistema{};
  if (::uname(&sistema) != 0) return false;
  const char* fine = sistema.release + std::strlen(sistema.release);
  int principale = 0, secondaria = 0;
  const auto [punto, ec] = std::from_chars(sistema.release, fine, principale);
  if (ec != std::errc() || punto == fine || *punto != '.') return false;
  std::from_chars(punto + 1, fine, secondaria);
  return principale > 5 || (principale == 5 && secondaria >= 8);
}

}  // namespace

ssize_t IScritturaFile::Scrivi(int fd, const void* dati, std::size_t n) {
  return ::write(fd, dati, n);
}

int IScritturaFile::Sincronizza(int fd) { return ::fdatasync(fd); }

int IScritturaFile::SincronizzaDisco(int cartella) {
  if (SyncfsSegnalaErrori()) return ::syncfs(cartella);
  errno = ENOSYS;
  return -1;
}

bool ETemporaneo(std::string_view nome) { return ProcessoDelTemporaneo(nome) > 0; }

bool TemporaneoOrfano(std::string_view nome) {
  const pid_t pid = ProcessoDelTemporaneo(nome);
  return pid > 0 && (pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH));
}

int CreaTemporaneo(int cartella, unsigned& contatore, std::string& nome) {
  for (;;) {
    std::string candidato = std::string(kPrefissoTemporaneo) + std::to_string(::getpid()) + "-" +
                            std::to_string(contatore++) + std::string(kSuffissoTemporaneo);
    const int fd = ::openat(cartella, candidato.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      nome = std::move(candidato);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
}

void PerOgniVoce(int cartella, const std::function<void(const char*)>& voce) {
  const int copia = ::dup(cartella);
  if (copia < 0) return;
  DIR* elenco = ::fdopendir(copia);
  if (!elenco) {
    ::close(copia);
    return;
  }
  // The copy shares its position with the folder's descriptor, which an earlier listing moved.
  ::rewinddir(elenco);
  while (const dirent* d = ::readdir(elenco)) voce(d->d_name);
  ::closedir(elenco);
}

void RimuoviTemporaneiOrfani(int cartella) {
  PerOgniVoce(cartella, [cartella](const char* nome) {
    if (TemporaneoOrfano(nome)) ::unlinkat(cartella, nome, 0);
  });
}

bool DaiNome(int cartella, const std::string& da, const std::string& a) {
  if (::renameat2(cartella, da.c_str(), cartella, a.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return false;
  if (::linkat(cartella, da.c_str(), cartella, a.c_str(), 0) != 0) return false;
  ::unlinkat(cartella, da.c_str(), 0);
  return true;
}

}  // namespace tarkpo
