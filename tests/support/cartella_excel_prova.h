#pragma once
// Small Excel workbooks written record by record, for the reader's tests: BIFF8 (or BIFF5)
// records in a compound file of 512-byte sectors.
#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarkpo::test::xls {

inline std::string Le16(uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
inline std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
inline std::string Reale(double v) {
  const auto bit = std::bit_cast<uint64_t>(v);
  return Le32(static_cast<uint32_t>(bit)) + Le32(static_cast<uint32_t>(bit >> 32));
}

inline std::string Record(uint16_t tipo, const std::string& dati) {
  return Le16(tipo) + Le16(static_cast<uint32_t>(dati.size())) + dati;
}

// A BIFF8 text with its 16-bit count: 8-bit characters (each the low byte of its UTF-16
// unit) when `utf16` is false.
inline std::string Testo8(const std::u16string& s, bool utf16 = false) {
  std::string b = Le16(static_cast<uint32_t>(s.size())) + static_cast<char>(utf16 ? 1 : 0);
  for (char16_t c : s) b += utf16 ? Le16(c) : std::string(1, static_cast<char>(c));
  return b;
}

// A sheet's name in its BOUNDSHEET record: 8-bit count, flag, UTF-16 characters.
inline std::string NomeFoglio(const std::u16string& nome) {
  return static_cast<char>(nome.size()) + Testo8(nome, true).substr(2);
}

inline std::string Posto(uint16_t riga, uint16_t colonna, uint16_t xf = 0) {
  return Le16(riga) + Le16(colonna) + Le16(xf);
}
inline std::string Numero(uint16_t r, uint16_t c, double v, uint16_t xf = 0) {
  return Record(0x0203, Posto(r, c, xf) + Reale(v));
}
inline std::string Rk(uint16_t r, uint16_t c, uint32_t rk, uint16_t xf = 0) {
  return Record(0x027E, Posto(r, c, xf) + Le32(rk));
}
inline std::string Etichetta(uint16_t r, uint16_t c, const std::u16string& s, bool utf16 = false) {
  return Record(0x0204, Posto(r, c) + Testo8(s, utf16));
}
inline std::string EtichettaSst(uint16_t r, uint16_t c, uint32_t indice) {
  return Record(0x00FD, Posto(r, c) + Le32(indice));
}
inline std::string Booleano(uint16_t r, uint16_t c, bool v) {
  return Record(0x0205, Posto(r, c) + std::string(1, v ? 1 : 0) + std::string(1, 0));
}
inline std::string Vuota(uint16_t r, uint16_t c) { return Record(0x0201, Posto(r, c)); }
inline std::string Dimensioni(uint32_t r0, uint32_t r1, uint16_t c0, uint16_t c1) {
  return Record(0x0200, Le32(r0) + Le32(r1) + Le16(c0) + Le16(c1) + Le16(0));
}
// A formula (=1, its expression does not matter) with the 8 bytes of its last value.
inline std::string Formula(uint16_t r, uint16_t c, const std::string& valore, uint16_t xf = 0) {
  return Record(0x0006, Posto(r, c, xf) + valore + Le16(0) + Le32(0) + Le16(3) + "\x1E\x01\x00");
}
inline std::string ValoreSpeciale(uint8_t tipo, uint8_t dato = 0) {
  return std::string{static_cast<char>(tipo), 0, static_cast<char>(dato), 0, 0, 0} + "\xFF\xFF";
}
inline std::string FormulaTesto(uint16_t r, uint16_t c, const std::u16string& s) {
  return Formula(r, c, ValoreSpeciale(0)) + Record(0x0207, Testo8(s));
}

struct Foglio {
  std::u16string nome;
  std::string record;  // between BOF and EOF
};

// The formats every test workbook holds: XF 0 General, XF 1 the built-in date format 14,
// XF 2 the own format 164 "hh:mm", XF 3 the own format 165 with a quoted "d".
inline std::string GlobaliPredefiniti() {
  auto xf = [](uint16_t formato) {
    return Record(0x00E0, Le16(0) + Le16(formato) + std::string(16, '\0'));
  };
  return Record(0x041E, Le16(164) + Testo8(u"hh:mm")) +
         Record(0x041E, Le16(165) + Testo8(u"0.00\" d\"")) + xf(0) + xf(14) + xf(164) + xf(165);
}

inline std::string Bof(uint16_t tipo, uint16_t versione = 0x0600) {
  return Record(0x0809,
                Le16(versione) + Le16(tipo) + std::string(versione == 0x0600 ? 12 : 4, '\0'));
}

// The workbook stream: globals (with `globali` after the formats), then the sheets.
inline std::string Flusso(const std::vector<Foglio>& fogli, const std::string& globali = "") {
  std::string testa = Bof(0x0005) + Record(0x0042, Le16(1200)) + GlobaliPredefiniti() + globali;
  size_t lunghezza = testa.size() + 4;                                 // the EOF
  for (const auto& f : fogli) lunghezza += 4 + 8 + 2 * f.nome.size();  // BOUNDSHEET
  std::string schede;
  std::string corpo;
  size_t posizione = lunghezza;
  for (const auto& f : fogli) {
    schede += Record(
        0x0085, Le32(static_cast<uint32_t>(posizione)) + std::string(2, '\0') + NomeFoglio(f.nome));
    const std::string sotto = Bof(0x0010) + f.record + Record(0x000A, "");
    corpo += sotto;
    posizione += sotto.size();
  }
  return testa + schede + Record(0x000A, "") + corpo;
}

// A compound file of 512-byte sectors whose root storage holds the streams; those shorter
// than 4096 bytes go into the mini stream.
inline std::string FileComposto(const std::vector<std::pair<std::string, std::string>>& flussi) {
  constexpr uint32_t kFine = 0xFFFFFFFE, kLibero = 0xFFFFFFFF;
  std::string settori;
  std::vector<uint32_t> fat;
  auto catena = [&](const std::string& dati, size_t unita, std::string& dove,
                    std::vector<uint32_t>& tabella) -> uint32_t {
    if (dati.empty()) return kFine;
    const auto inizio = static_cast<uint32_t>(tabella.size());
    const size_t n = (dati.size() + unita - 1) / unita;
    for (size_t i = 0; i < n; ++i) tabella.push_back(i + 1 < n ? inizio + i + 1 : kFine);
    dove += dati;
    dove.append(n * unita - dati.size(), '\0');
    return inizio;
  };
  std::string mini;
  std::vector<uint32_t> miniFat;
  std::vector<std::pair<uint32_t, uint32_t>> posti;  // start and size of each stream
  for (const auto& [nome, dati] : flussi) {
    const uint32_t inizio =
        dati.size() < 4096 ? catena(dati, 64, mini, miniFat) : catena(dati, 512, settori, fat);
    posti.emplace_back(inizio, static_cast<uint32_t>(dati.size()));
  }
  auto voce = [](const std::u16string& nome, uint8_t tipo, uint32_t destra, uint32_t figlio,
                 uint32_t inizio, uint32_t lunghezza) {
    std::string v;
    for (char16_t c : nome) v += Le16(c);
    v.resize(64, '\0');
    v += Le16(static_cast<uint32_t>(2 * nome.size() + 2)) + static_cast<char>(tipo) + '\1';
    v += Le32(0xFFFFFFFF) + Le32(destra) + Le32(figlio) + std::string(36, '\0');
    return v + Le32(inizio) + Le32(lunghezza) + Le32(0);
  };
  std::string miniFatByte;
  for (uint32_t v : miniFat) miniFatByte += Le32(v);
  const uint32_t inizioMiniFat = catena(miniFatByte, 512, settori, fat);
  const uint32_t inizioMini = catena(mini, 512, settori, fat);
  std::string cartella =
      voce(u"Root Entry", 5, kLibero, flussi.empty() ? kLibero : 1,
           mini.empty() ? kFine : inizioMini, static_cast<uint32_t>(mini.size()));
  for (size_t i = 0; i < flussi.size(); ++i) {
    const std::u16string nome(flussi[i].first.begin(), flussi[i].first.end());
    const auto destra = i + 1 < flussi.size() ? static_cast<uint32_t>(i + 2) : kLibero;
    cartella += voce(nome, 2, destra, kLibero, posti[i].first, posti[i].second);
  }
  while (cartella.size() % 512) cartella += voce(u"", 0, kLibero, kLibero, 0, 0);
  const uint32_t inizioCartella = catena(cartella, 512, settori, fat);
  // The allocation table's own sectors come last, marked as such.
  size_t settoriFat = 1;
  while (settoriFat * 128 < fat.size() + settoriFat) ++settoriFat;
  const auto primoFat = static_cast<uint32_t>(fat.size());
  for (size_t i = 0; i < settoriFat; ++i) fat.push_back(0xFFFFFFFD);
  fat.resize(settoriFat * 128, kLibero);
  for (uint32_t v : fat) settori += Le32(v);
  std::string testa = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0');
  testa += Le16(0x3E) + Le16(3) + Le16(0xFFFE) + Le16(9) + Le16(6) + std::string(10, '\0');
  testa += Le32(static_cast<uint32_t>(settoriFat)) + Le32(inizioCartella) + Le32(0) + Le32(4096) +
           Le32(miniFat.empty() ? kFine : inizioMiniFat) +
           Le32(static_cast<uint32_t>((miniFatByte.size() + 511) / 512)) + Le32(kFine) + Le32(0);
  for (size_t i = 0; i < 109; ++i)
    testa += Le32(i < settoriFat ? primoFat + static_cast<uint32_t>(i) : kLibero);
  return testa + settori;
}

// A BIFF8 workbook of the given sheets in a compound file.
inline std::string Cartella(const std::vector<Foglio>& fogli, const std::string& globali = "") {
  return FileComposto({{"Workbook", Flusso(fogli, globali)}});
}

}  // namespace tarkpo::test::xls
