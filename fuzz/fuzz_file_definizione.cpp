// The definition-file reader on arbitrary bytes: it must load whatever it is given, and a
// definition it loaded must write out and read back to the same file text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cartella_fuzz.h"
#include "core/definizione.h"
#include "core/file_definizione.h"

namespace {

using tarkpo::DefinizioneImportazione;

DefinizioneImportazione Carica(const std::string& contenuto) {
  DefinizioneImportazione d;
  if (tarkpo::CaricaImportazione(d, tarkpo::fuzz::Scrivi("d.kpo", contenuto)) == 0) std::abort();
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
