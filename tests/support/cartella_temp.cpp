#include "support/cartella_temp.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tarkpo::test {

CartellaTemp::CartellaTemp() {
  std::string modello = (std::filesystem::temp_directory_path() / "tarkpo-test-XXXXXX").string();
  if (mkdtemp(modello.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  percorso_ = modello;
}

CartellaTemp::~CartellaTemp() {
  std::error_code ec;
  std::filesystem::permissions(percorso_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(percorso_, ec);
}

std::string CartellaTemp::Scrivi(const std::string& nome, const std::string& contenuto) const {
  std::filesystem::path p = percorso_ / nome;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary);
  f << contenuto;
  return p.string();
}

std::string LeggiFile(const std::string& percorso) {
  std::ifstream f(percorso, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string ImprontaFile(const std::string& percorso) {
  struct stat info {};
  if (::stat(percorso.c_str(), &info) != 0) return "";
  return std::to_string(info.st_ino) + " " + std::to_string(info.st_ctim.tv_sec) + "." +
         std::to_string(info.st_ctim.tv_nsec);
}

}  // namespace tarkpo::test
