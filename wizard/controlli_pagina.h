#pragma once
// The plain controls the option pages are built from, named as the pages name them and
// placed in twips inside their container.
#include <QCheckBox>
#include <QRadioButton>

#include "wizard/controlli.h"

namespace tarkpo::wizard {

QCheckBox* NuovaCasella(QWidget* genitore, const QString& nome, const char* testo, int sinistra,
                        int alto, int larghezza, int altezza);
QRadioButton* NuovaOpzione(QWidget* genitore, const QString& nome, const char* testo, int sinistra,
                           int alto, int larghezza, int altezza);

}  // namespace tarkpo::wizard
