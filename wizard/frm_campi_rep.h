#pragma once
// Step 4, the departments mapping page: the source field of each of the six department
// fields of the shop. "Avanti >" waits for a field on the title row.
#include "wizard/pagina_mappa.h"

namespace tarkpo::wizard {

class frmCampiRep : public PaginaMappa {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmCampiRep";
  explicit frmCampiRep(Programma& programma);

  void cboCampo_Click(int Index) override;
  void cmdBack_Click() override;
  void cmdImport_Click() override;
};

}  // namespace tarkpo::wizard
