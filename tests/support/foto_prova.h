#pragma once
// Pictures for the image box's tests and benchmark, made with Qt's own JPEG writer: product
// photos of camera size (smooth shading with sensor noise, about 290 KB at 1600x1200 and
// quality 90), and damaged copies of a JPEG's header.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>

namespace tarkpo::test {

inline QByteArray FotoJpeg(int larghezza, int altezza, unsigned seme = 1) {
  QImage foto(larghezza, altezza, QImage::Format_RGB32);
  std::minstd_rand caso(seme);
  for (int y = 0; y < altezza; ++y) {
    auto* riga = reinterpret_cast<QRgb*>(foto.scanLine(y));
    for (int x = 0; x < larghezza; ++x) {
      const double luce = 0.5 + 0.25 * std::sin(x * 0.004 + seme) + 0.2 * std::cos(y * 0.006);
      const int rumore = static_cast<int>(caso() % 11) - 5;
      auto canale = [&](double peso) {
        const int v = static_cast<int>(255 * luce * peso) + rumore;
        return v < 0 ? 0 : v > 255 ? 255 : v;
      };
      riga[x] = qRgb(canale(1.0), canale(0.8), canale(0.6));
    }
  }
  QByteArray dati;
  QBuffer buffer(&dati);
  buffer.open(QIODevice::WriteOnly);
  if (!foto.save(&buffer, "JPG", 90)) throw std::runtime_error("JPEG non scritto");
  return dati;
}

// The offset of the first marker segment `marcatore` (0xC0: the frame header) of a JPEG
// before its scan.
inline qsizetype InizioSegmento(const QByteArray& jpeg, uint8_t marcatore) {
  for (qsizetype i = 2; i + 4 <= jpeg.size();) {
    if (static_cast<uint8_t>(jpeg[i]) != 0xFF) break;
    if (static_cast<uint8_t>(jpeg[i + 1]) == marcatore) return i;
    i += 2 + (static_cast<uint8_t>(jpeg[i + 2]) << 8 | static_cast<uint8_t>(jpeg[i + 3]));
  }
  throw std::runtime_error("segmento JPEG non trovato");
}

// The JPEG with its frame header claiming another size; the pixel data stay as they were.
inline QByteArray ConDimensione(QByteArray jpeg, int larghezza, int altezza) {
  const qsizetype sof = InizioSegmento(jpeg, 0xC0);
  jpeg[sof + 5] = static_cast<char>(altezza >> 8);
  jpeg[sof + 6] = static_cast<char>(altezza);
  jpeg[sof + 7] = static_cast<char>(larghezza >> 8);
  jpeg[sof + 8] = static_cast<char>(larghezza);
  return jpeg;
}

}  // namespace tarkpo::test
