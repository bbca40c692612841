#pragma once
// Step 5, the items table page, twin of the departments table page. It has no data
// control: it reads the source through gDb.
#include "wizard/pagina_tabella.h"

namespace tarkpo::wizard {

class frmTabellaArt : public PaginaTabella {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmTabellaArt";
  explicit frmTabellaArt(Programma& programma);

  QListWidget* lstTabelleArt;

  void cmdBack_Click() override;
  void cmdImport_Click() override;

 protected:
  std::string& Tabella() override;
};

}  // namespace tarkpo::wizard
