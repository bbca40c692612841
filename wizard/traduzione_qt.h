#pragma once
// Qt's own texts (file dialogs, folder browser, standard buttons, context menus) in
// Italian, as every window of the program is, whatever the desktop's language.
#include <QCoreApplication>

namespace tarkpo::wizard {

// Installs Qt's Italian translation into `app`; false when the translation files are
// missing (Qt then speaks English).
bool CaricaTraduzioneQt(QCoreApplication& app);

}  // namespace tarkpo::wizard
