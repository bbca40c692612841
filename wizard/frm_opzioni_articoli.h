#pragma once
// Step 7, the item options: minimum availability, price variation, rounding and keeping the
// department of items already in the shop. Every control writes its member of the
// definition as it changes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmOpzioniArticoli : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmOpzioniArticoli";
  explicit frmOpzioniArticoli(Programma& programma);

  QGroupBox* fraOpzioni;
  QLabel* Label5;
  QCheckBox* chkMinima;
  QLineEdit* txtMinima;
  QLabel* Label11;
  std::array<QGroupBox*, 1> Frame1;
  QLabel* Label7;
  QLabel* Label6;
  QComboBox* cboVariazione;
  QLabel* Label2;
  QCheckBox* chkTondi;
  QGroupBox* Frame2;
  QCheckBox* chkPreserva;
  QLabel* Label1;

 protected:
  void Pagina_Load() override;
  void cmdBack_Click() override;
  void cmdImport_Click() override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  void chkMinima_Click();
  void txtMinima_Change();
  void cboVariazione_Change();
  void cboVariazione_LostFocus();
  // Up and Down, Page Up and Page Down, and the wheel over the focused box: one entry of the
  // list from the value shown, towards the greater values for 1.
  void cboVariazione_Passo(int verso);
  // False when the typed character is swallowed; may turn it into another one.
  bool cboVariazione_KeyPress(QString& carattere);
  QString TestoVariazione() const;
};

}  // namespace tarkpo::wizard
