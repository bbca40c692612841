#pragma once
// A fresh program for each test: its own folder and settings store, scripted message
// boxes, a shell and file dialogs that record instead of acting, and an ending that is only
// recorded.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/impostazioni.h"
#include "core/shell.h"
#include "support/cartella_temp.h"
#include "support/dialoghi_finti.h"
#include "support/messaggi_script.h"
#include "support/shell_finta.h"
#include "wizard/programma.h"

namespace tarkpo::test {

struct Ambiente {
  Ambiente() { std::filesystem::create_directories(cartellaProgramma); }

  // `veri`: the file dialogs on the screen in place of the recording ones.
  wizard::Programma& Crea(const std::string& rigaComando = "",
                          wizard::IDialoghiFile* veri = nullptr) {
    prog = std::make_unique<wizard::Programma>(
        messaggi, shell, veri != nullptr ? *veri : dialoghi, registro,
        [this](int stato) { fini.push_back(stato); }, cartellaProgramma, rigaComando);
    return *prog;
  }

  CartellaTemp cartella;
  std::string cartellaProgramma = cartella / "programma";
  MessaggiScript messaggi;
  ShellFinto shell;
  DialoghiFinti dialoghi;
  Registro registro{cartella / "utente", cartella / "macchina"};
  std::vector<int> fini;  // the process endings asked for, with their status
  std::unique_ptr<wizard::Programma> prog;
};

inline void Clic(QWidget* w) {
  QPointF punto(5, 5);
  QMouseEvent evento(QEvent::MouseButtonPress, punto, w->mapToGlobal(punto), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &evento);
}

inline void Tasto(QWidget* w, int tasto = Qt::Key_A) {
  QKeyEvent evento(QEvent::KeyPress, tasto, Qt::NoModifier);
  QApplication::sendEvent(w, &evento);
}

// While it lives: runs `azione` once the event loop of a modal window turns, and `riparo`
// `msRiparo` later to close whatever the action failed to close, so a fault fails the test
// instead of hanging it.
class DuranteModale {
 public:
  DuranteModale(std::function<void()> azione, std::function<void()> riparo, int msRiparo = 1000) {
    azione_.setSingleShot(true);
    riparo_.setSingleShot(true);
    QObject::connect(&azione_, &QTimer::timeout, std::move(azione));
    QObject::connect(&riparo_, &QTimer::timeout, std::move(riparo));
    azione_.start(0);
    riparo_.start(msRiparo);
  }

 private:
  QTimer azione_;
  QTimer riparo_;
};

}  // namespace tarkpo::test
