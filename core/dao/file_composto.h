#pragma once
// Compound files, the container of Excel 97-2003 workbooks: streams of the root storage
// read whole from the file's bytes. Every sector number, chain and size read from the file
// is checked: a chain that loops or leaves the file is an error, never a read out of bounds.
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarkpo::dao {

// A file whose structure does not hold together; the text says where, in Italian, for the
// engine's "not recognised" message.
class FormatoDanneggiato : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether the bytes begin with the compound-file signature.
bool HaFirmaFileComposto(std::string_view file);

// The first of `nomi` (in their order; names compare ignoring ASCII case) that is a stream
// of the root storage, read whole; nothing when none is. Raises FormatoDanneggiato.
std::optional<std::string> LeggiFlussoComposto(std::string_view file,
                                               std::initializer_list<std::string_view> nomi);

}  // namespace tarkpo::dao
