#include "wizard/gruppi_opzioni.h"

#include <QButtonGroup>
#include <algorithm>
#include <set>
#include <vector>

namespace tarkpo::wizard {

namespace {

// The options of the group that `opzione` belongs to, in the window's tab order; empty when
// it belongs to none.
std::vector<QAbstractButton*> Gruppo(QAbstractButton* opzione) {
  QList<QAbstractButton*> membri;
  if (QButtonGroup* gruppo = opzione->group()) {
    if (gruppo->exclusive()) membri = gruppo->buttons();
  } else if (opzione->autoExclusive() && opzione->parentWidget() != nullptr) {
    for (auto* b :
         opzione->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
      if (b->autoExclusive() && b->group() == nullptr) membri.push_back(b);
    }
  }
  std::vector<QAbstractButton*> ordine;
  if (membri.size() < 2) return ordine;
  // A window's focus chain is a ring through the window.
  QWidget* finestra = opzione->window();
  for (QWidget* w = finestra->nextInFocusChain(); w != finestra; w = w->nextInFocusChain()) {
    auto* b = qobject_cast<QAbstractButton*>(w);
    if (b != nullptr && membri.contains(b)) ordine.push_back(b);
  }
  return ordine;
}

bool Sceglibile(const QAbstractButton* b) { return b->isEnabled() && b->isVisibleTo(b->window()); }

}  // namespace

void FermateGruppi(QWidget* finestra) {
  std::set<QAbstractButton*> visti;
  for (auto* opzione : finestra->findChildren<QAbstractButton*>()) {
    if (visti.count(opzione) != 0) continue;
    const std::vector<QAbstractButton*> gruppo = Gruppo(opzione);
    visti.insert(gruppo.begin(), gruppo.end());
    // A chosen option that cannot be chosen now (a disabled one) is no stop.
    auto fermata = std::find_if(gruppo.begin(), gruppo.end(), [](const QAbstractButton* b) {
      return b->isChecked() && Sceglibile(b);
    });
    if (fermata == gruppo.end()) fermata = std::find_if(gruppo.begin(), gruppo.end(), Sceglibile);
    for (auto it = gruppo.begin(); it != gruppo.end(); ++it) {
      const Qt::FocusPolicy politica = (*it)->focusPolicy();
      (*it)->setFocusPolicy(it == fermata ? Qt::FocusPolicy(politica | Qt::TabFocus)
                                          : Qt::FocusPolicy(politica & ~Qt::TabFocus));
    }
  }
}

bool FrecciaInGruppo(QAbstractButton* opzione, const QKeyEvent& tasto) {
  int passo = 0;
  switch (tasto.key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
      passo = -1;
      break;
    case Qt::Key_Down:
    case Qt::Key_Right:
      passo = 1;
      break;
    default:
      return false;
  }
  const std::vector<QAbstractButton*> gruppo = Gruppo(opzione);
  const auto qui = std::find(gruppo.begin(), gruppo.end(), opzione);
  if (qui == gruppo.end()) return false;
  const int n = static_cast<int>(gruppo.size());
  const int i = static_cast<int>(qui - gruppo.begin());
  for (int k = 1; k < n; ++k) {
    QAbstractButton* altra = gruppo[static_cast<size_t>(((i + passo * k) % n + n) % n)];
    if (!Sceglibile(altra)) continue;
    altra->setFocus(passo < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    altra->click();
    break;
  }
  return true;
}

}  // namespace tarkpo::wizard
