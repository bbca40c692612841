#pragma once
// Step 9, the shop language that receives the imported texts: only the languages the shop
// names in its table "lingue" can be chosen.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <array>
#include <map>

#include "core/dao/dao.h"
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class frmLingue : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmLingue";
  explicit frmLingue(Programma& programma);

  QGroupBox* fraOpzioni;
  std::array<QLabel*, 3> Label5;
  QFrame* Picture2;
  std::array<QLabel*, 2> Label1;
  std::array<QRadioButton*, 4> optLingua;
  std::array<QLabel*, 4> lblLingua;
  std::map<int, QLabel*> Label2;  // (6), (5), (7), (9): the editions offering each language

 protected:
  void Pagina_Load() override;
  void cmdBack_Click() override;
  void cmdImport_Click() override;

 private:
  void LeggiLingue(dao::Database& negozio);
};

}  // namespace tarkpo::wizard
