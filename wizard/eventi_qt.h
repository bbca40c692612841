#pragma once
// Yielding to Qt's event loop during an import.
#include <chrono>

#include "engine/eventi.h"

namespace tarkpo::wizard {

class EventiQt : public motore::IEventi {
 public:
  // Processes pending events at most every few milliseconds: a call in between costs one
  // clock read, so a long import does not pay for the event loop on every row.
  void ElaboraEventi() override;

 private:
  std::chrono::steady_clock::time_point ultima_{};
};

}  // namespace tarkpo::wizard
