#include "wizard/controlli.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QStylePainter>

#include "wizard/geometria.h"

namespace tarkpo::wizard {

void CasellaACapo::paintEvent(QPaintEvent* /*evento*/) {
  QStylePainter g(this);
  QStyleOptionButton opzione;
  initStyleOption(&opzione);
  opzione.text.clear();
  g.drawControl(QStyle::CE_CheckBox, opzione);  // the box and the focus, without the text
  const QRect area = style()->subElementRect(QStyle::SE_CheckBoxContents, &opzione, this);
  style()->drawItemText(&g, area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, palette(),
                        isEnabled(), text(), QPalette::WindowText);
}

bool CasellaACapo::hitButton(const QPoint& punto) const { return rect().contains(punto); }

void BarraScorrimento::paintEvent(QPaintEvent* evento) {
  QScrollBar::paintEvent(evento);
  if (!hasFocus()) return;
  QStyleOptionSlider opzione;
  initStyleOption(&opzione);
  const QRect cursore =
      style()->subControlRect(QStyle::CC_ScrollBar, &opzione, QStyle::SC_ScrollBarSlider, this);
  QPainter g(this);
  g.setPen(palette().color(QPalette::Highlight));
  g.drawRect(rect().adjusted(0, 0, -1, -1));
  // The thumb too, inside its edge, as the desktop marks a focused scroll bar's thumb.
  g.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
  g.drawRect(cursore.adjusted(2, 2, -3, -3));
}

QGroupBox* Riquadro(QWidget* genitore, const QString& nome, const QString& titolo, int sinistra,
                    int alto, int larghezza, int altezza) {
  auto* r = new QGroupBox(titolo, genitore);
  r->setObjectName(nome);
  PosizionaTwips(r, sinistra, alto, larghezza, altezza);
  return r;
}

QLabel* Etichetta(QWidget* genitore, const QString& nome, const char* testo, int sinistra, int alto,
                  int larghezza, int altezza) {
  auto* l = new QLabel(QString::fromUtf8(testo), genitore);
  l->setObjectName(nome);
  l->setWordWrap(true);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PosizionaTwips(l, sinistra, alto, larghezza, altezza);
  return l;
}

}  // namespace tarkpo::wizard
