#include "support/immagini_negozio.h"

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>

#include "support/cartella_temp.h"

namespace tarkpo::test {

namespace {

void Scrivi32(std::string& s, size_t o, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[o + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

uint32_t Leggi32(const std::string& s, size_t o) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(s[o + static_cast<size_t>(i)]);
  return v;
}

constexpr size_t kIntestazione = 54;

size_t RigaBmp(int larghezza) { return (static_cast<size_t>(larghezza) * 3 + 3) / 4 * 4; }

}  // namespace

std::string BmpProva(int larghezza, int altezza, unsigned seme) {
  const size_t pixel = RigaBmp(larghezza) * static_cast<size_t>(altezza);
  std::string b(kIntestazione + pixel, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Scrivi32(b, 2, static_cast<uint32_t>(b.size()));
  Scrivi32(b, 10, kIntestazione);
  Scrivi32(b, 14, 40);
  Scrivi32(b, 18, static_cast<uint32_t>(larghezza));
  Scrivi32(b, 22, static_cast<uint32_t>(altezza));
  b[26] = 1;   // planes
  b[28] = 24;  // bits per pixel
  Scrivi32(b, 34, static_cast<uint32_t>(pixel));
  for (size_t i = kIntestazione; i < b.size(); ++i)
    b[i] = static_cast<char>((i * 31 + seme * 17) & 0xFF);
  return b;
}

std::optional<std::pair<int, int>> MisuraBmp(const std::string& file) {
  const std::string b = LeggiFile(file);
  if (b.size() < kIntestazione || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const uint32_t larghezza = Leggi32(b, 18), altezza = Leggi32(b, 22);
  if (larghezza > 65535 || altezza > 65535 || Leggi32(b, 2) != b.size() ||
      b.size() != kIntestazione + RigaBmp(static_cast<int>(larghezza)) * altezza)
    return std::nullopt;
  return std::pair{static_cast<int>(larghezza), static_cast<int>(altezza)};
}

std::vector<std::string> ImmaginiDifettose(const std::string& fileNegozio,
                                           const std::string& cartellaLavoro,
                                           const MisuraImmagine& misura) {
  std::vector<std::string> difetti;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(fileNegozio.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    difetti.push_back("negozio non aperto: " + std::string(sqlite3_errmsg(db)));
    sqlite3_close(db);
    return difetti;
  }
  for (int n = 0; n < 3; ++n) {
    const std::string k = std::to_string(n);
    const std::string sql = "SELECT coalesce(codice, ''), immagine" + k + ", imgX" + k + ", imgY" +
                            k + " FROM articoli WHERE coalesce(immagine" + k + ", '') <> ''";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      difetti.push_back(sqlite3_errmsg(db));
      break;
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      const std::string codice = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      const std::string nome = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
      const std::pair riga{sqlite3_column_int(st, 2), sqlite3_column_int(st, 3)};
      const std::string dove = codice + " immagine" + k + " " + nome + ": ";
      const std::string file = (std::filesystem::path(cartellaLavoro) / nome).string();
      std::error_code ec;
      // The file itself, not a link that may lead out of the work folder.
      if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file, ec))) {
        difetti.push_back(dove + "manca");
        continue;
      }
      const auto misurata = misura(file);
      if (!misurata)
        difetti.push_back(dove + "non intera");
      else if (*misurata != riga)
        difetti.push_back(dove + std::to_string(riga.first) + "x" + std::to_string(riga.second) +
                          " nel negozio, " + std::to_string(misurata->first) + "x" +
                          std::to_string(misurata->second) + " nel file");
    }
    if (rc != SQLITE_DONE) difetti.push_back(sqlite3_errmsg(db));
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return difetti;
}

}  // namespace tarkpo::test
