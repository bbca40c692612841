#include "wizard/pagina_mappa.h"

#include <algorithm>

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

int PaginaMappa::IndiceRiga(const QWidget* w) const {
  const auto it = std::find(cboCampo.begin(), cboCampo.end(), w);
  return it == cboCampo.end() ? -1 : static_cast<int>(it - cboCampo.begin());
}

bool PaginaMappa::focusNextPrevChild(bool avanti) {
  // Qt passes over the lists of rows out of sight, which are disabled: the page finds the
  // next stop itself, and when it is a row, brings the row in sight, which enables its list.
  // A focused list disabled by a scroll is no Tab: Qt moves its focus as usual.
  QWidget* attuale = focusWidget();
  if (attuale == nullptr || !attuale->isEnabled()) return PaginaWizard::focusNextPrevChild(avanti);
  auto passo = [avanti](QWidget* w) {
    return avanti ? w->nextInFocusChain() : w->previousInFocusChain();
  };
  for (QWidget* w = passo(attuale); w != attuale; w = passo(w)) {
    if (const int riga = IndiceRiga(w); riga >= 0) {
      MostraRiga(riga);
      w->setFocus(avanti ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
    const bool fermata = w->window() == this && (w->focusPolicy() & Qt::TabFocus) != 0 &&
                         w->isEnabled() && w->isVisibleTo(this);
    if (fermata) break;
  }
  return PaginaWizard::focusNextPrevChild(avanti);
}

}  // namespace tarkpo::wizard
