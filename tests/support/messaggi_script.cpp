#include "support/messaggi_script.h"

#include <gtest/gtest.h>

namespace tarkpo::test {

MessaggiScript::~MessaggiScript() {
  EXPECT_TRUE(risposte_.empty()) << risposte_.size() << " queued answers were never asked for";
  EXPECT_TRUE(attesi_.empty()) << "expected box never shown: " << attesi_.front();
}

Risposta MessaggiScript::Mostra(const std::string& testo, Icona icona, Pulsanti pulsanti) {
  mostrati_.push_back({testo, icona, pulsanti});
  if (!attesi_.empty() || rigoroso_) {
    rigoroso_ = true;
    if (attesi_.empty()) {
      ADD_FAILURE() << "unexpected message box: " << testo;
    } else {
      EXPECT_EQ(attesi_.front(), testo);
      attesi_.pop_front();
    }
  }
  if (pulsanti == Pulsanti::Ok) return Risposta::Ok;
  if (risposte_.empty()) {
    ADD_FAILURE() << "unexpected question: " << testo;
    return Risposta::No;
  }
  Risposta r = risposte_.front();
  risposte_.pop_front();
  return r;
}

std::vector<std::string> MessaggiScript::Testi() const {
  std::vector<std::string> t;
  for (const auto& m : mostrati_) t.push_back(m.testo);
  return t;
}

}  // namespace tarkpo::test
