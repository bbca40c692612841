#include "wizard/frm_importa.h"

#include <QButtonGroup>

#include "wizard/geometria.h"

namespace tarkpo::wizard {

frmImporta::frmImporta(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {11, "Importazione dati", 0, {0, 1, 2}, true, "Importa", false}) {
  auto* gruppo = new QButtonGroup(this);
  const char* testi[] = {"Sovrascrivere i dati esistenti",
                         "Ignorare (non importare) i dati esterni", ""};
  for (int i = 0; i < 3; ++i) {
    optSovrascrivi[i] = new QRadioButton(QString::fromUtf8(testi[i]), this);
    optSovrascrivi[i]->setObjectName(QStringLiteral("optSovrascrivi%1").arg(i));
    PosizionaTwips(optSovrascrivi[i], 3600, 1560 + i * 360, 5400, 285);
    gruppo->addButton(optSovrascrivi[i], i);
  }
  optSovrascrivi[2]->setEnabled(false);
  optSovrascrivi[2]->setChecked(true);
  optSovrascrivi[2]->hide();
}

}  // namespace tarkpo::wizard
