#include "engine/numerazione_backup.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/regionali.h"

namespace tarkpo::motore {

namespace {

namespace fs = std::filesystem;

char Minuscola(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool InizioSenzaMaiuscole(std::string_view nome, std::string_view prefisso) {
  if (nome.size() < prefisso.size()) return false;
  for (size_t i = 0; i < prefisso.size(); ++i)
    if (Minuscola(nome[i]) != prefisso[i]) return false;
  return true;
}

bool Cifra(char c) { return c >= '0' && c <= '9'; }

// A name listed by "catalog.*" whose last four characters are "." and three digits.
bool NomeDiBackup(std::string_view nome) {
  if (!InizioSenzaMaiuscole(nome, "catalog.") || nome.size() < 4) return false;
  std::string_view coda = nome.substr(nome.size() - 4);
  return coda[0] == '.' && Cifra(coda[1]) && Cifra(coda[2]) && Cifra(coda[3]);
}

bool PrimaSenzaMaiuscole(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Minuscola(x) < Minuscola(y); });
}

std::string NomeNumerato(int numero) { return "catalog." + ConZeri(numero, 3); }

}  // namespace

std::string NomeProssimoBackup(const std::string& cartella) {
  std::vector<std::string> backup;
  std::error_code ec;
  for (fs::directory_iterator it(cartella, ec), fine; !ec && it != fine; it.increment(ec)) {
    std::error_code ecTipo;
    if (!it->is_regular_file(ecTipo)) continue;
    std::string nome = it->path().filename().string();
    if (NomeDiBackup(nome)) backup.push_back(std::move(nome));
  }
  int numero = 0;
  if (!backup.empty()) {
    const std::string& ultimo =
        *std::max_element(backup.begin(), backup.end(), PrimaSenzaMaiuscole);
    std::from_chars(ultimo.data() + ultimo.size() - 3, ultimo.data() + ultimo.size(), numero);
    ++numero;
  }
  // Never over an existing file: past the sorted last one the computed name may be taken.
  for (; numero <= 999; ++numero) {
    std::string nome = NomeNumerato(numero);
    std::error_code ecEsiste;
    if (!fs::exists(fs::symlink_status(fs::path(cartella) / nome, ecEsiste))) return nome;
  }
  return "";
}

}  // namespace tarkpo::motore
