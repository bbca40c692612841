#include "wizard/disegni.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "wizard/geometria.h"

namespace tarkpo::wizard {

namespace {

const QColor kBlu(0x1f, 0x4e, 0x8c);
const QColor kAzzurro(0x5b, 0x9b, 0xd5);
const QColor kArancio(0xf0, 0x8a, 0x24);

QPixmap Vuota(int larghezza, int altezza) {
  QPixmap p(larghezza, altezza);
  p.fill(Qt::transparent);
  return p;
}

// A box receiving an arrow: the import, in one mark that reads at 16 pixels too.
void DisegnaMarchio(QPainter& g, const QRectF& r) {
  const qreal u = r.width() / 16.0;
  g.setPen(Qt::NoPen);
  g.setBrush(kBlu);
  g.drawRoundedRect(QRectF(r.left() + 1 * u, r.top() + 7 * u, 14 * u, 8 * u), 1.5 * u, 1.5 * u);
  g.setBrush(kAzzurro);
  g.drawRect(QRectF(r.left() + 3 * u, r.top() + 9 * u, 10 * u, 1.5 * u));
  QPainterPath freccia;
  freccia.moveTo(r.left() + 6.5 * u, r.top() + 1 * u);
  freccia.lineTo(r.left() + 9.5 * u, r.top() + 1 * u);
  freccia.lineTo(r.left() + 9.5 * u, r.top() + 5 * u);
  freccia.lineTo(r.left() + 12 * u, r.top() + 5 * u);
  freccia.lineTo(r.left() + 8 * u, r.top() + 9.5 * u);
  freccia.lineTo(r.left() + 4 * u, r.top() + 5 * u);
  freccia.lineTo(r.left() + 6.5 * u, r.top() + 5 * u);
  freccia.closeSubpath();
  g.setBrush(kArancio);
  g.drawPath(freccia);
}

}  // namespace

QPixmap ImmagineAvvio() {
  QPixmap p(Px(6060), Px(4275));
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sfondo(0, 0, 0, p.height());
  sfondo.setColorAt(0, QColor(0xf7, 0xfa, 0xfd));
  sfondo.setColorAt(1, QColor(0xc9, 0xdc, 0xef));
  g.fillRect(p.rect(), sfondo);
  // Shelves of a catalogue, faint, top right.
  g.setPen(Qt::NoPen);
  for (int riga = 0; riga < 4; ++riga) {
    for (int col = 0; col < 5; ++col) {
      QColor c = (riga + col) % 3 == 0 ? kArancio : kAzzurro;
      c.setAlpha(60);
      g.setBrush(c);
      g.drawRoundedRect(QRectF(232 + col * 34, 18 + riga * 32, 28, 24), 3, 3);
    }
  }
  DisegnaMarchio(g, QRectF(24, 100, 64, 64));
  g.setPen(kBlu);
  QFont titolo = CarattereFinestra(20);
  titolo.setBold(true);
  g.setFont(titolo);
  g.drawText(QRectF(24, 170, 360, 36), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Importazione database"));
  g.setFont(CarattereFinestra(10));
  g.setPen(QColor(0x33, 0x44, 0x55));
  g.drawText(QRectF(24, 206, 360, 24), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Reparti e articoli nel negozio online"));
  g.setPen(QPen(QColor(0x7f, 0x9d, 0xbf), 1));
  g.setBrush(Qt::NoBrush);
  g.drawRect(p.rect().adjusted(0, 0, -1, -1));
  return p;
}

QPixmap ImmagineLogo() {
  QPixmap p = Vuota(Px(1980), Px(1095));
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(Qt::NoPen);
  g.setBrush(kBlu);
  g.drawRoundedRect(QRectF(8, 8, p.width() - 16, p.height() - 16), 10, 10);
  g.setBrush(kArancio);
  g.drawEllipse(QRectF(18, 22, 28, 28));
  g.setPen(Qt::white);
  QFont f = CarattereFinestra(13);
  f.setBold(true);
  g.setFont(f);
  g.drawText(QRectF(50, 8, p.width() - 58, p.height() - 16), Qt::AlignCenter,
             QStringLiteral("vantrel"));
  return p;
}

QPixmap ImmagineInfo() {
  QPixmap p = Vuota(32, 32);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QPen(kBlu.darker(130), 1.5));
  g.setBrush(kAzzurro);
  g.drawEllipse(QRectF(2, 2, 28, 28));
  g.setPen(Qt::NoPen);
  g.setBrush(Qt::white);
  g.drawEllipse(QRectF(14, 7, 4.5, 4.5));
  g.drawRoundedRect(QRectF(14, 13.5, 4.5, 12), 1, 1);
  return p;
}

QPixmap ImmagineTutorial() {
  QPixmap p = Vuota(65, 17);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  // An open book, then the word.
  g.setPen(QPen(kBlu, 1));
  g.setBrush(Qt::white);
  g.drawRect(QRectF(1.5, 3.5, 6, 10));
  g.drawRect(QRectF(7.5, 3.5, 6, 10));
  g.setFont(CarattereFinestra(7.5));
  g.drawText(QRectF(16, 0, 49, 17), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tutorial"));
  return p;
}

QIcon IconaProgramma() {
  QIcon icona;
  for (int lato : {16, 32, 48}) {
    QPixmap p = Vuota(lato, lato);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    DisegnaMarchio(g, QRectF(0, 0, lato, lato));
    g.end();
    icona.addPixmap(p);
  }
  return icona;
}

}  // namespace tarkpo::wizard
