// The Access header and password reader on arbitrary bytes: a password in valid UTF-8 or
// the engine's error, never a crash. Short inputs are padded to three whole pages, so that
// the header's own fields decide.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cartella_fuzz.h"
#include "core/dao/errore.h"
#include "core/dao/sorgente_access.h"
#include "core/testo.h"

using namespace tarkpo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  std::string file(reinterpret_cast<const char*>(dati), n);
  if (n > 0 && (dati[n - 1] & 1) == 0 && n < 3 * 4096) file.resize(3 * 4096, '\0');
  const std::string percorso = fuzz::Scrivi("t.mdb", file);
  try {
    if (!IsUtf8Valido(dao::PasswordDatabaseAccess(percorso))) std::abort();
  } catch (const dao::ErroreDao&) {
  }
  return 0;
}
