#include "tests/wizard/testi_interi.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

#include "wizard/controlli.h"

namespace tarkpo::test {

namespace {

// What a control's text needs against the area of the control that holds it.
struct Misura {
  QSize serve;
  QRect area;
};

// The text on one line (or on its own lines where it holds line breaks).
QSize Riga(const QFontMetrics& fm, const QString& testo) {
  return fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, testo).size();
}

// The text wrapped at word boundaries within `larghezza`; a word wider than that widens it.
QSize ACapo(const QFontMetrics& fm, const QString& testo, int larghezza) {
  return fm.boundingRect(QRect(0, 0, larghezza, 100000), Qt::AlignLeft | Qt::TextWordWrap, testo)
      .size();
}

Misura MisuraEtichetta(const QLabel& l) {
  const QRect area = l.contentsRect().adjusted(l.margin(), l.margin(), -l.margin(), -l.margin());
  const QFontMetrics fm = l.fontMetrics();
  if (!l.wordWrap()) {
    // The label's own hint adds the indent that a label with a frame gives its text.
    const QSize bordi = l.size() - area.size();
    return {Riga(fm, l.text()).expandedTo(l.sizeHint() - bordi), area};
  }
  // A wrapped label shows its text in the height that its width gives it.
  QSize serve = ACapo(fm, l.text(), area.width());
  serve.setHeight(
      std::max(serve.height(), l.heightForWidth(l.width()) - (l.height() - area.height())));
  return {serve, area};
}

Misura MisuraCasella(const QAbstractButton& b, QStyle::SubElement contenuto) {
  QStyleOptionButton opzione;
  opzione.initFrom(&b);
  opzione.text = b.text();
  opzione.icon = b.icon();
  opzione.iconSize = b.iconSize();
  const QRect area = b.style()->subElementRect(contenuto, &opzione, &b);
  const QFontMetrics fm = b.fontMetrics();
  if (dynamic_cast<const wizard::CasellaACapo*>(&b) != nullptr)
    return {ACapo(fm, b.text(), area.width()), area};
  return {Riga(fm, b.text()), area};
}

Misura MisuraPulsante(const QPushButton& b) {
  QStyleOptionButton opzione;
  opzione.initFrom(&b);
  opzione.text = b.text();
  opzione.icon = b.icon();
  opzione.iconSize = b.iconSize();
  if (b.isDefault()) opzione.features |= QStyleOptionButton::DefaultButton;
  if (b.autoDefault()) opzione.features |= QStyleOptionButton::AutoDefaultButton;
  const QRect area = b.style()->subElementRect(QStyle::SE_PushButtonContents, &opzione, &b);
  QSize serve = Riga(b.fontMetrics(), b.text());
  if (!b.icon().isNull()) serve.rwidth() += b.iconSize().width() + 4;  // the style's gap
  return {serve, area};
}

std::string Nome(const QWidget& w) {
  std::string nome = w.objectName().toStdString();
  for (const QWidget* p = w.parentWidget(); p != nullptr && !p->isWindow(); p = p->parentWidget())
    if (!p->objectName().isEmpty()) nome = p->objectName().toStdString() + "." + nome;
  return nome.empty() ? w.metaObject()->className() : nome;
}

std::string Testo(QSize s) { return std::to_string(s.width()) + "x" + std::to_string(s.height()); }

}  // namespace

std::vector<std::string> TestiTagliati(const QWidget& finestra) {
  std::vector<std::string> tagliati;
  for (const QWidget* w : finestra.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&finestra)) continue;
    QString testo;
    Misura m;
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
      testo = l->text();
      m = MisuraEtichetta(*l);
    } else if (const auto* c = qobject_cast<const QCheckBox*>(w)) {
      testo = c->text();
      m = MisuraCasella(*c, QStyle::SE_CheckBoxContents);
    } else if (const auto* o = qobject_cast<const QRadioButton*>(w)) {
      testo = o->text();
      m = MisuraCasella(*o, QStyle::SE_RadioButtonContents);
    } else if (const auto* b = qobject_cast<const QPushButton*>(w)) {
      testo = b->text();
      m = MisuraPulsante(*b);
    } else {
      continue;
    }
    if (testo.isEmpty()) continue;
    // A control that reaches beyond its container shows only the part inside it.
    const QWidget* contenitore = w->parentWidget();
    const QSize spazio = (m.area & contenitore->rect().translated(-w->pos())).size();
    if (m.serve.width() > spazio.width() || m.serve.height() > spazio.height()) {
      tagliati.push_back(Nome(*w) + " \"" + testo.toStdString() + "\": needs " + Testo(m.serve) +
                         ", has " + Testo(spazio));
    }
  }
  return tagliati;
}

}  // namespace tarkpo::test
