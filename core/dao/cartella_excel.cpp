#include "core/dao/cartella_excel.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <optional>
#include <span>
#include <tuple>

#include "core/dao/byte_le.h"
#include "core/testo.h"

namespace tarkpo::dao {

namespace {

// Record numbers.
constexpr uint16_t kBof = 0x0809, kEof = 0x000A, kContinue = 0x003C, kFilepass = 0x002F,
                   kCodepage = 0x0042, kDatemode = 0x0022, kBoundsheet = 0x0085, kXf = 0x00E0,
                   kFormat = 0x041E, kSst = 0x00FC, kDimensions = 0x0200, kNumber = 0x0203,
                   kRk = 0x027E, kMulrk = 0x00BD, kBlank = 0x0201, kMulblank = 0x00BE,
                   kLabel = 0x0204, kLabelsst = 0x00FD, kRstring = 0x00D6, kBoolerr = 0x0205,
                   kFormula = 0x0006, kString = 0x0207;
constexpr uint16_t kBiff8 = 0x0600, kBiff5 = 0x0500;
constexpr uint16_t kGlobali = 0x0005, kFoglioDiLavoro = 0x0010;
constexpr uint32_t kRighe = 65536, kColonne = 256;
// The last day that Excel shows as a date, 9999-12-31, in days since 1899-12-30.
constexpr double kUltimoGiorno = 2958465;
constexpr double kGiorni1904 = 1462;  // 1904-01-01

[[noreturn]] void Danneggiato(const std::string& dove) {
  throw FormatoDanneggiato("cartella di lavoro danneggiata: " + dove);
}

double Le64Reale(std::string_view s, size_t p) { return std::bit_cast<double>(Le64(s, p)); }

struct Record {
  uint16_t tipo = 0;
  std::string_view dati;
};

// The records of a stream from a given offset; a record cut short by the end of the
// stream is damage.
class Records {
 public:
  Records(std::string_view flusso, size_t pos) : flusso_(flusso), pos_(pos) {}

  bool Prossimo(Record& r) {
    if (pos_ >= flusso_.size()) return false;
    if (flusso_.size() - pos_ < 4) Danneggiato("record troncato");
    r.tipo = Le16(flusso_, pos_);
    const size_t lunghezza = Le16(flusso_, pos_ + 2);
    if (flusso_.size() - pos_ - 4 < lunghezza) Danneggiato("record troncato");
    r.dati = flusso_.substr(pos_ + 4, lunghezza);
    pos_ += 4 + lunghezza;
    return true;
  }

  // The record's body followed by those of the CONTINUE records after it, which are read.
  std::vector<std::string_view> ConContinuazioni(const Record& r) {
    std::vector<std::string_view> parti = {r.dati};
    Record c;
    size_t pos = pos_;
    while (Prossimo(c) && c.tipo == kContinue) {
      parti.push_back(c.dati);
      pos = pos_;
    }
    pos_ = pos;
    return parti;
  }

  size_t Posizione() const { return pos_; }

 private:
  std::string_view flusso_;
  size_t pos_;
};

void Almeno(const Record& r, size_t minimo, const char* nome) {
  if (r.dati.size() < minimo) Danneggiato(std::string("record ") + nome + " troppo corto");
}

// Reads across a record and its CONTINUE records. Character data that goes on in the next
// part begins there with a new flag byte (bit 0: 16-bit characters).
class Lettore {
 public:
  explicit Lettore(std::span<const std::string_view> parti) : parti_(parti) {}

  bool Finito() {
    Salta0();
    return parte_ >= parti_.size();
  }
  uint8_t Byte() {
    Salta0();
    if (parte_ >= parti_.size()) Danneggiato("testo troncato");
    return static_cast<uint8_t>(parti_[parte_][pos_++]);
  }
  uint16_t U16() {
    const uint16_t basso = Byte();
    return static_cast<uint16_t>(basso | (Byte() << 8));
  }
  uint32_t U32() {
    const uint32_t basso = U16();
    return basso | (static_cast<uint32_t>(U16()) << 16);
  }
  void Salta(uint64_t n) {
    while (n > 0) {
      Salta0();
      if (parte_ >= parti_.size()) Danneggiato("testo troncato");
      const size_t k = static_cast<size_t>(std::min<uint64_t>(n, parti_[parte_].size() - pos_));
      pos_ += k;
      n -= k;
    }
  }
  // `n` bytes as they are, across parts.
  std::string Bytes(size_t n) {
    std::string s;
    while (s.size() < n) {
      Salta0();
      if (parte_ >= parti_.size()) Danneggiato("testo troncato");
      const size_t k = std::min(n - s.size(), parti_[parte_].size() - pos_);
      s.append(parti_[parte_].substr(pos_, k));
      pos_ += k;
    }
    return s;
  }
  // The bytes from here to the end of the last part.
  uint64_t Restanti() {
    Salta0();
    uint64_t n = 0;
    for (size_t p = parte_; p < parti_.size(); ++p)
      n += parti_[p].size() - (p == parte_ ? pos_ : 0);
    return n;
  }
  // `n` characters, 8-bit ones being the low byte of their UTF-16 unit.
  std::string Caratteri(size_t n, bool utf16) {
    std::u16string s;
    while (n > 0) {
      if (parte_ >= parti_.size()) Danneggiato("testo troncato");
      const std::string_view parte = parti_[parte_];
      if (pos_ == parte.size()) {
        if (++parte_ >= parti_.size() || parti_[parte_].empty()) Danneggiato("testo troncato");
        pos_ = 0;
        utf16 = parti_[parte_][pos_++] & 1;
        continue;
      }
      const size_t unita = utf16 ? 2 : 1;
      const size_t k = std::min(n, (parte.size() - pos_) / unita);
      if (k == 0) Danneggiato("carattere diviso fra due record");
      for (size_t i = 0; i < k; ++i, pos_ += unita)
        s.push_back(utf16 ? Le16(parte, pos_) : static_cast<unsigned char>(parte[pos_]));
      n -= k;
    }
    return Utf16AUtf8(s);
  }

 private:
  // Moves past the parts that are read to their end.
  void Salta0() {
    while (parte_ < parti_.size() && pos_ == parti_[parte_].size()) ++parte_, pos_ = 0;
  }

  std::span<const std::string_view> parti_;
  size_t parte_ = 0;
  size_t pos_ = 0;
};

// 8-bit texts of BIFF5 in the workbook's code page.
class CodicePagina {
 public:
  explicit CodicePagina(uint16_t numero) {
    if (numero == 1252 || numero == 1200 || numero == 0 || numero == 367 || numero == 32769 ||
        numero == 20127)
      return;
    const std::string nome =
        numero == 10000 || numero == 32768 ? "MACINTOSH" : "CP" + std::to_string(numero);
    iconv_ = iconv_open("UTF-8", nome.c_str());
  }
  ~CodicePagina() {
    if (iconv_ != kNessuno) iconv_close(iconv_);
  }
  CodicePagina(const CodicePagina&) = delete;
  CodicePagina& operator=(const CodicePagina&) = delete;

  std::string InUtf8(std::string_view byte) {
    if (iconv_ == kNessuno) return Cp1252AUtf8(byte);
    iconv(iconv_, nullptr, nullptr, nullptr, nullptr);
    std::string s(byte.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(byte.data());
    size_t restanti = byte.size();
    char* out = s.data();
    size_t spazio = s.size();
    while (restanti > 0) {
      if (iconv(iconv_, &in, &restanti, &out, &spazio) != static_cast<size_t>(-1)) break;
      // A byte the code page does not define becomes the replacement character; 4 bytes
      // of room for each byte in leave room for it.
      if (spazio < 3) break;
      ++in, --restanti;
      for (char c : std::string_view("\xEF\xBF\xBD")) *out++ = c, --spazio;
    }
    s.resize(s.size() - spazio);
    return s;
  }

 private:
  static inline const iconv_t kNessuno = reinterpret_cast<iconv_t>(-1);
  iconv_t iconv_ = kNessuno;
};

// Whether a number format shows dates or times: a day, month, year, hour, minute or
// second code outside quoted texts, escaped characters and brackets, or an elapsed time
// such as [h].
bool FormatoData(std::string_view f) {
  for (size_t i = 0; i < f.size(); ++i) {
    const char c = f[i];
    if (c == '"') {
      i = f.find('"', i + 1);
      if (i == std::string_view::npos) return false;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      const size_t fine = f.find(']', i + 1);
      if (fine == std::string_view::npos) return false;
      const std::string_view dentro = f.substr(i + 1, fine - i - 1);
      if (!dentro.empty() && dentro.find_first_not_of("hHmMsS") == std::string_view::npos)
        return true;
      i = fine;
    } else if (std::string_view("dDmMyYhHsS").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// The built-in formats of dates and times (the regional ones included).
bool FormatoPredefinitoData(uint16_t indice) {
  return (indice >= 14 && indice <= 22) || (indice >= 27 && indice <= 36) ||
         (indice >= 45 && indice <= 47) || (indice >= 50 && indice <= 58);
}

double NumeroRk(uint32_t rk) {
  double v = (rk & 2) ? static_cast<double>(static_cast<int32_t>(rk) >> 2)
                      : std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFC) << 32);
  return (rk & 1) ? v / 100 : v;
}

// Characters of one encoding laid end to end: 16-bit units, or bytes that are the low
// byte of theirs.
std::string Decodifica(std::string_view byte, bool utf16) {
  std::u16string s;
  if (utf16) {
    for (size_t i = 0; i + 1 < byte.size(); i += 2) s.push_back(Le16(byte, i));
  } else {
    for (char c : byte) s.push_back(static_cast<unsigned char>(c));
  }
  return Utf16AUtf8(s);
}

class Lettura {
 public:
  explicit Lettura(std::string_view flusso) : flusso_(flusso) {}

  CartellaExcel Leggi() {
    LeggiGlobali();
    CodicePagina codice(codicePagina_);
    // Each worksheet's records, in the order they stand in the stream: one sheet's may not
    // run into another's, so no record is read twice.
    std::vector<size_t> ordine;
    for (size_t i = 0; i < voci_.size(); ++i)
      if (voci_[i].foglioDiLavoro) ordine.push_back(i);
    std::stable_sort(ordine.begin(), ordine.end(),
                     [&](size_t a, size_t b) { return voci_[a].posizione < voci_[b].posizione; });
    std::vector<std::optional<FoglioExcel>> fogli(voci_.size());
    size_t libero = fineGlobali_;
    for (size_t i : ordine) {
      if (voci_[i].posizione < libero) Danneggiato("posizione di un foglio");
      fogli[i] = LeggiFoglio(voci_[i].posizione, libero);
    }
    for (size_t i = 0; i < voci_.size(); ++i) {
      if (!fogli[i]) continue;
      fogli[i]->nome = biff8_ ? voci_[i].nome : codice.InUtf8(voci_[i].nome);
      cartella_.fogli.push_back(std::move(*fogli[i]));
    }
    for (auto& [indice, byte] : testiDaCodificare_) cartella_.testi[indice] = codice.InUtf8(byte);
    return std::move(cartella_);
  }

 private:
  struct Voce {
    uint32_t posizione;
    bool foglioDiLavoro;
    std::string nome;  // UTF-8 in BIFF8, the code page's bytes in BIFF5
  };

  void LeggiGlobali() {
    Records records(flusso_, 0);
    Record r;
    if (!records.Prossimo(r) || r.tipo != kBof || r.dati.size() < 4)
      Danneggiato("record iniziale mancante");
    const uint16_t versione = Le16(r.dati, 0);
    if (versione != kBiff8 && versione != kBiff5)
      throw FormatoDanneggiato("versione di Excel non leggibile");
    if (Le16(r.dati, 2) != kGlobali) Danneggiato("record iniziale");
    biff8_ = versione == kBiff8;
    std::map<uint16_t, bool> formati;  // FORMAT records: whether each shows a date
    std::vector<uint16_t> formatiXf;
    for (;;) {
      if (!records.Prossimo(r)) Danneggiato("fine dei dati globali mancante");
      if (r.tipo == kEof) break;
      switch (r.tipo) {
        case kFilepass:
          throw CartellaCifrata("cartella di lavoro cifrata");
        case kCodepage:
          Almeno(r, 2, "CODEPAGE");
          codicePagina_ = Le16(r.dati, 0);
          break;
        case kDatemode:
          Almeno(r, 2, "DATEMODE");
          data1904_ = Le16(r.dati, 0) == 1;
          break;
        case kBoundsheet: {
          Almeno(r, 7, "BOUNDSHEET");
          const std::span<const std::string_view> parte(&r.dati, 1);
          Lettore l(parte);
          Voce v;
          v.posizione = l.U32();
          l.Byte();  // visibility: hidden sheets are listed too
          v.foglioDiLavoro = l.Byte() == 0;
          const uint8_t n = l.Byte();
          v.nome = biff8_ ? l.Caratteri(n, l.Byte() & 1) : l.Bytes(n);
          voci_.push_back(std::move(v));
          break;
        }
        case kXf:
          Almeno(r, 4, "XF");
          formatiXf.push_back(Le16(r.dati, 2));
          break;
        case kFormat: {
          Almeno(r, 3, "FORMAT");
          const std::span<const std::string_view> parte(&r.dati, 1);
          Lettore l(parte);
          const uint16_t indice = l.U16();
          std::string codice;
          if (biff8_) {
            const uint16_t n = l.U16();
            codice = l.Caratteri(n, l.Byte() & 1);
          } else {
            codice = l.Bytes(l.Byte());
          }
          formati[indice] = FormatoData(codice);
          break;
        }
        case kSst:
          if (biff8_) LeggiSst(records.ConContinuazioni(r));
          break;
        default:
          break;
      }
    }
    fineGlobali_ = records.Posizione();
    for (uint16_t f : formatiXf) {
      const auto proprio = formati.find(f);
      xfData_.push_back(proprio != formati.end() ? proprio->second : FormatoPredefinitoData(f));
    }
    sst_ = cartella_.testi.size();
  }

  // The shared strings: count, then each string with its optional rich-text runs and
  // phonetic block, both skipped.
  void LeggiSst(const std::vector<std::string_view>& parti) {
    if (parti[0].size() < 8) Danneggiato("record SST troppo corto");
    Lettore l(parti);
    l.U32();
    const uint32_t unici = l.U32();
    for (uint32_t i = 0; i < unici && !l.Finito(); ++i) {
      const uint16_t n = l.U16();
      const uint8_t opzioni = l.Byte();
      const uint16_t sequenze = (opzioni & 0x08) ? l.U16() : 0;
      const uint32_t fonetica = (opzioni & 0x04) ? l.U32() : 0;
      cartella_.testi.push_back(l.Caratteri(n, opzioni & 1));
      l.Salta(uint64_t{sequenze} * 4);
      l.Salta(fonetica);
    }
  }

  // A cell's text: in BIFF8 with its 16-bit count and flag byte, in BIFF5 a 16-bit count
  // of 8-bit characters in the code page. `solo`: the record and its continuations hold the
  // text alone, as a STRING record does.
  uint32_t Testo(Lettore& l, bool solo = false) {
    const uint16_t n = l.U16();
    if (biff8_) {
      const bool utf16 = l.Byte() & 1;
      const size_t byte = size_t{n} * (utf16 ? 2 : 1);
      if (!solo) {
        cartella_.testi.push_back(l.Caratteri(n, utf16));
      } else if (l.Restanti() == byte) {
        // Gnumeric goes on with a long text in its CONTINUE records without the flag byte
        // that Excel puts at the start of each, even in the middle of a 16-bit character:
        // continuations that hold exactly the bytes still wanted are the text as it stands.
        cartella_.testi.push_back(Decodifica(l.Bytes(byte), utf16));
      } else {
        try {
          cartella_.testi.push_back(l.Caratteri(n, utf16));
        } catch (const FormatoDanneggiato&) {
          Danneggiato("testo troncato");  // whatever the bytes the reading stopped at
        }
      }
    } else {
      testiDaCodificare_.emplace_back(static_cast<uint32_t>(cartella_.testi.size()), l.Bytes(n));
      cartella_.testi.emplace_back();
    }
    return static_cast<uint32_t>(cartella_.testi.size() - 1);
  }

  // A number in a cell of the given XF: a date when its format shows one and Excel can
  // show the number as a date.
  CellaExcel Numero(double v, uint16_t xf) const {
    CellaExcel c;
    if (!std::isfinite(v)) return c;
    c.genere = GenereCella::Numero;
    c.numero = v;
    if (xf >= xfData_.size() || !xfData_[xf] || v < 0) return c;
    // Serial numbers count from 1900-01-01 as day 1 and hold the 29th of February 1900
    // that never was; in the 1904 system they count from 1904-01-01 as day 0.
    double giorni = data1904_ ? v + kGiorni1904 : (v >= 1 && v < 60 ? v + 1 : v);
    if (giorni >= kUltimoGiorno + 1) return c;
    c.genere = GenereCella::Data;
    c.numero = giorni;
    return c;
  }

  FoglioExcel LeggiFoglio(size_t posizione, size_t& fine) {
    Records records(flusso_, posizione);
    Record r;
    if (!records.Prossimo(r) || r.tipo != kBof || r.dati.size() < 4)
      Danneggiato("inizio di un foglio");
    FoglioExcel foglio;
    const bool celle = Le16(r.dati, 2) == kFoglioDiLavoro;  // a chart or macro sheet: none
    uint32_t r0 = kRighe, r1 = 0, c0 = kColonne, c1 = 0;
    auto estendi = [&](uint32_t riga, uint32_t prima, uint32_t oltre) {
      if (oltre > kColonne) Danneggiato("colonna oltre l'ultima");
      r0 = std::min(r0, riga), r1 = std::max(r1, riga + 1);
      c0 = std::min(c0, prima), c1 = std::max(c1, oltre);
    };
    auto aggiungi = [&](const Record& r, CellaExcel c) {
      c.riga = Le16(r.dati, 0);
      c.colonna = Le16(r.dati, 2);
      estendi(c.riga, c.colonna, c.colonna + 1);
      foglio.celle.push_back(c);
    };
    constexpr size_t kNessuna = SIZE_MAX;
    size_t formulaDiTesto = kNessuna;  // the cell whose text the STRING record holds
    int livello = 1;                   // charts embedded in the sheet nest their own BOF
    while (livello > 0) {
      if (!records.Prossimo(r)) Danneggiato("fine di un foglio mancante");
      if (r.tipo == kBof) ++livello;
      if (r.tipo == kEof) --livello;
      if (livello != 1 || !celle) continue;
      if (r.tipo == kString) {
        if (formulaDiTesto != kNessuna) {
          const std::vector<std::string_view> parti = records.ConContinuazioni(r);
          Lettore l(parti);
          CellaExcel& c = foglio.celle[formulaDiTesto];
          c.genere = GenereCella::Testo;
          c.testo = Testo(l, true);
        }
        formulaDiTesto = kNessuna;
        continue;
      }
      switch (r.tipo) {
        case kNumber:
        case kRk:
        case kMulrk:
        case kLabel:
        case kLabelsst:
        case kRstring:
        case kBoolerr:
        case kBlank:
        case kMulblank:
        case kFormula:
          formulaDiTesto = kNessuna;
          if (r.dati.size() < 6) Danneggiato("record di una cella troppo corto");
          break;
        default:
          break;
      }
      switch (r.tipo) {
        case kDimensions:
          // Its range is not taken: Gnumeric writes every sheet's from A1, whatever the
          // cells. The cells give the used range, as this record does in Excel's own files.
          Almeno(r, biff8_ ? 14 : 10, "DIMENSIONS");
          break;
        case kNumber:
          Almeno(r, 14, "NUMBER");
          aggiungi(r, Numero(Le64Reale(r.dati, 6), Le16(r.dati, 4)));
          break;
        case kRk:
          Almeno(r, 10, "RK");
          aggiungi(r, Numero(NumeroRk(Le32(r.dati, 6)), Le16(r.dati, 4)));
          break;
        case kMulrk:
        case kMulblank: {
          const size_t passo = r.tipo == kMulrk ? 6 : 2;
          const size_t n = (r.dati.size() - 6) / passo;
          const uint32_t riga = Le16(r.dati, 0), prima = Le16(r.dati, 2);
          if ((r.dati.size() - 6) % passo || n == 0 ||
              Le16(r.dati, r.dati.size() - 2) + 1u != prima + n)
            Danneggiato("record di più celle");
          estendi(riga, prima, static_cast<uint32_t>(prima + n));
          if (r.tipo == kMulblank) break;
          for (size_t k = 0; k < n; ++k) {
            CellaExcel c = Numero(NumeroRk(Le32(r.dati, 6 + 6 * k)), Le16(r.dati, 4 + 6 * k));
            c.riga = riga;
            c.colonna = static_cast<uint32_t>(prima + k);
            foglio.celle.push_back(c);
          }
          break;
        }
        case kBlank:
          estendi(Le16(r.dati, 0), Le16(r.dati, 2), Le16(r.dati, 2) + 1u);
          break;
        case kLabel:
        case kRstring: {
          // Long texts may go on in CONTINUE records; the formatting runs after are skipped.
          const std::vector<std::string_view> parti = records.ConContinuazioni(r);
          Lettore l(parti);
          l.Salta(6);
          CellaExcel c;
          c.genere = GenereCella::Testo;
          c.testo = Testo(l);
          aggiungi(r, c);
          break;
        }
        case kLabelsst: {
          Almeno(r, 10, "LABELSST");
          CellaExcel c;
          c.genere = GenereCella::Testo;
          c.testo = Le32(r.dati, 6);
          if (c.testo >= sst_) Danneggiato("testo condiviso inesistente");
          aggiungi(r, c);
          break;
        }
        case kBoolerr: {
          Almeno(r, 8, "BOOLERR");
          CellaExcel c;
          if (r.dati[7] == 0) c.genere = GenereCella::Booleano, c.numero = r.dati[6] != 0;
          aggiungi(r, c);
          break;
        }
        case kFormula: {
          Almeno(r, 20, "FORMULA");
          // The value Excel last computed: a number, or a marker 0xFFFF in the top two bytes
          // with the kind in the first: 0 a text in the STRING record that follows,
          // 1 a truth value, 2 an error, 3 the empty text.
          CellaExcel c;
          if (Le16(r.dati, 12) != 0xFFFF) {
            c = Numero(Le64Reale(r.dati, 6), Le16(r.dati, 4));
          } else if (r.dati[6] == 0) {
            formulaDiTesto = foglio.celle.size();
          } else if (r.dati[6] == 1) {
            c.genere = GenereCella::Booleano, c.numero = r.dati[8] != 0;
          } else if (r.dati[6] == 3) {
            c.genere = GenereCella::Testo;
            c.testo = VuotoCondiviso();
          }
          aggiungi(r, c);
          break;
        }
        default:
          break;
      }
    }
    fine = records.Posizione();
    // By row and column; where a place is written twice, the last record holds.
    std::stable_sort(foglio.celle.begin(), foglio.celle.end(), [](const auto& a, const auto& b) {
      return std::tie(a.riga, a.colonna) < std::tie(b.riga, b.colonna);
    });
    auto uguali = [](const auto& a, const auto& b) {
      return a.riga == b.riga && a.colonna == b.colonna;
    };
    std::vector<CellaExcel> uniche;
    uniche.reserve(foglio.celle.size());
    for (const auto& c : foglio.celle) {
      if (!uniche.empty() && uguali(uniche.back(), c))
        uniche.back() = c;
      else
        uniche.push_back(c);
    }
    foglio.celle = std::move(uniche);
    if (r0 < r1) {
      foglio.primaRiga = r0, foglio.fineRiga = r1;
      foglio.primaColonna = c0, foglio.fineColonna = c1;
    }
    return foglio;
  }

  uint32_t VuotoCondiviso() {
    if (!vuoto_) {
      vuoto_ = static_cast<uint32_t>(cartella_.testi.size());
      cartella_.testi.emplace_back();
    }
    return *vuoto_;
  }

  std::string_view flusso_;
  bool biff8_ = true;
  bool data1904_ = false;
  uint16_t codicePagina_ = 1252;
  size_t fineGlobali_ = 0;
  size_t sst_ = 0;  // the shared strings are the first texts
  std::vector<Voce> voci_;
  std::vector<bool> xfData_;  // whether each XF's format shows dates
  std::optional<uint32_t> vuoto_;
  std::vector<std::pair<uint32_t, std::string>> testiDaCodificare_;
  CartellaExcel cartella_;
};

}  // namespace

CartellaExcel LeggiCartellaExcel(std::string_view flusso) { return Lettura(flusso).Leggi(); }

Valore ValoreCellaExcel(const CellaExcel& c, const CartellaExcel& cartella) {
  switch (c.genere) {
    case GenereCella::Numero:
      return Valore::Doppio(c.numero);
    case GenereCella::Data:
      return Valore::Data(c.numero);
    case GenereCella::Testo:
      return Valore::Testo(cartella.testi[c.testo]);
    case GenereCella::Booleano:
      return Valore::Booleano(c.numero != 0);
    case GenereCella::Vuota:
      break;
  }
  return Valore::Null();
}

bool ECartellaExcelAntica(std::string_view file) {
  // The BOF records of BIFF2, BIFF3 and BIFF4.
  if (file.size() < 4) return false;
  const uint16_t tipo = Le16(file, 0);
  return tipo == 0x0009 || tipo == 0x0209 || tipo == 0x0409;
}

}  // namespace tarkpo::dao
