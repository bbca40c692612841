#include "core/testo.h"

#include <cstdint>
#include <optional>

#include "core/caratteri.h"

namespace tarkpo {

namespace {

// Code points of the bytes 0x80 to 0x9F; the undefined ones keep their own number.
constexpr char32_t kDa80A9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AggiungiUtf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes the sequence at `i` and moves past it; empty (moving one byte) when malformed.
std::optional<char32_t> Decodifica(std::string_view t, size_t& i) {
  auto b = [&](size_t k) { return static_cast<uint8_t>(t[k]); };
  uint8_t primo = b(i);
  if (primo < 0x80) return t[i++];
  int seguenti;
  char32_t c;
  char32_t minimo;
  if (primo >= 0xC2 && primo <= 0xDF) {
    seguenti = 1, c = primo & 0x1F, minimo = 0x80;
  } else if (primo >= 0xE0 && primo <= 0xEF) {
    seguenti = 2, c = primo & 0x0F, minimo = 0x800;
  } else if (primo >= 0xF0 && primo <= 0xF4) {
    seguenti = 3, c = primo & 0x07, minimo = 0x10000;
  } else {
    ++i;
    return std::nullopt;
  }
  if (i + seguenti >= t.size()) {  // cut short by the end
    ++i;
    return std::nullopt;
  }
  for (int k = 1; k <= seguenti; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) {
      ++i;
      return std::nullopt;
    }
    c = (c << 6) | (b(i + k) & 0x3F);
  }
  if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return std::nullopt;
  }
  i += seguenti + 1;
  return c;
}

}  // namespace

void AggiungiCp1252(std::string& destinazione, std::string_view testo) {
  for (char ch : testo) {
    auto b = static_cast<uint8_t>(ch);
    if (b < 0x80) {
      destinazione += ch;
    } else {
      AggiungiUtf8(destinazione, b <= 0x9F ? kDa80A9F[b - 0x80] : b);
    }
  }
}

std::string Cp1252AUtf8(std::string_view testo) {
  std::string s;
  s.reserve(testo.size() + testo.size() / 4);
  AggiungiCp1252(s, testo);
  return s;
}

std::string Utf16AUtf8(std::u16string_view testo) {
  std::string s;
  s.reserve(testo.size());
  for (size_t i = 0; i < testo.size(); ++i) {
    char32_t c = testo[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < testo.size() && testo[i + 1] >= 0xDC00 &&
        testo[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (testo[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AggiungiUtf8(s, c);
  }
  return s;
}

std::string Utf8ACp1252(std::string_view testo) {
  std::string s;
  s.reserve(testo.size());
  for (size_t i = 0; i < testo.size();) {
    auto c = Decodifica(testo, i);
    char byte = '?';
    if (c && (*c < 0x80 || (*c >= 0xA0 && *c <= 0xFF))) {
      byte = static_cast<char>(*c);
    } else if (c) {
      for (int k = 0; k < 32; ++k) {
        if (kDa80A9F[k] == *c) byte = static_cast<char>(0x80 + k);
      }
    }
    s += byte;
  }
  return s;
}

bool IsUtf8Valido(std::string_view testo) {
  for (size_t i = 0; i < testo.size();) {
    if (!Decodifica(testo, i)) return false;
  }
  return true;
}

std::string InUtf8(std::string_view testo) {
  return IsUtf8Valido(testo) ? std::string(testo) : Cp1252AUtf8(testo);
}

std::optional<size_t> CercaNomeTabella(const std::vector<std::string_view>& nomi,
                                       std::string_view cercato, bool maiuscole) {
  auto uguali = [&](std::string_view nome) {
    return maiuscole ? nome == cercato : UgualiSenzaMaiuscole(nome, cercato);
  };
  for (size_t i = 0; i < nomi.size(); ++i)
    if (uguali(nomi[i])) return i;
  for (size_t i = 0; i < nomi.size(); ++i)
    if (!IsUtf8Valido(nomi[i]) && uguali(Cp1252AUtf8(nomi[i]))) return i;
  return std::nullopt;
}

}  // namespace tarkpo
