#pragma once
// Small text rules on UTF-8 strings, shared by the image copy and the import engine.
#include <string>
#include <string_view>

namespace tarkpo {

// The first `n` characters (code points) of a UTF-8 text.
std::string PrimiCaratteri(std::string_view testo, size_t n);
// Cuts a UTF-8 text to its first `n` characters, in place.
void TagliaCaratteri(std::string& testo, size_t n);
// The text without leading and trailing blanks (spaces only, as the import compares codes).
std::string_view SenzaSpazi(std::string_view testo);
// Lower case of the letters of Windows-1252 (A-Z, the accented capitals, Š Œ Ž Ÿ); other
// characters stay as they are.
std::string Minuscolo(std::string_view testo);
// Whether two names are equal with ASCII letters compared without case, as the engine
// matches table, field and setting names.
bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b);

}  // namespace tarkpo
