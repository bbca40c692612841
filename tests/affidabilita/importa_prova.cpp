// A whole import without windows, as the import page runs it, for the tests that kill it,
// fill its disk or make its shop read-only:
//   importa_prova NEGOZIO CATALOGO [si|no]
// CATALOGO is a folder with reparti.csv and articoli.csv ("," delimited, header row, the
// columns of the mapping below). The last argument answers the questions (default no).
// Every message goes to stdout as "MESSAGGIO <icon>: <text>" (line breaks as "|"); the exit
// status is 0 after a success, 1 after a failed import, 2 when nothing was imported.
// TARKPO_ATTESA_MS sets how long the import waits for another writer's lock.
// Pictures are BMP files, measured from their header. Two more uses serve the scripts:
//   importa_prova --foto CARTELLA N VARIANTE   writes the BMPs f0.bmp .. f<N-1>.bmp, whose
//                                              sizes differ from one variant to the next
//   importa_prova --verifica NEGOZIO           exit 0 when every picture a row of the shop
//                                              names is a whole BMP of the row's size
#include <signal.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>

#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/immagini.h"
#include "core/impostazioni.h"
#include "engine/importazione.h"
#include "support/immagini_negozio.h"
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

class ScatolaBmp : public IScatolaImmagine {
 public:
  bool Carica(const std::string& percorso) override {
    const auto misura = test::MisuraBmp(percorso);
    if (!misura) return false;
    std::tie(larghezza_, altezza_) = *misura;
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
    const int larghezza = 8 + (i * 7 + variante * 13) % 40;
    const int altezza = 4 + (i * 3 + variante * 5) % 30;
    const std::string percorso = cartella + "/f" + std::to_string(i) + ".bmp";
    std::ofstream f(percorso, std::ios::binary);
    f << test::BmpProva(larghezza, altezza, static_cast<unsigned>(i + 1000 * variante));
    if (!f.flush()) {
      std::fprintf(stderr, "%s: non scritto\n", percorso.c_str());
      return 1;
    }
  }
  return 0;
}

// Every picture a row names: a regular file in work/, a whole BMP, of the row's size.
int Verifica(const std::string& negozio) {
  const auto difetti = test::ImmaginiDifettose(negozio + "/catalog.mdb", negozio + "/work");
  for (const std::string& d : difetti) std::printf("%s\n", d.c_str());
  return difetti.empty() ? 0 : 1;
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
  // The wait for another writer's lock, in milliseconds, when the test gives one.
  if (const char* attesa = std::getenv("TARKPO_ATTESA_MS"))
    motore.Attesa.limite = std::chrono::milliseconds(Intero(attesa));

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
