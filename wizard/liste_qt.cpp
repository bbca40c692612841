#include "wizard/liste_qt.h"

#include <QSignalBlocker>

#include "core/testo.h"

namespace tarkpo::wizard {

namespace {
constexpr int kRuoloTesto = Qt::UserRole + 1;
}  // namespace

QString TestoLeggibile(const std::string& testo) { return QString::fromStdString(InUtf8(testo)); }

// Emptying or filling the list runs no handler: only a selection does.
void ListaTabelleQt::Clear() {
  QSignalBlocker blocco(lista_);
  lista_->clear();
}

int ListaTabelleQt::AddItem(const std::string& testo) {
  const QString t = TestoLeggibile(testo);
  int riga = lista_->count();
  if (ordinata_) {
    // The first entry that sorts after the new one; a binary search keeps long lists fast.
    int basso = 0, alto = riga;
    while (basso < alto) {
      const int mezzo = (basso + alto) / 2;
      if (QString::compare(lista_->item(mezzo)->text(), t, Qt::CaseInsensitive) <= 0)
        basso = mezzo + 1;
      else
        alto = mezzo;
    }
    riga = basso;
  }
  auto* voce = new QListWidgetItem(t);
  voce->setData(kRuoloTesto, QByteArray::fromStdString(testo));
  QSignalBlocker blocco(lista_);
  lista_->insertItem(riga, voce);
  return riga;
}

std::string ListaTabelleQt::Testo(int indice) const {
  const QListWidgetItem* voce = lista_->item(indice);
  return voce != nullptr ? voce->data(kRuoloTesto).toByteArray().toStdString() : std::string();
}

void ListaTabelleQt::SetItemData(int indice, int32_t dato) {
  if (auto* voce = lista_->item(indice)) voce->setData(Qt::UserRole, dato);
}

void ListaTabelleQt::SetListIndex(int indice) { lista_->setCurrentRow(indice); }

void ElencoCampoQt::Svuota() {
  QSignalBlocker blocco(elenco_);
  elenco_->clear();
}

void ElencoCampoQt::AggiungiVoce(const std::string& testo) {
  // A combo box selects its first entry by itself; the list it stands for does not.
  QSignalBlocker blocco(elenco_);
  const int prima = elenco_->currentIndex();
  elenco_->addItem(QString::fromStdString(testo));
  elenco_->setCurrentIndex(prima);
}

int ElencoCampoQt::NumeroVoci() const { return elenco_->count(); }

std::string ElencoCampoQt::Voce(int indice) const {
  return elenco_->itemText(indice).toStdString();
}

bool ElencoCampoQt::ImpostaDato(int indice, int32_t dato) {
  if (indice < 0 || indice >= elenco_->count()) return false;
  elenco_->setItemData(indice, dato);
  return true;
}

int32_t ElencoCampoQt::Dato(int indice) const { return elenco_->itemData(indice).toInt(); }

bool ElencoCampoQt::Seleziona(int indice) {
  if (indice < -1 || indice >= elenco_->count()) return false;
  elenco_->setCurrentIndex(indice);
  return true;
}

int ElencoCampoQt::Selezionata() const { return elenco_->currentIndex(); }

}  // namespace tarkpo::wizard
