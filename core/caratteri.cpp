#include "core/caratteri.h"

namespace tarkpo {

std::string PrimiCaratteri(std::string_view testo, size_t n) {
  size_t i = 0;
  for (size_t contati = 0; i < testo.size() && contati < n; ++contati) {
    ++i;
    while (i < testo.size() && (static_cast<unsigned char>(testo[i]) & 0xC0) == 0x80) ++i;
  }
  return std::string(testo.substr(0, i));
}

void TagliaCaratteri(std::string& testo, size_t n) {
  if (testo.size() <= n) return;  // never more characters than bytes
  testo.resize(PrimiCaratteri(testo, n).size());
}

std::string_view SenzaSpazi(std::string_view testo) {
  const auto inizio = testo.find_first_not_of(' ');
  if (inizio == std::string_view::npos) return {};
  return testo.substr(inizio, testo.find_last_not_of(' ') - inizio + 1);
}

std::string Minuscolo(std::string_view testo) {
  std::string r;
  r.reserve(testo.size());
  for (size_t i = 0; i < testo.size(); ++i) {
    const auto c = static_cast<unsigned char>(testo[i]);
    if (c >= 'A' && c <= 'Z') {
      r += static_cast<char>(c + ('a' - 'A'));
      continue;
    }
    if ((c == 0xC3 || c == 0xC5) && i + 1 < testo.size()) {
      const auto d = static_cast<unsigned char>(testo[i + 1]);
      const unsigned punto = ((c & 0x1Fu) << 6) | (d & 0x3Fu);
      unsigned minuscolo = punto;
      if (punto >= 0xC0 && punto <= 0xDE && punto != 0xD7) minuscolo = punto + 0x20;
      if (punto == 0x160 || punto == 0x152 || punto == 0x17D) minuscolo = punto + 1;
      if (punto == 0x178) minuscolo = 0xFF;
      r += static_cast<char>(0xC0 | (minuscolo >> 6));
      r += static_cast<char>(0x80 | (minuscolo & 0x3F));
      ++i;
      continue;
    }
    r += static_cast<char>(c);
  }
  return r;
}

bool UgualiSenzaMaiuscole(std::string_view a, std::string_view b) {
  auto minuscola = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (minuscola(a[i]) != minuscola(b[i])) return false;
  return true;
}

}  // namespace tarkpo
