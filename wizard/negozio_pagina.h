#pragma once
// The shop database as the language and price-list pages read it while they load: opened
// only to be read, read, closed again before the page shows.
#include <functional>

#include "core/dao/dao.h"

namespace tarkpo::wizard {

class Programma;

// Opens the shop (false, after the engine has told the user why, when it cannot), hands it
// to `leggi` and closes it whatever `leggi` did.
bool LeggiNegozio(Programma& prog, const std::function<void(dao::Database&)>& leggi);

}  // namespace tarkpo::wizard
