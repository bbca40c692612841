#pragma once
// Leaving a page for good: ending the program, restarting it, and the direct jump to the
// import page.
#include <string>

namespace tarkpo::wizard {

class Programma;

// Unloads the windows, closes the source database and ends the process at once, so a
// pending transaction is discarded. Never fails.
void ChiudiApplicazione(Programma& prog);
// Writes "main.tmp", starts "tarkpo" of the program's folder with `modoRiavvio` ("r" or
// "i") and ends this process, also when the new one did not start.
void RiavviaApplicazione(Programma& prog, const std::string& modoRiavvio);
// Opens the source through the source page and shows the import page with the overwrite
// choice of the definition; false, after telling the user, when the source cannot be opened.
bool MostraImportazione(Programma& prog);

}  // namespace tarkpo::wizard
