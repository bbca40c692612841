#pragma once
// The value of a field, as the engine layer reads and writes it.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace tarkpo {

enum class TipoValore : uint8_t {
  Empty,
  Null,
  Boolean,
  Byte,
  Integer,  // 16-bit
  Long,     // 32-bit
  Single,
  Double,
  Currency,  // signed 64-bit count of ten-thousandths
  Date,      // days since 1899-12-30, as a double
  Text,      // UTF-8
};

class Valore {
 public:
  Valore() = default;  // Empty
  static Valore Null() { return Valore(TipoValore::Null, std::monostate{}); }
  static Valore Booleano(bool v) { return Valore(TipoValore::Boolean, v); }
  static Valore Byte(uint8_t v) { return Valore(TipoValore::Byte, static_cast<int64_t>(v)); }
  static Valore Intero(int16_t v) { return Valore(TipoValore::Integer, static_cast<int64_t>(v)); }
  static Valore Lungo(int32_t v) { return Valore(TipoValore::Long, static_cast<int64_t>(v)); }
  static Valore Singolo(float v) { return Valore(TipoValore::Single, static_cast<double>(v)); }
  static Valore Doppio(double v) { return Valore(TipoValore::Double, v); }
  static Valore Valuta(int64_t decimillesimi) {
    return Valore(TipoValore::Currency, decimillesimi);
  }
  static Valore Data(double giorni) { return Valore(TipoValore::Date, giorni); }
  static Valore Testo(std::string v) { return Valore(TipoValore::Text, std::move(v)); }

  TipoValore Tipo() const { return tipo_; }
  bool IsNull() const { return tipo_ == TipoValore::Null; }
  bool IsEmpty() const { return tipo_ == TipoValore::Empty; }

  // Raw accessors: valid only for the matching kinds.
  bool Bool() const { return std::get<bool>(v_); }
  // Byte, Integer, Long and Currency (ten-thousandths).
  int64_t Intero64() const { return std::get<int64_t>(v_); }
  // Single (widened), Double and Date.
  double Reale() const { return std::get<double>(v_); }
  const std::string& Stringa() const { return std::get<std::string>(v_); }

  bool operator==(const Valore&) const = default;

 private:
  using Dato = std::variant<std::monostate, bool, int64_t, double, std::string>;
  Valore(TipoValore t, Dato v) : tipo_(t), v_(std::move(v)) {}
  TipoValore tipo_ = TipoValore::Empty;
  Dato v_;
};

}  // namespace tarkpo
