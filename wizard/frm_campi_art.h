#pragma once
// Step 6, the items mapping page: the source field of each of the fourteen item fields of
// the shop. The rows lie on a panel that a scroll bar moves inside a frame nine rows high;
// only the lists of rows in sight are enabled, and Tab brings a row in sight as it goes.
#include <QFrame>
#include <QScrollBar>

#include "wizard/pagina_mappa.h"

namespace tarkpo::wizard {

class frmCampiArt : public PaginaMappa {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmCampiArt";
  explicit frmCampiArt(Programma& programma);

  QFrame* Frame2;           // the clipping frame
  QWidget* fraCampiScroll;  // the panel of the rows
  QScrollBar* vscCampi;

  void cboCampo_Click(int Index) override;
  void vscCampi_Change();
  void cmdBack_Click() override;
  void cmdImport_Click() override;

 protected:
  void MostraRiga(int i) override;
};

}  // namespace tarkpo::wizard
