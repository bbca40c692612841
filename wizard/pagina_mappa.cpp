#include "wizard/pagina_mappa.h"

#include "wizard/geometria.h"

namespace tarkpo::wizard {

PaginaMappa::PaginaMappa(Programma& programma, const char* nome, const Cornice& cornice)
    : PaginaWizard(programma, nome, cornice),
      Frame1(new QGroupBox(QStringLiteral("Campi"), this)),
      Label1(new QLabel(Frame1)),
      Label5(new QLabel(QStringLiteral("Campo del database:"), Frame1)),
      Label6(new QLabel(Frame1)) {
  Frame1->setObjectName(QStringLiteral("Frame1"));
  PosizionaTwips(Frame1, 3480, 840, 5775, 4935);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PosizionaTwips(Label1, 240, 360, 5295, 495);
  Label5->setObjectName(QStringLiteral("Label5"));
  Label6->setObjectName(QStringLiteral("Label6"));
}

void PaginaMappa::AggiungiRiga(QWidget* contenitore, int i, const char* etichetta,
                               int sinistraElenco, int alto, int larghezza, int sinistraFreccia,
                               int sinistraCampo) {
  auto* elenco = new QComboBox(contenitore);
  elenco->setObjectName(QStringLiteral("cboCampo%1").arg(i));
  elenco->setEditable(false);
  elenco->setMaxVisibleItems(16);
  PosizionaTwips(elenco, sinistraElenco, alto, larghezza, 315);
  connect(elenco, &QComboBox::currentIndexChanged, this, [this, i] { cboCampo_Click(i); });
  cboCampo.push_back(elenco);
  elenchi_.emplace_back(elenco);

  auto* freccia = new QLabel(QStringLiteral(">"), contenitore);
  freccia->setObjectName(QStringLiteral("Label2_%1").arg(i));
  PosizionaTwips(freccia, sinistraFreccia, alto, 255, 255);
  Label2.push_back(freccia);

  auto* campo = new QLineEdit(QString::fromUtf8(etichetta), contenitore);
  campo->setObjectName(QStringLiteral("txtCampo%1").arg(i));
  campo->setReadOnly(true);
  campo->setFocusPolicy(Qt::NoFocus);
  PosizionaTwips(campo, sinistraCampo, alto, larghezza, 315);
  txtCampo.push_back(campo);
}

}  // namespace tarkpo::wizard
