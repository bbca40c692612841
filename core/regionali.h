#pragma once
// Numbers under the user's regional settings: the decimal and thousands separators of the
// process locale (LC_NUMERIC), settable in tests.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarkpo {

class ImpostazioniRegionali {
 public:
  explicit ImpostazioniRegionali(char decimale = '.', char migliaia = ',')
      : decimale_(decimale), migliaia_(migliaia) {}
  static ImpostazioniRegionali DalLocale();  // the process's LC_NUMERIC
  static ImpostazioniRegionali Italiane() { return ImpostazioniRegionali(',', '.'); }
  static ImpostazioniRegionali Inglesi() { return ImpostazioniRegionali('.', ','); }

  char SeparatoreDecimale() const { return decimale_; }
  char SeparatoreMigliaia() const { return migliaia_; }

  // Whether the text reads as a number: blanks around it, a sign, the locale's separator.
  bool IsNumeric(std::string_view testo) const;
  // Conversions of a text; empty when it does not read as a number or is out of range
  // (never wrapping). Integer, Long and Currency round a half to the even neighbour.
  std::optional<double> ADouble(std::string_view testo) const;
  std::optional<float> ASingle(std::string_view testo) const;
  std::optional<int16_t> AInteger(std::string_view testo) const;
  std::optional<int32_t> ALong(std::string_view testo) const;
  std::optional<int64_t> ACurrency(std::string_view testo) const;  // ten-thousandths

  // Text forms with the locale's separator and no decimal part for whole values; a
  // Single in its shortest form of up to seven significant digits.
  std::string TestoSingle(float v) const;
  std::string TestoDouble(double v) const;
  std::string TestoCurrency(int64_t decimillesimi) const;

 private:
  char decimale_;
  char migliaia_;
};

// The process's settings: read from the locale at first use; tests assign another.
ImpostazioniRegionali& Regionali();

// Rounds to `decimali` decimals, a value exactly halfway going to the even neighbour.
double ArrotondaPari(double valore, int decimali = 0);
// Conversions of a number that fail instead of wrapping (Integer and Long round half even).
std::optional<int16_t> DoubleAInteger(double v);
std::optional<int32_t> DoubleALong(double v);
std::optional<int64_t> DoubleACurrency(double v);  // ten-thousandths, rounded half even

}  // namespace tarkpo
