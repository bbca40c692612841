#pragma once
// What the departments and the items table pages share: the sorted list of the shown table
// names paired with the hidden list of internal names, the chosen table, the preview and
// "Avanti >" to the mapping page.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <string>

#include "wizard/liste_qt.h"
#include "wizard/pagina.h"

namespace tarkpo::wizard {

class PaginaTabella : public PaginaWizard {
  Q_OBJECT

 public:
  QGroupBox* Frame1;
  QLabel* Label1;
  QListWidget* lstTabelle;  // lstTabelleRep or lstTabelleArt
  QLabel* Label2;
  QLineEdit* txtTabSel;
  QPushButton* cmdPreview;
  QListWidget* lstNomiInterni;
  ListaTabelleQt Tabelle;      // lstTabelle as core fills it
  ListaTabelleQt NomiInterni;  // lstNomiInterni as core fills it

  void lstTabelle_Click();
  void lstTabelle_DblClick();
  void txtTabSel_Change();
  void cmdPreview_Click();

 protected:
  struct Testi {
    const char* prompt;          // Label1
    const char* prefissoTitolo;  // of the preview window, before the table's name
    bool erroreInMessaggio;      // the failed preview's message carries the engine's text
  };
  PaginaTabella(Programma& programma, const char* nome, const Cornice& cornice,
                const char* nomeLista, const Testi& testi);

  // The definition's member that holds the chosen table.
  virtual std::string& Tabella() = 0;

 private:
  // The list's selected entry, null when none is.
  QListWidgetItem* Selezionata() const;

  Testi testi_;
};

}  // namespace tarkpo::wizard
