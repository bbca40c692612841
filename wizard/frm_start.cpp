#include "wizard/frm_start.h"

#include <QButtonGroup>
#include <charconv>
#include <filesystem>
#include <optional>

#include "core/file_definizione.h"
#include "core/impostazioni.h"
#include "core/impostazioni_programma.h"
#include "wizard/chiusura.h"
#include "wizard/controlli.h"
#include "wizard/frm_main.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

namespace {

constexpr const char* kSezione = "AppIni";
constexpr const char* kFiltro = "Configurazione importazione (*.kpo)|*.kpo";

std::string UltimaImportazione(const Programma& prog) {
  return prog.cartellaProgramma + "/last.ini";
}

bool EsisteFile(const std::string& percorso) {
  std::error_code ec;
  return std::filesystem::is_regular_file(percorso, ec);
}

// A stored number, blanks around it allowed; nothing when the text is no whole number.
std::optional<int> Numero(std::string testo) {
  const auto inizio = testo.find_first_not_of(' ');
  if (inizio == std::string::npos) return std::nullopt;
  testo = testo.substr(inizio, testo.find_last_not_of(' ') + 1 - inizio);
  int n = 0;
  auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), n);
  if (errore != std::errc() || fine != testo.data() + testo.size()) return std::nullopt;
  return n;
}

}  // namespace

frmStart::frmStart(Programma& programma)
    : PaginaWizard(
          programma, kNome,
          {1, "Scegliere l'operazione", 5415, {0, 3, 1, 5, 4, 7, 6}, false, "Avanti >", false}) {
  const std::pair<int, const char*> help[] = {
      {0, "E' innanzitutto necessario scegliere quale operazione si desidera effettuare:"},
      {3, "- Nuova importazione"},
      {1,
       "Sarà possibile definire una nuova importazione; nelle schermate successive si definirà "
       "la corrispondenza tra i campi del database esterno ed i campi utilizzati da Tarvelin"},
      {5, "- Ripeti ultima importazione"},
      {4,
       "Sarà ripetuta l'ultima importazione completata con successo, senza doverne ridefinire i "
       "parametri"},
      {7, "- Carica importazione"},
      {6,
       "Sarà caricata ed eseguita un'importazione salvata precedentemente (dopo aver eseguito "
       "con successo un'importazione è infatti possibile salvarne la configurazione in un file "
       ".kpo)"},
  };
  for (auto& [indice, testo] : help) ImpostaHelp(indice, QString::fromUtf8(testo));

  Label1 = Etichetta(this, "Label1",
                     "E' possibile impostare una nuova importazione oppure ripetere "
                     "un'importazione precedentemente effettuata con successo.",
                     3480, 840, 5775, 495);
  Label2 =
      Etichetta(this, "Label2", "Quale operazione si desidera effettuare?", 3480, 1560, 5775, 255);
  const char* operazioni[3] = {"Nuova importazione",
                               "Ripeti l'ultima importazione effettuata con successo",
                               "Carica un'importazione precedentemente salvata"};
  const int alti[3] = {1920, 2400, 3240};
  auto* gruppo = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    optTipoOp[i] = new QRadioButton(QString::fromUtf8(operazioni[i]), this);
    optTipoOp[i]->setObjectName(QStringLiteral("optTipoOp%1").arg(i));
    PosizionaTwips(optTipoOp[i], 3720, alti[i], 5535, 255);
    gruppo->addButton(optTipoOp[i], i);
    connect(optTipoOp[i], &QRadioButton::toggled, this, [this, i](bool scelta) {
      if (scelta) optTipoOp_Click(i);
    });
  }
  optTipoOp[1]->setEnabled(false);
  for (int i = 0; i < 2; ++i) {
    chkVai[i] = new QCheckBox(QStringLiteral("Vai subito alla schermata di importazione"), this);
    chkVai[i]->setObjectName(QStringLiteral("chkVai%1").arg(i));
    PosizionaTwips(chkVai[i], 4080, alti[i + 1] + 300, 5175, 255);
    chkVai[i]->setEnabled(false);
  }

  Frame1 = Riquadro(this, "Frame1", QStringLiteral("Database"), 3480, 4200, 5775, 1215);
  lblDb = Etichetta(Frame1, "lblDb", "Selezionare il file di configurazione (.kpo):", 240, 360,
                    5295, 255);
  txtPath = new QLineEdit(Frame1);
  txtPath->setObjectName(QStringLiteral("txtPath"));
  txtPath->setEnabled(false);
  PosizionaTwips(txtPath, 240, 720, 4935, 285);
  cmdPath = new QPushButton(QStringLiteral("..."), Frame1);
  cmdPath->setObjectName(QStringLiteral("cmdPath"));
  cmdPath->setToolTip(QStringLiteral("Seleziona il file del database"));
  cmdPath->setAutoDefault(false);
  cmdPath->setEnabled(false);
  PosizionaTwips(cmdPath, 5280, 720, 285, 285);

  // No minimise button; the frame centres the page whenever it opens.
  setWindowFlag(Qt::WindowMinimizeButtonHint, false);

  connect(txtPath, &QLineEdit::textChanged, this, [this] { txtPath_Change(); });
  connect(cmdPath, &QPushButton::clicked, this, [this] { cmdPath_Click(); });
}

void frmStart::Pagina_Load() {
  SaveSetting(prog_.registro, kApplicazione, kSezione, "Path", prog_.cartellaProgramma);
  setWindowTitle(QString::fromUtf8(kTitoloFinestra));
  if (EsisteFile(UltimaImportazione(prog_))) optTipoOp[1]->setEnabled(true);
  CaricaOpzioniAvvio(prog_, *this);
}

// From here on the start-up window serves as the about box.
void frmStart::Form_Activate() { prog_.stato.gWizardAvviato = true; }

void frmStart::optTipoOp_Click(int index) {
  // Disabling a box keeps its tick, which is saved with the start options.
  cmdImport->setEnabled(index != 2 || !txtPath->text().isEmpty());
  chkVai[0]->setEnabled(index == 1);
  txtPath->setEnabled(index == 2);
  cmdPath->setEnabled(index == 2);
  chkVai[1]->setEnabled(index == 2);
  TipoOperazione = index;
}

void frmStart::txtPath_Change() { cmdImport->setEnabled(!txtPath->text().isEmpty()); }

void frmStart::cmdPath_Click() {
  const std::string attuale = txtPath->text().toStdString();
  const std::string cartella =
      attuale.empty() ? "" : std::filesystem::path(attuale).parent_path().string();
  const std::string scelto = prog_.dialoghi.FileDaAprire("", kFiltro, cartella);
  if (!scelto.empty()) txtPath->setText(QString::fromStdString(scelto));
}

void frmStart::cmdImport_Click() {
  DefinizioneImportazione& d = prog_.def;
  if (TipoOperazione == 0) {
    const bool riavvia = d.NuovaImportazione();
    ScaricaOrigine();
    if (riavvia) return SalvaERiavvia("r");
    return PassaAOrigine();
  }
  if (TipoOperazione != 1 && TipoOperazione != 2) return;
  const std::string file =
      TipoOperazione == 1 ? UltimaImportazione(prog_) : txtPath->text().toStdString();
  const bool vai = chkVai[TipoOperazione - 1]->isChecked();
  const int r = CaricaImportazione(d, file);
  if (r != 1 && r != 2) {
    prog_.messaggi.Mostra("Non è stato possibile leggere i dati dell'ultima importazione",
                          Icona::Esclamazione);
    return;
  }
  ScaricaOrigine();
  if (vai) {
    // With the other delimiter this process only proves that the source opens; the restarted
    // one opens the import page under the engine settings of that delimiter.
    if (!MostraImportazione(prog_)) return;
    if (r == 2) return SalvaERiavvia("i");
    SalvaOpzioniAvvio(prog_, *this);
    Scarica();
    return;
  }
  if (r == 2) return SalvaERiavvia("r");
  PassaAOrigine();
}

void frmStart::PassaAOrigine() {
  prog_.Form<frmMain>().Mostra();
  SalvaOpzioniAvvio(prog_, *this);
  Scarica();
}

void frmStart::ScaricaOrigine() {
  // A failed jump to the import page leaves the source page loaded, hidden, with the controls
  // of the definition it was loaded from; shown now, it would show those, not the new one.
  prog_.Scarica(frmMain::kNome);
}

void frmStart::SalvaERiavvia(const char* modo) {
  SalvaOpzioniAvvio(prog_, *this);
  RiavviaApplicazione(prog_, modo);
}

void SalvaOpzioniAvvio(Programma& prog, const frmStart& pagina) {
  int operazione = 0;
  if (pagina.optTipoOp[1]->isChecked()) operazione = 1;
  if (pagina.optTipoOp[2]->isChecked()) operazione = 2;
  Registro& r = prog.registro;
  SaveSetting(r, kApplicazione, kSezione, "opt", std::to_string(operazione));
  SaveSetting(r, kApplicazione, kSezione, "go0", pagina.chkVai[0]->isChecked() ? "1" : "0");
  SaveSetting(r, kApplicazione, kSezione, "go1", pagina.chkVai[1]->isChecked() ? "1" : "0");
  SaveSetting(r, kApplicazione, kSezione, "file", pagina.txtPath->text().toStdString());
}

void CaricaOpzioniAvvio(Programma& prog, frmStart& pagina) {
  const Registro& r = prog.registro;
  std::optional<int> operazione = Numero(GetSetting(r, kApplicazione, kSezione, "opt", "0"));
  if (operazione == 1 && !EsisteFile(UltimaImportazione(prog))) operazione = 0;
  if (operazione && *operazione >= 0 && *operazione < 3)
    pagina.optTipoOp[*operazione]->setChecked(true);
  for (int i = 0; i < 2; ++i) {
    const std::string chiave = "go" + std::to_string(i);
    if (auto v = Numero(GetSetting(r, kApplicazione, kSezione, chiave, "0")))
      pagina.chkVai[i]->setChecked(*v != 0);
  }
  pagina.txtPath->setText(QString::fromStdString(GetSetting(r, kApplicazione, kSezione, "file")));
}

}  // namespace tarkpo::wizard
