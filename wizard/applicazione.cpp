#include "wizard/applicazione.h"

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>

#include "core/programma.h"

namespace tarkpo::wizard {

namespace {

int gPipeTermina[2] = {-1, -1};

void SuSegnaleTermina(int) {
  char c = 1;
  [[maybe_unused]] ssize_t n = write(gPipeTermina[1], &c, 1);
}

// SIGTERM and SIGINT end the message loop, so the program leaves as if closed.
void InstallaFineSuSegnale(QApplication& app) {
  if (pipe(gPipeTermina) != 0) return;
  auto* notifica = new QSocketNotifier(gPipeTermina[0], QSocketNotifier::Read, &app);
  QObject::connect(notifica, &QSocketNotifier::activated, &app, [] { QApplication::quit(); });
  struct sigaction sa {};
  sa.sa_handler = SuSegnaleTermina;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

}  // namespace

int EseguiApplicazione(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallaFineSuSegnale(app);
  QLabel finestra(QString("tarkpo %1").arg(kVersione));
  finestra.setWindowTitle("vantrel - Importazione database");
  finestra.show();
  return app.exec();
}

}  // namespace tarkpo::wizard
