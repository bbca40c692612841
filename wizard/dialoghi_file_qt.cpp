#include "wizard/dialoghi_file_qt.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

namespace tarkpo::wizard {

QString FiltroQt(const std::string& filtro) {
  const QStringList parti = QString::fromStdString(filtro).split(QLatin1Char('|'));
  QStringList filtri;
  for (qsizetype i = 0; i + 1 < parti.size(); i += 2) {
    QString descrizione = parti[i];
    // Qt reads the patterns from the parenthesis at the end; the description's own goes.
    descrizione.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
    QStringList modelli;
    for (const QString& m : parti[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      for (const QString& v : {m.trimmed(), m.trimmed().toUpper()}) {
        if (!modelli.contains(v)) modelli << v;
      }
    }
    filtri << descrizione + QStringLiteral(" (") + modelli.join(QLatin1Char(' ')) +
                  QLatin1Char(')');
  }
  return filtri.join(QStringLiteral(";;"));
}

namespace {

std::string Scegli(const std::string& titolo, const std::string& filtro,
                   const std::string& cartellaIniziale, bool salva,
                   const std::string& estensione = "") {
  QString t = QString::fromStdString(titolo);
  if (t.isEmpty()) t = salva ? QStringLiteral("Salva con nome") : QStringLiteral("Apri");
  QFileDialog dialogo(QApplication::activeWindow(), t);
  dialogo.setObjectName(salva ? QStringLiteral("FileDaSalvare") : QStringLiteral("FileDaAprire"));
  dialogo.setOption(QFileDialog::DontUseNativeDialog);
  dialogo.setAcceptMode(salva ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialogo.setFileMode(salva ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QString filtri = FiltroQt(filtro);
  if (!filtri.isEmpty()) dialogo.setNameFilters(filtri.split(QStringLiteral(";;")));
  // Qt adds it to a name with no "." and asks about overwriting the completed name.
  dialogo.setDefaultSuffix(QString::fromStdString(estensione));
  QString cartella = QString::fromStdString(cartellaIniziale);
  if (!cartella.isEmpty() && QDir(cartella).exists()) dialogo.setDirectory(cartella);
  if (dialogo.exec() != QDialog::Accepted) return {};
  const QStringList scelte = dialogo.selectedFiles();
  if (scelte.isEmpty()) return {};
  return QDir::cleanPath(scelte.front()).toStdString();
}

}  // namespace

std::string DialoghiFileQt::FileDaAprire(const std::string& titolo, const std::string& filtro,
                                         const std::string& cartellaIniziale) {
  return Scegli(titolo, filtro, cartellaIniziale, false);
}

std::string DialoghiFileQt::FileDaSalvare(const std::string& titolo, const std::string& filtro,
                                          const std::string& cartellaIniziale,
                                          const std::string& estensione) {
  return Scegli(titolo, filtro, cartellaIniziale, true, estensione);
}

}  // namespace tarkpo::wizard
