#pragma once
// Controls the pages need beyond Qt's own.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QString>

namespace tarkpo::wizard {

// A check box whose text wraps onto more lines within its width, the whole box clickable.
class CasellaACapo : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void paintEvent(QPaintEvent* evento) override;
  bool hitButton(const QPoint& punto) const override;
};

// A scroll bar that shows when it has the focus, as the style's other controls do; Qt's
// own looks the same either way.
class BarraScorrimento : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void paintEvent(QPaintEvent* evento) override;
};

// A frame with a caption, at a place in twips.
QGroupBox* Riquadro(QWidget* genitore, const QString& nome, const QString& titolo, int sinistra,
                    int alto, int larghezza, int altezza);

// A label whose text wraps, from the top left, at a place in twips.
QLabel* Etichetta(QWidget* genitore, const QString& nome, const char* testo, int sinistra, int alto,
                  int larghezza, int altezza);

}  // namespace tarkpo::wizard
