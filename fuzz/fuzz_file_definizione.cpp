// The definition-file reader on arbitrary bytes: it must load whatever it is given, and a
// definition it loaded must write out and read back to the same file text.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/definizione.h"
#include "core/file_definizione.h"

namespace {

using tarkpo::DefinizioneImportazione;

// One file per process, rewritten on every input: the reader takes a path.
const std::string& FileProva() {
  static const std::string percorso = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string modello = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarkpo-fuzz-XXXXXX";
    int fd = mkstemp(modello.data());
    if (fd < 0) std::abort();
    close(fd);
    std::atexit([] { std::remove(FileProva().c_str()); });
    return modello;
  }();
  return percorso;
}

void Scrivi(const std::string& contenuto) {
  FILE* f = std::fopen(FileProva().c_str(), "wb");
  if (!f) std::abort();
  if (std::fwrite(contenuto.data(), 1, contenuto.size(), f) != contenuto.size()) std::abort();
  std::fclose(f);
}

DefinizioneImportazione Carica(const std::string& contenuto) {
  Scrivi(contenuto);
  DefinizioneImportazione d;
  if (tarkpo::CaricaImportazione(d, FileProva()) == 0) std::abort();
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  DefinizioneImportazione d = Carica(std::string(reinterpret_cast<const char*>(dati), n));
  std::string testo = tarkpo::TestoFileConfigurazione(d);
  if (testo.empty()) return 0;  // a text member holds a line break: not writable
  std::string di_nuovo = tarkpo::TestoFileConfigurazione(Carica(testo));
  if (di_nuovo != testo) {
    std::fprintf(stderr, "written text does not read back:\n%s\n---\n%s\n", testo.c_str(),
                 di_nuovo.c_str());
    std::abort();
  }
  return 0;
}
