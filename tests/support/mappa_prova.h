#pragma once
// The catalogue columns that test catalogues share, one per mapping row, and the mapping
// that takes each row from the column of its position.
#include <string>

#include "core/definizione.h"
#include "core/mappa_campi.h"

namespace tarkpo::test {

inline constexpr const char* kColonneReparti[kRigheReparti] = {"Codice", "Titolo", "Descrizione",
                                                               "Note",   "IVA",    "Sconto"};
inline constexpr const char* kColonneArticoli[kRigheArticoli] = {
    "Reparto", "Codice", "Titolo", "Sottotitolo", "Descrizione", "Note",      "Prezzo",
    "Offerta", "Link",   "Peso",   "Giacenza",    "Immagine1",   "Immagine2", "ImmaginePiccola"};

inline void MappaOgniColonna(DefinizioneImportazione& d) {
  for (int k = 0; k < kRigheReparti; ++k) {
    d.gCampiRep[k] = k + 1;
    d.gNomiCampiRep[k] = kColonneReparti[k];
  }
  for (int k = 0; k < kRigheArticoli; ++k) {
    d.gCampiArt[k] = k + 1;
    d.gNomiCampiArt[k] = kColonneArticoli[k];
  }
}

// A departments and items import from a folder of CSV files (reparti.csv, articoli.csv with
// a header row), overwriting existing rows, price list 1, no minimum availability.
inline DefinizioneImportazione DefinizioneCatalogoCsv(const std::string& negozio,
                                                      const std::string& catalogo) {
  DefinizioneImportazione d;
  d.gPathNegozio = negozio;
  d.gPathDb = catalogo;
  d.gTipoDb = "Text;";
  d.gOpzioniDb = "HDR=Yes";
  d.gImpRep = 1;
  d.gImpArt = 1;
  d.gTabellaRep = "reparti#csv";
  d.gTabellaArt = "articoli#csv";
  MappaOgniColonna(d);
  d.gSovrascrivi = 1;
  d.gGiacenzaMinima = -1;
  d.gListini[0] = 1;
  return d;
}

}  // namespace tarkpo::test
