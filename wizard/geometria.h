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

// The face the windows are laid out for: the metrics of the design's 8-point face, so the
// texts fit the places the geometry gives them. Named, not left to the desktop's default.
inline constexpr const char* kFamigliaCaratteri = "Liberation Sans";

// The face the pages are drawn in, at the given point size. Horizontal hinting would round
// each advance to whole pixels as the desktop's settings say: design metrics keep the widths
// the same everywhere.
inline QFont CarattereFinestra(double punti) {
  QFont f(QString::fromLatin1(kFamigliaCaratteri));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(punti);
  f.setWeight(QFont::Normal);
  f.setHintingPreference(QFont::PreferVerticalHinting);
  return f;
}

}  // namespace tarkpo::wizard
