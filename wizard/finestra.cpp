#include "wizard/finestra.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

#include "wizard/programma.h"

namespace tarkpo::wizard {

Finestra::Finestra(Programma& programma, std::string nome)
    : QWidget(nullptr), prog_(programma), nome_(std::move(nome)) {
  setObjectName(QString::fromStdString(nome_));
}

Finestra::~Finestra() = default;

void Finestra::Mostra() {
  if (scaricata_) return;
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

bool Finestra::event(QEvent* evento) {
  if (evento->type() == QEvent::WindowActivate && !scaricata_) Form_Activate();
  return QWidget::event(evento);
}

}  // namespace tarkpo::wizard
