#pragma once
// Numbers under the user's regional settings: the decimal separator, the digit grouping and
// the currency symbol of the process locale (LC_NUMERIC, LC_MONETARY), settable in tests.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarkpo {

class ImpostazioniRegionali {
 public:
  // The digit grouping and the currency symbol are UTF-8 texts, "" for none.
  explicit ImpostazioniRegionali(char decimale, std::string migliaia = "", std::string valuta = "");
  ImpostazioniRegionali() : ImpostazioniRegionali('.') {}
  static ImpostazioniRegionali DalLocale();  // the process's LC_NUMERIC and LC_MONETARY
  static ImpostazioniRegionali Italiane() { return ImpostazioniRegionali(',', ".", "€"); }
  static ImpostazioniRegionali Inglesi() { return ImpostazioniRegionali('.', ",", "$"); }

  char SeparatoreDecimale() const { return decimale_; }
  const std::string& SeparatoreMigliaia() const { return migliaia_; }
  const std::string& SimboloValuta() const { return valuta_; }

  // Whether the text reads as a number: blanks around it, a sign, digits grouped in threes
  // before the decimal separator or not grouped at all, the decimal separator, an exponent,
  // the currency symbol before or after.
  bool IsNumeric(std::string_view testo) const;
  // Conversions of a text; empty when it does not read as a number or is out of range
  // (never wrapping). Integer, Long and Currency round a half to the even neighbour.
  std::optional<double> ADouble(std::string_view testo) const;
  std::optional<float> ASingle(std::string_view testo) const;
  std::optional<int16_t> AInteger(std::string_view testo) const;
  std::optional<int32_t> ALong(std::string_view testo) const;
  std::optional<int64_t> ACurrency(std::string_view testo) const;  // ten-thousandths
  // A plain number: blanks around, a sign, digits, the decimal separator, an exponent; no
  // grouping and no currency symbol.
  std::optional<double> ADoubleSemplice(std::string_view testo) const;

  // Text forms with the locale's separator, no grouping and no decimal part for whole
  // values; a Single in its shortest form of up to seven significant digits, a Double with
  // up to fifteen (every number turned into text goes through these).
  std::string TestoSingle(float v) const;
  std::string TestoDouble(double v) const;
  std::string TestoCurrency(int64_t decimillesimi) const;

 private:
  char decimale_;
  std::string migliaia_;
  std::string valuta_;
  // The forms of the grouping that read as it: a blank stands for every blank and
  // no-break space, an apostrophe for both apostrophes.
  std::vector<std::string> gruppi_;
};

// The process's settings: read from the locale at first use; tests assign another.
ImpostazioniRegionali& Regionali();

// Rounds to `decimali` decimals, a value exactly halfway going to the even neighbour.
double ArrotondaPari(double valore, int decimali = 0);
// Conversions of a number that fail instead of wrapping (Integer and Long round half even).
std::optional<int16_t> DoubleAInteger(double v);
std::optional<int32_t> DoubleALong(double v);
std::optional<int64_t> DoubleACurrency(double v);  // ten-thousandths, rounded half even
// The decimal digits of a whole number, with leading zeros up to `cifre` digits ("007").
std::string ConZeri(int64_t n, int cifre);
// The double of a Single's shortest decimal form: 1.3f gives 1.3, not 1.2999999523162842.
double DoubleDaSingle(float v);

}  // namespace tarkpo
