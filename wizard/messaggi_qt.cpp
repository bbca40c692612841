#include "wizard/messaggi_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace tarkpo::wizard {

namespace {

QMessageBox::Icon IconaQt(Icona icona) {
  switch (icona) {
    case Icona::Esclamazione:
      return QMessageBox::Warning;
    case Icona::Informazione:
      return QMessageBox::Information;
    case Icona::Domanda:
      return QMessageBox::Question;
    case Icona::Nessuna:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Risposta MessaggiQt::Mostra(const std::string& testo, Icona icona, Pulsanti pulsanti) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QString());
  box.setIcon(IconaQt(icona));
  box.setText(QString::fromStdString(testo));
  box.setTextFormat(Qt::PlainText);
  if (pulsanti == Pulsanti::Ok) {
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return Risposta::Ok;
  }
  QPushButton* si = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
  box.setDefaultButton(no);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == si ? Risposta::Si : Risposta::No;
}

}  // namespace tarkpo::wizard
