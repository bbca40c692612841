#pragma once
// Keys and clicks as a person makes them: the window is shown and active, and every key goes
// to the window system's focus window, which hands it to its focus widget, so focus moves, key
// filters and a widget's own handling all act as they do for the user; the mouse goes to the
// window under it, which finds the widget, and makes double-clicks as the window system does.
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

// The left button pressed or released over the middle of `w`, as the window system reports it
// at time `ms`: two presses close enough in time and place make a double-click, whatever
// window each lands in.
inline void PulsanteSinistro(QWidget* w, QEvent::Type tipo, ulong ms) {
  QWindow* finestra = w->window()->windowHandle();
  const QPointF punto = w->mapTo(w->window(), w->rect().center());
  const bool premuto = tipo == QEvent::MouseButtonPress;
  qt_handleMouseEvent(finestra, punto, finestra->mapToGlobal(punto),
                      premuto ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, tipo, Qt::NoModifier,
                      static_cast<int>(ms));
  QApplication::processEvents();
}

// A click on `w` that makes no double-click with any other.
inline void Clicca(QWidget* w) {
  QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    w->mapTo(w->window(), w->rect().center()));
}

// A double-click in two halves: the first click on `w`, then, 100 ms after its press, the
// second on `w2`, which may lie in a window that the first click opened.
inline void PrimaMetaDoppioClic(QWidget* w) {
  QTest::lastMouseTimestamp += 1000;
  const auto t = static_cast<ulong>(QTest::lastMouseTimestamp);
  PulsanteSinistro(w, QEvent::MouseButtonPress, t);
  PulsanteSinistro(w, QEvent::MouseButtonRelease, t + 50);
}
inline void SecondaMetaDoppioClic(QWidget* w2) {
  const auto t = static_cast<ulong>(QTest::lastMouseTimestamp);
  PulsanteSinistro(w2, QEvent::MouseButtonPress, t + 100);
  PulsanteSinistro(w2, QEvent::MouseButtonRelease, t + 150);
  // Whatever QtTest sends next makes no double-click with these.
  QTest::lastMouseTimestamp += 150 + QTest::mouseDoubleClickInterval;
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
