#include "wizard/frm_main.h"

#include <QButtonGroup>
#include <filesystem>

#include "core/accesso_origine.h"
#include "core/caratteri.h"
#include "core/shell.h"
#include "wizard/controlli.h"
#include "wizard/frm_opzioni_db.h"
#include "wizard/frm_start.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_tabella_rep.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {

namespace fs = std::filesystem;

struct TipoOrigine {
  const char* tipoDb;
  const char* prompt;
  const char* opzioni;  // the caption of cmdOpzioni
  int pulsante;         // the cmdDbPath shown
  const char* opzioniPredefinite;
  const char* filtro;  // null: the file dialog's filter stays as it was
};

const TipoOrigine kTipi[3] = {
    {"Access 2000;", "Selezionare il file .mdb che contiene i dati da importare:", "Opzioni Access",
     0, "", "Database Access (*.mdb)|*.mdb"},
    {"Excel 8.0;", "Selezionare il file .xls che contiene i dati da importare:", "Opzioni Excel", 0,
     "HDR=Yes", "Foglio di Excel (*.xls)|*.xls"},
    {"Text;", "Selezionare la cartella contenente i file .csv da importare:", "Opzioni CSV", 1,
     "HDR=Yes", nullptr},
};

QLineEdit* Casella(QWidget* genitore, const char* nome, int sinistra, int alto) {
  auto* t = new QLineEdit(genitore);
  t->setObjectName(QString::fromLatin1(nome));
  PosizionaTwips(t, sinistra, alto, 4935, 285);
  return t;
}

QPushButton* Puntini(QWidget* genitore, const char* nome, const char* suggerimento, int alto) {
  auto* b = new QPushButton(QStringLiteral("..."), genitore);
  b->setObjectName(QString::fromLatin1(nome));
  b->setToolTip(QString::fromUtf8(suggerimento));
  b->setAutoDefault(false);
  PosizionaTwips(b, 5280, alto, 285, 285);
  return b;
}

QCheckBox* Spunta(QWidget* genitore, const char* nome, const char* testo, int sinistra,
                  int larghezza) {
  auto* c = new QCheckBox(QString::fromUtf8(testo), genitore);
  c->setObjectName(QString::fromLatin1(nome));
  PosizionaTwips(c, sinistra, 360, larghezza, 255);
  return c;
}

// The folder as the browser gave it, without one trailing "/".
std::string SenzaBarraFinale(const std::string& cartella) {
  if (!cartella.empty() && cartella.back() == '/') return cartella.substr(0, cartella.size() - 1);
  return cartella;
}

bool FileOrdinario(const std::string& percorso) {
  std::error_code ec;
  return fs::is_regular_file(percorso, ec);
}

// Whether the folder holds an ordinary file with the extension ".csv", in any case, as the
// text driver reads them.
bool ContieneCsv(const std::string& cartella) {
  std::error_code ec;
  for (fs::directory_iterator it(cartella.empty() ? "/" : cartella, ec), fine; !ec && it != fine;
       it.increment(ec)) {
    if (Minuscolo(it->path().extension().string()) == ".csv" && it->is_regular_file(ec))
      return true;
  }
  return false;
}

QString Testo(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

frmMain::frmMain(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {2, "Selezionare il negozio e il database", 5415, {0, 1, 2}, true, "Avanti >", false}),
      Data1(programma.motore) {
  Data1.Connect = "Access 2000;";
  ImpostaHelp(0, QString::fromUtf8("E' necessario scegliere il negozio in cui saranno inseriti i "
                                   "dati (reparti e/o articoli) importati dal database esterno."));
  ImpostaHelp(
      1, QString::fromUtf8(
             "Si sceglierà quindi il database esterno, in formato Access (.mdb), Excel (.xls) "
             "oppure testo (.csv). Nei primi due casi sarà necessario selezionare il file .mdb o "
             ".xls che contiene i dati; se invece si importa da un file di testo bisognerà "
             "indicare la cartella che lo contiene: infatti i file di testo non supportano "
             "tabelle multiple; ogni file costituisce una tabella a sé stante. Pertanto "
             "l'elenco dei reparti e degli articoli potrebbero essere contenuti in file "
             "separati, ognuno dei quali sarà visto come una tabella."));
  ImpostaHelp(2, QString::fromUtf8("Normalmente si importeranno sia i reparti che gli articoli. "
                                   "E' tuttavia possibile importare solo l'elenco dei reparti o "
                                   "degli articoli selezionando o deselezionando le apposite "
                                   "caselle."));

  Frame2 = Riquadro(this, "Frame2", QStringLiteral("Cartella del negozio"), 3480, 840, 5775, 1455);
  Label2 = Etichetta(Frame2, "Label2",
                     "Selezionare la cartella che contiene il negozio da aggiornare con i dati "
                     "importati:",
                     240, 360, 3855, 495);
  txtPath = Casella(Frame2, "txtPath", 240, 840);
  cmdPath = Puntini(Frame2, "cmdPath", "Seleziona cartella del negozio", 840);

  Frame1 = Riquadro(this, "Frame1", QStringLiteral("Database"), 3480, 2400, 5775, 2415);
  Label1 = Etichetta(Frame1, "Label1",
                     "Selezionare il formato del database che contiene i dati da importare:", 240,
                     480, 1935, 795);
  const char* tipi[3] = {"Access (*.mdb)", "Excel (*.xls)", "Testo (*.csv)"};
  auto* gruppo = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    optTipoDb[i] = new QRadioButton(QString::fromUtf8(tipi[i]), Frame1);
    optTipoDb[i]->setObjectName(QStringLiteral("optTipoDb%1").arg(i));
    PosizionaTwips(optTipoDb[i], 2400, 480 + 240 * i, 1455, 255);
    gruppo->addButton(optTipoDb[i], i);
    connect(optTipoDb[i], &QRadioButton::toggled, this, [this, i](bool scelto) {
      if (scelto) optTipoDb_Click(i);
    });
  }
  cmdOpzioni = new QPushButton(QStringLiteral("Opzioni"), Frame1);
  cmdOpzioni->setObjectName(QStringLiteral("cmdOpzioni"));
  cmdOpzioni->setAutoDefault(false);
  PosizionaTwips(cmdOpzioni, 4200, 600, 1335, 375);
  Frame3 = new QFrame(Frame1);
  Frame3->setObjectName(QStringLiteral("Frame3"));
  Frame3->setFrameShape(QFrame::HLine);
  Frame3->setFrameShadow(QFrame::Sunken);
  PosizionaTwips(Frame3, 240, 1320, 5295, 30);
  lblDb = Etichetta(Frame1, "lblDb",
                    "Selezionare il file di database che contiene i dati da importare:", 240, 1560,
                    5295, 255);
  txtDbPath = Casella(Frame1, "txtDbPath", 240, 1800);
  cmdDbPath[0] = Puntini(Frame1, "cmdDbPath0", "Seleziona il file del database", 1800);
  cmdDbPath[1] = Puntini(Frame1, "cmdDbPath1", "Seleziona la cartella del database", 1800);

  Frame4 = Riquadro(this, "Frame4", QStringLiteral("Dati da importare"), 3480, 4920, 5775, 855);
  chkImpRep = Spunta(Frame4, "chkImpRep", "Importa elenco reparti", 240, 2175);
  chkImpArt = Spunta(Frame4, "chkImpArt", "Importa elenco articoli", 2400, 3135);

  connect(txtDbPath, &QLineEdit::textChanged, this, [this] { txtDbPath_Change(); });
  connect(txtPath, &QLineEdit::textChanged, this, [this] { txtPath_Change(); });
  connect(chkImpRep, &QCheckBox::toggled, this, [this] { chkImpRep_Click(); });
  connect(chkImpArt, &QCheckBox::toggled, this, [this] { chkImpArt_Click(); });
  for (int i = 0; i < 2; ++i)
    connect(cmdDbPath[i], &QPushButton::clicked, this, [this, i] { cmdDbPath_Click(i); });
  connect(cmdPath, &QPushButton::clicked, this, [this] { cmdPath_Click(); });
  connect(cmdOpzioni, &QPushButton::clicked, this, [this] { cmdOpzioni_Click(); });
}

void frmMain::Pagina_Load() {
  const DefinizioneImportazione& d = prog_.def;
  setWindowTitle(QString::fromUtf8(kTitoloFinestra));
  // Each assignment runs the control's handler, which writes the definition back.
  const std::string pathDb = d.gPathDb;
  txtDbPath->setText(Testo(pathDb));
  txtPath->setText(Testo(d.gPathNegozio));
  chkImpRep->setChecked(d.gImpRep != 0);
  chkImpArt->setChecked(d.gImpArt != 0);
  for (int i = 0; i < 3; ++i) {
    if (d.gTipoDb == kTipi[i].tipoDb || (i == 0 && d.gTipoDb.empty())) {
      txtDbPath_Tag = pathDb;
      optTipoDb[i]->setChecked(true);
      break;
    }
  }
}

void frmMain::optTipoDb_Click(int Index) {
  const TipoOrigine& t = kTipi[Index];
  DefinizioneImportazione& d = prog_.def;
  cmdDbPath[t.pulsante]->show();
  cmdDbPath[1 - t.pulsante]->hide();
  d.gTipoDb = t.tipoDb;
  lblDb->setText(QString::fromUtf8(t.prompt));
  if (t.filtro != nullptr) CommonDialog1_Filter = t.filtro;
  cmdOpzioni->setText(QString::fromUtf8(t.opzioni));
  txtDbPath->clear();
  if (!txtDbPath_Tag.empty()) {
    txtDbPath->setText(Testo(txtDbPath_Tag));
    txtDbPath_Tag.clear();
  } else {
    d.gOpzioniDb = t.opzioniPredefinite;
  }
}

void frmMain::AggiornaAvanti() {
  cmdImport->setEnabled(!txtPath->text().isEmpty() && !txtDbPath->text().isEmpty() &&
                        (chkImpRep->isChecked() || chkImpArt->isChecked()));
}

void frmMain::txtDbPath_Change() {
  prog_.def.gPathDb = txtDbPath->text().toStdString();
  AggiornaAvanti();
}

void frmMain::txtPath_Change() {
  prog_.def.gPathNegozio = txtPath->text().toStdString();
  AggiornaAvanti();
}

void frmMain::chkImpRep_Click() {
  prog_.def.gImpRep = chkImpRep->isChecked() ? 1 : 0;
  AggiornaAvanti();
}

void frmMain::chkImpArt_Click() {
  prog_.def.gImpArt = chkImpArt->isChecked() ? 1 : 0;
  AggiornaAvanti();
}

void frmMain::cmdDbPath_Click(int Index) {
  if (Index == 0) {
    const std::string attuale = txtDbPath->text().toStdString();
    const std::string cartella = attuale.empty() ? "" : fs::path(attuale).parent_path().string();
    const std::string scelto = prog_.dialoghi.FileDaAprire("", CommonDialog1_Filter, cartella);
    if (!scelto.empty()) txtDbPath->setText(Testo(scelto));
    return;
  }
  const std::string scelta =
      SfogliaCartella(prog_.shell, "Selezionare la cartella contenente i file .csv da importare:",
                      txtDbPath->text().toStdString());
  if (scelta.empty()) return;
  if (ContieneCsv(SenzaBarraFinale(scelta))) {
    txtDbPath->setText(Testo(scelta));
  } else {
    prog_.messaggi.Mostra("La cartella \"" + scelta + "\" non contiene alcun file .csv",
                          Icona::Esclamazione);
  }
}

void frmMain::cmdPath_Click() {
  const std::string scelta = SfogliaCartella(
      prog_.shell,
      "Selezionare la cartella che contiene il negozio da aggiornare con i dati importati:",
      txtPath->text().toStdString());
  if (scelta.empty()) return;
  const std::string t = SenzaBarraFinale(scelta);
  for (const char* file : {"catalog.mdb", "items.dat"}) {
    if (FileOrdinario(t + "/" + file)) {
      txtPath->setText(Testo(scelta));
      prog_.statoMotore.gFileNegozio = file;
      return;
    }
  }
  prog_.messaggi.Mostra("La cartella \"" + scelta + "\" non contiene un negozio",
                        Icona::Esclamazione);
}

void frmMain::cmdOpzioni_Click() { prog_.Form<frmOpzioniDb>().MostraModale(this); }

void frmMain::cmdImport_Click() {
  if (prog_.pagineOrigine == nullptr) return;
  IPagineOrigine& pagine = *prog_.pagineOrigine;
  DefinizioneImportazione& d = prog_.def;
  if (!ApriDatabaseOrigine(d, pagine, prog_.messaggi, prog_.gDb)) return;
  // When only items are imported, the departments table page stays loaded and hidden: its
  // data control holds the open source.
  PaginaWizard& prossima = d.gImpRep == 1 ? static_cast<PaginaWizard&>(prog_.Form<frmTabellaRep>())
                                          : prog_.Form<frmTabellaArt>();
  const bool elencate = d.gImpRep == 1
                            ? ElencaTabelleRep(d, prog_.gDb.get(), pagine, prog_.messaggi)
                            : ElencaTabelleArt(d, prog_.gDb.get(), pagine, prog_.messaggi);
  if (!elencate) {
    prossima.Scarica();
    return;
  }
  prossima.Mostra();
  Scarica();
}

void frmMain::cmdBack_Click() {
  prog_.Form<frmStart>().Mostra();
  Scarica();
}

}  // namespace tarkpo::wizard
