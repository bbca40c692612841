#pragma once
// The import page's image box: measures a picture with Qt's image readers.
#include <string>

#include "core/immagini.h"

namespace tarkpo::wizard {

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
