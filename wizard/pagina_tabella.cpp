#include "wizard/pagina_tabella.h"

#include <QPainter>
#include "core/accesso_origine.h"
#include "core/testo.h"

#include "wizard/frm_view_tab.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {

// 16 x 15: a magnifying glass over a sheet.
QPixmap ImmagineAnteprima() {
  QPixmap immagine(16, 15);
  immagine.fill(Qt::transparent);
  QPainter p(&immagine);
  p.setPen(Qt::gray);
  p.setBrush(Qt::white);
  p.drawRect(1, 0, 10, 13);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::darkBlue, 1.5));
  p.setBrush(QColor(200, 225, 255));
  p.drawEllipse(QRectF(6, 5, 6, 6));
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF(11.5, 10.5), QPointF(15, 14));
  return immagine;
}

}  // namespace

PaginaTabella::PaginaTabella(Programma& programma, const char* nome, const Cornice& cornice,
                             const char* nomeLista, const Testi& testi)
    : PaginaWizard(programma, nome, cornice),
      Frame1(new QGroupBox(QStringLiteral("Tabelle"), this)),
      Label1(new QLabel(QString::fromUtf8(testi.prompt), Frame1)),
      lstTabelle(new QListWidget(Frame1)),
      Label2(new QLabel(QStringLiteral("Tabella selezionata:"), Frame1)),
      txtTabSel(new QLineEdit(Frame1)),
      cmdPreview(new QPushButton(Frame1)),
      lstNomiInterni(new QListWidget(this)),
      Tabelle(lstTabelle, true),
      NomiInterni(lstNomiInterni, false),
      testi_(testi) {
  Frame1->setObjectName(QStringLiteral("Frame1"));
  PosizionaTwips(Frame1, 3480, 840, 5775, 4935);
  Label1->setObjectName(QStringLiteral("Label1"));
  PosizionaTwips(Label1, 240, 360, 4335, 255);
  lstTabelle->setObjectName(QString::fromLatin1(nomeLista));
  PosizionaTwips(lstTabelle, 240, 600, 5295, 3180);
  Label2->setObjectName(QStringLiteral("Label2"));
  PosizionaTwips(Label2, 240, 4080, 3855, 255);
  txtTabSel->setObjectName(QStringLiteral("txtTabSel"));
  PosizionaTwips(txtTabSel, 240, 4320, 4935, 285);
  cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
  cmdPreview->setAutoDefault(false);
  cmdPreview->setIcon(QIcon(ImmagineAnteprima()));
  cmdPreview->setIconSize(QSize(16, 15));
  cmdPreview->setToolTip(QStringLiteral("Anteprima tabella"));
  cmdPreview->setEnabled(false);
  PosizionaTwips(cmdPreview, 5280, 4320, 300, 300);
  lstNomiInterni->setObjectName(QStringLiteral("lstNomiInterni"));
  lstNomiInterni->hide();

  // The chosen table is the list's selection. The current entry alone is not: the list
  // makes its first entry current as the focus enters it, and that chooses nothing.
  connect(lstTabelle, &QListWidget::itemSelectionChanged, this, [this] { lstTabelle_Click(); });
  connect(lstTabelle, &QListWidget::itemDoubleClicked, this, [this] { lstTabelle_DblClick(); });
  connect(txtTabSel, &QLineEdit::textChanged, this, [this] { txtTabSel_Change(); });
  connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
}

QListWidgetItem* PaginaTabella::Selezionata() const {
  const QList<QListWidgetItem*> scelte = lstTabelle->selectedItems();
  return scelte.isEmpty() ? nullptr : scelte.front();
}

void PaginaTabella::lstTabelle_Click() {
  const QListWidgetItem* voce = Selezionata();
  txtTabSel->setText(voce != nullptr ? voce->text() : QString());
}

void PaginaTabella::lstTabelle_DblClick() { cmdPreview_Click(); }

void PaginaTabella::txtTabSel_Change() {
  std::string& tabella = Tabella();
  tabella.clear();
  // The internal name is found through the item data of the shown entry, never by position,
  // and taken as the engine's own bytes.
  if (const QListWidgetItem* voce = Selezionata()) {
    bool ok = false;
    const int posizione = voce->data(Qt::UserRole).toInt(&ok);
    if (ok) tabella = NomiInterni.Testo(posizione);
  }
  const bool scelta = !txtTabSel->text().trimmed().isEmpty();
  cmdImport->setEnabled(scelta);
  cmdPreview->setEnabled(scelta);
}

void PaginaTabella::cmdPreview_Click() {
  const std::string tabella = Tabella();
  try {
    if (!prog_.gDb)
      throw dao::ErroreDao(91, "Variabile oggetto o variabile del blocco With non impostata");
    std::shared_ptr<dao::Recordset> rs = prog_.gDb->OpenRecordset(tabella, dao::dbOpenDefault);
    frmViewTab& anteprima = prog_.Form<frmViewTab>();
    anteprima.Data1.SetRecordset(std::move(rs));
    anteprima.Data1_Refresh();
  } catch (const dao::ErroreDao& e) {
    prog_.Scarica(frmViewTab::kNome);
    std::string testo = "Non è possibile vedere un'anteprima di questa tabella";
    if (testi_.erroreInMessaggio) testo += ":\n" + e.Descrizione();
    prog_.messaggi.Mostra(testo, Icona::Esclamazione);
    return;
  }
  frmViewTab& anteprima = prog_.Form<frmViewTab>();
  // An empty table cannot move; the preview shows it all the same.
  try {
    anteprima.Data1_MoveLast();
  } catch (const dao::ErroreDao&) {
  }
  try {
    anteprima.Data1_MoveFirst();
  } catch (const dao::ErroreDao&) {
  }
  anteprima.setWindowTitle(QString::fromUtf8(testi_.prefissoTitolo) +
                           TestoLeggibile(NomeVisibileTabella(prog_.def, tabella)));
  anteprima.Mostra();
}

}  // namespace tarkpo::wizard
