#pragma once
// A window with the life the pages rely on: created and loaded (hidden) the first time
// anything of it is touched through Programma::Form, shown modeless or modal, destroyed
// when closed; touching it again makes a new one whose load runs again.
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <string>

namespace tarkpo::wizard {

class Programma;

// Why a window is being closed: by the user (close box, system menu) or by the program.
enum class ModoScarica { Utente, Codice };

class Finestra : public QWidget {
  Q_OBJECT

 public:
  Finestra(Programma& programma, std::string nome);
  ~Finestra() override;

  const std::string& Nome() const { return nome_; }
  // Shows the window modeless and makes it the active one.
  void Mostra();
  // Shows the window modally and returns once it has been unloaded.
  void MostraModale(QWidget* proprietario = nullptr);
  // Closes the window from the program: no question, the window is destroyed.
  void Scarica();
  bool Scaricata() const { return scaricata_; }

 signals:
  void Chiusa();

 protected:
  friend class Programma;
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  // Sets `annulla` to keep the window open.
  virtual void Form_QueryUnload(ModoScarica /*modo*/, bool& /*annulla*/) {}
  // Just before the window is shown modeless.
  virtual void PrimaDiMostrare() {}

  // The buttons that Enter and Esc press when the focus is not on a button; null: none.
  void PulsantiTastiera(QPushButton* predefinito, QPushButton* annulla);

  void closeEvent(QCloseEvent* evento) override;
  bool event(QEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  // The arrows in option groups and the wheel over lists, for every window's controls.
  bool eventFilter(QObject* oggetto, QEvent* evento) override;
  bool focusNextPrevChild(bool avanti) override;

  Programma& prog_;

 private:
  void Carica() { Form_Load(); }
  void PreparaControlli();

  std::string nome_;
  QPointer<QPushButton> predefinito_;
  QPointer<QPushButton> annulla_;
  bool daCodice_ = false;
  bool inChiusura_ = false;
  bool scaricata_ = false;
};

}  // namespace tarkpo::wizard
