#pragma once
// File dialogs for tests: each one records what it was opened with and answers with the next
// queued path ("" = cancelled). A dialog that nobody queued an answer for fails the test.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "wizard/dialoghi_file.h"

namespace tarkpo::test {

class DialoghiFinti : public wizard::IDialoghiFile {
 public:
  struct Richiesta {
    bool salva;
    std::string titolo;
    std::string filtro;
    std::string cartella;
    std::string estensione;  // of a file to save
  };

  std::string FileDaAprire(const std::string& titolo, const std::string& filtro,
                           const std::string& cartella) override {
    return Rispondi({false, titolo, filtro, cartella, ""});
  }
  std::string FileDaSalvare(const std::string& titolo, const std::string& filtro,
                            const std::string& cartella, const std::string& estensione) override {
    return Rispondi({true, titolo, filtro, cartella, estensione});
  }

  // Queues the answer to the next dialog.
  void Scegli(std::string percorso) { risposte.push_back(std::move(percorso)); }

  std::deque<std::string> risposte;
  std::vector<Richiesta> richieste;

 private:
  std::string Rispondi(Richiesta r) {
    richieste.push_back(std::move(r));
    if (risposte.empty()) {
      ADD_FAILURE() << "file dialog without a queued answer: " << richieste.back().filtro;
      return {};
    }
    std::string p = std::move(risposte.front());
    risposte.pop_front();
    return p;
  }
};

}  // namespace tarkpo::test
