#include "wizard/finestra.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>

#include "wizard/gruppi_opzioni.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

Finestra::Finestra(Programma& programma, std::string nome)
    : QWidget(nullptr), prog_(programma), nome_(std::move(nome)) {
  setObjectName(QString::fromStdString(nome_));
}

Finestra::~Finestra() = default;

void Finestra::Mostra() {
  if (scaricata_) return;
  PrimaDiMostrare();
  show();
  raise();
  activateWindow();
}

void Finestra::MostraModale(QWidget* proprietario) {
  if (scaricata_) return;
  if (proprietario != nullptr) {
    QRect r = proprietario->window()->geometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  setWindowModality(Qt::ApplicationModal);
  QPointer<Finestra> questa(this);
  QEventLoop ciclo;
  connect(this, &Finestra::Chiusa, &ciclo, &QEventLoop::quit);
  Mostra();
  if (questa && !questa->scaricata_) ciclo.exec();
}

void Finestra::Scarica() {
  if (scaricata_ || inChiusura_) return;
  daCodice_ = true;
  close();
}

void Finestra::closeEvent(QCloseEvent* evento) {
  if (scaricata_) return;
  inChiusura_ = true;
  bool annulla = false;
  Form_QueryUnload(daCodice_ ? ModoScarica::Codice : ModoScarica::Utente, annulla);
  inChiusura_ = false;
  daCodice_ = false;
  if (annulla) {
    evento->ignore();
    return;
  }
  evento->accept();
  scaricata_ = true;
  prog_.Dimentica(this);
  emit Chiusa();
  // The window may be deep in its own handler: Qt deletes it once control returns.
  deleteLater();
}

void Finestra::PulsantiTastiera(QPushButton* predefinito, QPushButton* annulla) {
  predefinito_ = predefinito;
  annulla_ = annulla;
}

// As in the dialogs the catalogue's users know: Enter presses the focused button, or else
// the default one; Esc the cancel button. Widgets that use these keys themselves (an open
// list, say) accept them and they never get here.
void Finestra::keyPressEvent(QKeyEvent* evento) {
  const bool invio = (evento->key() == Qt::Key_Return && evento->modifiers() == Qt::NoModifier) ||
                     (evento->key() == Qt::Key_Enter &&
                      (evento->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier);
  const bool esc = evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier;
  QPushButton* pulsante = nullptr;
  if (invio) {
    pulsante = qobject_cast<QPushButton*>(focusWidget());
    if (pulsante == nullptr) pulsante = predefinito_;
  } else if (esc) {
    pulsante = annulla_;
  }
  if (pulsante != nullptr && pulsante->window() == this && pulsante->isVisible() &&
      pulsante->isEnabled()) {
    evento->accept();
    pulsante->click();
    return;
  }
  QWidget::keyPressEvent(evento);
}

bool Finestra::event(QEvent* evento) {
  if (evento->type() == QEvent::WindowActivate && !scaricata_) Form_Activate();
  if (evento->type() == QEvent::Show) PreparaControlli();
  return QWidget::event(evento);
}

void Finestra::PreparaControlli() {
  for (auto* pulsante : findChildren<QAbstractButton*>()) pulsante->installEventFilter(this);
  for (auto* elenco : findChildren<QComboBox*>()) {
    // Only a list the user has put the focus on follows the wheel: Qt would give it the focus
    // and turn it as the pointer passes over it.
    elenco->setFocusPolicy(Qt::StrongFocus);
    elenco->installEventFilter(this);
  }
}

bool Finestra::eventFilter(QObject* oggetto, QEvent* evento) {
  if (evento->type() == QEvent::KeyPress) {
    auto* opzione = qobject_cast<QAbstractButton*>(oggetto);
    if (opzione != nullptr && FrecciaInGruppo(opzione, *static_cast<QKeyEvent*>(evento)))
      return true;
  } else if (evento->type() == QEvent::Wheel) {
    auto* elenco = qobject_cast<QComboBox*>(oggetto);
    if (elenco != nullptr && !elenco->hasFocus()) {
      // Ignored, the wheel goes on to the list's containers.
      evento->ignore();
      return true;
    }
  }
  return QWidget::eventFilter(oggetto, evento);
}

bool Finestra::focusNextPrevChild(bool avanti) {
  FermateGruppi(this);
  return QWidget::focusNextPrevChild(avanti);
}

}  // namespace tarkpo::wizard
