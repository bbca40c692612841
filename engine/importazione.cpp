#include "engine/importazione.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "core/file_definizione.h"
#include "engine/articoli.h"
#include "engine/negozio.h"
#include "engine/reparti.h"

namespace tarkpo::motore {

namespace {

// Closes the shop database, whatever state the run left it in.
void ChiudiNegozio(StatoMotore& stato) {
  ChiudiRecordset(stato.gRsReparti);
  ChiudiRecordset(stato.gRsArticoli);
  if (!stato.gDbNegozio) return;
  try {
    stato.gDbNegozio->Close();
  } catch (const dao::ErroreDao&) {
  }
  stato.gDbNegozio.reset();
}

void MostraErrore(IMessaggi& messaggi, const dao::ErroreDao& e) {
  messaggi.Mostra(TestoErrore(e.Numero(), e.Descrizione()), Icona::Esclamazione);
}

// A shop that cannot be written would fail every row silently and end in an empty
// "success": the data file and its folder (where the journal goes) must be writable.
// The reason, "" when they are or when the folder holds no shop (the backup says so).
std::string SolaLettura(const std::string& cartella) {
  std::error_code ec;
  std::string file = cartella + "/catalog.mdb";
  if (!std::filesystem::is_regular_file(file, ec)) file = cartella + "/items.dat";
  if (!std::filesystem::is_regular_file(file, ec)) return "";
  std::string motivo;
  if (::access(file.c_str(), W_OK) != 0)
    motivo = "Il database \"" + file + "\" è di sola lettura";
  else if (::access(cartella.c_str(), W_OK) != 0)
    motivo = "La cartella \"" + cartella + "\" è di sola lettura";
  return motivo.empty() ? "" : "Impossibile aprire il file \"" + file + "\":\n" + motivo;
}

}  // namespace

EsitoImportazione EseguiImportazione(Contesto& c, dao::Workspace& ws,
                                     const std::string& cartellaProgramma) {
  EsitoImportazione esito;
  if (const std::string motivo = SolaLettura(c.def.gPathNegozio); !motivo.empty()) {
    c.messaggi.Mostra(motivo, Icona::Esclamazione);
    c.messaggi.Mostra("Il negozio non è stato modificato", Icona::Informazione);
    esito.eseguita = true;
    return esito;
  }
  esito.backup = BackupNegozio(c.stato, c.def, c.messaggi);
  if (esito.backup.empty() && c.messaggi.Mostra("Non è possibile creare un backup del negozio:\n"
                                                "procedere comunque all'importazione?",
                                                Icona::Domanda, Pulsanti::SiNo) != Risposta::Si)
    return esito;
  esito.eseguita = true;

  bool ok = false;
  bool transazione = false;
  try {
    ws.BeginTrans();
    transazione = true;
  } catch (const dao::ErroreDao& e) {
    MostraErrore(c.messaggi, e);
  }
  if (transazione) {
    ok = ApriNegozio(c.stato, c.def, ws, c.messaggi);
    // A shop that could not be opened has told why; no department import ran to blame.
    if (ok) {
      if (c.def.gImpRep != 0) ok = ImportaReparti(c);
      if (c.def.gImpArt != 0) {
        if (ok)
          ok = ImportaArticoli(c);
        else
          c.messaggi.Mostra(
              "L'importazione dei reparti non è riuscita:\n"
              "gli articoli non saranno importati.",
              Icona::Esclamazione);
      }
    }
    ChiudiNegozio(c.stato);
  }

  if (ok) {
    // The pictures reach the disk before the rows that name them; a commit that fails is a
    // failed import, not a success.
    ok = SalvaImmagini(c);
    try {
      if (ok) ws.CommitTrans();
    } catch (const dao::ErroreDao& e) {
      MostraErrore(c.messaggi, e);
      ok = false;
    }
  }
  if (ok) {
    esito.riuscita = true;
    c.progresso.Etichetta("");
    if (!esito.backup.empty())
      c.messaggi.Mostra("E' stato creato un backup del negozio:\n" + esito.backup +
                            "\n\nPer ripristinare il backup, rinominare questo\nfile in \"" +
                            c.stato.gFileNegozio + "\"",
                        Icona::Informazione);
    if (!cartellaProgramma.empty())
      SalvaImportazione(c.def, cartellaProgramma + "/last.ini", c.messaggi);
    return esito;
  }

  bool annullata = !transazione;
  if (transazione) {
    annullata = !ws.TransazioneInCorso();  // a commit that failed has rolled back already
    if (!annullata) {
      try {
        ws.Rollback();
        annullata = true;
      } catch (const dao::ErroreDao& e) {
        MostraErrore(c.messaggi, e);
      }
    }
    // A journal left beside the data file means the shop is not back as it was.
    std::error_code ec;
    if (std::filesystem::exists(c.def.gPathNegozio + "/" + c.stato.gFileNegozio + "-journal", ec))
      annullata = false;
  }
  c.progresso.Etichetta("");
  if (!annullata) return esito;  // the shop may hold changes: the backup stays
  c.imp.copie.Rimuovi();         // no row that is kept names the pictures this run copied
  c.messaggi.Mostra("Il negozio non è stato modificato", Icona::Informazione);
  if (!esito.backup.empty()) {
    std::error_code ec;
    std::filesystem::remove(esito.backup, ec);
    esito.backup.clear();
  }
  return esito;
}

}  // namespace tarkpo::motore
