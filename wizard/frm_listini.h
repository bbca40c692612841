#pragma once
// Step 10, the shop price lists that receive the imported prices: ten lists when the shop
// has them, else only the first.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <array>
#include <map>

#include "core/dao/dao.h"
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmListini : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmListini";
  explicit frmListini(Programma& programma);

  QGroupBox* fraOpzioni;
  std::map<int, QLabel*> Label5;  // (0), (2) to (5) in the frame; (1), (6), (7) in the help
  QFrame* Picture2;
  QLabel* Label1;
  std::array<QCheckBox*, 10> chkListino;

 protected:
  void Pagina_Load() override;
  void cmdBack_Click() override;
  void cmdImport_Click() override;

 private:
  void LeggiListini(dao::Database& negozio);
  // The boxes into gListini; gives how many are checked.
  int MemorizzaListini();
};

}  // namespace tarkpo::wizard
