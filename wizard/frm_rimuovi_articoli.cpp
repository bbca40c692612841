#include "wizard/frm_rimuovi_articoli.h"

#include <QButtonGroup>
#include <cstdlib>

#include "wizard/controlli_pagina.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/geometria.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

frmRimuoviArticoli::frmRimuoviArticoli(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {8, "Articoli senza corrispondenza", 0, {0, 1, 2}, true, "Avanti >", true}) {
  fraOpzioni =
      Riquadro(this, "fraOpzioni", "Articoli del negozio senza corrispondenza nel database", 3480,
               840, 5775, 4935);
  Label2 = Etichetta(fraOpzioni, "Label2",
                     "Il confronto tra gli articoli del negozio e quelli del database "
                     "esterno avviene sulla base del codice articolo. ",
                     240, 360, 5295, 390);
  Label5 = Etichetta(fraOpzioni, "Label5",
                     "Se un articolo del negozio non trova corrispondenza nel database "
                     "esterno:",
                     240, 960, 5460, 255);
  struct Voce {
    const char* testo;
    int alto, larghezza;
  };
  const Voce voci[] = {
      {"Mantienilo invariato", 1320, 3975},
      {"Impostalo come escluso dalla pubblicazione", 1815, 3975},
      {"Trasferiscilo in un reparto speciale (\"Articoli orfani\") ed escludilo", 2190, 5040},
      {"Cancella l'articolo dal negozio", 2760, 3975},
  };
  auto* gruppo = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    optEscludi[i] = NuovaOpzione(fraOpzioni, QStringLiteral("optEscludi%1").arg(i), voci[i].testo,
                                 480, voci[i].alto, voci[i].larghezza, 255);
    gruppo->addButton(optEscludi[i], i);
  }
  optEscludi[0]->setChecked(true);
  Frame1 = new QFrame(fraOpzioni);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setFrameShape(QFrame::HLine);
  Frame1->setFrameShadow(QFrame::Sunken);
  PosizionaTwips(Frame1, 480, 1650, 4815, 30);
  Label1[1] = Etichetta(fraOpzioni, "Label1_1", "dalla pubblicazione", 750, 2430, 4575, 255);
  chkEscludi = NuovaCasella(fraOpzioni, "chkEscludi", "Non modificare gli articoli privi di codice",
                            480, 3120, 3495, 375);
  chkEscludi->setChecked(true);
  Label1[0] = Etichetta(
      fraOpzioni, "Label1_0",
      "Tutti gli articoli del negozio a cui non è stato attribuito un codice articolo "
      "risulteranno \"senza corrispondenza\" e saranno perciò esclusi dalla pubblicazioine / "
      "spostati / rimossi. Selezionando questa checkbox è possibile mantenerli invariati (in "
      "questo caso le modifiche avranno effetto solo sugli articoli che possiedono un codice).",
      750, 3480, 4815, 1215);

  ImpostaHelp(0, QString::fromUtf8("Nel negozio possono essere presenti articoli che sono invece "
                                   "assenti nel database esterno."));
  ImpostaHelp(1, QString::fromUtf8(
                     "E' possibile fare in modo che gli articoli senza corrispondenza non "
                     "vengano visualizzati nel negozio generato (sarà dunque automaticamente "
                     "selezionata la checkbox 'Escludi articolo'), oppure si può decidere di "
                     "eliminarli dal negozio. L'opzione che offre maggiore sicurezza è tuttavia "
                     "l'inserimento di questi articoli in un reparto speciale, sul quale sarà "
                     "possibile intervenire in un secondo tempo, stabilendone il "
                     "comportamento."));
  ImpostaHelp(2, QString::fromUtf8(
                     "Il confronto è basato sul codice degli articoli, pertanto se nel database "
                     "esterno questo campo non è presente (o non è stato impostato nella "
                     "configurazione dei campi) le opzioni di questa schermata non avranno "
                     "effetto."));

  for (int i = 0; i < 4; ++i) {
    connect(optEscludi[i], &QRadioButton::toggled, this, [this, i](bool scelto) {
      if (scelto) optEscludi_Click(i);
    });
  }
  connect(chkEscludi, &QCheckBox::toggled, this, [this] { chkEscludi_Click(); });
}

void frmRimuoviArticoli::Pagina_Load() {
  const int16_t escludi = prog_.def.gEscludi;
  chkEscludi->setChecked(escludi >= 0);
  chkEscludi->setEnabled(escludi != 0);
  const int indice = std::abs(escludi);
  if (indice < 4) optEscludi[indice]->setChecked(true);
}

void frmRimuoviArticoli::optEscludi_Click(int Index) {
  int16_t& escludi = prog_.def.gEscludi;
  escludi = static_cast<int16_t>(chkEscludi->isChecked() ? Index : -Index);
  chkEscludi->setEnabled(escludi != 0);
  if (!chkEscludi->isEnabled()) chkEscludi->setChecked(true);
}

void frmRimuoviArticoli::chkEscludi_Click() {
  int16_t& escludi = prog_.def.gEscludi;
  const int16_t assoluto = static_cast<int16_t>(std::abs(escludi));
  escludi = chkEscludi->isChecked() ? assoluto : static_cast<int16_t>(-assoluto);
}

void frmRimuoviArticoli::cmdBack_Click() {
  prog_.Form<frmOpzioniArticoli>().Mostra();
  Scarica();
}

void frmRimuoviArticoli::cmdImport_Click() {
  Scarica();
  prog_.Form<frmLingue>().Mostra();
}

}  // namespace tarkpo::wizard
