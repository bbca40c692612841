#pragma once
// Access databases (Jet 3 and Jet 4 .mdb files), read only through libmdb.
#include <memory>
#include <optional>
#include <string>

#include "core/dao/sorgente.h"

namespace tarkpo::dao {

// The database password kept in the file's header page; empty when the file has none.
// Raises 3343 when the file is not an Access database.
std::string PasswordDatabaseAccess(const std::string& percorso);

// Raises 3024 for a missing file, 3031 when the file holds a password and `password` is not
// exactly it (an unprotected file ignores `password`), 3343 for a damaged file.
std::unique_ptr<Sorgente> ApriSorgenteAccess(const std::string& percorso,
                                             const std::string& password);

}  // namespace tarkpo::dao
