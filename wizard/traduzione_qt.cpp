#include "wizard/traduzione_qt.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace tarkpo::wizard {

bool CaricaTraduzioneQt(QCoreApplication& app) {
  auto* traduttore = new QTranslator(&app);
  // By name, not by the system locale: the program speaks Italian on any desktop.
  if (!traduttore->load(QStringLiteral("qtbase_it"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traduttore;
    return false;
  }
  return QCoreApplication::installTranslator(traduttore);
}

}  // namespace tarkpo::wizard
