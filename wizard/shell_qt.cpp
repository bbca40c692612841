#include "wizard/shell_qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QUrl>

namespace tarkpo::wizard {

std::string ShellQt::ScegliCartella(const std::string& titolo, const std::string& iniziale) {
  QFileDialog dialogo(QApplication::activeWindow(), QString::fromStdString(titolo));
  dialogo.setObjectName(QStringLiteral("SfogliaCartella"));
  // Qt's own dialog, so that only file-system folders can be confirmed on every desktop.
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setOption(QFileDialog::ShowDirsOnly);
  dialogo.setFileMode(QFileDialog::Directory);
  dialogo.setAcceptMode(QFileDialog::AcceptOpen);
  QString cartella = QString::fromStdString(iniziale);
  if (!cartella.isEmpty() && QDir(cartella).exists()) dialogo.setDirectory(cartella);
  if (dialogo.exec() != QDialog::Accepted) return {};
  QStringList scelte = dialogo.selectedFiles();
  if (scelte.isEmpty()) return {};
  return QDir::cleanPath(scelte.front()).toStdString();
}

bool ShellQt::ApriFile(const std::string& percorso) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(percorso)));
}

bool ShellQt::AvviaProgramma(const std::string& programma,
                             const std::vector<std::string>& argomenti,
                             const std::string& cartellaLavoro) {
  QStringList arg;
  for (const auto& a : argomenti) arg << QString::fromStdString(a);
  return QProcess::startDetached(QString::fromStdString(programma), arg,
                                 QString::fromStdString(cartellaLavoro));
}

}  // namespace tarkpo::wizard
