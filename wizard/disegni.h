#pragma once
// The program's own pictures, drawn here so that nothing binary needs shipping.
#include <QIcon>
#include <QPixmap>

namespace tarkpo::wizard {

QPixmap ImmagineAvvio();     // 404 x 285: the start-up window's background
QPixmap ImmagineLogo();      // 132 x 73: the maker's logo
QPixmap ImmagineInfo();      // 32 x 32: the information button
QPixmap ImmagineTutorial();  // 65 x 17: the tutorial button
QIcon IconaProgramma();      // 16, 32 and 48 pixels

}  // namespace tarkpo::wizard
