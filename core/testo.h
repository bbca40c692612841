#pragma once
// Text in Windows-1252, as files made on Windows hold it, and in UTF-8, as the program
// holds it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarkpo {

// Every byte as its Windows-1252 character. The five bytes that code page leaves
// undefined become the control characters of the same number, so they come back.
std::string Cp1252AUtf8(std::string_view testo);
// The same, appended to `destinazione` (for text read block by block).
void AggiungiCp1252(std::string& destinazione, std::string_view testo);
// UTF-16 code units as UTF-8; half a surrogate pair becomes U+FFFD.
std::string Utf16AUtf8(std::u16string_view testo);
// Every character as its Windows-1252 byte; "?" for a character the code page lacks and
// for every byte of a malformed sequence.
std::string Utf8ACp1252(std::string_view testo);
// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsUtf8Valido(std::string_view testo);
// The text in UTF-8: as it is when it is UTF-8, else read as Windows-1252 (a file name
// copied from Windows, a line of a file written there).
std::string InUtf8(std::string_view testo);

// The one rule by which a table is found by name, in the engine, the table lists and the
// field lists: the position of the first name that is `cercato` as the engine gives it, else
// of the first that is `cercato` once read as Windows-1252 (a definition file gives back a
// file's Windows-1252 name in UTF-8). Letter case counts only when `maiuscole` says so.
std::optional<size_t> CercaNomeTabella(const std::vector<std::string_view>& nomi,
                                       std::string_view cercato, bool maiuscole = false);

}  // namespace tarkpo
