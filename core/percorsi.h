#pragma once
// The source folder and the paths found in the source data (image paths) made absolute.
#include <string>

#include "core/definizione.h"

namespace tarkpo {

// The folder of the source, ending in "/": for an .xls or .mdb file its folder (empty when
// the path has no "/"), for a text source the folder itself.
std::string CartellaDb(const DefinizioneImportazione& def);

// A path read from the source data: every "\" becomes "/", so that catalogues written on
// Windows with relative paths still work; a path beginning with "/" stays as it is, any
// other is taken relative to CartellaDb. The empty text stays empty.
std::string PercorsoCompleto(const DefinizioneImportazione& def, const std::string& percorso);

}  // namespace tarkpo
