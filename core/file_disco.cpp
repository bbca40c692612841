#include "core/file_disco.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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
  const int a = ::open(primo.c_str(), O_RDONLY | O_CLOEXEC);
  const int b = ::open(secondo.c_str(), O_RDONLY | O_CLOEXEC);
  const bool uguali = a >= 0 && b >= 0 && StessiByte(a, b);
  if (a >= 0) ::close(a);
  if (b >= 0) ::close(b);
  return uguali;
}

}  // namespace tarkpo
