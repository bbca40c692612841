// The wizard tests need a QApplication; CTest runs them under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "wizard/carattere.h"
#include "wizard/traduzione_qt.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // As in the program, it sets the process locale from the environment before any test.
  QApplication app(argc, argv);
  // The face the program draws in, so the tests measure the captions users see.
  if (!tarkpo::wizard::ImpostaAspettoProgramma()) {
    fprintf(stderr, "Liberation Sans not found: install fonts-liberation2\n");
    return 1;
  }
  // Tests close windows one by one; the application must outlive each of them.
  QApplication::setQuitOnLastWindowClosed(false);
  // As the program does at start-up, so that Qt's own dialogs show what users see.
  tarkpo::wizard::CaricaTraduzioneQt(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
