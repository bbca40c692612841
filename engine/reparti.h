#pragma once
// Department import: the rows of the source's departments table into the shop table
// "categorie", and the two special departments of the item import.
#include <string>

#include "engine/contesto.h"

namespace tarkpo::motore {

inline constexpr const char* kTitoloArticoliImportati = "* Articoli importati";
inline constexpr const char* kTitoloArticoliOrfani = "* Articoli orfani";

// True when the row loop reached the end of the source table.
bool ImportaReparti(Contesto& c);
// Adds or (with overwrite 1) updates one department, found by ID or, without a code, by
// title. Returns its ID, or "" when it did nothing or failed.
std::string ImportaReparto(Contesto& c, const std::string& codice, const std::string& titolo,
                           const std::string& descrizione, const std::string& nota, float iva,
                           float sconto, bool speciale);
// The IDs of the special departments, made on first use; "" while they cannot be made.
std::string RepartoArticoliImportati(Contesto& c);
std::string RepartoArticoliOrfani(Contesto& c);

}  // namespace tarkpo::motore
