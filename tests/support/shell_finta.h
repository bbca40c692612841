#pragma once
// A shell that records what it was asked to open or start instead of doing it, and
// answers the folder browser with a preset folder.
#include <string>
#include <utility>
#include <vector>

#include "core/shell.h"

namespace tarkpo::test {

class ShellFinto : public IShell {
 public:
  struct Avvio {
    std::string programma;
    std::vector<std::string> argomenti;
    std::string cartella;
  };
  std::string ScegliCartella(const std::string& titolo, const std::string& iniziale) override {
    sfogliate.push_back({titolo, iniziale});
    return scelta;
  }
  bool ApriFile(const std::string& percorso) override {
    aperti.push_back(percorso);
    return riesce;
  }
  bool AvviaProgramma(const std::string& programma, const std::vector<std::string>& argomenti,
                      const std::string& cartella) override {
    avvii.push_back({programma, argomenti, cartella});
    return riesce;
  }

  bool riesce = true;
  std::string scelta;
  std::vector<std::pair<std::string, std::string>> sfogliate;
  std::vector<std::string> aperti;
  std::vector<Avvio> avvii;
};

}  // namespace tarkpo::test
