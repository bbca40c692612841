#pragma once
// The frame every wizard page shares: step number, title, help panel, the button row and
// what the close box, the information and the tutorial buttons do. A page adds its own
// controls in its constructor and its own loading in Pagina_Load.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <map>
#include <vector>

#include "wizard/finestra.h"

namespace tarkpo::wizard {

inline constexpr const char* kTitoloFinestra = "vantrel - Importazione database";

struct Cornice {
  int passo;                    // 1 to 11, the caption of Label3
  const char* titolo;           // the caption of Label4
  int larghezzaTitolo;          // twips; 0 = as wide as the title needs
  std::vector<int> indiciHelp;  // the lblHelp labels of the page, from the top of the panel
  bool indietro;                // whether the page has "< Indietro"
  const char* avanti;           // "Avanti >" or "Importa"
  bool avantiAbilitato;
};

class PaginaWizard : public Finestra {
  Q_OBJECT

 public:
  PaginaWizard(Programma& programma, const char* nome, const Cornice& cornice);

  int Passo() const { return passo_; }
  // Stacks the visible help labels from the top of the panel, in the order of the page's
  // help indices (or the order set by OrdineHelp).
  void DisponiHelp();

  QLabel* Label3;
  QLabel* Label4;
  QFrame* Line2;
  QFrame* Picture1;
  std::map<int, QLabel*> lblHelp;
  QFrame* Line1;
  QPushButton* cmdInfo;
  QPushButton* cmdTutorial;
  QPushButton* cmdBack;  // null on the start page
  QPushButton* cmdImport;

 protected:
  void Form_Load() final;
  // The page's own loading, after the frame copy.
  virtual void Pagina_Load() {}
  // The buttons whose top follows the source page's cmdImport, in the order they are set.
  virtual std::vector<QWidget*> PulsantiRiga();
  void Form_QueryUnload(ModoScarica modo, bool& annulla) override;
  void PrimaDiMostrare() override;
  void moveEvent(QMoveEvent* evento) override;

  virtual void cmdBack_Click() {}
  virtual void cmdImport_Click() {}
  void cmdInfo_Click();
  void cmdTutorial_Click();

  // Sets the text of one help label (made by the frame) and restacks the panel.
  void ImpostaHelp(int indice, const QString& testo);
  // The labels of the help panel, top to bottom, for a page whose panel holds more than its
  // lblHelp labels; restacks the panel.
  void OrdineHelp(std::vector<QLabel*> etichette);

 private:
  void CopiaCornice();
  void PulsantiInFondo();

  int passo_;
  std::vector<QLabel*> ordineHelp_;
};

}  // namespace tarkpo::wizard
