#include "core/dao/conversioni.h"

#include <cmath>
#include <limits>

#include "core/caratteri.h"
#include "core/dao/errore.h"
#include "core/regionali.h"

namespace tarkpo::dao {

namespace {

[[noreturn]] void ErroreConversione(const Valore& v) {
  std::string descrizione = "Tipo di dati non corrispondente";
  if (v.Tipo() == TipoValore::Text) descrizione += ": \"" + v.Stringa() + "\"";
  throw ErroreDao(errori::kConversioneTipo, descrizione);
}

std::string_view SenzaSpazi(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
int64_t GiorniDa1899(int64_t a, int64_t m, int64_t g) {
  a -= m <= 2;
  const int64_t era = (a >= 0 ? a : a - 399) / 400;
  const int64_t aa = a - era * 400;
  const int64_t ga = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + g - 1;
  const int64_t ge = aa * 365 + aa / 4 - aa / 100 + ga;
  return era * 146097 + ge - 719468 + 25569;  // 25569: 1899-12-30 to 1970-01-01
}

void DataCivile(int64_t giorni, int& a, int& m, int& g) {
  int64_t z = giorni - 25569 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t ge = z - era * 146097;
  const int64_t aa = (ge - ge / 1460 + ge / 36524 - ge / 146096) / 365;
  const int64_t ga = ge - (365 * aa + aa / 4 - aa / 100);
  const int64_t mp = (5 * ga + 2) / 153;
  g = static_cast<int>(ga - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  a = static_cast<int>(aa + era * 400 + (m <= 2));
}

bool GiornoValido(int a, int m, int g) {
  static const int kGiorni[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (a < 100 || a > 9999 || m < 1 || m > 12 || g < 1 || g > kGiorni[m - 1]) return false;
  bool bisestile = (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
  return m != 2 || g <= 28 || bisestile;
}

std::optional<double> TestoAData(std::string_view s) {
  s = SenzaSpazi(s);
  int n[6] = {0, 0, 0, 0, 0, 0};
  int letti = 0;
  char sep[5] = {0, 0, 0, 0, 0};
  size_t i = 0;
  while (letti < 6) {
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return std::nullopt;
    int64_t v = 0;
    int cifre = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && cifre < 5) {
      v = v * 10 + (s[i++] - '0');
      ++cifre;
    }
    n[letti++] = static_cast<int>(v);
    if (i >= s.size()) break;
    if (letti <= 5) sep[letti - 1] = s[i];
    ++i;
  }
  if (i < s.size() || letti < 3) return std::nullopt;
  int a, m, g;
  if (sep[0] == '-' && sep[1] == '-') {
    a = n[0], m = n[1], g = n[2];
  } else if ((sep[0] == '/' || sep[0] == '.') && sep[1] == sep[0]) {
    g = n[0], m = n[1], a = n[2];
  } else {
    return std::nullopt;
  }
  if (!GiornoValido(a, m, g)) return std::nullopt;
  double giorni = static_cast<double>(GiorniDa1899(a, m, g));
  if (letti > 3) {
    if ((sep[2] != ' ' && sep[2] != 'T') || letti < 5 || sep[3] != ':') return std::nullopt;
    if (letti == 6 && sep[4] != ':') return std::nullopt;
    if (n[3] > 23 || n[4] > 59 || n[5] > 59) return std::nullopt;
    double frazione = (n[3] * 3600.0 + n[4] * 60.0 + n[5]) / 86400.0;
    giorni += giorni < 0 ? -frazione : frazione;
  }
  return giorni;
}

double NumeroDiTesto(const Valore& v) {
  auto d = Regionali().ADouble(v.Stringa());
  if (!d) ErroreConversione(v);
  return *d;
}

}  // namespace

std::string ATesto(const Valore& v) { return ATesto(v, Regionali()); }

std::string ATesto(const Valore& v, const ImpostazioniRegionali& regionali) {
  switch (v.Tipo()) {
    case TipoValore::Empty:
    case TipoValore::Null:
      return {};
    case TipoValore::Boolean:
      return v.Bool() ? "True" : "False";
    case TipoValore::Byte:
    case TipoValore::Integer:
    case TipoValore::Long:
      return std::to_string(v.Intero64());
    case TipoValore::Single:
      return regionali.TestoSingle(static_cast<float>(v.Reale()));
    case TipoValore::Double:
      return regionali.TestoDouble(v.Reale());
    case TipoValore::Currency:
      return regionali.TestoCurrency(v.Intero64());
    case TipoValore::Date: {
      double d = v.Reale();
      double intera = std::trunc(d);
      int a, m, g;
      DataCivile(static_cast<int64_t>(intera), a, m, g);
      int secondi = static_cast<int>(std::llround(std::fabs(d - intera) * 86400.0));
      if (secondi >= 86400) secondi = 86399;
      const std::string ora = ConZeri(secondi / 3600, 2) + ":" + ConZeri(secondi / 60 % 60, 2) +
                              ":" + ConZeri(secondi % 60, 2);
      // Day zero holds a time alone: a cell of 12:00:00 is no time on 30/12/1899.
      if (intera == 0) return ora;
      const std::string data = ConZeri(g, 2) + "/" + ConZeri(m, 2) + "/" + ConZeri(a, 4);
      return secondi != 0 ? data + " " + ora : data;
    }
    case TipoValore::Text:
      return v.Stringa();
  }
  return {};
}

double ADouble(const Valore& v) {
  switch (v.Tipo()) {
    case TipoValore::Empty:
      return 0;
    case TipoValore::Null:
      ErroreConversione(v);
    case TipoValore::Boolean:
      return v.Bool() ? -1 : 0;
    case TipoValore::Byte:
    case TipoValore::Integer:
    case TipoValore::Long:
      return static_cast<double>(v.Intero64());
    case TipoValore::Currency:
      return static_cast<double>(v.Intero64()) / 10000.0;
    case TipoValore::Single:
    case TipoValore::Double:
    case TipoValore::Date:
      return v.Reale();
    case TipoValore::Text:
      return NumeroDiTesto(v);
  }
  ErroreConversione(v);
}

float ASingle(const Valore& v) {
  if (v.Tipo() == TipoValore::Text) {
    auto f = Regionali().ASingle(v.Stringa());
    if (!f) ErroreConversione(v);
    return *f;
  }
  // Beyond a Single, Inf and NaN do not convert: nothing infinite reaches a field.
  const double d = ADouble(v);
  if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max()) ErroreConversione(v);
  return static_cast<float>(d);
}

int16_t AInteger(const Valore& v) {
  if (v.Tipo() == TipoValore::Text) {
    auto r = Regionali().AInteger(v.Stringa());
    if (!r) ErroreConversione(v);
    return *r;
  }
  auto r = DoubleAInteger(ADouble(v));
  if (!r) ErroreConversione(v);
  return *r;
}

int32_t ALong(const Valore& v) {
  switch (v.Tipo()) {
    case TipoValore::Byte:
    case TipoValore::Integer:
    case TipoValore::Long:
      return static_cast<int32_t>(v.Intero64());
    case TipoValore::Text: {
      auto r = Regionali().ALong(v.Stringa());
      if (!r) ErroreConversione(v);
      return *r;
    }
    default: {
      auto r = DoubleALong(ADouble(v));
      if (!r) ErroreConversione(v);
      return *r;
    }
  }
}

uint8_t AByte(const Valore& v) {
  int32_t l = ALong(v);
  if (l < 0 || l > 255) ErroreConversione(v);
  return static_cast<uint8_t>(l);
}

int64_t ACurrency(const Valore& v) {
  switch (v.Tipo()) {
    case TipoValore::Currency:
      return v.Intero64();
    case TipoValore::Byte:
    case TipoValore::Integer:
    case TipoValore::Long:
      return v.Intero64() * 10000;
    case TipoValore::Text: {
      auto r = Regionali().ACurrency(v.Stringa());
      if (!r) ErroreConversione(v);
      return *r;
    }
    default: {
      auto r = DoubleACurrency(ADouble(v));
      if (!r) ErroreConversione(v);
      return *r;
    }
  }
}

bool ABoolean(const Valore& v) {
  switch (v.Tipo()) {
    case TipoValore::Empty:
      return false;
    case TipoValore::Boolean:
      return v.Bool();
    case TipoValore::Text: {
      std::string_view s = SenzaSpazi(v.Stringa());
      if (UgualiSenzaMaiuscole(s, "true") || UgualiSenzaMaiuscole(s, "vero")) return true;
      if (UgualiSenzaMaiuscole(s, "false") || UgualiSenzaMaiuscole(s, "falso")) return false;
      return NumeroDiTesto(v) != 0;
    }
    case TipoValore::Byte:
    case TipoValore::Integer:
    case TipoValore::Long:
    case TipoValore::Currency:
      return v.Intero64() != 0;
    default:
      return ADouble(v) != 0;
  }
}

double ADate(const Valore& v) {
  if (v.Tipo() == TipoValore::Text) {
    if (auto d = TestoAData(v.Stringa())) return *d;
    return NumeroDiTesto(v);
  }
  return ADouble(v);
}

Valore ConvertiA(const Valore& v, TipoValore tipo) {
  if (v.Tipo() == tipo || v.IsNull() || v.IsEmpty()) return v;
  switch (tipo) {
    case TipoValore::Empty:
    case TipoValore::Null:
      return v;
    case TipoValore::Boolean:
      return Valore::Booleano(ABoolean(v));
    case TipoValore::Byte:
      return Valore::Byte(AByte(v));
    case TipoValore::Integer:
      return Valore::Intero(AInteger(v));
    case TipoValore::Long:
      return Valore::Lungo(ALong(v));
    case TipoValore::Single:
      return Valore::Singolo(ASingle(v));
    case TipoValore::Double:
      return Valore::Doppio(ADouble(v));
    case TipoValore::Currency:
      return Valore::Valuta(ACurrency(v));
    case TipoValore::Date:
      return Valore::Data(ADate(v));
    case TipoValore::Text:
      return Valore::Testo(ATesto(v));
  }
  return v;
}

bool IsNumeric(const Valore& v) {
  switch (v.Tipo()) {
    case TipoValore::Null:
    case TipoValore::Date:
      return false;
    case TipoValore::Text:
      return Regionali().IsNumeric(v.Stringa());
    default:
      return true;
  }
}

}  // namespace tarkpo::dao
