#pragma once
// The import definition file: 110 lines, one member per line in the definition's order,
// no keys. One layout serves the user's ".kpo" files, "last.ini" (the last successful
// import) and "main.tmp" (the definition carried across a restart).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/definizione.h"
#include "core/file_disco.h"
#include "core/messaggi.h"
#include "core/programma.h"

namespace tarkpo {

inline constexpr int kRigheFileConfigurazione = 110;

// An open definition file, read line by line.
class FileConfigurazione {
 public:
  // The bytes of a file: UTF-8, or Windows-1252 when they are not valid UTF-8; lines end
  // in CR LF or LF.
  explicit FileConfigurazione(std::string_view contenuto);
  // The next line without its end; false once the file has no more lines.
  bool LeggiRiga(std::string& riga);

 private:
  std::vector<std::string> righe_;
  size_t prossima_ = 0;
};

// The next line into `target`; a missing line, or one that does not convert to the
// target's type, leaves the target as it was. Numbers take "," and "." alike.
void LeggiValore(FileConfigurazione& file, std::string& target);
void LeggiValore(FileConfigurazione& file, int16_t& target);
void LeggiValore(FileConfigurazione& file, int32_t& target);
void LeggiValore(FileConfigurazione& file, float& target);

// The 110 lines of the definition, each ended by CR LF; empty when a text member holds
// a line break, which would shift every later line.
std::string TestoFileConfigurazione(const DefinizioneImportazione& d);

// Writes the definition to `percorso`, whole or not at all: a failure leaves the file that
// stood there as it was, shows "Impossibile salvare questa importazione in " and the path,
// and returns false. `scrittura` makes the writes (tests make them fail).
bool SalvaImportazione(const DefinizioneImportazione& d, const std::string& percorso,
                       IMessaggi& messaggi, IScritturaFile* scrittura = nullptr);
// Reads the definition from `percorso`: 0 when the file cannot be read (nothing changes),
// 2 when the CSV delimiter choice changed with it, else 1.
int CaricaImportazione(DefinizioneImportazione& d, const std::string& percorso);

// "main.tmp" in `cartella`: written silently, whole or not at all (when it cannot be
// written none is left: an older one would be restored in place of this definition), read
// silently and deleted after reading.
void SalvaStatoTemp(const DefinizioneImportazione& d,
                    const std::string& cartella = CartellaProgramma(),
                    IScritturaFile* scrittura = nullptr);
void CaricaStatoTemp(DefinizioneImportazione& d, const std::string& cartella = CartellaProgramma());

}  // namespace tarkpo
