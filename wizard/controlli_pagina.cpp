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

QLabel* NuovaEtichetta(QWidget* genitore, const QString& nome, const char* testo, int sinistra,
                       int alto, int larghezza, int altezza) {
  auto* l = new QLabel(QString::fromUtf8(testo), genitore);
  l->setWordWrap(true);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return Nuovo(l, nome, sinistra, alto, larghezza, altezza);
}

QGroupBox* NuovoRiquadro(QWidget* genitore, const QString& nome, const char* titolo, int sinistra,
                         int alto, int larghezza, int altezza) {
  return Nuovo(new QGroupBox(QString::fromUtf8(titolo), genitore), nome, sinistra, alto, larghezza,
               altezza);
}

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

void CarattereContenuto(QWidget* riquadro) { riquadro->setFont(CarattereFinestra(7.5)); }

}  // namespace tarkpo::wizard
