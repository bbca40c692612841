#include "wizard/frm_campi_art.h"

#include "core/accesso_origine.h"
#include "wizard/controlli.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_view_tab.h"
#include "wizard/geometria.h"
#include "wizard/navigazione.h"

namespace tarkpo::wizard {

namespace {
constexpr int kAltezzaRiga = 360;
constexpr int kAltezzaVista = 3240;  // nine rows
}  // namespace

frmCampiArt::frmCampiArt(Programma& programma)
    : PaginaMappa(programma, kNome,
                  {6,
                   "Impostare le corrispondenze tra i campi degli articoli",
                   0,
                   {0, 1, 2, 3},
                   true,
                   "Avanti >",
                   false}),
      Frame2(new QFrame(Frame1)),
      fraCampiScroll(new QWidget(Frame2)),
      vscCampi(new BarraScorrimento(Qt::Vertical, Frame2)) {
  Label1->setText(
      QString::fromUtf8("Impostare le corrispondenze tra i campi del database e i "
                        "campi della scheda \"Articoli\" del negozio."));
  PosizionaTwips(Label5, 240, 1080, 2295, 255);
  Label6->setText(QStringLiteral("Campo del negozio (Articoli):"));
  PosizionaTwips(Label6, 2880, 1080, 2295, 255);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  Frame2->setFrameShape(QFrame::NoFrame);
  PosizionaTwips(Frame2, 240, 1440, 5295, kAltezzaVista);
  fraCampiScroll->setObjectName(QStringLiteral("fraCampiScroll"));
  PosizionaTwips(fraCampiScroll, 0, 0, 5055, 5055);
  for (int i = 0; i < kRigheArticoli; ++i) {
    AggiungiRiga(fraCampiScroll, i, kEtichetteArticoli[static_cast<size_t>(i)], 0, kAltezzaRiga * i,
                 2295, 2340, 2640);
    cboCampo[static_cast<size_t>(i)]->setEnabled(i < 9);
  }
  vscCampi->setObjectName(QStringLiteral("vscCampi"));
  PosizionaTwips(vscCampi, 5040, 0, 255, kAltezzaVista);
  vscCampi->setRange(0, 1800);
  vscCampi->setSingleStep(kAltezzaRiga);
  vscCampi->setPageStep(2 * kAltezzaRiga);
  vscCampi->setValue(0);
  // The scroll bar is the next stop after the last row; its arrow and page keys scroll.
  vscCampi->setFocusPolicy(Qt::StrongFocus);
  QWidget::setTabOrder(cboCampo[kRigheArticoli - 1], vscCampi);
  // With tracking on, a drag changes the value as it goes: one routine serves both events.
  connect(vscCampi, &QScrollBar::valueChanged, this, [this] { vscCampi_Change(); });

  ImpostaHelp(0, QString::fromUtf8("A questo punto si imposterà la corrispondenza fra i campi del "
                                   "database esterno e quelli utilizzati da Tarvelin per gestire "
                                   "gli articoli."));
  ImpostaHelp(1, QString::fromUtf8("La corrispondenza deve essere univoca: ad ogni campo del "
                                   "database esterno corrisponde un solo campo di Tarvelin."));
  ImpostaHelp(2, QString::fromUtf8("Non è necessario impostare tutti i campi: è sufficiente "
                                   "impostarne almeno uno. "));
  ImpostaHelp(3, QString::fromUtf8("Al campo di Tarvelin \"Reparto\" deve essere attribuito il "
                                   "corrispondente campo del database esterno che contiene il "
                                   "codice del reparto oppure il suo nome. Se questo campo non "
                                   "viene impostato, gli articoli importati (non già presenti nel "
                                   "negozio) saranno inseriti in un nuovo reparto."));
}

void frmCampiArt::cboCampo_Click(int /*Index*/) { cmdImport->setEnabled(true); }

void frmCampiArt::vscCampi_Change() {
  const int valore = vscCampi->value();
  fraCampiScroll->move(0, -Px(valore));
  // Rows 5 to 8 are in sight at every value.
  for (int i : {0, 1, 2, 3, 4, 9, 10, 11, 12, 13}) {
    const int alto = kAltezzaRiga * i;
    const bool inVista = alto < valore + kAltezzaVista && alto + kAltezzaRiga > valore;
    cboCampo[static_cast<size_t>(i)]->setEnabled(inVista);
  }
}

void frmCampiArt::MostraRiga(int i) {
  const int alto = kAltezzaRiga * i;
  const int valore = vscCampi->value();
  if (alto < valore) {
    vscCampi->setValue(alto);
  } else if (alto + kAltezzaRiga > valore + kAltezzaVista) {
    vscCampi->setValue(alto + kAltezzaRiga - kAltezzaVista);
  }
}

void frmCampiArt::cmdImport_Click() {
  if (!ValidaCampiArt(prog_.def, *this, true, prog_.messaggi)) {
    prog_.Scarica(frmOpzioniArticoli::kNome);
    return;
  }
  prog_.Scarica(frmViewTab::kNome);
  prog_.Form<frmOpzioniArticoli>().Mostra();
  Scarica();
}

void frmCampiArt::cmdBack_Click() {
  // Whatever is set so far is kept, valid or not.
  ValidaCampiArt(prog_.def, *this, false, prog_.messaggi);
  PassaA<frmTabellaArt>(prog_, *this, [this](frmTabellaArt&) {
    return prog_.pagineOrigine != nullptr &&
           ElencaTabelleArt(prog_.def, prog_.gDb.get(), *prog_.pagineOrigine, prog_.messaggi);
  });
}

}  // namespace tarkpo::wizard
