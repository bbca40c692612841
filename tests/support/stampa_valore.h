#pragma once
// Readable GoogleTest output for field values and their kinds.
#include <ostream>

#include "core/dao/valore.h"

namespace tarkpo {

inline const char* NomeTipo(TipoValore t) {
  constexpr const char* kNomi[] = {"Empty",  "Null",   "Boolean",  "Byte", "Integer", "Long",
                                   "Single", "Double", "Currency", "Date", "Text"};
  return kNomi[static_cast<int>(t)];
}

inline void PrintTo(TipoValore t, std::ostream* os) { *os << NomeTipo(t); }

inline void PrintTo(const Valore& v, std::ostream* os) {
  *os << NomeTipo(v.Tipo());
  switch (v.Tipo()) {
    case TipoValore::Boolean:
      *os << "(" << v.Bool() << ")";
      break;
    case TipoValore::Byte:
    case TipoValore::Integer:
    case TipoValore::Long:
    case TipoValore::Currency:
      *os << "(" << v.Intero64() << ")";
      break;
    case TipoValore::Single:
    case TipoValore::Double:
    case TipoValore::Date:
      *os << "(" << v.Reale() << ")";
      break;
    case TipoValore::Text:
      *os << "(\"" << v.Stringa() << "\")";
      break;
    default:
      break;
  }
}

}  // namespace tarkpo
