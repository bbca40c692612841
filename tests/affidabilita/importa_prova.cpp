// A whole import without windows, as the import page runs it, for the tests that kill it,
// fill its disk or make its shop read-only:
//   importa_prova NEGOZIO CATALOGO [si|no]
// CATALOGO is a folder with reparti.csv and articoli.csv ("," delimited, header row, the
// columns of the mapping below). The last argument answers the questions (default no).
// Every message goes to stdout as "MESSAGGIO <icon>: <text>" (line breaks as "|"); the exit
// status is 0 after a success, 1 after a failed import, 2 when nothing was imported.
#include <signal.h>

#include <cstdio>
#include <string>

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

// Pictures are not part of these catalogues.
class NessunaImmagine : public IScatolaImmagine {
 public:
  bool Carica(const std::string&) override { return false; }
  int Larghezza() const override { return 0; }
  int Altezza() const override { return 0; }
};

}  // namespace

int main(int argc, char** argv) {
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
  NessunaImmagine immagine;
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
