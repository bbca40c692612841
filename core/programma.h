#pragma once
#include <string>

namespace tarkpo {

// The folder of the running executable, without a final "/": "last.ini", "main.tmp"
// and the tutorial live there.
std::string CartellaProgramma();

// The program's version, from the build.
inline constexpr const char* kVersione = TARKPO_VERSIONE;

}  // namespace tarkpo
