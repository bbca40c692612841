#pragma once
// Step 2, the source page: the shop folder, the kind of source and the source itself, and
// whether departments, items or both are imported. Every choice goes into the definition at
// once. It is also the reference for the size, icon, border, title and button row of every
// later page, and its data control hosts the source when a loaded definition goes straight
// to the import page.
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <string>

#include "core/dao/dao.h"
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmMain : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmMain";
  explicit frmMain(Programma& programma);

  void optTipoDb_Click(int Index);
  void txtDbPath_Change();
  void txtPath_Change();
  void chkImpRep_Click();
  void chkImpArt_Click();
  void cmdDbPath_Click(int Index);
  void cmdPath_Click();
  void cmdOpzioni_Click();
  void cmdImport_Click() override;
  void cmdBack_Click() override;

  QGroupBox* Frame2;
  QLabel* Label2;
  QLineEdit* txtPath;
  QPushButton* cmdPath;
  QGroupBox* Frame1;
  QLabel* Label1;
  std::array<QRadioButton*, 3> optTipoDb;
  QPushButton* cmdOpzioni;
  QFrame* Frame3;
  QLabel* lblDb;
  QLineEdit* txtDbPath;
  // A source path restored from the definition, put back once by the first kind selection.
  std::string txtDbPath_Tag;
  std::array<QPushButton*, 2> cmdDbPath;
  QGroupBox* Frame4;
  QCheckBox* chkImpRep;
  QCheckBox* chkImpArt;
  std::string CommonDialog1_Filter;  // the filter of the source file dialog
  dao::DataControl Data1;

 protected:
  void Pagina_Load() override;

 private:
  void AggiornaAvanti();
};

}  // namespace tarkpo::wizard
