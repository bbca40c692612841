#pragma once
// A key list of the engine: the department IDs, the department titles or the item codes of
// the shop, in the order the rows were read, with duplicates and empty entries kept. A key
// is in the list exactly when an entry equals it (case counts), found in constant time;
// a key that holds the separator "°" is no different from any other.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarkpo::motore {

class ElencoChiavi {
 public:
  // Empties the list (the text form "°").
  void Svuota();
  // Appends an entry at the end.
  void Aggiungi(std::string voce);
  // Whether an entry equals `chiave`.
  bool Contiene(std::string_view chiave) const;
  // How many entries equal `chiave`.
  std::size_t Conta(std::string_view chiave) const;
  // The position of the first entry equal to `chiave`, or npos.
  std::size_t PrimaPosizione(std::string_view chiave) const;
  // Replaces the entry at `posizione` (which must exist). Costs as many steps as there are
  // entries equal to the old or the new value.
  void Sostituisci(std::size_t posizione, std::string voce);

  // The entries in list order.
  const std::vector<std::string>& Voci() const { return voci_; }
  std::size_t Dimensione() const { return voci_.size(); }
  // The list as one text: a leading "°" and every entry followed by "°".
  std::string Testo() const;

  bool operator==(const ElencoChiavi& altro) const { return voci_ == altro.voci_; }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // Positions of each entry's occurrences, ascending.
  using Posizioni = std::vector<uint32_t>;
  std::vector<std::string> voci_;
  std::unordered_map<std::string, Posizioni, Hash, std::equal_to<>> indice_;
};

}  // namespace tarkpo::motore
