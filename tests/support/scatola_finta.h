#pragma once
// An image box for tests without Qt: it loads BMP files (size from their header) and files
// whose content begins with "IMG WxH", and refuses everything else.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/immagini.h"
#include "support/cartella_temp.h"

namespace tarkpo::test {

class ScatolaFinta : public IScatolaImmagine {
 public:
  bool Carica(const std::string& percorso) override {
    ++caricate;
    const std::string dati = LeggiFile(percorso);
    if (dati.size() >= 26 && dati.rfind("BM", 0) == 0) {
      auto intero = [&dati](size_t o) {
        return int(uint8_t(dati[o])) | int(uint8_t(dati[o + 1])) << 8 |
               int(uint8_t(dati[o + 2])) << 16;
      };
      larghezza_ = intero(18);
      altezza_ = intero(22);
      return true;
    }
    return dati.rfind("IMG ", 0) == 0 &&
           std::sscanf(dati.c_str() + 4, "%dx%d", &larghezza_, &altezza_) == 2;
  }
  int Larghezza() const override { return larghezza_; }
  int Altezza() const override { return altezza_; }

  int caricate = 0;

 private:
  int larghezza_ = 0, altezza_ = 0;
};

}  // namespace tarkpo::test
