#include "wizard/frm_opzioni_db.h"

#include "wizard/chiusura.h"
#include "wizard/controlli.h"
#include "wizard/frm_main.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {

constexpr int kLarghezzaInterna = 4140;
constexpr int kAltezzaInterna = 3135;
// Outer height less inner height of a window with a fixed dialog border: its caption and
// its two edges.
constexpr int kBordoVerticale = 375;

QPushButton* Pulsante(QWidget* genitore, const char* nome, const char* testo, int alto) {
  auto* b = new QPushButton(QString::fromUtf8(testo), genitore);
  b->setObjectName(QString::fromLatin1(nome));
  b->setAutoDefault(false);
  PosizionaTwips(b, 2760, alto, 1215, 375);
  return b;
}

}  // namespace

frmOpzioniDb::frmOpzioniDb(Programma& programma) : Finestra(programma, kNome) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFont(CarattereFinestra(8));
  setFixedSize(Px(kLarghezzaInterna), Px(kAltezzaInterna));

  fraPwd = Riquadro(this, "fraPwd", QStringLiteral("Password"), 120, 120, 2415, 1575);
  Label1 = new QLabel(QStringLiteral("Digitare la password di accesso al database:"), fraPwd);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  PosizionaTwips(Label1, 240, 480, 1815, 495);
  txtPwd = new QLineEdit(fraPwd);
  txtPwd->setObjectName(QStringLiteral("txtPwd"));
  txtPwd->setEchoMode(QLineEdit::Password);
  txtPwd->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
  PosizionaTwips(txtPwd, 240, 960, 1815, 285);

  fraCampi = Riquadro(this, "fraCampi", QStringLiteral("Intestazioni"), 120, 120, 2415, 1335);
  chkIntestazione = new CasellaACapo(
      QString::fromUtf8("La prima riga è l'intestazione, e contiene i nomi dei campi"), fraCampi);
  chkIntestazione->setObjectName(QStringLiteral("chkIntestazione"));
  chkIntestazione->setChecked(true);
  PosizionaTwips(chkIntestazione, 240, 240, 2055, 855);

  fraDelim = Riquadro(this, "fraDelim", QStringLiteral("Delimitatore"), 120, 1560, 2415, 1215);
  Label2 = new QLabel(QStringLiteral("Delimitatore:"), fraDelim);
  Label2->setObjectName(QStringLiteral("Label2"));
  PosizionaTwips(Label2, 240, 480, 960, 255);  // the design's 855 is 5 pixels short
  cboDelim = new QComboBox(fraDelim);
  cboDelim->setObjectName(QStringLiteral("cboDelim"));
  cboDelim->addItems({QStringLiteral(";"), QStringLiteral(",")});
  PosizionaTwips(cboDelim, 1440, 480, 735, 315);

  cmdOK = Pulsante(this, "cmdOK", "OK", 240);
  cmdOK->setDefault(true);
  cmdAnnulla = Pulsante(this, "cmdAnnulla", "Annulla", 720);
  PulsantiTastiera(cmdOK, cmdAnnulla);
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdAnnulla, &QPushButton::clicked, this, [this] { cmdAnnulla_Click(); });
}

void frmOpzioniDb::Form_Load() {
  const DefinizioneImportazione& d = prog_.def;
  frmMain& origine = prog_.Form<frmMain>();
  setWindowIcon(origine.windowIcon());
  setWindowTitle(origine.cmdOpzioni->text());

  int altezzaEsterna = 0;
  if (d.gTipoDb == "Access 2000;") {
    fraPwd->show();
    fraCampi->hide();
    fraDelim->hide();
    altezzaEsterna = 2220;
  } else if (d.gTipoDb == "Excel 8.0;") {
    fraPwd->hide();
    fraCampi->show();
    fraDelim->hide();
    altezzaEsterna = 1950;
  } else if (d.gTipoDb == "Text;") {
    fraPwd->hide();
    fraCampi->show();
    fraDelim->show();
    altezzaEsterna = 3330;
  }
  if (altezzaEsterna > 0) setFixedSize(width(), Px(altezzaEsterna - kBordoVerticale));

  const std::string& opzioni = d.gOpzioniDb;
  if (auto pwd = opzioni.find("PWD="); pwd != std::string::npos) {
    const size_t inizio = pwd + 4;
    const size_t fine = opzioni.find(';', inizio);
    txtPwd->setText(QString::fromStdString(
        opzioni.substr(inizio, fine == std::string::npos ? std::string::npos : fine - inizio)));
  }
  if (opzioni.find("HDR=No") != std::string::npos) {
    chkIntestazione->setChecked(false);
  } else if (opzioni.find("HDR=Yes") != std::string::npos) {
    chkIntestazione->setChecked(true);
  }

  SeparatoreIniziale = d.gSeparatore;
  if (d.gSeparatore.empty()) {
    cboDelim->setCurrentIndex(0);
  } else if (d.gSeparatore == "1") {
    cboDelim->setCurrentIndex(1);
  } else {
    cboDelim->setCurrentIndex(-1);
  }
}

void frmOpzioniDb::cmdOK_Click() {
  DefinizioneImportazione& d = prog_.def;
  const std::string intestazione = chkIntestazione->isChecked() ? "HDR=Yes" : "HDR=No";
  if (d.gTipoDb == "Access 2000;") {
    d.gOpzioniDb = txtPwd->text().isEmpty() ? "" : "PWD=" + txtPwd->text().toStdString();
  } else if (d.gTipoDb == "Excel 8.0;") {
    d.gOpzioniDb = intestazione;
  } else if (d.gTipoDb == "Text;") {
    d.gOpzioniDb = intestazione;
    if (cboDelim->currentIndex() == 0) {
      d.gSeparatore.clear();
    } else if (cboDelim->currentIndex() == 1) {
      d.gSeparatore = "1";
    }
    if (d.gSeparatore != SeparatoreIniziale) {
      RiavviaApplicazione(prog_, "r");
      return;
    }
  }
  Scarica();
}

void frmOpzioniDb::cmdAnnulla_Click() { Scarica(); }

}  // namespace tarkpo::wizard
