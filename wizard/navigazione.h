#pragma once
// The step of the navigation rule that every page repeats: prepare the page `F` (which
// creates and loads it hidden), then show it and close the current page; when preparing
// fails the routine has told the user why, the half-prepared page is closed and the user
// stays where he is.
#include "wizard/programma.h"

namespace tarkpo::wizard {

template <class F, class Prepara>
bool PassaA(Programma& prog, Finestra& corrente, Prepara&& prepara) {
  F& pagina = prog.Form<F>();
  if (!prepara(pagina)) {
    pagina.Scarica();
    return false;
  }
  pagina.Mostra();
  corrente.Scarica();
  return true;
}

}  // namespace tarkpo::wizard
