#include "core/regionali.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

namespace tarkpo {

namespace {

// A number read from text, kept exact: (-1)^negativo * cifre * 10^esponente.
struct NumeroDecimale {
  bool negativo = false;
  std::string cifre;  // no leading zeros; empty for zero
  int esponente = 0;
};

bool IsCifra(char c) { return c >= '0' && c <= '9'; }

// What a number may hold besides its sign and digits.
struct Forma {
  char decimale = '.';
  const std::vector<std::string>* gruppi = nullptr;  // the grouping's forms; none when null
  std::string_view valuta;                           // "" for none
  bool esponente = true;
};

// Blanks around the parts of a number: spaces, tabs and the no-break spaces that French and
// Swiss settings put between a number and its currency.
size_t Blank(std::string_view t, size_t i) {
  if (i < t.size() && (t[i] == ' ' || t[i] == '\t')) return 1;
  if (t.substr(i).starts_with("\xC2\xA0")) return 2;      // U+00A0
  if (t.substr(i).starts_with("\xE2\x80\xAF")) return 3;  // U+202F
  return 0;
}

// Blanks around, an optional sign, digits with at most one decimal separator (at least
// one digit), an optional exponent. Before the decimal separator the digits may be grouped
// in threes, a first group of one to three digits; a currency symbol may stand before the
// number (after or before its sign) or after it.
std::optional<NumeroDecimale> Analizza(std::string_view t, const Forma& forma) {
  NumeroDecimale n;
  size_t i = 0;
  auto blank = [&] {
    while (size_t b = Blank(t, i)) i += b;
  };
  bool segno = false;
  auto leggiSegno = [&] {
    if (segno || i >= t.size() || (t[i] != '+' && t[i] != '-')) return;
    n.negativo = t[i++] == '-';
    segno = true;
  };
  bool valuta = false;
  auto leggiValuta = [&] {
    if (valuta || forma.valuta.empty() || !t.substr(i).starts_with(forma.valuta)) return false;
    i += forma.valuta.size();
    valuta = true;
    blank();
    return true;
  };
  blank();
  leggiSegno();
  if (leggiValuta()) leggiSegno();
  // A grouping separator is one only when exactly three digits follow it.
  auto gruppo = [&]() -> size_t {
    if (forma.gruppi == nullptr) return 0;
    for (const std::string& g : *forma.gruppi) {
      if (!t.substr(i).starts_with(g)) continue;
      const size_t c = i + g.size();
      if (c + 3 <= t.size() && IsCifra(t[c]) && IsCifra(t[c + 1]) && IsCifra(t[c + 2]) &&
          (c + 3 == t.size() || !IsCifra(t[c + 3])))
        return g.size();
    }
    return 0;
  };
  bool cifreViste = false;
  bool separatoreVisto = false;
  bool raggruppate = false;
  int cifreGruppo = 0;  // digits since the start or the last grouping separator
  int cifreDecimali = 0;
  while (i < t.size()) {
    const char c = t[i];
    if (IsCifra(c)) {
      cifreViste = true;
      if (!n.cifre.empty() || c != '0') n.cifre.push_back(c);
      if (separatoreVisto)
        ++cifreDecimali;
      else
        ++cifreGruppo;
      ++i;
    } else if (c == forma.decimale && !separatoreVisto) {
      separatoreVisto = true;
      ++i;
    } else if (size_t g = separatoreVisto ? 0 : gruppo();
               g > 0 && cifreGruppo >= 1 && (raggruppate ? cifreGruppo == 3 : cifreGruppo <= 3)) {
      raggruppate = true;
      cifreGruppo = 0;
      i += g;
    } else {
      break;
    }
  }
  if (!cifreViste) return std::nullopt;
  long esponente = 0;
  if (forma.esponente && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool espNegativo = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) espNegativo = t[i++] == '-';
    if (i == t.size() || !IsCifra(t[i])) return std::nullopt;
    for (; i < t.size() && IsCifra(t[i]); ++i) {
      if (esponente < 100000) esponente = esponente * 10 + (t[i] - '0');
    }
    if (espNegativo) esponente = -esponente;
  }
  blank();
  leggiValuta();
  if (i != t.size()) return std::nullopt;
  n.esponente = static_cast<int>(esponente) - cifreDecimali;
  if (n.cifre.empty()) n.esponente = 0;
  // Trailing zeros move into the exponent so the digits stay short.
  while (!n.cifre.empty() && n.cifre.back() == '0') {
    n.cifre.pop_back();
    ++n.esponente;
  }
  return n;
}

// The plain form of the program's own texts: '.' and digits, as to_chars writes them.
std::optional<NumeroDecimale> Analizza(std::string_view t) { return Analizza(t, Forma{}); }

// The value times 10^scala, rounded half even, when its magnitude fits in an int64_t
// (with room for INT64_MIN).
std::optional<int64_t> Scala(const NumeroDecimale& n, int scala) {
  if (n.cifre.empty()) return 0;
  constexpr unsigned __int128 kLimite = static_cast<unsigned __int128>(1) << 63;
  long e = static_cast<long>(n.esponente) + scala;
  long intere = static_cast<long>(n.cifre.size()) + e;  // digits before the point
  if (intere > 20) return std::nullopt;
  unsigned __int128 valore = 0;
  for (long k = 0; k < intere; ++k) {
    int cifra = k < static_cast<long>(n.cifre.size()) ? n.cifre[k] - '0' : 0;
    valore = valore * 10 + cifra;
    if (valore > kLimite) return std::nullopt;
  }
  if (intere < static_cast<long>(n.cifre.size())) {
    long primo = intere < 0 ? -1 : intere;  // index of the first dropped digit
    bool suSu = false;
    if (primo >= 0) {
      char c = n.cifre[primo];
      bool resto = primo + 1 < static_cast<long>(n.cifre.size());  // no trailing zeros kept
      suSu = c > '5' || (c == '5' && (resto || (valore & 1) != 0));
    }
    if (suSu) ++valore;
    if (valore > kLimite) return std::nullopt;
  }
  if (!n.negativo && valore == kLimite) return std::nullopt;
  if (n.negativo) return static_cast<int64_t>(-static_cast<__int128>(valore));
  return static_cast<int64_t>(valore);
}

std::string Ricomposto(const NumeroDecimale& n) {
  if (n.cifre.empty()) return "0";
  std::string s = n.negativo ? "-" : "";
  s += n.cifre;
  s += 'e';
  s += std::to_string(n.esponente);
  return s;
}

template <typename T>
std::optional<T> AReale(const NumeroDecimale& n) {
  std::string s = Ricomposto(n);
  T v{};
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  // Out of range below the smallest magnitude is zero in effect; above it, a failure.
  if (r.ec == std::errc::result_out_of_range && static_cast<long>(n.cifre.size()) + n.esponente < 0)
    return n.negativo ? -T(0) : T(0);
  if (r.ec != std::errc() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// Digits and decimal exponent of the scientific form d.ddd * 10^esponente.
struct Cifre {
  bool negativo = false;
  std::string cifre;
  int esponente = 0;
};

Cifre DaScientifica(std::string_view s) {
  Cifre c;
  size_t i = 0;
  if (s[i] == '-') {
    c.negativo = true;
    ++i;
  }
  for (; i < s.size() && s[i] != 'e'; ++i) {
    if (IsCifra(s[i])) c.cifre.push_back(s[i]);
  }
  if (i < s.size()) {
    std::from_chars(s.data() + i + 1 + (s[i + 1] == '+' ? 1 : 0), s.data() + s.size(), c.esponente);
  }
  while (c.cifre.size() > 1 && c.cifre.back() == '0') c.cifre.pop_back();
  return c;
}

// Plain notation from 1E-04 to below 1E+15, "1,5E-05" and "1,5E+20" beyond.
std::string Formatta(const Cifre& c, char decimale) {
  std::string s = c.negativo ? "-" : "";
  if (c.cifre == "0") return "0";
  int e = c.esponente;
  int n = static_cast<int>(c.cifre.size());
  if (e >= 15 || e < -4) {
    s += c.cifre[0];
    if (n > 1) {
      s += decimale;
      s.append(c.cifre, 1);
    }
    s += e < 0 ? "E-" : "E+";
    if (std::abs(e) < 10) s += '0';
    return s + std::to_string(std::abs(e));
  }
  if (e < 0) {
    s += '0';
    s += decimale;
    s.append(static_cast<size_t>(-e - 1), '0');
    return s + c.cifre;
  }
  if (n <= e + 1) {
    s += c.cifre;
    s.append(static_cast<size_t>(e + 1 - n), '0');
    return s;
  }
  s.append(c.cifre, 0, static_cast<size_t>(e + 1));
  s += decimale;
  s.append(c.cifre, static_cast<size_t>(e + 1));
  return s;
}

std::string Scientifica(double v, int precisione) {
  char buf[64];
  auto r = precisione < 0
               ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific)
               : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precisione);
  return std::string(buf, r.ptr);
}

std::string Speciale(double v) {
  if (std::isnan(v)) return "NaN";
  return v < 0 ? "-Inf" : "Inf";
}

template <typename T>
std::optional<T> InIntervallo(std::optional<int64_t> v) {
  if (!v || *v < std::numeric_limits<T>::min() || *v > std::numeric_limits<T>::max())
    return std::nullopt;
  return static_cast<T>(*v);
}

// A finite double as its shortest decimal form scaled by 10^scala, rounded half even.
std::optional<int64_t> DoubleScalato(double v, int scala) {
  if (!std::isfinite(v)) return std::nullopt;
  auto n = Analizza(Scientifica(v, -1));
  if (!n) return std::nullopt;
  return Scala(*n, scala);
}

std::optional<int64_t> DoubleAIntero(double v) { return DoubleScalato(v, 0); }

// The blanks that group digits: a space, a no-break space, a narrow no-break space and a
// thin space.
constexpr std::string_view kSpaziGruppo[] = {" ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"};

}  // namespace

ImpostazioniRegionali::ImpostazioniRegionali(char decimale, std::string migliaia,
                                             std::string valuta)
    : decimale_(decimale), migliaia_(std::move(migliaia)), valuta_(std::move(valuta)) {
  if (migliaia_.empty() || migliaia_ == std::string(1, decimale_)) {
    migliaia_.clear();
  } else if (std::ranges::find(kSpaziGruppo, migliaia_) != std::end(kSpaziGruppo)) {
    // Settings that group with a narrow no-break space meet files grouped with a plain
    // blank or a no-break space.
    gruppi_.assign(std::begin(kSpaziGruppo), std::end(kSpaziGruppo));
  } else if (migliaia_ == "'" || migliaia_ == "\xE2\x80\x99") {
    gruppi_ = {"'", "\xE2\x80\x99"};  // U+2019, the typographic apostrophe
  } else {
    gruppi_ = {migliaia_};
  }
  // The decimal separator standing alone, or a symbol made only of blanks, would swallow
  // what it stands beside.
  if (valuta_.find_first_not_of(" \t") == std::string::npos || valuta_ == std::string(1, decimale_))
    valuta_.clear();
}

ImpostazioniRegionali ImpostazioniRegionali::DalLocale() {
  locale_t loc = newlocale(LC_NUMERIC_MASK | LC_MONETARY_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return ImpostazioniRegionali();
  const char* dec = nl_langinfo_l(RADIXCHAR, loc);
  const char* mig = nl_langinfo_l(THOUSEP, loc);
  // The symbol after a mark of its place: "-" before the number, "+" after it, "." in
  // place of the decimal separator.
  const char* val = nl_langinfo_l(CRNCYSTR, loc);
  const char decimale = dec != nullptr && std::strlen(dec) == 1 ? dec[0] : '.';
  std::string valuta = val != nullptr && *val != '\0' ? std::string(val + 1) : std::string();
  ImpostazioniRegionali r(decimale, mig != nullptr ? mig : "", std::move(valuta));
  freelocale(loc);
  return r;
}

bool ImpostazioniRegionali::IsNumeric(std::string_view testo) const {
  return ADouble(testo).has_value();
}

namespace {

Forma FormaDi(char decimale, const std::vector<std::string>& gruppi, std::string_view valuta) {
  Forma f;
  f.decimale = decimale;
  f.gruppi = &gruppi;
  f.valuta = valuta;
  return f;
}

template <typename T>
std::optional<T> Reale(const std::optional<NumeroDecimale>& n) {
  return n ? AReale<T>(*n) : std::nullopt;
}

std::optional<int64_t> Scalato(const std::optional<NumeroDecimale>& n, int scala) {
  return n ? Scala(*n, scala) : std::nullopt;
}

}  // namespace

std::optional<double> ImpostazioniRegionali::ADouble(std::string_view testo) const {
  return Reale<double>(Analizza(testo, FormaDi(decimale_, gruppi_, valuta_)));
}

std::optional<double> ImpostazioniRegionali::ADoubleSemplice(std::string_view testo) const {
  Forma forma;
  forma.decimale = decimale_;
  return Reale<double>(Analizza(testo, forma));
}

std::optional<float> ImpostazioniRegionali::ASingle(std::string_view testo) const {
  return Reale<float>(Analizza(testo, FormaDi(decimale_, gruppi_, valuta_)));
}

std::optional<int16_t> ImpostazioniRegionali::AInteger(std::string_view testo) const {
  return InIntervallo<int16_t>(Scalato(Analizza(testo, FormaDi(decimale_, gruppi_, valuta_)), 0));
}

std::optional<int32_t> ImpostazioniRegionali::ALong(std::string_view testo) const {
  return InIntervallo<int32_t>(Scalato(Analizza(testo, FormaDi(decimale_, gruppi_, valuta_)), 0));
}

std::optional<int64_t> ImpostazioniRegionali::ACurrency(std::string_view testo) const {
  return Scalato(Analizza(testo, FormaDi(decimale_, gruppi_, valuta_)), 4);
}

std::string ImpostazioniRegionali::TestoSingle(float v) const {
  if (!std::isfinite(v)) return Speciale(v);
  if (v == 0) return "0";
  // The fewest significant digits (at most seven) that read back as the same Single.
  std::string s;
  for (int p = 0; p < 7; ++p) {
    s = Scientifica(static_cast<double>(v), p);
    float letto = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), letto);
    if (r.ec == std::errc() && letto == v) break;
  }
  return Formatta(DaScientifica(s), decimale_);
}

std::string ImpostazioniRegionali::TestoDouble(double v) const {
  if (!std::isfinite(v)) return Speciale(v);
  if (v == 0) return "0";
  // Fifteen significant digits: 100 * 1.1 is "110", not "110,00000000000001".
  return Formatta(DaScientifica(Scientifica(v, 14)), decimale_);
}

std::string ImpostazioniRegionali::TestoCurrency(int64_t decimillesimi) const {
  bool negativo = decimillesimi < 0;
  uint64_t m =
      negativo ? 0 - static_cast<uint64_t>(decimillesimi) : static_cast<uint64_t>(decimillesimi);
  std::string s = negativo ? "-" : "";
  s += std::to_string(m / 10000);
  std::string frazione = std::to_string(m % 10000 + 10000).substr(1);
  while (!frazione.empty() && frazione.back() == '0') frazione.pop_back();
  if (!frazione.empty()) s += decimale_ + frazione;
  return s;
}

ImpostazioniRegionali& Regionali() {
  static ImpostazioniRegionali regionali = ImpostazioniRegionali::DalLocale();
  return regionali;
}

double ArrotondaPari(double valore, int decimali) {
  if (!std::isfinite(valore)) return valore;
  // Rounds the shortest decimal form of the value, so that 2.135 (held as 2.13499...)
  // goes to 2.14 as written.
  auto n = Analizza(Scientifica(valore, -1));
  if (!n || -n->esponente <= decimali) return valore;  // no decimals beyond those kept
  auto scalato = Scala(*n, decimali);
  if (!scalato) return valore;  // too large to hold decimals worth rounding
  if (*scalato == 0) return 0.0;
  NumeroDecimale r;
  r.negativo = *scalato < 0;
  r.cifre = std::to_string(r.negativo ? 0 - static_cast<uint64_t>(*scalato)
                                      : static_cast<uint64_t>(*scalato));
  r.esponente = -decimali;
  return AReale<double>(r).value_or(valore);
}

std::optional<int16_t> DoubleAInteger(double v) { return InIntervallo<int16_t>(DoubleAIntero(v)); }

std::optional<int32_t> DoubleALong(double v) { return InIntervallo<int32_t>(DoubleAIntero(v)); }

std::optional<int64_t> DoubleACurrency(double v) { return DoubleScalato(v, 4); }

std::string ConZeri(int64_t n, int cifre) {
  std::string s = std::to_string(n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n));
  if (static_cast<int>(s.size()) < cifre) s.insert(0, static_cast<size_t>(cifre) - s.size(), '0');
  return n < 0 ? "-" + s : s;
}

double DoubleDaSingle(float v) {
  if (!std::isfinite(v)) return static_cast<double>(v);
  char buf[32];
  const auto scritto = std::to_chars(buf, buf + sizeof buf, v);  // shortest that reads back
  double d = static_cast<double>(v);
  std::from_chars(buf, scritto.ptr, d);
  return d;
}

}  // namespace tarkpo
