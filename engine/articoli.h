#pragma once
// Item import: one source item into the shop table "articoli", the run over the source's
// items table, and the treatment of shop items that the source no longer holds.
#include <cstdint>
#include <string>

#include "engine/contesto.h"

namespace tarkpo::motore {

// One source row, converted by the run (prices in ten-thousandths).
struct RigaArticolo {
  std::string reparto;  // a department code or title
  std::string codice;
  std::string titolo;
  std::string sottotitolo;
  std::string descrizione;
  std::string nota;
  int64_t prezzo = 0;
  int64_t offerta = 0;
  std::string link;
  float peso = 0;
  std::string giacenza;
  int16_t statoGiacenza = 0;  // 0 no minimum, 1 below it, 2 at or above it
  std::string immagine1;
  std::string immagine2;
  std::string immaginePiccola;
};

// Adds the item, or with overwrite 1 updates every shop row with its code.
void ImportaArticolo(Contesto& c, RigaArticolo riga);
// The whole item run. True when the row loop reached the end of the source table.
bool ImportaArticoli(Contesto& c);
// Brings the pictures the run copied to the disk, before the rows that name them are
// committed; false, having said why, when the disk cannot.
bool SalvaImmagini(Contesto& c);

}  // namespace tarkpo::motore
