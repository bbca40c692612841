#include "wizard/controlli_pagina.h"

#include "wizard/geometria.h"

namespace tarkpo::wizard {

namespace {

template <class W>
W* Nuovo(W* w, const QString& nome, int sinistra, int alto, int larghezza, int altezza) {
  w->setObjectName(nome);
  PosizionaTwips(w, sinistra, alto, larghezza, altezza);
  return w;
}

}  // namespace

QCheckBox* NuovaCasella(QWidget* genitore, const QString& nome, const char* testo, int sinistra,
                        int alto, int larghezza, int altezza) {
  return Nuovo(new QCheckBox(QString::fromUtf8(testo), genitore), nome, sinistra, alto, larghezza,
               altezza);
}

QRadioButton* NuovaOpzione(QWidget* genitore, const QString& nome, const char* testo, int sinistra,
                           int alto, int larghezza, int altezza) {
  return Nuovo(new QRadioButton(QString::fromUtf8(testo), genitore), nome, sinistra, alto,
               larghezza, altezza);
}

}  // namespace tarkpo::wizard
