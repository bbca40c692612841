// A whole import without windows, as the import page runs it, for the tests that kill it,
// fill its disk or make its shop read-only:
//   importa_prova NEGOZIO CATALOGO [si|no]
// CATALOGO is a folder with reparti.csv and articoli.csv ("," delimited, header row, the
// columns of the mapping below). The last argument answers the questions (default no).
// Every message goes to stdout as "MESSAGGIO <icon>: <text>" (line breaks as "|"); the exit
// status is 0 after a success, 1 after a failed import, 2 when nothing was imported.
// Pictures are BMP files, measured from their header. Two more uses serve the scripts:
//   importa_prova --foto CARTELLA N VARIANTE   writes the BMPs f0.bmp .. f<N-1>.bmp, whose
//                                              sizes differ from one variant to the next
//   importa_prova --verifica NEGOZIO           exit 0 when every picture a row of the shop
//                                              names is a whole BMP of the row's size
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/immagini.h"
#include "core/impostazioni.h"
#include "engine/importazione.h"
#include "support/mappa_prova.h"

using namespace tarkpo;

namespace {

class MessaggiSuUscita : public IMessaggi {
 public:
  explicit MessaggiSuUscita(Risposta risposta) : risposta_(risposta) {}
  Risposta Mostra(const std::string& testo, Icona icona, Pulsanti pulsanti) override {
    static const char* const kIcone[] = {"nessuna", "esclamazione", "informazione", "domanda"};
    std::string riga = testo;
    for (char& c : riga)
      if (c == '\n') c = '|';
    std::printf("MESSAGGIO %s: %s\n", kIcone[static_cast<int>(icona)], riga.c_str());
    std::fflush(stdout);
    return pulsanti == Pulsanti::SiNo ? risposta_ : Risposta::Ok;
  }

 private:
  Risposta risposta_;
};

// The size a BMP's header gives, when the file holds all the bytes the header counts.
struct Bmp {
  bool intera = false;
  int larghezza = 0, altezza = 0;
};

uint32_t Intero32(const unsigned char* b) {
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

Bmp LeggiBmp(const std::string& percorso) {
  Bmp bmp;
  std::FILE* f = std::fopen(percorso.c_str(), "rb");
  if (!f) return bmp;
  unsigned char testa[26];
  const bool letta = std::fread(testa, 1, sizeof testa, f) == sizeof testa;
  std::fseek(f, 0, SEEK_END);
  const long lunghezza = std::ftell(f);
  std::fclose(f);
  if (!letta || testa[0] != 'B' || testa[1] != 'M') return bmp;
  bmp.intera = Intero32(testa + 2) == static_cast<uint32_t>(lunghezza);
  bmp.larghezza = static_cast<int>(Intero32(testa + 18));
  bmp.altezza = static_cast<int>(Intero32(testa + 22));
  return bmp;
}

class ScatolaBmp : public IScatolaImmagine {
 public:
  bool Carica(const std::string& percorso) override {
    const Bmp bmp = LeggiBmp(percorso);
    if (!bmp.intera) return false;
    larghezza_ = bmp.larghezza;
    altezza_ = bmp.altezza;
    return true;
  }
  int Larghezza() const override { return larghezza_; }
  int Altezza() const override { return altezza_; }

 private:
  int larghezza_ = 0, altezza_ = 0;
};

int Intero(const char* testo) {
  int n = 0;
  std::from_chars(testo, testo + std::char_traits<char>::length(testo), n);
  return n;
}

// N BMPs of 24 bits, each of its own size, another in each variant.
int ScriviFoto(const std::string& cartella, int n, int variante) {
  for (int i = 0; i < n; ++i) {
    const uint32_t larghezza = 8 + static_cast<uint32_t>((i * 7 + variante * 13) % 40);
    const uint32_t altezza = 4 + static_cast<uint32_t>((i * 3 + variante * 5) % 30);
    const uint32_t riga = (larghezza * 3 + 3) / 4 * 4;
    const uint32_t dati = riga * altezza, totale = 54 + dati;
    std::vector<unsigned char> b(totale, static_cast<unsigned char>(i + variante));
    auto metti = [&b](size_t o, uint32_t v) {
      for (int k = 0; k < 4; ++k) b[o + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    b[0] = 'B', b[1] = 'M';
    metti(2, totale), metti(6, 0), metti(10, 54), metti(14, 40), metti(18, larghezza);
    metti(22, altezza), metti(26, 1 | 24 << 16), metti(30, 0), metti(34, dati);
    metti(38, 2835), metti(42, 2835), metti(46, 0), metti(50, 0);
    const std::string percorso = cartella + "/f" + std::to_string(i) + ".bmp";
    std::FILE* f = std::fopen(percorso.c_str(), "wb");
    if (!f || std::fwrite(b.data(), 1, b.size(), f) != b.size() || std::fclose(f) != 0) {
      std::fprintf(stderr, "%s: non scritto\n", percorso.c_str());
      return 1;
    }
  }
  return 0;
}

// Every picture a row names: a regular file in work/, a whole BMP, of the row's size.
int Verifica(const std::string& negozio) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2((negozio + "/catalog.mdb").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) !=
      SQLITE_OK) {
    std::fprintf(stderr, "negozio non aperto\n");
    sqlite3_close(db);
    return 1;
  }
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT codice, immagine0, imgX0, imgY0, immagine1, imgX1, imgY1, "
                     "immagine2, imgX2, imgY2 FROM articoli",
                     -1, &st, nullptr);
  int errori = 0, immagini = 0;
  while (st && sqlite3_step(st) == SQLITE_ROW) {
    for (int j = 0; j < 3; ++j) {
      const auto* nome = sqlite3_column_text(st, 1 + 3 * j);
      if (!nome || !*nome) continue;
      ++immagini;
      const std::string file = negozio + "/work/" + reinterpret_cast<const char*>(nome);
      struct stat info {};
      const Bmp bmp = LeggiBmp(file);
      const int x = sqlite3_column_int(st, 2 + 3 * j), y = sqlite3_column_int(st, 3 + 3 * j);
      if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !bmp.intera ||
          bmp.larghezza != x || bmp.altezza != y) {
        std::printf("%s: %s non intera o non %dx%d (%dx%d)\n", sqlite3_column_text(st, 0),
                    file.c_str(), x, y, bmp.larghezza, bmp.altezza);
        ++errori;
      }
    }
  }
  const bool letto = st != nullptr;
  sqlite3_finalize(st);
  sqlite3_close(db);
  std::printf("%d immagini, %d non intere\n", immagini, errori);
  return letto && errori == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--foto")
    return ScriviFoto(argv[2], Intero(argv[3]), Intero(argv[4]));
  if (argc == 3 && std::string(argv[1]) == "--verifica") return Verifica(argv[2]);
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "uso: %s NEGOZIO CATALOGO [si|no]\n", argv[0]);
    return 64;
  }
  // Under a file size limit a write must fail with EFBIG, as on a full disk, not end us.
  signal(SIGXFSZ, SIG_IGN);
  const DefinizioneImportazione d = test::DefinizioneCatalogoCsv(argv[1], argv[2]);
  MessaggiSuUscita messaggi(argc == 4 && std::string(argv[3]) == "si" ? Risposta::Si
                                                                      : Risposta::No);
  Registro registro = Registro::DaAmbiente();
  dao::DBEngine motore(registro);

  motore::StatoMotore stato;
  motore::StatoImportazione imp;
  motore::ProgressoMemoria progresso;
  motore::EventiNulli eventi;
  ScatolaBmp immagine;
  motore::Contesto c{d, stato, imp, messaggi, progresso, eventi, immagine};
  auto& ws = motore.Workspaces(0);
  try {
    stato.gDb = ws.OpenDatabase(d.gPathDb, d.gTipoDb + d.gOpzioniDb);
  } catch (const dao::ErroreDao& e) {
    std::fprintf(stderr, "catalogo: %s\n", e.what());
    return 3;
  }
  const motore::EsitoImportazione esito = motore::EseguiImportazione(c, ws, "");
  std::printf("ESITO eseguita=%d riuscita=%d backup=%s\n", esito.eseguita, esito.riuscita,
              esito.backup.c_str());
  return !esito.eseguita ? 2 : esito.riuscita ? 0 : 1;
}
