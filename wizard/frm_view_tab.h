#pragma once
// The table preview: a resizable window with a grid over the rows of a source table and
// their count. The page that opens it gives its data control the recordset.
#include <QLabel>
#include <QTableView>

#include "core/dao/dao.h"
#include "wizard/finestra.h"
#include "wizard/modello_recordset.h"

namespace tarkpo::wizard {

class frmViewTab : public Finestra {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmViewTab";
  explicit frmViewTab(Programma& programma);

  // Refreshes the data control and binds the grid to its recordset; raises as the data
  // control does.
  void Data1_Refresh();
  // Moves the data control's recordset; raise as the recordset does.
  void Data1_MoveLast();
  void Data1_MoveFirst();

  dao::DataControl Data1;
  QTableView* grdViewTab;
  QLabel* lblRec;

 protected:
  void Form_Load() override;
  void resizeEvent(QResizeEvent* evento) override;
  void Form_Resize();
  void Data1_Reposition();

 private:
  ModelloRecordset modello_;
};

}  // namespace tarkpo::wizard
