#pragma once
// Step 8, what the import does with shop items that the source no longer holds: the
// treatment is the absolute value of gEscludi, its sign says whether items without a code
// are treated too (negative) or left alone.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <array>

#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmRimuoviArticoli : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmRimuoviArticoli";
  explicit frmRimuoviArticoli(Programma& programma);

  QGroupBox* fraOpzioni;
  QLabel* Label2;
  QLabel* Label5;
  std::array<QRadioButton*, 4> optEscludi;
  QFrame* Frame1;
  std::array<QLabel*, 2> Label1;
  QCheckBox* chkEscludi;

 protected:
  void Pagina_Load() override;
  void cmdBack_Click() override;
  void cmdImport_Click() override;

 private:
  void optEscludi_Click(int Index);
  void chkEscludi_Click();
};

}  // namespace tarkpo::wizard
