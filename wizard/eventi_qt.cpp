#include "wizard/eventi_qt.h"

#include <QCoreApplication>

namespace tarkpo::wizard {

void EventiQt::ElaboraEventi() {
  constexpr auto kIntervallo = std::chrono::milliseconds(15);
  const auto adesso = std::chrono::steady_clock::now();
  if (adesso - ultima_ < kIntervallo) return;
  ultima_ = adesso;
  QCoreApplication::processEvents();
}

}  // namespace tarkpo::wizard
