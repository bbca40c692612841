#pragma once
// A window with the life the pages rely on: created and loaded (hidden) the first time
// anything of it is touched through Programma::Form, shown modeless or modal, destroyed
// when closed; touching it again makes a new one whose load runs again.
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

  void closeEvent(QCloseEvent* evento) override;
  bool event(QEvent* evento) override;

  Programma& prog_;

 private:
  void Carica() { Form_Load(); }

  std::string nome_;
  bool daCodice_ = false;
  bool inChiusura_ = false;
  bool scaricata_ = false;
};

}  // namespace tarkpo::wizard
