#pragma once
// A folder of its own for each fuzz process, removed at exit: the readers take paths.
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tarkpo::fuzz {

class CartellaProcesso {
 public:
  CartellaProcesso() {
    const char* tmp = std::getenv("TMPDIR");
    percorso = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarkpo-fuzz-XXXXXX";
    if (!mkdtemp(percorso.data())) std::abort();
  }
  ~CartellaProcesso() {
    std::error_code ec;
    std::filesystem::remove_all(percorso, ec);
  }
  std::string percorso;
};

inline const std::string& Cartella() {
  static const CartellaProcesso cartella;
  return cartella.percorso;
}

// Writes `contenuto` to `nome` inside the folder and gives its path.
inline std::string Scrivi(const std::string& nome, const std::string& contenuto) {
  const std::string percorso = Cartella() + "/" + nome;
  FILE* f = std::fopen(percorso.c_str(), "wb");
  if (!f) std::abort();
  if (std::fwrite(contenuto.data(), 1, contenuto.size(), f) != contenuto.size()) std::abort();
  std::fclose(f);
  return percorso;
}

}  // namespace tarkpo::fuzz
