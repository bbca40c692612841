#pragma once
// Small shops for tests, made from the schemas under schemi/ with the SQLite library.
#include <string>

namespace tarkpo::test {

inline constexpr const char* kSchemaBase = "negozio-1listino-1lingua";
inline constexpr const char* kSchemaEsteso = "negozio-10listini-4lingue";

// Creates `cartella` (if needed) and the shop file `file` in it from the schema `schema`
// (a name under schemi/); returns the file's path. Throws when the SQL fails.
std::string CreaNegozio(const std::string& cartella, const std::string& schema = kSchemaBase,
                        const std::string& file = "catalog.mdb");

// Runs SQL on a database file, outside the engine layer; throws on failure.
void EseguiSql(const std::string& file, const std::string& sql);

// The first column of the first row of a query as text ("" for Null or no row).
std::string PrimoValore(const std::string& file, const std::string& sql);

}  // namespace tarkpo::test
