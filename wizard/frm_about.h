#pragma once
// The start-up window, which runs the program's start-up sequence when it loads, and,
// once the wizard has started, the about box of every page's information button.
#include <QLabel>
#include <QTimer>
#include <array>

#include "wizard/finestra.h"

namespace tarkpo::wizard {

class frmAbout : public Finestra {
  Q_OBJECT

 public:
  static constexpr const char* kNome = "frmAbout";
  // The width in pixels of the fixed dialog border around the inner area.
  static constexpr int kBordo = 3;
  explicit frmAbout(Programma& programma);

  // Closes the window in the about role only.
  void EsciDaAbout();
  void Timer1_Timer();

  QLabel* lblVersione;
  std::array<QLabel*, 1> imgLogo;
  QTimer* Timer1;

 protected:
  void Form_Load() override;
  void mousePressEvent(QMouseEvent* evento) override;
  void keyPressEvent(QKeyEvent* evento) override;
  void paintEvent(QPaintEvent* evento) override;
  bool eventFilter(QObject* oggetto, QEvent* evento) override;

 private:
  void SequenzaAvvio();

  QPixmap sfondo_;
};

// "Versione " and the major, minor and revision numbers of `versione` ("2.00.0002" shows
// as "Versione 2.0.2").
QString TestoVersione(const std::string& versione);

}  // namespace tarkpo::wizard
