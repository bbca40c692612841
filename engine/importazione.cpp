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
  // Without a copy, the shop is known by the file found before the transaction.
  auto file = [&c] { return c.def.gPathNegozio + "/" + c.stato.gFileNegozio; };
  if (esito.backup.empty()) c.stato.gImprontaNegozio = Impronta(file());

  bool ok = false;
  bool transazione = false;
  try {
    ws.BeginTrans();
    transazione = true;
  } catch (const dao::ErroreDao& e) {
    MostraErrore(c.messaggi, e);
  }
  // Whether the shop was opened to be written: until then the import has written nothing.
  bool aperto = false;
  if (transazione) {
    // The write lock is taken here, waiting for another writer that holds it.
    ok = aperto = ApriNegozio(c.stato, c.def, ws, c.messaggi);
    // Opening it may have rolled back what an interrupted writer left: that is the file
    // the import works on.
    const auto trovato = Impronta(file());
    if (ok && esito.backup.empty()) c.stato.gImprontaNegozio = trovato;
    // Another program wrote the shop between the copy and the lock (a second import that
    // held it first): the copy is made again of the shop the import works on, which no
    // other writer can change now.
    if (ok && !esito.backup.empty() && trovato != c.stato.gImprontaNegozio) {
      std::error_code ec;
      std::filesystem::remove(esito.backup, ec);
      esito.backup = BackupNegozio(c.stato, c.def, c.messaggi);
      if (esito.backup.empty()) {
        c.stato.gImprontaNegozio = trovato;
        c.messaggi.Mostra("Il negozio \"" + file() +
                              "\" è stato modificato da un altro programma dopo il backup, e non "
                              "è possibile crearne un altro.",
                          Icona::Esclamazione);
        ok = false;
      }
    }
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

  // The pictures reach the disk before the rows that name them.
  if (ok) ok = SalvaImmagini(c);
  // Nothing of the transaction has reached the file yet: it must be the file the import
  // found, as it was, or the commit would go to a file replaced in the meantime or mix the
  // import into bytes another program wrote.
  const auto prima = Impronta(file());
  if (ok && (!prima || !c.stato.gImprontaNegozio || *prima != *c.stato.gImprontaNegozio)) {
    c.messaggi.Mostra("Il file del negozio \"" + file() +
                          "\" è stato sostituito o modificato da un altro programma durante "
                          "l'importazione.",
                      Icona::Esclamazione);
    ok = false;
  }
  // Replaced between the look above and the commit, the file committed to is no longer the
  // shop: what happened is known, and no row the shop holds names the run's pictures.
  bool sostituitoAlCommit = false;
  if (ok) {
    // A commit that fails is a failed import, not a success.
    try {
      ws.CommitTrans();
    } catch (const dao::ErroreDao& e) {
      MostraErrore(c.messaggi, e);
      ok = false;
    }
    const auto dopo = Impronta(file());
    if (ok && (!dopo || !dopo->StessoFile(*c.stato.gImprontaNegozio))) {
      sostituitoAlCommit = true;
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

  if (ws.TransazioneInCorso()) {
    try {
      ws.Rollback();
    } catch (const dao::ErroreDao& e) {
      MostraErrore(c.messaggi, e);
    }
  }
  c.progresso.Etichetta("");
  const std::string backupConservato =
      esito.backup.empty() ? "" : "\nE' stato conservato il backup del negozio:\n" + esito.backup;
  if (sostituitoAlCommit) {
    c.imp.copie.Rimuovi();
    c.messaggi.Mostra("Il file del negozio \"" + file() +
                          "\" è stato sostituito durante l'importazione: i dati importati "
                          "non sono nel negozio." +
                          backupConservato,
                      Icona::Esclamazione);
    return esito;
  }
  // "Unchanged" is said, and the backup deleted, only of the very file the import found,
  // as it was, or when the import never had the shop to write (another program may have
  // written it meanwhile, not this import).
  if (aperto && !NegozioComeTrovato(c.stato, file(), esito.backup)) {
    c.messaggi.Mostra("Il negozio potrebbe essere stato modificato." + backupConservato,
                      Icona::Esclamazione);
    return esito;
  }
  c.imp.copie.Rimuovi();  // no row that is kept names the pictures this run copied
  c.messaggi.Mostra("Il negozio non è stato modificato", Icona::Informazione);
  if (!esito.backup.empty()) {
    std::error_code ec;
    std::filesystem::remove(esito.backup, ec);
    esito.backup.clear();
  }
  return esito;
}

}  // namespace tarkpo::motore
