#include "wizard/carattere.h"

#include <QApplication>
#include <QFontDatabase>

#include "wizard/geometria.h"

namespace tarkpo::wizard {

namespace {

// Where Debian's fonts-liberation2 puts the face.
constexpr const char* kCartellaLiberation = "/usr/share/fonts/truetype/liberation2/";

}  // namespace

bool ImpostaAspettoProgramma() {
  const QString famiglia = QString::fromLatin1(kFamigliaCaratteri);
  if (!QFontDatabase::hasFamily(famiglia)) {
    for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                             "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"}) {
      QFontDatabase::addApplicationFont(QString::fromLatin1(kCartellaLiberation) +
                                        QString::fromLatin1(file));
    }
  }
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setFont(CarattereFinestra(8));
  return QFontDatabase::hasFamily(famiglia);
}

}  // namespace tarkpo::wizard
