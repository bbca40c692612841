#pragma once
// A scripted message interface for tests: records every box and answers the Yes/No ones
// from a queue. A question that nobody queued an answer for fails the test, and so does
// any box at all once `SoloDomandeAttese` is set and the box was not expected.
#include <deque>
#include <string>
#include <vector>

#include "core/messaggi.h"

namespace tarkpo::test {

struct MessaggioMostrato {
  std::string testo;
  Icona icona;
  Pulsanti pulsanti;
};

class MessaggiScript : public IMessaggi {
 public:
  ~MessaggiScript() override;
  Risposta Mostra(const std::string& testo, Icona icona, Pulsanti pulsanti) override;

  // Queues the answer to the next Yes/No question.
  void Rispondi(Risposta r) { risposte_.push_back(r); }
  // Every box must then have been announced with Attendi (text and order).
  void Attendi(const std::string& testo) { attesi_.push_back(testo); }

  const std::vector<MessaggioMostrato>& Mostrati() const { return mostrati_; }
  std::vector<std::string> Testi() const;
  void Pulisci() { mostrati_.clear(); }

 private:
  std::deque<Risposta> risposte_;
  std::deque<std::string> attesi_;
  bool rigoroso_ = false;
  std::vector<MessaggioMostrato> mostrati_;
};

}  // namespace tarkpo::test
