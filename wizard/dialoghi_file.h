#pragma once
// The file dialogs of the pages: choosing a file to open (it must exist) or a file to save.
// Pages reach them through Programma, so tests answer them without a window.
#include <string>

namespace tarkpo::wizard {

class IDialoghiFile {
 public:
  virtual ~IDialoghiFile() = default;
  // `filtro` pairs descriptions and patterns with "|": "Database Access (*.mdb)|*.mdb".
  // The chosen file, or "" when the user cancelled. An empty title shows the usual one.
  virtual std::string FileDaAprire(const std::string& titolo, const std::string& filtro,
                                   const std::string& cartellaIniziale) = 0;
  // The same for saving. A name typed without an extension gets `estensione` (without the
  // dot; "" none); an existing file, under the name so completed, is confirmed by the user
  // before it is returned.
  virtual std::string FileDaSalvare(const std::string& titolo, const std::string& filtro,
                                    const std::string& cartellaIniziale,
                                    const std::string& estensione) = 0;
};

}  // namespace tarkpo::wizard
