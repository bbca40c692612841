#pragma once
// Window geometry is laid out in twips, 15 to a pixel at 96 dpi.
#include <QFont>
#include <QRect>
#include <QWidget>
#include <cmath>

namespace tarkpo::wizard {

constexpr int kTwipPerPixel = 15;

constexpr int Px(int twips) {
  return twips >= 0 ? (twips + kTwipPerPixel / 2) / kTwipPerPixel
                    : -((-twips + kTwipPerPixel / 2) / kTwipPerPixel);
}

inline QRect RettangoloTwips(int sinistra, int alto, int larghezza, int altezza) {
  return QRect(Px(sinistra), Px(alto), Px(larghezza), Px(altezza));
}

inline void PosizionaTwips(QWidget* w, int sinistra, int alto, int larghezza, int altezza) {
  w->setGeometry(RettangoloTwips(sinistra, alto, larghezza, altezza));
}

// The sans-serif face the pages are drawn in, at the given point size.
inline QFont CarattereFinestra(double punti) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(punti);
  f.setWeight(QFont::Normal);
  return f;
}

}  // namespace tarkpo::wizard
