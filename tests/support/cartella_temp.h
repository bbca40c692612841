#pragma once
// A fresh temporary folder, removed with everything in it when the object goes.
#include <filesystem>
#include <string>

namespace tarkpo::test {

class CartellaTemp {
 public:
  CartellaTemp();
  ~CartellaTemp();
  CartellaTemp(const CartellaTemp&) = delete;
  CartellaTemp& operator=(const CartellaTemp&) = delete;

  const std::filesystem::path& Percorso() const { return percorso_; }
  // The path of a file or folder inside, as text.
  std::string operator/(const std::string& nome) const { return (percorso_ / nome).string(); }
  // Writes `contenuto` to the file `nome` inside and returns its path.
  std::string Scrivi(const std::string& nome, const std::string& contenuto) const;

 private:
  std::filesystem::path percorso_;
};

// The whole content of a file, as bytes.
std::string LeggiFile(const std::string& percorso);

// The inode and change time of a file, as text: the same later only when nothing has
// written the file or changed its times in between.
std::string ImprontaFile(const std::string& percorso);

}  // namespace tarkpo::test
