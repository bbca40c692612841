#pragma once
// The pages that host the source as core reaches them: the data controls of the source page
// and of the departments table page, and the table lists of the two table pages. Each call
// loads its page hidden when it is not loaded.
#include "core/accesso_origine.h"

namespace tarkpo::wizard {

class Programma;

class PagineOrigine : public IPagineOrigine {
 public:
  explicit PagineOrigine(Programma& prog) : prog_(prog) {}

  dao::DataControl& DataTabellaRep() override;
  dao::DataControl& DataMain() override;
  IListaTabelle& TabelleRep() override;
  IListaTabelle& NomiInterniRep() override;
  IListaTabelle& TabelleArt() override;
  IListaTabelle& NomiInterniArt() override;

 private:
  Programma& prog_;
};

// Makes the program reach the source through its pages: sets `pagineOrigine` and
// `ApriDatabaseOrigineMain`. `pagine` must outlive the program's windows.
void CollegaPagineOrigine(Programma& prog, PagineOrigine& pagine);

}  // namespace tarkpo::wizard
