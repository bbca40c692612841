#include "wizard/applicazione.h"

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>

#include "core/impostazioni.h"
#include "core/programma.h"
#include "wizard/carattere.h"
#include "wizard/dialoghi_file_qt.h"
#include "wizard/disegni.h"
#include "wizard/frm_about.h"
#include "wizard/messaggi_qt.h"
#include "wizard/pagine_origine.h"
#include "wizard/programma.h"
#include "wizard/shell_qt.h"
#include "wizard/traduzione_qt.h"

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

// The whole argument text, as one line.
std::string RigaComando(int argc, char** argv) {
  std::string riga;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) riga += ' ';
    riga += argv[i];
  }
  return riga;
}

// Ends at once: no window, destructor or pending transaction gets another say.
[[noreturn]] void TerminaProcesso(int stato) {
  std::fflush(nullptr);
  _exit(stato);
}

}  // namespace

void AvviaFinestre(Programma& prog) {
  prog.Form<frmAbout>();
  if (auto* avvio = prog.Caricata<frmAbout>()) avvio->Mostra();
}

int EseguiApplicazione(int argc, char** argv) {
  std::string riga = RigaComando(argc, argv);
  QApplication app(argc, argv);
  ImpostaAspettoProgramma();
  app.setWindowIcon(IconaProgramma());
  CaricaTraduzioneQt(app);
  InstallaFineSuSegnale(app);
  MessaggiQt messaggi;
  ShellQt shell;
  DialoghiFileQt dialoghi;
  Registro registro = Registro::DaAmbiente();
  Programma prog(messaggi, shell, dialoghi, registro, TerminaProcesso, CartellaProgramma(), riga);
  PagineOrigine pagine(prog);
  CollegaPagineOrigine(prog, pagine);
  AvviaFinestre(prog);
  return app.exec();
}

}  // namespace tarkpo::wizard
