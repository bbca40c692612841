#include "wizard/frm_importa.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QStyleHints>
#include <cmath>

#include "core/file_definizione.h"
#include "engine/contesto.h"
#include "engine/importazione.h"
#include "wizard/chiusura.h"
#include "wizard/controlli_pagina.h"
#include "wizard/eventi_qt.h"
#include "wizard/frm_listini.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

void ProgressoQt::Etichetta(const std::string& testo) {
  // The engine labels every row; a label that did not change costs nothing.
  if (testo == testo_) return;
  testo_ = testo;
  etichetta_->setText(QString::fromStdString(testo));
}

void ProgressoQt::Valore(float valore) {
  valore_ = valore;
  Aggiorna();
}

void ProgressoQt::Massimo(float massimo) {
  massimo_ = massimo;
  Aggiorna();
}

void ProgressoQt::Aggiorna() {
  // The bar counts in whole steps; a value beyond the maximum shows a full bar.
  const int massimo = static_cast<int>(std::lround(std::max(massimo_, 0.0f)));
  const int valore =
      static_cast<int>(std::lround(std::clamp(valore_, 0.0f, massimo_ > 0 ? massimo_ : 0.0f)));
  if (barra_->maximum() != massimo) barra_->setMaximum(massimo);
  if (barra_->value() != valore) barra_->setValue(valore);
}

namespace {

QWidget* FraStep(QWidget* genitore, int i, int alto, int altezza) {
  auto* f = new QWidget(genitore);
  f->setObjectName(QStringLiteral("fraStep%1").arg(i));
  PosizionaTwips(f, 3480, alto, 5775, altezza);
  f->hide();
  return f;
}

QPushButton* PulsanteRiga(QWidget* genitore, const char* nome, const char* testo, int sinistra) {
  auto* b = new QPushButton(QString::fromUtf8(testo), genitore);
  b->setObjectName(QString::fromLatin1(nome));
  b->setAutoDefault(false);
  PosizionaTwips(b, sinistra, 6150, 1575, 375);
  b->hide();
  return b;
}

}  // namespace

frmImporta::frmImporta(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {11, "Importazione dati", 0, {0, 1, 2}, true, "Importa", false}),
      progresso(nullptr, nullptr),
      eventi(std::make_unique<EventiQt>()) {
  fraOpzioni = Riquadro(this, "fraOpzioni", "            ", 3480, 840, 5775, 1935);
  Label1 = Etichetta(fraOpzioni, "Label1", "Opzioni", 120, 0, 1215, 255);
  QFont grassetto = Label1->font();
  grassetto.setBold(true);
  Label1->setFont(grassetto);
  Label5 = Etichetta(fraOpzioni, "Label5",
                     "Se alcuni reparti o articoli del database esterno sono già presenti "
                     "nel negozio:",
                     240, 360, 5415, 495);
  auto* gruppo = new QButtonGroup(this);
  const char* testi[] = {"Sovrascrivere i dati esistenti",
                         "Ignorare (non importare) i dati esterni", ""};
  for (int i = 0; i < 3; ++i) {
    // (2) lies below the frame's visible area.
    optSovrascrivi[i] = NuovaOpzione(fraOpzioni, QStringLiteral("optSovrascrivi%1").arg(i),
                                     testi[i], 480, 960 + i * 390, 4935, 285);
    gruppo->addButton(optSovrascrivi[i], i);
  }
  optSovrascrivi[2]->setEnabled(false);
  optSovrascrivi[2]->setChecked(true);
  optSovrascrivi[2]->move(optSovrascrivi[2]->x(), fraOpzioni->height() + Px(240));

  fraStep[0] = FraStep(this, 0, 2880, 900);
  lblMsg[3] = Etichetta(fraStep[0], "lblMsg3",
                        "Sono stati raccolti tutti i dati necessari per effettuare "
                        "l'importazione.",
                        240, 60, 5415, 375);
  lblMsg[2] = Etichetta(fraStep[0], "lblMsg2",
                        "Premere il tasto \"Importa\" per iniziare la procedura di "
                        "importazione dei dati.",
                        240, 480, 5415, 390);
  fraStep[1] = FraStep(this, 1, 3840, 900);
  lblImp = Etichetta(fraStep[1], "lblImp", "", 240, 60, 5295, 375);
  lblImp->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblImp->setWordWrap(false);
  barImp = new QProgressBar(fraStep[1]);
  barImp->setObjectName(QStringLiteral("barImp"));
  barImp->setTextVisible(false);
  barImp->setRange(0, 100);
  barImp->setValue(0);
  PosizionaTwips(barImp, 240, 480, 5295, 255);
  fraStep[2] = FraStep(this, 2, 4800, 1125);
  lblMsg[0] = Etichetta(fraStep[2], "lblMsg0", "La procedura di importazione è terminata.", 240, 60,
                        5415, 255);
  lblMsg[4] = Etichetta(fraStep[2], "lblMsg4", "Premere il tasto \"Fine\" per uscire dal Wizard.",
                        240, 360, 5415, 255);
  lblSave[1] = Etichetta(fraStep[2], "lblSave1",
                         "Premere il tasto \"Salva importazione\" per memorizzare questa "
                         "importazione.",
                         240, 660, 5415, 435);
  lblSave[1]->hide();
  progresso = ProgressoQt(lblImp, barImp);

  ImpostaHelp(0, QString::fromUtf8("I dati presenti nel database esterno potrebbero avere già "
                                   "dei corrispondenti nel negozio: ad esempio, potrebbero "
                                   "essere già presenti alcuni reparti o articoli."));
  ImpostaHelp(1, QString::fromUtf8(
                     "I reparti si considerano corrispondenti se hanno lo stesso codice oppure, "
                     "in assenza del codice, lo stesso titolo. Gli articoli si considerano "
                     "corrispondenti se hanno lo stesso codice."));
  ImpostaHelp(2, QString::fromUtf8("E' quindi necessario indicare la procedura da seguire in "
                                   "questo caso: sovrascrivere i dati esistenti oppure ignorare "
                                   "i dati esterni."));
  lblHelpImp = Etichetta(Picture1, "lblHelpImp",
                         "Premere il tasto \"Importa\" per effettuare l'importazione dei "
                         "dati.",
                         0, 0, 2655, 255);
  lblHelpImp->hide();
  lblSave[0] = Etichetta(Picture1, "lblSave0",
                         "Premere il tasto \"Salva importazione\" per memorizzare questa "
                         "importazione.",
                         0, 0, 2655, 255);
  lblSave[0]->hide();
  OrdineHelp({lblHelp[0], lblHelp[1], lblHelp[2], lblHelpImp, lblSave[0]});

  cmdFine = PulsanteRiga(this, "cmdFine", "Fine", 7680);
  cmdSave = PulsanteRiga(this, "cmdSave", "Salva importazione", 6000);
  lstBackup = new QListWidget(this);
  lstBackup->setObjectName(QStringLiteral("lstBackup"));
  lstBackup->setSortingEnabled(true);
  lstBackup->hide();
  picImg = new QWidget(this);
  picImg->setObjectName(QStringLiteral("picImg"));
  picImg->hide();

  for (QRadioButton* opzione : optSovrascrivi) {
    connect(opzione, &QRadioButton::toggled, this, [this](bool scelta) {
      if (scelta) optSovrascrivi_Click();
    });
  }
  cmdImport->installEventFilter(this);
  connect(cmdFine, &QPushButton::clicked, this, [this] { cmdFine_Click(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
}

std::vector<QWidget*> frmImporta::PulsantiRiga() {
  return {cmdBack, cmdImport, cmdFine, cmdInfo, cmdSave};
}

void frmImporta::Pagina_Load() {
  const int16_t scelta = prog_.def.gSovrascrivi;
  if (scelta == 1 || scelta == 2) optSovrascrivi[scelta - 1]->setChecked(true);
}

bool frmImporta::eventFilter(QObject* oggetto, QEvent* evento) {
  // "Importa" stands where the page before had "Avanti >": the second press of a double-click
  // begun there, delivered as such or only within the interval of a double-click from the
  // page's showing, is no press of "Importa". The keyboard does not come here.
  if (oggetto == cmdImport) {
    const QEvent::Type tipo = evento->type();
    if (tipo == QEvent::Show) mostrata_ = prog_.orologio();
    if (tipo == QEvent::MouseButtonDblClick) return true;
    const std::chrono::milliseconds intervallo(
        QGuiApplication::styleHints()->mouseDoubleClickInterval());
    if (tipo == QEvent::MouseButtonPress && prog_.orologio() - mostrata_ < intervallo) return true;
  }
  return PaginaWizard::eventFilter(oggetto, evento);
}

void frmImporta::optSovrascrivi_Click() {
  const bool pronto = optSovrascrivi[0]->isChecked() || optSovrascrivi[1]->isChecked();
  cmdImport->setEnabled(pronto);
  if (optSovrascrivi[0]->isChecked()) prog_.def.gSovrascrivi = 1;
  if (optSovrascrivi[1]->isChecked()) prog_.def.gSovrascrivi = 2;
  if (pronto) {
    fraStep[0]->show();
    lblHelpImp->show();
    DisponiHelp();
  }
}

void frmImporta::cmdImport_Click() {
  cmdImport->setEnabled(false);
  fraOpzioni->setEnabled(false);
  fraStep[0]->hide();
  lblHelpImp->hide();
  fraStep[1]->show();
  DisponiHelp();
  // The backup copy takes no events: the run counts from here, the page cannot be left.
  cmdBack->setEnabled(false);
  importazioneInCorso_ = true;

  prog_.statoMotore.gDb = prog_.gDb;
  motore::Contesto contesto{prog_.def,      prog_.statoMotore, prog_.statoImportazione,
                            prog_.messaggi, progresso,         *eventi,
                            imgImg};
  const motore::EsitoImportazione esito =
      motore::EseguiImportazione(contesto, prog_.motore.Workspaces(0), prog_.cartellaProgramma);
  if (esito.riuscita) {
    cmdBack->hide();
    lblSave[0]->show();
    lblSave[1]->show();
    cmdSave->show();
  }

  fraStep[1]->hide();
  fraStep[2]->show();
  cmdImport->hide();
  cmdFine->show();
  cmdBack->setEnabled(false);
  importazioneInCorso_ = false;
  DisponiHelp();
  // The focused "Importa" is gone: Enter now saves the definition, or ends the wizard.
  (esito.riuscita ? cmdSave : cmdFine)->setFocus(Qt::OtherFocusReason);
}

void frmImporta::cmdSave_Click() {
  // A name typed without an extension is saved as a .kpo, which the start page lists.
  const std::string file =
      prog_.dialoghi.FileDaSalvare("", "Configurazione importazione (*.kpo)|*.kpo", "", "kpo");
  if (file.empty()) return;
  if (!SalvaImportazione(prog_.def, file, prog_.messaggi)) return;
  prog_.messaggi.Mostra("Importazione salvata in " + file, Icona::Informazione);
}

void frmImporta::cmdFine_Click() { ChiudiApplicazione(prog_); }

void frmImporta::cmdBack_Click() {
  prog_.Form<frmListini>().Mostra();
  Scarica();
}

void frmImporta::Form_QueryUnload(ModoScarica modo, bool& annulla) {
  if (modo != ModoScarica::Utente) return;
  if (importazioneInCorso_ &&
      prog_.messaggi.Mostra("E' in corso l'importazione del database:\n"
                            "si desidera chiudere comunque il programma?",
                            Icona::Domanda, Pulsanti::SiNo) != Risposta::Si) {
    annulla = true;
    return;
  }
  ChiudiApplicazione(prog_);
}

}  // namespace tarkpo::wizard
