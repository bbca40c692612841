#include "wizard/pagina.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include "core/shell.h"
#include "wizard/chiusura.h"
#include "wizard/disegni.h"
#include "wizard/frm_about.h"
#include "wizard/frm_main.h"
#include "wizard/geometria.h"
#include "wizard/gruppi_opzioni.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {

// A horizontal rule from (x1, y) to (x2, y), in twips.
QFrame* Riga(QWidget* genitore, int x1, int x2, int y) {
  auto* riga = new QFrame(genitore);
  riga->setFrameShape(QFrame::HLine);
  riga->setFrameShadow(QFrame::Sunken);
  riga->setGeometry(Px(x1), Px(y) - 1, Px(x2) - Px(x1), 2);
  return riga;
}

QPushButton* Pulsante(QWidget* genitore, const char* nome, const QString& testo, int sinistra,
                      int alto, int larghezza, int altezza) {
  auto* b = new QPushButton(testo, genitore);
  b->setObjectName(QString::fromLatin1(nome));
  b->setAutoDefault(false);
  PosizionaTwips(b, sinistra, alto, larghezza, altezza);
  return b;
}

}  // namespace

PaginaWizard::PaginaWizard(Programma& programma, const char* nome, const Cornice& c)
    : Finestra(programma, nome), passo_(c.passo) {
  const bool largo = c.passo >= 10;  // two-digit steps move the title to the right
  setFont(CarattereFinestra(8));
  // A fixed single border: a title, the system menu and close box, no resizing.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(IconaProgramma());
  setFixedSize(Px(9480), Px(6675));

  Label3 = new QLabel(QString::number(c.passo), this);
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setFont(CarattereFinestra(24));
  // A little wider and taller than the design's 255 (495) x 495: the digits of this face at
  // 24 points need 18 pixels each and a line of 36; the title starts further right.
  PosizionaTwips(Label3, 240, 240, largo ? 540 : 270, 540);

  const int sinistraTitolo = largo ? 840 : 600;
  Label4 = new QLabel(QString::fromUtf8(c.titolo), this);
  Label4->setObjectName(QStringLiteral("Label4"));
  Label4->setFont(CarattereFinestra(13.5));
  int larghezza = c.larghezzaTitolo;
  if (larghezza == 0) {
    int px = QFontMetrics(Label4->font()).horizontalAdvance(Label4->text()) + Px(120);
    larghezza = std::min(px * kTwipPerPixel, 9240 - sinistraTitolo);
  }
  PosizionaTwips(Label4, sinistraTitolo, 240, larghezza, 375);
  Line2 = Riga(this, sinistraTitolo, 9240, 600);

  Picture1 = new QFrame(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->setFrameShape(QFrame::Panel);
  Picture1->setFrameShadow(QFrame::Sunken);
  Picture1->setAutoFillBackground(true);
  QPalette tavolozza = Picture1->palette();
  tavolozza.setColor(QPalette::Window, tavolozza.color(QPalette::ToolTipBase));
  tavolozza.setColor(QPalette::WindowText, tavolozza.color(QPalette::ToolTipText));
  Picture1->setPalette(tavolozza);
  // One size on every page, the one at which the longest help texts fit the panel.
  Picture1->setFont(CarattereFinestra(7.5));
  PosizionaTwips(Picture1, 240, 840, 3015, 4935);
  for (int i : c.indiciHelp) {
    auto* l = new QLabel(Picture1);
    l->setObjectName(QStringLiteral("lblHelp%1").arg(i));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblHelp[i] = l;
    ordineHelp_.push_back(l);
  }
  DisponiHelp();

  Line1 = Riga(this, 240, 9240, 6000);
  cmdInfo = Pulsante(this, "cmdInfo", QString(), 240, 6150, 375, 375);
  cmdInfo->setIcon(QIcon(ImmagineInfo()));
  cmdInfo->setIconSize(QSize(Px(375) - 4, Px(375) - 4));
  cmdInfo->setToolTip(QStringLiteral("informazioni su..."));
  cmdTutorial = Pulsante(this, "cmdTutorial", QString(), 720, 6150, 1335, 375);
  cmdTutorial->setIcon(QIcon(ImmagineTutorial()));
  cmdTutorial->setIconSize(QSize(65, 17));
  cmdBack = c.indietro
                ? Pulsante(this, "cmdBack", QStringLiteral("< Indietro"), 6000, 6150, 1575, 375)
                : nullptr;
  cmdImport = Pulsante(this, "cmdImport", QString::fromUtf8(c.avanti), 7680, 6150, 1575, 375);
  cmdImport->setEnabled(c.avantiAbilitato);

  connect(cmdInfo, &QPushButton::clicked, this, [this] { cmdInfo_Click(); });
  connect(cmdTutorial, &QPushButton::clicked, this, [this] { cmdTutorial_Click(); });
  if (cmdBack != nullptr)
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
  connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
}

void PaginaWizard::DisponiHelp() {
  const int sinistra = Px(120), larghezza = Px(2655);
  int alto = Px(120);
  for (QLabel* l : ordineHelp_) {
    if (!l->isVisibleTo(Picture1)) continue;
    const int altezza = l->text().isEmpty() ? 0 : l->heightForWidth(larghezza);
    l->setGeometry(sinistra, alto, larghezza, altezza);
    if (altezza > 0) alto += altezza + Px(120);
  }
}

void PaginaWizard::ImpostaHelp(int indice, const QString& testo) {
  auto it = lblHelp.find(indice);
  if (it == lblHelp.end()) return;
  it->second->setText(testo);
  DisponiHelp();
}

void PaginaWizard::OrdineHelp(std::vector<QLabel*> etichette) {
  ordineHelp_ = std::move(etichette);
  DisponiHelp();
}

void PaginaWizard::Form_Load() {
  if (passo_ >= 3) CopiaCornice();
  Pagina_Load();
  PulsantiInFondo();
}

void PaginaWizard::PulsantiInFondo() {
  // The frame makes its buttons before the page makes its controls, so Tab would start on
  // the information button and Enter on a page just opened would show the about box. Tab
  // runs through the page's own controls first, then the button row as it stands on the
  // screen, left to right (buttons that share a place never show together), and a page
  // opens with the focus on its first control.
  std::vector<QWidget*> riga = PulsantiRiga();
  riga.push_back(cmdTutorial);
  std::stable_sort(riga.begin(), riga.end(),
                   [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
  std::vector<QWidget*> ordine;
  // A window's focus chain is a ring through the window.
  for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
    if (w->focusPolicy() != Qt::NoFocus && std::find(riga.begin(), riga.end(), w) == riga.end())
      ordine.push_back(w);
  }
  ordine.insert(ordine.end(), riga.begin(), riga.end());
  for (size_t i = 1; i < ordine.size(); ++i) QWidget::setTabOrder(ordine[i - 1], ordine[i]);
}

std::vector<QWidget*> PaginaWizard::PulsantiRiga() {
  std::vector<QWidget*> riga;
  if (cmdBack != nullptr) riga.push_back(cmdBack);
  riga.push_back(cmdImport);
  riga.push_back(cmdInfo);
  return riga;
}

void PaginaWizard::CopiaCornice() {
  // Reading the source page loads it, hidden, when it has been closed; it then stays.
  frmMain& origine = prog_.Form<frmMain>();
  setWindowIcon(origine.windowIcon());
  setWindowTitle(origine.windowTitle());
  // All pages share one kind of border, so the same inner size is the same outer size.
  setFixedSize(origine.size());
  const int alto = origine.cmdImport->y();
  for (QWidget* b : PulsantiRiga()) b->move(b->x(), alto);
  cmdTutorial->move(cmdTutorial->x(), origine.cmdTutorial->y());
}

void PaginaWizard::Form_QueryUnload(ModoScarica modo, bool& /*annulla*/) {
  if (modo == ModoScarica::Utente) ChiudiApplicazione(prog_);
}

void PaginaWizard::PrimaDiMostrare() {
  // The first page of a run and the start page, whenever it opens, stand in the middle of
  // the screen; the others where the page they replace stood.
  if (!prog_.posizionePagina || passo_ == 1) {
    if (QScreen* schermo = QGuiApplication::primaryScreen())
      prog_.posizionePagina = schermo->availableGeometry().center() - rect().center();
  }
  if (prog_.posizionePagina) move(*prog_.posizionePagina);
  // The window keeps its place in the focus ring, in front of the information button, so
  // Qt would start there: the first control after the button row takes the focus instead,
  // an option group on its chosen option.
  if (focusWidget() != nullptr) return;
  FermateGruppi(this);
  for (QWidget* w = cmdImport->nextInFocusChain(); w != cmdImport; w = w->nextInFocusChain()) {
    if (w != this && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
      w->setFocus();
      return;
    }
  }
}

void PaginaWizard::moveEvent(QMoveEvent* evento) {
  // A page being placed while hidden is not where the wizard stands.
  if (isVisible()) prog_.posizionePagina = pos();
  Finestra::moveEvent(evento);
}

void PaginaWizard::cmdInfo_Click() { prog_.Form<frmAbout>().MostraModale(this); }

void PaginaWizard::cmdTutorial_Click() {
  ApriDocumento(prog_.shell, "index.htm", prog_.cartellaProgramma + "/tutorial");
}

}  // namespace tarkpo::wizard
