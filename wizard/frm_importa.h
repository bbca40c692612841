#pragma once
// Step 11, the import page: the overwrite choice, then the one import of this run with its
// progress, its result and the offer to save the definition.
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <chrono>
#include <memory>

#include "engine/eventi.h"
#include "engine/stato_motore.h"
#include "wizard/pagina.h"
#include "wizard/scatola_immagine.h"

namespace tarkpo::wizard {

// The engine's progress shown on the page's label and bar.
class ProgressoQt : public motore::IProgresso {
 public:
  ProgressoQt(QLabel* etichetta, QProgressBar* barra) : etichetta_(etichetta), barra_(barra) {}
  void Etichetta(const std::string& testo) override;
  void Valore(float valore) override;
  float Valore() const override { return valore_; }
  void Massimo(float massimo) override;
  float Massimo() const override { return massimo_; }

 private:
  void Aggiorna();
  QLabel* etichetta_;
  QProgressBar* barra_;
  std::string testo_;
  float valore_ = 0;
  float massimo_ = 100;
};

class frmImporta : public PaginaWizard {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmImporta";
  explicit frmImporta(Programma& programma);

  QGroupBox* fraOpzioni;
  QLabel* Label1;
  QLabel* Label5;
  // (0) overwrite, (1) leave existing rows; (2) is hidden and selected so that neither
  // visible option starts selected.
  std::array<QRadioButton*, 3> optSovrascrivi;
  std::array<QWidget*, 3> fraStep;  // ready, running, finished
  std::map<int, QLabel*> lblMsg;
  QLabel* lblImp;
  QProgressBar* barImp;
  std::array<QLabel*, 2> lblSave;  // (0) in the help panel, (1) in the finished step
  QLabel* lblHelpImp;
  QPushButton* cmdFine;
  QPushButton* cmdSave;
  QListWidget* lstBackup;
  QWidget* picImg;
  ScatolaImmagineQt imgImg;
  ProgressoQt progresso;
  // How the run yields to the window system after each row; tests put their own.
  std::unique_ptr<motore::IEventi> eventi;

  bool ImportazioneInCorso() const { return importazioneInCorso_; }

 protected:
  void Pagina_Load() override;
  std::vector<QWidget*> PulsantiRiga() override;
  void Form_QueryUnload(ModoScarica modo, bool& annulla) override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  void cmdBack_Click() override;
  void cmdImport_Click() override;

 private:
  void optSovrascrivi_Click();
  void cmdSave_Click();
  void cmdFine_Click();

  bool importazioneInCorso_ = false;
  std::chrono::steady_clock::time_point mostrata_{};  // when "Importa" last came in sight
};

}  // namespace tarkpo::wizard
