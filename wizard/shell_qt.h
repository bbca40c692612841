#pragma once
// The shell on the desktop: Qt's folder dialog, the desktop's document opener (xdg-open)
// and a detached process.
#include "core/shell.h"

namespace tarkpo::wizard {

class ShellQt : public IShell {
 public:
  std::string ScegliCartella(const std::string& titolo, const std::string& iniziale) override;
  bool ApriFile(const std::string& percorso) override;
  bool AvviaProgramma(const std::string& programma, const std::vector<std::string>& argomenti,
                      const std::string& cartellaLavoro) override;
};

}  // namespace tarkpo::wizard
