#include "wizard/frm_lingue.h"

#include <QButtonGroup>

#include "core/dao/conversioni.h"
#include "core/mappa_campi.h"
#include "wizard/controlli_pagina.h"
#include "wizard/frm_campi_rep.h"
#include "wizard/frm_listini.h"
#include "wizard/frm_rimuovi_articoli.h"
#include "wizard/geometria.h"
#include "wizard/navigazione.h"
#include "wizard/negozio_pagina.h"
#include "wizard/programma.h"

namespace tarkpo::wizard {

frmLingue::frmLingue(Programma& programma)
    : PaginaWizard(programma, kNome,
                   {9, "Scelta della lingua", 0, {0, 1, 3, 2, 4}, true, "Avanti >", true}) {
  fraOpzioni = Riquadro(this, "fraOpzioni", "Lingua di destinazione", 3480, 840, 5775, 4935);
  Label5[0] = Etichetta(fraOpzioni, "Label5_0",
                        "Tarvelin prevede la possibilità di realizzare negozi in più lingue "
                        "(fino a 2 nella versione Lumo, fino a 4 nelle versioni Vesk, Orrin, "
                        "Mirtane e Quandel).",
                        240, 360, 5415, 585);
  Label5[1] = Etichetta(fraOpzioni, "Label5_1",
                        "E' quindi necessario indicare a quale lingua dovranno essere "
                        "attribuiti i dati da importare.",
                        240, 960, 5415, 495);
  Label5[2] = Etichetta(
      fraOpzioni, "Label5_2",
      "E' possibile importare solo nelle lingue effettivamente abilitate e configurate nel "
      "negozio. Pertanto prima di importare ad esempio nella terza lingua, sarà necessario "
      "configurare il negozio affinché utilizzi (almeno) tre lingue (questa operazione deve "
      "essere effettuata utilizzando Tarvelin).",
      240, 1560, 5415, 975);
  Picture2 = new QFrame(fraOpzioni);
  Picture2->setObjectName(QStringLiteral("Picture2"));
  PosizionaTwips(Picture2, 240, 2760, 5295, 1935);
  Label1[0] = Etichetta(Picture2, "Label1_0", " Lingua", 0, 0, 2415, 255);
  Label1[1] = Etichetta(Picture2, "Label1_1", " Versioni abilitate", 2520, 0, 2775, 255);
  // The captions' leading blank is their indent: the line fits the height.
  for (QLabel* intestazione : Label1) {
    intestazione->setFrameShape(QFrame::Panel);
    intestazione->setIndent(0);
  }
  auto* gruppo = new QButtonGroup(this);
  const int alti[] = {360, 720, 1080, 1440};
  const int altiNomi[] = {435, 780, 1140, 1500};
  const int indiciEdizioni[] = {6, 5, 7, 9};
  const char* edizioni[] = {"Tutte", "Tutte", "Vesk Orrin Mirtane Quandel",
                            "Vesk Orrin Mirtane Quandel"};
  for (int i = 0; i < 4; ++i) {
    const QByteArray testo = QStringLiteral("Lingua %1").arg(i + 1).toUtf8();
    optLingua[i] = NuovaOpzione(Picture2, QStringLiteral("optLingua%1").arg(i), testo.constData(),
                                0, alti[i], 960, 375);
    optLingua[i]->setEnabled(i == 0);
    gruppo->addButton(optLingua[i], i);
    // A little right of the design's 960, so the name does not run into the option's caption.
    lblLingua[i] =
        Etichetta(Picture2, QStringLiteral("lblLingua%1").arg(i), "", 1050, altiNomi[i], 1365, 255);
    Label2[indiciEdizioni[i]] =
        Etichetta(Picture2, QStringLiteral("Label2_%1").arg(indiciEdizioni[i]), edizioni[i], 2520,
                  altiNomi[i] - 15, 2775, 255);
  }
  optLingua[0]->setChecked(true);

  ImpostaHelp(0, QString::fromUtf8("Tarvelin prevede la possibilità di realizzare negozi in più "
                                   "lingue. E' quindi necessario indicare a quale lingua "
                                   "dovranno essere attribuiti i dati da importare. "));
  ImpostaHelp(1, QString::fromUtf8("Le lingue sono identificate come \"lingua 1\" ... \"lingua "
                                   "4\". L'effettiva lingua utilizzata (es. francese, inglese, "
                                   "etc) è impostata nel negozio tramite l'interfaccia di "
                                   "Tarvelin."));
  ImpostaHelp(3, QString::fromUtf8("Gli utenti di Tarvelin Vesk, Orrin, Quandel  e Mirtane "
                                   "potranno scegliere una qualsiasi delle quattro lingue"));
  ImpostaHelp(2, QString::fromUtf8("Gli utenti di Tarvelin Lumo potranno scegliere di importare "
                                   "i dati solo nella prima o seconda lingua"));
  ImpostaHelp(4, QString::fromUtf8("Gli utenti delle versioni 1.x di Tarvelin Lumo, Vesk, Orrin "
                                   "dovranno importare i dati solo nella prima lingua."));

  for (int i = 0; i < 4; ++i) {
    connect(optLingua[i], &QRadioButton::toggled, this, [this, i](bool scelta) {
      if (scelta) prog_.def.gLingua = static_cast<int16_t>(i);
    });
  }
}

void frmLingue::Pagina_Load() {
  LeggiNegozio(prog_, [this](dao::Database& negozio) { LeggiLingue(negozio); });
  const int lingua = prog_.def.gLingua;
  // Shown even when the shop does not name it: the choice stays the user's.
  if (lingua >= 0 && lingua < 4) optLingua[lingua]->setChecked(true);
}

void frmLingue::LeggiLingue(dao::Database& negozio) {
  std::unique_ptr<dao::Recordset> rs;
  try {
    rs = negozio.OpenRecordset("lingue", dao::dbOpenDynaset);
  } catch (const dao::ErroreDao&) {
    prog_.def.gLingua = 0;
    return;
  }
  // A name that cannot be read (no record, no column) leaves its language as it was.
  auto nome = [&rs](int i, std::string& testo) {
    try {
      testo = dao::ATesto(rs->Fields("lingua" + std::to_string(i + 1)).Value());
      return true;
    } catch (const dao::ErroreDao&) {
      return false;
    }
  };
  std::string testo;
  if (nome(0, testo))
    lblLingua[0]->setText(QStringLiteral("(%1)").arg(QString::fromStdString(testo)));
  for (int i = 1; i < 4; ++i) {
    if (!nome(i, testo)) continue;
    optLingua[i]->setEnabled(!testo.empty());
    if (!testo.empty())
      lblLingua[i]->setText(QStringLiteral("(%1)").arg(QString::fromStdString(testo)));
  }
  try {
    rs->Close();
  } catch (const dao::ErroreDao&) {
  }
}

void frmLingue::cmdBack_Click() {
  if (prog_.def.gImpArt == 1) {
    prog_.Form<frmRimuoviArticoli>().Mostra();
    Scarica();
    return;
  }
  PassaA<frmCampiRep>(prog_, *this, [this](frmCampiRep& campi) {
    return prog_.gDb && PopolaCampiRep(prog_.def, *prog_.gDb, campi, prog_.messaggi);
  });
}

void frmLingue::cmdImport_Click() {
  Scarica();
  prog_.Form<frmListini>().Mostra();
}

}  // namespace tarkpo::wizard
