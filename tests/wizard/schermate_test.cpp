// Renders the start-up window and a page frame to PNG files under the build folder, so that
// a person can look at them.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>

#include "tests/wizard/ambiente.h"
#include "wizard/applicazione.h"
#include "wizard/frm_about.h"
#include "wizard/frm_main.h"
#include "wizard/frm_opzioni_db.h"
#include "wizard/frm_start.h"

namespace tarkpo::wizard {
namespace {

TEST(Schermate, AvvioEPaginaInPng) {
  const QString cartella = QStringLiteral(TARKPO_BINARI "/schermate");
  QDir().mkpath(cartella);
  test::Ambiente a;
  Programma& prog = a.Crea();
  AvviaFinestre(prog);
  frmAbout* avvio = prog.Caricata<frmAbout>();
  ASSERT_NE(avvio, nullptr);
  prog.def.gTipoDb = "Text;";
  prog.def.gPathDb = "/dati/catalogo";
  prog.def.gPathNegozio = "/negozi/uno";
  frmMain& pagina = prog.Form<frmMain>();
  pagina.Mostra();
  frmStart& start = prog.Form<frmStart>();
  start.Mostra();
  frmOpzioniDb& opzioni = prog.Form<frmOpzioniDb>();
  opzioni.Mostra();

  struct Schermata {
    QWidget* finestra;
    const char* file;
    QSize dimensione;
  };
  for (const Schermata& s :
       {Schermata{avvio, "avvio.png", {404, 285}}, Schermata{&pagina, "pagina.png", {632, 445}},
        Schermata{&start, "start.png", {632, 445}},
        Schermata{&opzioni, "opzioni_db.png", {276, 197}}}) {
    const QString percorso = cartella + QLatin1Char('/') + QLatin1String(s.file);
    ASSERT_TRUE(s.finestra->grab().save(percorso, "PNG")) << percorso.toStdString();
    QImage letta(percorso);
    EXPECT_EQ(letta.size(), s.dimensione) << s.file;
  }
}

}  // namespace
}  // namespace tarkpo::wizard
