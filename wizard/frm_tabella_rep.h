#pragma once
// Step 3, the departments table page. It also hosts the data control through which the
// source database is opened, and is loaded hidden for it even when departments are not
// imported.
#include "core/dao/dao.h"
#include "wizard/pagina_tabella.h"

namespace tarkpo::wizard {

class frmTabellaRep : public PaginaTabella {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmTabellaRep";
  explicit frmTabellaRep(Programma& programma);

  QListWidget* lstTabelleRep;
  dao::DataControl Data1;  // the source database

  void cmdBack_Click() override;
  void cmdImport_Click() override;

 protected:
  std::string& Tabella() override;
};

}  // namespace tarkpo::wizard
