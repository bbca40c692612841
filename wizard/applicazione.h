#pragma once

namespace tarkpo::wizard {

class Programma;

// Creates the Qt application, opens the first window and runs the message loop.
int EseguiApplicazione(int argc, char** argv);

// Loads the start-up window, which runs the start-up sequence, and shows it when it is
// still loaded afterwards (a restart unloads it during its own load).
void AvviaFinestre(Programma& prog);

}  // namespace tarkpo::wizard
