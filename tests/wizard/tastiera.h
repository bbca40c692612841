#pragma once
// Keys as a person presses them: the window is shown and active, and every key goes to the
// window system's focus window, which hands it to its focus widget, so focus moves, key
// filters and a widget's own handling all act as they do for the user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace tarkpo::test {

// Shows the window (already shown by the program, or shown here) and makes it active.
inline void Attiva(QWidget* finestra) {
  if (!finestra->isVisible()) finestra->show();
  finestra->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(finestra));
}

inline void Premi(QWidget* finestra, Qt::Key tasto, Qt::KeyboardModifiers mod = Qt::NoModifier) {
  QTest::keyClick(finestra->window()->windowHandle(), tasto, mod);
}

// Types the text key by key.
inline void Scrivi(QWidget* finestra, const char* testo) {
  for (const char* c = testo; *c != '\0'; ++c)
    QTest::keyClick(finestra->window()->windowHandle(), *c);
}

// Presses Tab until the focus is on `w`, as a user reaches a control without the mouse.
inline void TabFino(QWidget* finestra, QWidget* w) {
  for (int i = 0; i < 40 && QApplication::focusWidget() != w; ++i) Premi(finestra, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), w)
      << "Tab never reaches " << w->objectName().toStdString();
}

// One notch of the mouse wheel downwards over `w`, delivered to `w` itself: QtTest has no
// wheel, and this event never goes on to `w`'s containers as the window system's would.
inline void Rotella(QWidget* w) {
  const QPointF punto(w->width() / 2.0, w->height() / 2.0);
  QWheelEvent evento(punto, w->mapToGlobal(punto), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &evento);
}

}  // namespace tarkpo::test
