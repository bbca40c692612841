#pragma once
// The shell operations the wizard needs: the folder browser, opening a document with the
// program the desktop associates with it, and starting a program. The desktop side lives
// behind IShell (the wizard provides it, tests record what would have happened).
#include <cstdint>
#include <string>
#include <vector>

namespace tarkpo {

class Registro;

class IShell {
 public:
  virtual ~IShell() = default;
  // A modal folder dialog that accepts file-system folders only, opened on `iniziale` when
  // that folder exists; the chosen folder, or "" when the user cancelled.
  virtual std::string ScegliCartella(const std::string& titolo, const std::string& iniziale) = 0;
  // Opens the file with the desktop's associated program; false when that fails.
  virtual bool ApriFile(const std::string& percorso) = 0;
  // Starts the program detached from this process; false when it could not start.
  virtual bool AvviaProgramma(const std::string& programma,
                              const std::vector<std::string>& argomenti,
                              const std::string& cartellaLavoro) = 0;
};

// The chosen folder, or "" on cancel.
std::string SfogliaCartella(IShell& shell, const std::string& titolo,
                            const std::string& cartellaIniziale);

// Opens `file` of `cartella`. True when it could not be opened; an empty name does nothing
// and gives false.
bool ApriDocumento(IShell& shell, const std::string& file, const std::string& cartella);

// Starts `file` of the program's folder with `parametri` as its one argument (none when
// empty), working folder the program's folder. True when it could not start; an empty name
// does nothing and gives false.
bool EseguiProgramma(IShell& shell, const std::string& file, const std::string& parametri,
                     const std::string& cartellaProgramma);

// Writes a DWORD value, creating the key and the missing keys above it; a failure is
// ignored.
void ImpostaValoreRegistro(Registro& registro, int32_t radice, const std::string& chiave,
                           const std::string& nome, int32_t valore);

}  // namespace tarkpo
