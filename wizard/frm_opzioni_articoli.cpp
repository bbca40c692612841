#include "wizard/frm_opzioni_articoli.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QWheelEvent>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "core/mappa_campi.h"
#include "core/regionali.h"
#include "wizard/controlli_pagina.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_rimuovi_articoli.h"
#include "wizard/geometria.h"
#include "wizard/navigazione.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {

constexpr int kBackspace = 8;

// The leading number of a text read with "." as the only decimal separator: blanks, a sign,
// digits, a decimal part and an exponent; reading stops at the first character that does
// not fit, and a text without digits gives 0.
double NumeroIniziale(const std::string& testo) {
  size_t i = testo.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  bool negativo = false;
  if (testo[i] == '+' || testo[i] == '-') negativo = testo[i++] == '-';
  double valore = 0;
  if (i < testo.size() && (std::isdigit(static_cast<unsigned char>(testo[i])) || testo[i] == '.'))
    std::from_chars(testo.data() + i, testo.data() + testo.size(), valore);
  return negativo ? -valore : valore;
}

// The character a key press types, or -1 for a key that types none. Tab, Enter, Esc, the
// arrows, Delete and the like type none: they move the focus or the cursor, or belong to the
// window, and reach no key filter on the desktop the catalogue's users know. A key held
// with Ctrl types a control character (the clipboard keys among them), which the filters
// swallow like any other they do not allow.
int CarattereDigitato(const QKeyEvent& evento) {
  const int tasto = evento.key();
  if (tasto >= Qt::Key_Escape && tasto < Qt::Key_unknown && tasto != Qt::Key_Backspace) return -1;
  if (evento.modifiers() & Qt::ControlModifier) return 0;
  if (tasto == Qt::Key_Backspace) return kBackspace;
  const QString t = evento.text();
  if (t.size() != 1) return -1;
  return t.at(0).unicode();
}

// The value a text of the variation box stands for, read as storing it reads it; none for a
// text that is no number.
std::optional<double> ValoreVariazione(const QString& testo) {
  return Regionali().ADouble(testo.toStdString());
}

// The entry of the variation's list that holds `valore`, or -1.
int VoceDelValore(const QComboBox& elenco, double valore) {
  for (int i = 0; i < elenco.count(); ++i) {
    if (ValoreVariazione(elenco.itemText(i)) == valore) return i;
  }
  return -1;
}

// The variation's list opens on the entry that holds the value shown, or on none. Qt's own
// current entry stays where the list was filled or last picked: it is not what the user sees.
class ComboVariazione : public QComboBox {
 public:
  using QComboBox::QComboBox;

  void showPopup() override {
    const std::optional<double> valore = ValoreVariazione(currentText());
    const int voce = valore ? VoceDelValore(*this, *valore) : -1;
    QComboBox::showPopup();
    // Opening picks nothing: the text stays as shown until an entry is picked.
    if (voce < 0) {
      view()->selectionModel()->clear();
    } else {
      const QModelIndex indice = model()->index(voce, modelColumn(), rootModelIndex());
      view()->setCurrentIndex(indice);
      view()->scrollTo(indice);
    }
  }
};

// Which way a key steps through the variation's list: -1 up, 1 down, 0 for a key that does
// not step. Page Up and Page Down step as the arrows do in Qt's combo boxes.
int VersoTasto(const QKeyEvent& tasto) {
  if (tasto.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return 0;
  switch (tasto.key()) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
      return -1;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

frmOpzioniArticoli::frmOpzioniArticoli(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {7, "Opzioni importazione articoli", 0, {0, 1, 3, 2, 4}, true, "Avanti >", true}) {
  fraOpzioni = Riquadro(this, "fraOpzioni", "Disponibilità minima", 3480, 840, 5775, 1455);
  Label5 = Etichetta(fraOpzioni, "Label5",
                     "E' possibile impostare una giacenza minima; gli articoli la cui "
                     "disponibilità è inferiore saranno automaticamente esclusi dal "
                     "negozio generato:",
                     240, 360, 5415, 495);
  chkMinima = NuovaCasella(fraOpzioni, "chkMinima", "Disponibilità minima:", 240, 960, 1815, 255);
  txtMinima = new QLineEdit(fraOpzioni);
  txtMinima->setObjectName(QStringLiteral("txtMinima"));
  PosizionaTwips(txtMinima, 2040, 945, 495, 285);
  txtMinima->setEnabled(false);
  Label11 = Etichetta(fraOpzioni, "Label11",
                      "(se non è abilitata saranno mantenute le impostazioni attuali del negozio)",
                      2760, 900, 2895, 465);

  Frame1[0] = Riquadro(this, "Frame1_0", "Ricarico", 3480, 2400, 5775, 1935);
  Label7 = Etichetta(Frame1[0], "Label7",
                     "E' possibile applicare un ricarico percentuale ai prezzi di listino "
                     "degli articoli. Se la percentuale è negativa si avrà una diminuzione "
                     "del prezzo di listino:",
                     240, 360, 5415, 585);
  Label6 = Etichetta(Frame1[0], "Label6", "Variazione percentuale:", 240, 1005, 1815, 375);
  cboVariazione = new ComboVariazione(Frame1[0]);
  cboVariazione->setObjectName(QStringLiteral("cboVariazione"));
  cboVariazione->setEditable(true);
  cboVariazione->setInsertPolicy(QComboBox::NoInsert);
  // What is typed is what is stored: no entry of the list completes or replaces it.
  cboVariazione->setCompleter(nullptr);
  for (const char* voce : {"-50", "-40", "-30", "-25", "-20", "-15", "-10", "-5", "0", "+5", "+10",
                           "+15", "+20", "+25", "+30", "+40", "+50"})
    cboVariazione->addItem(QString::fromLatin1(voce));
  cboVariazione->setEditText(QStringLiteral("0"));
  PosizionaTwips(cboVariazione, 2160, 960, 975, 315);
  Label2 = Etichetta(Frame1[0], "Label2", "%", 3240, 1005, 255, 255);
  chkTondi = NuovaCasella(Frame1[0], "chkTondi", "Prezzi tondi (arrotonda ed elimina i decimali)",
                          240, 1440, 3600, 255);

  Frame2 = Riquadro(this, "Frame2", "Posizione articoli nei reparti", 3480, 4440, 5775, 1335);
  chkPreserva =
      NuovaCasella(Frame2, "chkPreserva",
                   "Conserva posizione articoli nel negozio (se un articolo è già presente nel",
                   120, 390, 5625, 240);
  // The sentence goes on under the check box's caption, aligned with it.
  Label1 = Etichetta(Frame2, "Label1",
                     "negozio, la sua posizione nei reparti sarà preservata "
                     "indipendentemente dal reparto a cui è assegnato nel database esterno)",
                     405, 600, 5175, 615);

  ImpostaHelp(0, QString::fromUtf8("In questa schermata si impostano alcune opzioni aggiuntive "
                                   "relative all'importazione degli articoli:"));
  ImpostaHelp(1, QString::fromUtf8("Si può scegliere di escludere dalla generazione del negozio "
                                   "(non dall'importazione!) gli articoli la cui disponibilità è "
                                   "inferiore a una certa soglia"));
  ImpostaHelp(3, QString::fromUtf8("Si può definire una percentuale di ricarico sui prezzi di "
                                   "listino presenti nel database esterno"));
  ImpostaHelp(2, QString::fromUtf8("Si può scegliere di arrotondare i prezzi"));
  ImpostaHelp(
      4, QString::fromUtf8("Se un articolo (identificato dal proprio codice) è già presente in un "
                           "reparto del negozio, si può decidere di mantenerne la posizione "
                           "indipendentemente dal reparto a cui è assegnato nel database esterno, "
                           "preservando così la struttura del negozio"));

  connect(chkMinima, &QCheckBox::toggled, this, [this] { chkMinima_Click(); });
  connect(txtMinima, &QLineEdit::textChanged, this, [this] { txtMinima_Change(); });
  // An entry picked from the list changes the text too: one routine serves both.
  connect(cboVariazione, &QComboBox::editTextChanged, this, [this] { cboVariazione_Change(); });
  connect(chkTondi, &QCheckBox::toggled, this,
          [this](bool si) { prog_.def.gArrotonda = si ? 1 : 0; });
  connect(chkPreserva, &QCheckBox::toggled, this,
          [this](bool si) { prog_.def.gPreserva = si ? 1 : 0; });
  txtMinima->installEventFilter(this);
  cboVariazione->installEventFilter(this);
  cboVariazione->lineEdit()->installEventFilter(this);
}

void frmOpzioniArticoli::Pagina_Load() {
  const DefinizioneImportazione& def = prog_.def;
  // Checking the box enables the threshold and shows the stored value.
  if (def.gGiacenzaMinima >= 0) chkMinima->setChecked(true);
  cboVariazione->setEditText(TestoVariazione());
  chkTondi->setChecked(def.gArrotonda != 0);
  chkPreserva->setChecked(def.gPreserva != 0);
}

QString frmOpzioniArticoli::TestoVariazione() const {
  const float v = prog_.def.gVariazione;
  const std::string testo = Regionali().TestoSingle(v);
  return QString::fromStdString(v > 0 ? "+" + testo : testo);
}

void frmOpzioniArticoli::chkMinima_Click() {
  DefinizioneImportazione& def = prog_.def;
  if (chkMinima->isChecked()) {
    // Any negative value is "off": a box that takes only digits cannot show it.
    if (def.gGiacenzaMinima < 0) def.gGiacenzaMinima = 0;
    txtMinima->setEnabled(true);
    txtMinima->setText(QString::number(def.gGiacenzaMinima));
  } else {
    txtMinima->setEnabled(false);
    txtMinima->clear();
    def.gGiacenzaMinima = -1;
  }
}

void frmOpzioniArticoli::txtMinima_Change() {
  const std::string testo = txtMinima->text().toStdString();
  if (!Regionali().IsNumeric(testo)) return;
  const double soglia = std::floor(NumeroIniziale(testo));
  if (soglia < std::numeric_limits<int32_t>::min() || soglia > std::numeric_limits<int32_t>::max())
    return;
  prog_.def.gGiacenzaMinima = static_cast<int32_t>(soglia);
}

void frmOpzioniArticoli::cboVariazione_Change() {
  const std::string testo = cboVariazione->currentText().toStdString();
  if (!Regionali().IsNumeric(testo)) return;
  const double iniziale = NumeroIniziale(testo);
  if (iniziale < -100 || iniziale > 100) return;
  if (auto v = Regionali().ADouble(testo))
    prog_.def.gVariazione = static_cast<float>(ArrotondaPari(*v, 2));
}

void frmOpzioniArticoli::cboVariazione_LostFocus() {
  cboVariazione->setEditText(TestoVariazione());
}

bool frmOpzioniArticoli::cboVariazione_KeyPress(QString& carattere) {
  const QChar separatore = QLatin1Char(Regionali().SeparatoreDecimale());
  if (carattere == QLatin1String(".")) carattere = separatore;
  const QChar c = carattere.at(0);
  if (c == separatore) return !cboVariazione->currentText().contains(separatore);
  return c.unicode() == kBackspace || QStringLiteral("1234567890-+").contains(c);
}

void frmOpzioniArticoli::cboVariazione_Passo(int verso) {
  // The list ascends, so down is towards the greater values; a value between two entries
  // steps to the next one that way, and a text that is no number from the stored value,
  // which leaving the box would show.
  const double da = ValoreVariazione(cboVariazione->currentText()).value_or(prog_.def.gVariazione);
  int voce = -1;
  for (int i = 0; i < cboVariazione->count(); ++i) {
    const std::optional<double> v = ValoreVariazione(cboVariazione->itemText(i));
    if (!v) continue;
    if (verso > 0 && *v > da) {
      voce = i;
      break;
    }
    if (verso < 0 && *v < da) voce = i;
  }
  if (voce < 0) return;
  cboVariazione->setCurrentIndex(voce);
  // Qt's current entry may already be this one; the text is what is shown and stored.
  cboVariazione->setEditText(cboVariazione->itemText(voce));
}

bool frmOpzioniArticoli::eventFilter(QObject* oggetto, QEvent* evento) {
  const bool combo = oggetto == cboVariazione || oggetto == cboVariazione->lineEdit();
  if (combo && evento->type() == QEvent::KeyPress) {
    auto* tasto = static_cast<QKeyEvent*>(evento);
    // Alt with an arrow opens the list, as F4 does.
    const bool freccia = tasto->key() == Qt::Key_Up || tasto->key() == Qt::Key_Down;
    if (freccia && (tasto->modifiers() & Qt::AltModifier)) {
      cboVariazione->showPopup();
      return true;
    }
    if (const int verso = VersoTasto(*tasto)) {
      cboVariazione_Passo(verso);
      return true;
    }
  }
  if (oggetto == cboVariazione && evento->type() == QEvent::Wheel && cboVariazione->hasFocus()) {
    const int y = static_cast<QWheelEvent*>(evento)->angleDelta().y();
    if (y != 0) cboVariazione_Passo(y > 0 ? -1 : 1);
    evento->accept();
    return true;
  }
  if (evento->type() == QEvent::KeyPress && (oggetto == txtMinima || combo)) {
    auto* tasto = static_cast<QKeyEvent*>(evento);
    const int c = CarattereDigitato(*tasto);
    if (c < 0) return false;
    if (oggetto == txtMinima) return !(c == kBackspace || (c >= '0' && c <= '9'));
    QString carattere(QChar(static_cast<char16_t>(c)));
    if (!cboVariazione_KeyPress(carattere)) return true;
    if (carattere != tasto->text()) {
      // The typed "." goes in as the locale's separator.
      cboVariazione->lineEdit()->insert(carattere);
      return true;
    }
    return false;
  }
  // The list opening takes the focus for a moment; that is not leaving the box.
  if (evento->type() == QEvent::FocusOut && oggetto == cboVariazione &&
      static_cast<QFocusEvent*>(evento)->reason() != Qt::PopupFocusReason)
    cboVariazione_LostFocus();
  return PaginaWizard::eventFilter(oggetto, evento);
}

void frmOpzioniArticoli::cmdBack_Click() {
  PassaA<frmCampiArt>(prog_, *this, [this](frmCampiArt& campi) {
    return prog_.gDb && PopolaCampiArt(prog_.def, *prog_.gDb, campi, prog_.messaggi);
  });
}

void frmOpzioniArticoli::cmdImport_Click() {
  Scarica();
  prog_.Form<frmRimuoviArticoli>().Mostra();
}

}  // namespace tarkpo::wizard
