// The wizard tests need a QApplication; CTest runs them under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "wizard/traduzione_qt.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // As in the program, it sets the process locale from the environment before any test.
  QApplication app(argc, argv);
  // Tests close windows one by one; the application must outlive each of them.
  QApplication::setQuitOnLastWindowClosed(false);
  // As the program does at start-up, so that Qt's own dialogs show what users see.
  tarkpo::wizard::CaricaTraduzioneQt(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
