#pragma once
// The source options dialog, modal over the source page: the Access password, whether the
// first row holds the field names, and the delimiter of text files. A changed delimiter
// needs the engine's other settings set, so confirming it restarts the program.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "wizard/finestra.h"

namespace tarkpo::wizard {

class frmOpzioniDb : public Finestra {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmOpzioniDb";
  explicit frmOpzioniDb(Programma& programma);

  void cmdOK_Click();
  void cmdAnnulla_Click();

  QGroupBox* fraPwd;
  QLabel* Label1;
  QLineEdit* txtPwd;
  QGroupBox* fraCampi;
  QCheckBox* chkIntestazione;
  QGroupBox* fraDelim;
  QLabel* Label2;
  QComboBox* cboDelim;
  QPushButton* cmdOK;
  QPushButton* cmdAnnulla;

 protected:
  void Form_Load() override;

 private:
  std::string SeparatoreIniziale;
};

}  // namespace tarkpo::wizard
