#include "wizard/frm_listini.h"

#include "core/definizione.h"
#include "wizard/controlli_pagina.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_lingue.h"
#include "wizard/geometria.h"
#include "wizard/negozio_pagina.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

frmListini::frmListini(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {10, "Scelta del listino", 0, {0, 1, 3}, true, "Avanti >", true}) {
  fraOpzioni = Riquadro(this, "fraOpzioni", "Listio di destinazione", 3480, 840, 5775, 4935);
  Label5[0] = Etichetta(fraOpzioni, "Label5_0",
                        "Tarvelin Quandel consente di gestire fino a 10 listini differenti. "
                        "E' necessario indicare a quali listini dovranno essere attribuiti "
                        "i seguenti dati da importare:",
                        240, 360, 5415, 615);
  const char* dati[] = {"- Sconto di reparto", "- Prezzo articolo", "- Prezzo offerta articolo"};
  for (int k = 0; k < 3; ++k) {
    Label5[3 + k] = Etichetta(fraOpzioni, QStringLiteral("Label5_%1").arg(3 + k), dati[k], 720,
                              1080 + 240 * k, 4695, 255);
  }
  Label5[2] = Etichetta(fraOpzioni, "Label5_2",
                        "Tarvelin Lumo, Vesk e Mirtane supportano un unico listino: sarà in "
                        "questo caso possibile importare solo nel primo listino.",
                        240, 2040, 5415, 495);
  Picture2 = new QFrame(fraOpzioni);
  Picture2->setObjectName(QStringLiteral("Picture2"));
  PosizionaTwips(Picture2, 240, 2640, 5295, 2175);
  Label1 = Etichetta(Picture2, "Label1_0", " Listini", 0, 0, 5295, 255);
  Label1->setFrameShape(QFrame::Panel);
  Label1->setIndent(0);  // the caption's leading blank is its indent: the line fits the height
  for (int i = 0; i < kListini; ++i) {
    const QByteArray testo = QStringLiteral("Listino %1").arg(i + 1).toUtf8();
    chkListino[i] = NuovaCasella(Picture2, QStringLiteral("chkListino%1").arg(i), testo.constData(),
                                 i < 5 ? 0 : 2520, 360 + 360 * (i % 5), 1335, 255);
    chkListino[i]->setEnabled(i == 0);
  }

  ImpostaHelp(0, QString::fromUtf8(
                     "Tarvelin Quandel consente di gestire fino a 10 listini differenti. Se il "
                     "negozio di destinazione è stato realizzato con Quandel, sarà quindi "
                     "necessario indicare a quali listini dovranno essere attribuiti i dati da "
                     "importare. La scelta dei listini ha effetto sui seguenti campi:"));
  ImpostaHelp(1, QString::fromUtf8("E' possibile selezionare più di un listino: in questo caso i "
                                   "dati saranno replicati in tutti i listini selezionati."));
  ImpostaHelp(3, QString::fromUtf8("Tarvelin Lumo, Vesk e Mirtane supportano un unico listino: "
                                   "sarà in questo caso possibile importare solo nel primo "
                                   "listino."));
  const int indiciHelp[] = {7, 6, 1};
  for (int k = 0; k < 3; ++k) {
    Label5[indiciHelp[k]] = Etichetta(Picture1, QStringLiteral("Label5_%1").arg(indiciHelp[k]),
                                      dati[k], 0, 0, 2655, 255);
  }
  OrdineHelp({lblHelp[0], Label5[7], Label5[6], Label5[1], lblHelp[1], lblHelp[3]});
}

void frmListini::Pagina_Load() {
  LeggiNegozio(prog_, [this](dao::Database& negozio) { LeggiListini(negozio); });
}

void frmListini::LeggiListini(dao::Database& negozio) {
  // A shop with ten price lists has the price column of the second.
  bool dieci = false;
  try {
    negozio.OpenRecordset("SELECT prezzo1 FROM articoli", dao::dbOpenDynaset)->Close();
    dieci = true;
  } catch (const dao::ErroreDao&) {
  }
  auto& listini = prog_.def.gListini;
  for (int i = 0; i < kListini; ++i) {
    if (!dieci && i > 0) listini[i] = 0;
    chkListino[i]->setChecked(listini[i] != 0);
    chkListino[i]->setEnabled(dieci || i == 0);
  }
}

int frmListini::MemorizzaListini() {
  int scelti = 0;
  for (int i = 0; i < kListini; ++i) {
    prog_.def.gListini[i] = chkListino[i]->isChecked() ? 1 : 0;
    scelti += prog_.def.gListini[i];
  }
  return scelti;
}

void frmListini::cmdBack_Click() {
  MemorizzaListini();
  prog_.Form<frmLingue>().Mostra();
  Scarica();
}

void frmListini::cmdImport_Click() {
  if (MemorizzaListini() == 0) {
    prog_.messaggi.Mostra("Almeno un listino deve essere selezionato", Icona::Informazione);
    return;
  }
  Scarica();
  prog_.Form<frmImporta>().Mostra();
}

}  // namespace tarkpo::wizard
