#pragma once
// The import page's image box: measures a picture with Qt's image readers.
#include <QSize>
#include <optional>
#include <string>

#include "core/immagini.h"

namespace tarkpo::wizard {

// The size a JPEG decoder finds in a baseline or progressive 8-bit JPEG whose markers up to
// the start of the scan are all whole and consistent, as the decoder checks them (frame,
// quantisation and Huffman tables, scan header); nothing for any other file, which the
// reader of its format then judges.
std::optional<QSize> DimensioneJpeg(const std::string& percorso);

class ScatolaImmagineQt : public IScatolaImmagine {
 public:
  // Reads the picture's header only, so a file whose header is damaged fails; keeps the
  // last good size.
  bool Carica(const std::string& percorso) override;
  int Larghezza() const override { return larghezza_; }
  int Altezza() const override { return altezza_; }

 private:
  int larghezza_ = 0;
  int altezza_ = 0;
};

}  // namespace tarkpo::wizard
