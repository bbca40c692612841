#include "wizard/frm_about.h"

#include <qdrawutil.h>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStringList>

#include "core/file_definizione.h"
#include "core/impostazioni.h"
#include "core/impostazioni_programma.h"
#include "core/programma.h"
#include "core/shell.h"
#include "wizard/chiusura.h"
#include "wizard/disegni.h"
#include "wizard/frm_main.h"
#include "wizard/frm_start.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {

constexpr const char* kChiaveTestoSet0 =
    "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set0\\Jet\\4.0\\Engines\\Text";
constexpr const char* kChiaveTestoSet1 =
    "Software\\VB and VBA Program Settings\\Tarvelin KPO\\set1\\Jet\\4.0\\Engines\\Text";
constexpr const char* kChiaveExcelMacchina = "Software\\Microsoft\\Jet\\4.0\\Engines\\Excel";
constexpr const char* kChiaveTestoMacchina = "Software\\Microsoft\\Jet\\4.0\\Engines\\Text";

}  // namespace

QString TestoVersione(const std::string& versione) {
  QStringList parti = QString::fromStdString(versione).split(QLatin1Char('.'));
  QStringList numeri;
  for (int i = 0; i < 3; ++i) {
    numeri << QString::number(i < parti.size() ? parti[i].toLongLong() : 0);
  }
  return QStringLiteral("Versione ") + numeri.join(QLatin1Char('.'));
}

frmAbout::frmAbout(Programma& programma) : Finestra(programma, kNome), sfondo_(ImmagineAvvio()) {
  // No caption and no control box, kept out of the taskbar; the window draws its own thin
  // fixed dialog border around the inner area.
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  setFixedSize(Px(6060) + 2 * kBordo, Px(4275) + 2 * kBordo);
  setFocusPolicy(Qt::StrongFocus);
  setFont(CarattereFinestra(8));
  // A place in twips within the inner area.
  auto posiziona = [](QWidget* w, int sinistra, int alto, int larghezza, int altezza) {
    w->setGeometry(RettangoloTwips(sinistra, alto, larghezza, altezza).translated(kBordo, kBordo));
  };

  imgLogo[0] = new QLabel(this);
  imgLogo[0]->setObjectName(QStringLiteral("imgLogo0"));
  imgLogo[0]->setPixmap(ImmagineLogo());
  posiziona(imgLogo[0], 0, 0, 1980, 1095);
  imgLogo[0]->installEventFilter(this);

  lblVersione = new QLabel(this);
  lblVersione->setObjectName(QStringLiteral("lblVersione"));
  lblVersione->setAttribute(Qt::WA_TransparentForMouseEvents);
  posiziona(lblVersione, 120, 4275 - 120 - 285, 3000, 285);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(5000);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

  if (QScreen* schermo = QGuiApplication::primaryScreen()) {
    move(schermo->availableGeometry().center() - rect().center());
  }
}

void frmAbout::Form_Load() {
  lblVersione->setText(TestoVersione(kVersione));
  if (prog_.stato.gWizardAvviato) {
    Timer1->start();
    return;
  }
  SequenzaAvvio();
}

void frmAbout::SequenzaAvvio() {
  DefinizioneImportazione& d = prog_.def;
  Registro& registro = prog_.registro;
  SaveSetting(registro, kApplicazione, "set0\\Jet\\4.0\\Engines\\Text", "Format", "Delimited(;)");
  if (GetSetting(registro, kApplicazione, "AppIni", "ModJetReg", "") != "0") {
    ImpostaValoreRegistro(registro, HKEY_CURRENT_USER, kChiaveTestoSet0, "MaxScanRows", 0);
    ImpostaValoreRegistro(registro, HKEY_CURRENT_USER, kChiaveTestoSet1, "MaxScanRows", 0);
    ImpostaValoreRegistro(registro, HKEY_LOCAL_MACHINE, kChiaveExcelMacchina, "TypeGuessRows", 0);
    ImpostaValoreRegistro(registro, HKEY_LOCAL_MACHINE, kChiaveTestoMacchina, "MaxScanRows", 0);
  }

  const std::string& riga = prog_.rigaComando;
  if (riga == "r" || riga == "i") {
    CaricaStatoTemp(d, prog_.cartellaProgramma);
    if (d.gSeparatore.empty()) {
      prog_.motore.IniPath = kIniPathSet0;
    } else if (d.gSeparatore == "1") {
      prog_.motore.IniPath = kIniPathSet1;
    }
    if (riga == "r" || !MostraImportazione(prog_)) prog_.Form<frmMain>().Mostra();
    prog_.stato.gWizardAvviato = true;
    Scarica();
  } else {
    prog_.motore.IniPath = kIniPathSet0;
    d.gGiacenzaMinima = -1;
    d.gImpRep = 1;
    d.gImpArt = 1;
    d.gPreserva = 1;
    Timer1->start();
  }
  d.gListini[0] = 1;
}

void frmAbout::Timer1_Timer() {
  Timer1->stop();
  if (!prog_.stato.gWizardAvviato) prog_.Form<frmStart>().Mostra();
  Scarica();
}

void frmAbout::EsciDaAbout() {
  if (prog_.stato.gWizardAvviato) Scarica();
}

void frmAbout::mousePressEvent(QMouseEvent* /*evento*/) { EsciDaAbout(); }

void frmAbout::keyPressEvent(QKeyEvent* /*evento*/) { EsciDaAbout(); }

bool frmAbout::eventFilter(QObject* oggetto, QEvent* evento) {
  if (oggetto == imgLogo[0] && evento->type() == QEvent::MouseButtonPress) {
    EsciDaAbout();
    return true;
  }
  return Finestra::eventFilter(oggetto, evento);
}

void frmAbout::paintEvent(QPaintEvent* /*evento*/) {
  QPainter g(this);
  g.drawPixmap(kBordo, kBordo, sfondo_);
  // The dialog frame: a raised edge of two lines, then one of the face colour.
  qDrawWinPanel(&g, rect(), palette(), false);
  g.setPen(palette().color(QPalette::Button));
  g.drawRect(rect().adjusted(2, 2, -3, -3));
}

}  // namespace tarkpo::wizard
