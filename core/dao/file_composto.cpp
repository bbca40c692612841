#include "core/dao/file_composto.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/dao/byte_le.h"

namespace tarkpo::dao {

namespace {

constexpr char kFirma[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr size_t kTestata = 512;
constexpr size_t kVoce = 128;           // one directory entry
constexpr size_t kMiniSettore = 64;     // mini sectors are fixed at 64 bytes
constexpr uint64_t kSogliaMini = 4096;  // streams shorter than this live in the mini stream
constexpr uint32_t kFineCatena = 0xFFFFFFFE;
constexpr uint32_t kNessunaVoce = 0xFFFFFFFF;

[[noreturn]] void Danneggiato(const std::string& dove) {
  throw FormatoDanneggiato("file composto danneggiato: " + dove);
}

// Follows a chain of `tabella` from `inizio`, appending each unit with `copia`, until
// `lunghezza` bytes are read (the whole chain when there is no length). A chain that leaves
// the units, or comes back to one, is damaged.
template <class Copia>
std::string Segui(const std::vector<uint32_t>& tabella, size_t unita, size_t dimensione,
                  uint32_t inizio, std::optional<uint64_t> lunghezza, Copia copia,
                  const char* cosa) {
  unita = std::min(unita, tabella.size());
  std::string dati;
  if (lunghezza) dati.reserve(std::min<uint64_t>(*lunghezza, unita * dimensione));
  std::vector<bool> visti(unita);
  uint32_t id = inizio;
  while (!lunghezza || dati.size() < *lunghezza) {
    if (!lunghezza && id == kFineCatena) break;
    if (id >= unita || visti[id]) Danneggiato(std::string("catena di ") + cosa);
    visti[id] = true;
    copia(id, dati);
    id = tabella[id];
  }
  if (lunghezza) dati.resize(*lunghezza);
  return dati;
}

std::vector<uint32_t> Numeri(std::string_view dati) {
  std::vector<uint32_t> v(dati.size() / 4);
  for (size_t i = 0; i < v.size(); ++i) v[i] = Le32(dati, 4 * i);
  return v;
}

class Composto {
 public:
  explicit Composto(std::string_view f) : f_(f) {
    if (f.size() < kTestata || !HaFirmaFileComposto(f)) Danneggiato("testata");
    const uint16_t spostamento = static_cast<uint16_t>(Le32(f, 0x1E) & 0xFFFF);
    if (spostamento != 9 && spostamento != 12) Danneggiato("dimensione dei settori");
    settore_ = size_t{1} << spostamento;
    settori_ = f.size() > settore_ ? (f.size() - 1) / settore_ : 0;
    LeggiFat();
    cartella_ = CatenaSettori(Le32(f, 0x30), std::nullopt, "cartella");
    voci_ = cartella_.size() / kVoce;
    if (voci_ == 0 || Voce(0)[0x42] != 5) Danneggiato("voce radice");
  }

  std::optional<std::string> Cerca(std::initializer_list<std::string_view> nomi) {
    std::vector<uint32_t> trovate(nomi.size(), kNessunaVoce);
    // The root storage's children form a tree through their left and right siblings.
    std::vector<bool> viste(voci_);
    viste[0] = true;
    std::vector<uint32_t> daVedere = {Le32(Voce(0), 0x4C)};
    while (!daVedere.empty()) {
      const uint32_t id = daVedere.back();
      daVedere.pop_back();
      if (id == kNessunaVoce) continue;
      if (id >= voci_ || viste[id]) Danneggiato("albero della cartella");
      viste[id] = true;
      const std::string_view voce = Voce(id);
      size_t k = 0;
      for (std::string_view nome : nomi) {
        if (voce[0x42] == 2 && trovate[k] == kNessunaVoce && HaNome(voce, nome)) trovate[k] = id;
        ++k;
      }
      daVedere.push_back(Le32(voce, 0x44));
      daVedere.push_back(Le32(voce, 0x48));
    }
    for (uint32_t id : trovate)
      if (id != kNessunaVoce) return Flusso(Voce(id));
    return std::nullopt;
  }

 private:
  std::string_view Voce(size_t id) const {
    return std::string_view(cartella_).substr(id * kVoce, kVoce);
  }

  // The size of a stream; files of 512-byte sectors may leave junk in the high half.
  uint64_t Lunghezza(std::string_view voce) const {
    const uint64_t n = settore_ == 512 ? Le32(voce, 0x78) : Le64(voce, 0x78);
    if (n > f_.size()) Danneggiato("lunghezza di un flusso");
    return n;
  }

  static bool HaNome(std::string_view voce, std::string_view nome) {
    const size_t byte = Le32(voce, 0x40) & 0xFFFF;  // with the closing NUL
    if (byte != 2 * (nome.size() + 1) || byte > 64) return false;
    for (size_t i = 0; i < nome.size(); ++i) {
      const uint32_t c = Le32(voce, 2 * i) & 0xFFFF;
      auto minuscola = [](uint32_t x) { return x >= 'A' && x <= 'Z' ? x + 32 : x; };
      if (minuscola(c) != minuscola(static_cast<unsigned char>(nome[i]))) return false;
    }
    return true;
  }

  // Appends a sector, padded with zeros where the file ends inside it.
  void CopiaSettore(uint32_t id, std::string& dati) const {
    const std::string_view parte = f_.substr((size_t{id} + 1) * settore_, settore_);
    dati.append(parte);
    dati.append(settore_ - parte.size(), '\0');
  }

  std::string CatenaSettori(uint32_t inizio, std::optional<uint64_t> lunghezza,
                            const char* cosa) const {
    return Segui(
        fat_, settori_, settore_, inizio, lunghezza,
        [this](uint32_t id, std::string& dati) { CopiaSettore(id, dati); }, cosa);
  }

  void LeggiFat() {
    const uint32_t quanti = Le32(f_, 0x2C);
    if (quanti == 0 || quanti > settori_) Danneggiato("tabella di allocazione");
    // The first 109 sector numbers stand in the header, the rest in a chain of sectors
    // whose last number links to the next.
    std::vector<uint32_t> settoriFat;
    for (size_t i = 0; i < 109 && settoriFat.size() < quanti; ++i)
      settoriFat.push_back(Le32(f_, 0x4C + 4 * i));
    uint32_t difat = Le32(f_, 0x44);
    const size_t perSettore = settore_ / 4 - 1;
    std::string blocco;
    while (settoriFat.size() < quanti) {
      if (difat >= settori_) Danneggiato("catena della tabella di allocazione");
      blocco.clear();
      CopiaSettore(difat, blocco);
      for (size_t k = 0; k < perSettore && settoriFat.size() < quanti; ++k)
        settoriFat.push_back(Le32(blocco, 4 * k));
      difat = Le32(blocco, 4 * perSettore);
    }
    std::string fat;
    for (uint32_t id : settoriFat) {
      if (id >= settori_) Danneggiato("settore della tabella di allocazione");
      CopiaSettore(id, fat);
    }
    fat_ = Numeri(fat);
  }

  std::string Flusso(std::string_view voce) {
    const uint64_t lunghezza = Lunghezza(voce);
    const uint32_t inizio = Le32(voce, 0x74);
    if (lunghezza >= kSogliaMini) return CatenaSettori(inizio, lunghezza, "un flusso");
    if (!miniLetto_) {
      miniLetto_ = true;
      miniFat_ = Numeri(CatenaSettori(Le32(f_, 0x3C), std::nullopt, "mini tabella"));
      const std::string_view radice = Voce(0);
      mini_ = CatenaSettori(Le32(radice, 0x74), Lunghezza(radice), "mini flusso");
    }
    return Segui(
        miniFat_, mini_.size() / kMiniSettore, kMiniSettore, inizio, lunghezza,
        [this](uint32_t id, std::string& dati) {
          dati.append(mini_, id * kMiniSettore, kMiniSettore);
        },
        "un mini flusso");
  }

  std::string_view f_;
  size_t settore_ = 512;
  size_t settori_ = 0;  // sectors after the header, the last one perhaps cut short
  std::vector<uint32_t> fat_;
  std::string cartella_;
  size_t voci_ = 0;
  bool miniLetto_ = false;
  std::vector<uint32_t> miniFat_;
  std::string mini_;
};

}  // namespace

bool HaFirmaFileComposto(std::string_view file) {
  return file.size() >= 8 && std::memcmp(file.data(), kFirma, 8) == 0;
}

std::optional<std::string> LeggiFlussoComposto(std::string_view file,
                                               std::initializer_list<std::string_view> nomi) {
  return Composto(file).Cerca(nomi);
}

}  // namespace tarkpo::dao
