#pragma once
// The file dialogs on the screen, Qt's own so that they behave alike on every desktop.
#include <QString>

#include "wizard/dialoghi_file.h"

namespace tarkpo::wizard {

// "Desc (*.a)|*.a|Altro (*.b;*.c)|*.b;*.c" as Qt's name filters; each pattern also in upper
// case, since file names on this platform are case-sensitive and catalogues come from Windows.
QString FiltroQt(const std::string& filtro);

class DialoghiFileQt : public IDialoghiFile {
 public:
  std::string FileDaAprire(const std::string& titolo, const std::string& filtro,
                           const std::string& cartellaIniziale) override;
  std::string FileDaSalvare(const std::string& titolo, const std::string& filtro,
                            const std::string& cartellaIniziale,
                            const std::string& estensione) override;
};

}  // namespace tarkpo::wizard
