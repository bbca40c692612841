#pragma once
// The collaborators of one import run, passed to every routine of the department and item
// import.
#include "core/definizione.h"
#include "core/immagini.h"
#include "core/messaggi.h"
#include "engine/eventi.h"
#include "engine/stato_importazione.h"
#include "engine/stato_motore.h"

namespace tarkpo::motore {

struct Contesto {
  const DefinizioneImportazione& def;
  StatoMotore& stato;
  StatoImportazione& imp;
  IMessaggi& messaggi;
  IProgresso& progresso;
  IEventi& eventi;
  IScatolaImmagine& immagine;
};

}  // namespace tarkpo::motore
