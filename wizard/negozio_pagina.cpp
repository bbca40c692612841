#include "wizard/negozio_pagina.h"

#include "engine/negozio.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

bool LeggiNegozio(Programma& prog, const std::function<void(dao::Database&)>& leggi) {
  motore::StatoMotore& stato = prog.statoMotore;
  // Only read: until the import's own transaction nothing writes the shop's file.
  if (!motore::ApriNegozio(stato, prog.def, prog.motore.Workspaces(0), prog.messaggi, true))
    return false;
  leggi(*stato.gDbNegozio);
  try {
    stato.gDbNegozio->Close();
  } catch (const dao::ErroreDao&) {
    // Nothing was written: a failing close loses nothing.
  }
  stato.gDbNegozio.reset();
  return true;
}

}  // namespace tarkpo::wizard
