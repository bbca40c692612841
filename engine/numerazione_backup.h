#pragma once
// The numbering of the shop's backup copies: "catalog." and three digits, beside the shop's
// data file.
#include <string>

namespace tarkpo::motore {

// The file name of the next backup copy in `cartella`: one more than the number of the
// backup that sorts last (without regard to case) among the files "catalog.*" ending in "."
// and three digits, "catalog.000" when there is none. When that name is taken, the next
// number up to 999 that names nothing in the folder; "" when none is free.
std::string NomeProssimoBackup(const std::string& cartella);

}  // namespace tarkpo::motore
