#include "wizard/scatola_immagine.h"

#include <fcntl.h>
#include <unistd.h>

#include <QImageReader>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

namespace tarkpo::wizard {

namespace {

// Reads a file by offsets through one window of bytes, so that a header spread over a few
// kilobytes costs one read and a long segment is skipped without reading it.
class LettoreFile {
 public:
  explicit LettoreFile(const std::string& percorso)
      : fd_(::open(percorso.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~LettoreFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  LettoreFile(const LettoreFile&) = delete;
  LettoreFile& operator=(const LettoreFile&) = delete;

  // The `n` bytes at `posizione` (n at most the window), or nullptr past the end.
  const uint8_t* Byte(uint64_t posizione, size_t n) {
    if (posizione < inizio_ || posizione + n > inizio_ + letti_) {
      if (fd_ < 0) return nullptr;
      const ssize_t r = ::pread(fd_, finestra_, sizeof finestra_, static_cast<off_t>(posizione));
      inizio_ = posizione;
      letti_ = r > 0 ? static_cast<size_t>(r) : 0;
      if (n > letti_) return nullptr;
    }
    return finestra_ + (posizione - inizio_);
  }

 private:
  int fd_;
  uint64_t inizio_ = 0;
  size_t letti_ = 0;
  uint8_t finestra_[4096];
};

int Intero16(const uint8_t* b) { return b[0] << 8 | b[1]; }

}  // namespace

std::optional<QSize> DimensioneJpeg(const std::string& percorso) {
  LettoreFile file(percorso);
  const uint8_t* b = file.Byte(0, 2);
  if (!b || b[0] != 0xFF || b[1] != 0xD8) return std::nullopt;
  std::optional<QSize> dimensione;
  int idComponenti[4] = {}, numComponenti = 0;
  for (uint64_t p = 2;;) {
    b = file.Byte(p, 4);
    if (!b || b[0] != 0xFF) return std::nullopt;
    if (b[1] == 0xFF) {  // fill byte before a marker
      ++p;
      continue;
    }
    const int marcatore = b[1];
    const int lunghezza = Intero16(b + 2);
    if (lunghezza < 2 || marcatore == 0xD8 || marcatore == 0xD9 ||
        (marcatore >= 0xD0 && marcatore <= 0xD7))
      return std::nullopt;
    const uint8_t* s = nullptr;  // the segment after its length, when it is looked into
    const size_t n = static_cast<size_t>(lunghezza) - 2;
    if (marcatore == 0xC0 || marcatore == 0xC1 || marcatore == 0xC2 || marcatore == 0xC4 ||
        marcatore == 0xDB || marcatore == 0xDA) {
      s = file.Byte(p + 4, n);
      if (!s) return std::nullopt;
    } else if (!(marcatore >= 0xE0 && marcatore <= 0xEF) && marcatore != 0xFE &&
               marcatore != 0xDD) {
      return std::nullopt;  // a rarer kind of JPEG: its own reader decides
    } else if (marcatore == 0xDD && n != 2) {
      return std::nullopt;
    } else if (n > 0 && !file.Byte(p + 3 + n, 1)) {
      return std::nullopt;  // a segment cut short
    }
    if (marcatore == 0xC0 || marcatore == 0xC1 || marcatore == 0xC2) {
      if (dimensione || n < 6) return std::nullopt;
      const int componenti = s[5];
      if (s[0] != 8 || n != 6 + 3 * static_cast<size_t>(componenti) ||
          (componenti != 1 && componenti != 3 && componenti != 4))
        return std::nullopt;
      for (int k = 0; k < componenti; ++k) {
        const int h = s[7 + 3 * k] >> 4, v = s[7 + 3 * k] & 0x0F;
        if (h < 1 || h > 4 || v < 1 || v > 4) return std::nullopt;
        idComponenti[k] = s[6 + 3 * k];
      }
      numComponenti = componenti;
      const int altezza = Intero16(s + 1), larghezza = Intero16(s + 3);
      constexpr int kMassima = 65500;  // the largest side the decoder takes
      if (altezza == 0 || larghezza == 0 || altezza > kMassima || larghezza > kMassima)
        return std::nullopt;
      dimensione = QSize(larghezza, altezza);
    } else if (marcatore == 0xDB) {
      for (size_t i = 0; i < n;) {
        const size_t tabella = (s[i] >> 4) == 0 ? 64 : (s[i] >> 4) == 1 ? 128 : 0;
        if (tabella == 0 || (s[i] & 0x0F) > 3) return std::nullopt;
        i += 1 + tabella;
        if (i > n) return std::nullopt;
      }
    } else if (marcatore == 0xC4) {
      for (size_t i = 0; i < n;) {
        if (i + 17 > n || (s[i] >> 4) > 1 || (s[i] & 0x0F) > 3) return std::nullopt;
        size_t codici = 0;
        for (int k = 1; k <= 16; ++k) codici += s[i + k];
        if (codici > 256) return std::nullopt;
        i += 17 + codici;
        if (i > n) return std::nullopt;
      }
    } else if (marcatore == 0xDA) {
      if (!dimensione || n < 1 || s[0] < 1 || s[0] > 4 || n != 4 + 2 * static_cast<size_t>(s[0]))
        return std::nullopt;
      // each component of the scan is one of the frame's, once
      bool usato[4] = {};
      for (int k = 0; k < s[0]; ++k) {
        int trovato = -1;
        for (int f = 0; f < numComponenti; ++f)
          if (idComponenti[f] == s[1 + 2 * k] && !usato[f]) trovato = f;
        if (trovato < 0) return std::nullopt;
        usato[trovato] = true;
      }
      return dimensione;
    }
    p += 2 + static_cast<uint64_t>(lunghezza);
  }
}

bool ScatolaImmagineQt::Carica(const std::string& percorso) {
  // Only the header is read: decoding the pixels would cost a photo's whole decode on every
  // import and refuse nothing more, since a picture cut short decodes to its upper part.
  // The common JPEG photo is measured here from its markers; everything else goes to Qt's
  // readers, where the content decides the format, as with any picture loader, whatever
  // the extension.
  std::optional<QSize> dimensione = DimensioneJpeg(percorso);
  if (!dimensione) {
    QImageReader lettore(QString::fromStdString(percorso));
    lettore.setDecideFormatFromContent(true);
    if (!lettore.canRead()) return false;
    dimensione = lettore.size();
    if (dimensione->isEmpty()) return false;  // also the invalid size of a damaged header
  }
  larghezza_ = dimensione->width();
  altezza_ = dimensione->height();
  return true;
}

}  // namespace tarkpo::wizard
