#pragma once
// What the two mapping pages share: one drop-down list of source fields per shop field,
// seen by core as the rows of a mapping, and the read-only labels of the shop fields. Tab
// and Shift+Tab go through every row's list in row order, bringing its row in sight.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <vector>

#include "core/mappa_campi.h"
#include "wizard/liste_qt.h"
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class PaginaMappa : public PaginaWizard, public IRigheMappa {
  Q_OBJECT

 public:
  IElencoCampo& Riga(int indice) override { return elenchi_.at(static_cast<size_t>(indice)); }

  QGroupBox* Frame1;
  QLabel* Label1;
  QLabel* Label5;
  QLabel* Label6;
  std::vector<QComboBox*> cboCampo;
  std::vector<QLabel*> Label2;
  std::vector<QLineEdit*> txtCampo;

  virtual void cboCampo_Click(int Index) = 0;

 protected:
  PaginaMappa(Programma& programma, const char* nome, const Cornice& cornice);
  // Adds row `i` to `contenitore`: the list at (sinistraElenco, alto), the arrow and the
  // shop field's label after it.
  void AggiungiRiga(QWidget* contenitore, int i, const char* etichetta, int sinistraElenco,
                    int alto, int larghezza, int sinistraFreccia, int sinistraCampo);
  // Brings row `i` wholly in sight before the keyboard focus goes to its list.
  virtual void MostraRiga(int /*i*/) {}
  bool focusNextPrevChild(bool avanti) override;

 private:
  int IndiceRiga(const QWidget* w) const;

  std::vector<ElencoCampoQt> elenchi_;
};

}  // namespace tarkpo::wizard
