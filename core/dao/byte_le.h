#pragma once
// Little-endian numbers in the bytes of a file (the compound file and the workbook records
// it holds); the caller has checked that they lie within the bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarkpo::dao {

inline uint16_t Le16(std::string_view s, size_t p) {
  const auto* b = reinterpret_cast<const unsigned char*>(s.data() + p);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
inline uint32_t Le32(std::string_view s, size_t p) {
  return Le16(s, p) | (static_cast<uint32_t>(Le16(s, p + 2)) << 16);
}
inline uint64_t Le64(std::string_view s, size_t p) {
  return Le32(s, p) | (static_cast<uint64_t>(Le32(s, p + 4)) << 32);
}

}  // namespace tarkpo::dao
