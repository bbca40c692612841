#pragma once
// Step 1, the start page: a new import, the last successful one again ("last.ini"), or a
// definition saved in a file; for the two loads, optionally straight to the import page.
// Its last choices live in the settings store, not in the definition.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmStart : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmStart";
  explicit frmStart(Programma& programma);

  void optTipoOp_Click(int index);
  void txtPath_Change();
  void cmdPath_Click();
  void cmdImport_Click() override;

  QLabel* Label1;
  QLabel* Label2;
  std::array<QRadioButton*, 3> optTipoOp;
  std::array<QCheckBox*, 2> chkVai;  // (0) with optTipoOp(1), (1) with optTipoOp(2)
  QGroupBox* Frame1;
  QLabel* lblDb;
  QLineEdit* txtPath;
  QPushButton* cmdPath;
  int TipoOperazione = 0;  // the operation selected last

 protected:
  void Pagina_Load() override;
  void Form_Activate() override;

 private:
  // Shows the source page, saves the choices and closes this page.
  void PassaAOrigine();
  void SalvaERiavvia(const char* modo);
  // Unloads the source page, so that it loads again from the definition just set.
  void ScaricaOrigine();
};

// The start page's choices to and from the settings section "AppIni" ("opt", "go0", "go1",
// "file"); a value that is missing or unreadable leaves the control as it is.
void SalvaOpzioniAvvio(Programma& prog, const frmStart& pagina);
void CaricaOpzioniAvvio(Programma& prog, frmStart& pagina);

}  // namespace tarkpo::wizard
