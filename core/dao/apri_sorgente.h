#pragma once
// The one entry from the engine layer to the readers of sources that are not SQLite files:
// an Access file, an Excel workbook, a folder of text files.
#include <memory>
#include <string>

#include "core/dao/sorgente.h"

namespace tarkpo::dao {

class DBEngine;

// Opens `percorso` (which exists) as a read-only source, choosing the reader from the
// connect string ("Access 2000;", "Excel 8.0;", "Text;" followed by options such as
// "PWD=..." or "HDR=Yes"). Raises ErroreDao (3031 for a wrong password, 3343 for a file the
// reader does not recognise, ...).
std::unique_ptr<Sorgente> ApriSorgenteEsterna(const DBEngine& motore, const std::string& percorso,
                                              const std::string& connect);

}  // namespace tarkpo::dao
