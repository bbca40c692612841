#include "wizard/frm_view_tab.h"

#include <QHeaderView>

#include "wizard/frm_main.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {
// The outer size of a sizable window exceeds its inner area by its borders and caption.
constexpr int kBordiLargo = 120;
constexpr int kBordiAlto = 405;
}  // namespace

frmViewTab::frmViewTab(Programma& programma)
    : Finestra(programma, kNome), Data1(programma.motore), modello_(this) {
  setWindowTitle(QStringLiteral("Anteprima dati"));
  setFont(CarattereFinestra(8));
  grdViewTab = new QTableView(this);
  grdViewTab->setObjectName(QStringLiteral("grdViewTab"));
  grdViewTab->setModel(&modello_);
  grdViewTab->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdViewTab->verticalHeader()->setDefaultSectionSize(Px(240));
  grdViewTab->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  PosizionaTwips(grdViewTab, 120, 120, 6480 + kBordiLargo - 345, 4905 + kBordiAlto - 810);
  lblRec = new QLabel(this);
  lblRec->setObjectName(QStringLiteral("lblRec"));
  PosizionaTwips(lblRec, 120, 4650, 4695, 255);
  resize(Px(6480), Px(4905));
}

void frmViewTab::Form_Load() {
  grdViewTab->verticalHeader()->setFixedWidth(Px(240));
  setWindowIcon(prog_.Form<frmMain>().windowIcon());
}

void frmViewTab::resizeEvent(QResizeEvent* evento) {
  Finestra::resizeEvent(evento);
  Form_Resize();
}

void frmViewTab::Form_Resize() {
  // Each step on its own: a window too small for the grid leaves that measure as it was.
  const int larghezza = width() * kTwipPerPixel + kBordiLargo - 345;
  const int altezza = height() * kTwipPerPixel + kBordiAlto - 810;
  if (larghezza > 0) grdViewTab->resize(Px(larghezza), grdViewTab->height());
  if (altezza > 0) grdViewTab->resize(grdViewTab->width(), Px(altezza));
  lblRec->move(lblRec->x(), grdViewTab->height() + Px(165));
}

void frmViewTab::Data1_Refresh() {
  Data1.Refresh();
  modello_.Associa(Data1.Recordset());
  Data1_Reposition();
}

void frmViewTab::Data1_MoveLast() {
  if (auto rs = Data1.Recordset()) rs->MoveLast();
  Data1_Reposition();
}

void frmViewTab::Data1_MoveFirst() {
  if (auto rs = Data1.Recordset()) rs->MoveFirst();
  Data1_Reposition();
}

void frmViewTab::Data1_Reposition() {
  modello_.Riposizionato();
  try {
    if (auto rs = Data1.Recordset())
      lblRec->setText(QStringLiteral("Totale record: %1").arg(rs->RecordCount()));
  } catch (const dao::ErroreDao&) {
  }
}

}  // namespace tarkpo::wizard
