#include "engine/origine.h"

#include <algorithm>

namespace tarkpo::motore {

namespace {

// Null becomes "", characters of code 0 go; a value without them keeps its type.
Valore Ripulito(Valore v) {
  if (v.IsNull()) return Valore::Testo("");
  if (v.Tipo() == TipoValore::Text && v.Stringa().find('\0') != std::string::npos) {
    std::string testo = v.Stringa();
    testo.erase(std::remove(testo.begin(), testo.end(), '\0'), testo.end());
    return Valore::Testo(std::move(testo));
  }
  return v;
}

bool VerificaCampi(StatoMotore& stato, const std::array<int32_t, kRigheMappa>& posizioni,
                   const std::array<std::string, kRigheMappa>& nomi, IMessaggi& messaggi) {
  for (int i = 0; i < kRigheMappa; ++i) {
    if (posizioni[i] < 1) continue;
    bool uguale = false;
    try {
      // A field that is missing or unreadable fails the row, whatever the error.
      uguale = stato.gRsOrigine && stato.gRsOrigine->Fields(posizioni[i] - 1).Name() == nomi[i];
    } catch (const dao::ErroreDao&) {
    }
    if (!uguale) {
      messaggi.Mostra(
          "Campo non trovato: il database è cambiato rispetto all'importazione salvata");
      return false;
    }
  }
  return true;
}

// The name under which the source shows a table: an Excel sheet without its final "$", a
// text file's table with "." in place of the "#" before its extension.
std::string NomeMostrato(const DefinizioneImportazione& def, std::string nome) {
  if (def.gTipoDb == "Excel 8.0;") {
    if (!nome.empty() && nome.back() == '$') nome.pop_back();
  } else if (def.gTipoDb == "Text;") {
    if (nome.size() >= 4 && nome[nome.size() - 4] == '#') nome[nome.size() - 4] = '.';
  }
  return nome;
}

}  // namespace

std::string MessaggioTabellaNonAperta(const DefinizioneImportazione& def,
                                      const std::string& tabella, const std::string& errore) {
  return "Non è stato possibile aprire la tabella " + NomeMostrato(def, tabella) + ":\n" + errore;
}

void MostraFileCambiato(const dao::FileCambiato& errore, IMessaggi& messaggi) {
  messaggi.Mostra(
      "Il file \"" + errore.Percorso() + "\" è stato modificato durante l'importazione.",
      Icona::Esclamazione);
}

bool ApriTabellaOrigine(StatoMotore& stato, const DefinizioneImportazione& def,
                        const std::string& tabella, IProgresso& progresso, IMessaggi& messaggi) {
  ChiudiRecordset(stato.gRsOrigine);
  try {
    if (!stato.gDb)
      throw dao::ErroreDao(dao::errori::kTabellaNonTrovata, "Database di origine non aperto");
    stato.gRsOrigine = stato.gDb->OpenRecordset(tabella);
    dao::Recordset& rs = *stato.gRsOrigine;
    rs.MoveLast();  // the count is exact only past the last row; an empty table fails here
    progresso.Valore(0);
    progresso.Massimo(static_cast<float>(rs.RecordCount()));
    rs.MoveFirst();
    return true;
  } catch (const dao::FileCambiato& e) {
    MostraFileCambiato(e, messaggi);
    return false;
  } catch (const dao::ErroreDao& e) {
    messaggi.Mostra(MessaggioTabellaNonAperta(def, tabella, e.Descrizione()));
    return false;
  }
}

Valore LeggiCampoOrigine(dao::Recordset& rs, int32_t posizione) {
  Valore v;
  if (posizione >= 1) {
    try {
      v = rs.Fields(static_cast<int>(posizione - 1)).Value();
    } catch (const dao::ErroreDao&) {
    }
  }
  return Ripulito(std::move(v));
}

Valore LeggiCampoNegozio(dao::Recordset& rs, std::string_view nome) {
  Valore v;
  try {
    v = rs.Fields(nome).Value();
  } catch (const dao::ErroreDao&) {
  }
  return Ripulito(std::move(v));
}

bool VerificaCampiReparti(StatoMotore& stato, const DefinizioneImportazione& def,
                          IMessaggi& messaggi) {
  return VerificaCampi(stato, def.gCampiRep, def.gNomiCampiRep, messaggi);
}

bool VerificaCampiArticoli(StatoMotore& stato, const DefinizioneImportazione& def,
                           IMessaggi& messaggi) {
  return VerificaCampi(stato, def.gCampiArt, def.gNomiCampiArt, messaggi);
}

}  // namespace tarkpo::motore
