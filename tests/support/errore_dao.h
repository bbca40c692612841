#pragma once
// The number of the engine error that a call raises, 0 when it raises none.
#include <functional>

#include "core/dao/errore.h"

namespace tarkpo::test {

inline int NumeroErrore(const std::function<void()>& chiamata) {
  try {
    chiamata();
  } catch (const dao::ErroreDao& e) {
    return e.Numero();
  }
  return 0;
}

}  // namespace tarkpo::test
