#pragma once
// The source folder and the paths found in the source data (image paths) made absolute.
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/definizione.h"

namespace tarkpo {

// The folder of the source, ending in "/": for an .xls or .mdb file its folder (empty when
// the path has no "/"), for a text source the folder itself.
std::string CartellaDb(const DefinizioneImportazione& def);

// A path read from the source data: every "\" becomes "/", so that catalogues written on
// Windows with relative paths still work; a path beginning with "/" stays as it is, any
// other is taken relative to CartellaDb. The empty text stays empty.
std::string PercorsoCompleto(const DefinizioneImportazione& def, const std::string& percorso);

// Listings of folders, kept while one import runs: a catalogue written on Windows may name
// every picture of a large folder in another case, and listing the folder again for each
// picture would make the time grow with the square of the items.
class ElenchiCartelle {
 public:
  // The one entry of `cartella` ("" for the current folder) whose name equals `nome` without
  // regard to case; empty when none or several do.
  std::string Voce(const std::string& cartella, std::string_view nome);

 private:
  // Per folder, each name in lower case with the entry's own name ("" when several share it).
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> cartelle_;
};

// The path with "." and ".." resolved by name, as Windows resolves them: "a/lnk/../x.jpg" is
// "a/x.jpg" whatever lnk links to; ".." at the root stays there, at the start of a relative
// path it stays; repeated "/" count as one.
std::string RisoltoPerNome(std::string_view percorso);

// The entry on disk that Windows would open for `percorso` (folders separated by "/"), for
// catalogues whose author relied on Windows' way with names: "." and ".." are resolved by
// name first (RisoltoPerNome); then the path itself when it exists; otherwise each part is
// looked for in its folder without regard to letter case (the Windows-1252 letters), the
// file name also without its trailing blanks and dots. A part that several entries match is
// taken only when one of them matches exactly. Empty when nothing, or nothing unambiguous,
// is found.
std::string PercorsoSuDisco(const std::string& percorso, ElenchiCartelle& elenchi);
std::string PercorsoSuDisco(const std::string& percorso);

}  // namespace tarkpo
