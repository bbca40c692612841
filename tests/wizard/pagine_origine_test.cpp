// The source reached through the real pages: the restart straight to the import page and
// the source page's "Avanti >" when only items are imported.
#include <gtest/gtest.h>

#include <fstream>

#include "core/file_definizione.h"
#include "core/impostazioni.h"
#include "core/impostazioni_programma.h"
#include "support/negozio_test.h"
#include "tests/wizard/ambiente.h"
#include "tests/wizard/tastiera.h"
#include "wizard/applicazione.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_listini.h"
#include "wizard/frm_main.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_rimuovi_articoli.h"
#include "wizard/frm_start.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_tabella_rep.h"
#include "wizard/pagine_origine.h"

namespace tarkpo::wizard {
namespace {

using test::Ambiente;

// A folder of ";" delimited files, as the normal engine settings read them.
std::string CartellaCsv(const Ambiente& a) {
  const std::string cartella = a.cartella / "csv";
  std::filesystem::create_directories(cartella);
  std::ofstream(cartella + "/articoli.csv") << "Codice;Titolo\r\nA1;Sedia\r\n";
  std::ofstream(cartella + "/reparti.csv") << "Codice;Nome\r\nR1;Casa\r\n";
  return cartella;
}

TEST(PagineOrigine, IlRiavvioConIApreLaSorgenteDallaPaginaOrigine) {
  for (bool esiste : {true, false}) {
    SCOPED_TRACE(esiste ? "source present" : "source missing");
    Ambiente a;
    DefinizioneImportazione d;
    d.gTipoDb = "Text;";
    d.gOpzioniDb = "HDR=Yes";
    d.gPathDb = esiste ? CartellaCsv(a) : a.cartella / "manca";
    d.gPathNegozio = "/negozio";
    d.gImpArt = 1;
    d.gSovrascrivi = 1;
    SalvaStatoTemp(d, a.cartellaProgramma);
    Programma& prog = a.Crea("i");
    PagineOrigine pagine(prog);
    CollegaPagineOrigine(prog, pagine);
    AvviaFinestre(prog);

    frmMain* origine = prog.Caricata<frmMain>();
    ASSERT_NE(origine, nullptr);
    EXPECT_EQ(prog.def.gPathDb, d.gPathDb);  // the source page's load keeps path and options
    EXPECT_EQ(prog.def.gOpzioniDb, "HDR=Yes");
    if (esiste) {
      EXPECT_TRUE(a.messaggi.Mostrati().empty());
      ASSERT_NE(prog.gDb, nullptr);
      EXPECT_EQ(prog.gDb, origine->Data1.Database());
      EXPECT_FALSE(origine->isVisible());
      frmImporta* importa = prog.Caricata<frmImporta>();
      ASSERT_NE(importa, nullptr);
      EXPECT_TRUE(importa->isVisible());
      EXPECT_TRUE(importa->optSovrascrivi[0]->isChecked());
    } else {
      ASSERT_EQ(a.messaggi.Mostrati().size(), 2u);
      EXPECT_EQ(a.messaggi.Mostrati()[1].testo, "I dati dell'importazione non sono validi");
      EXPECT_EQ(prog.gDb, nullptr);
      EXPECT_TRUE(origine->isVisible());
      EXPECT_EQ(prog.Caricata<frmImporta>(), nullptr);
    }
  }
}

TEST(PagineOrigine, SoloArticoliLasciaNascostaLaTabellaRepartiCheTieneLaSorgente) {
  Ambiente a;
  Programma& prog = a.Crea();
  PagineOrigine pagine(prog);
  CollegaPagineOrigine(prog, pagine);
  prog.def.gTipoDb = "Text;";
  prog.def.gPathDb = CartellaCsv(a);
  prog.def.gPathNegozio = "/negozio";
  prog.def.gImpArt = 1;
  prog.def.gTabellaArt = "articoli#csv";
  prog.motore.IniPath = kIniPathSet0;
  SaveSetting(a.registro, kApplicazione, "set0\\Jet\\4.0\\Engines\\Text", "Format", "Delimited(;)");
  frmMain& m = prog.Form<frmMain>();
  m.Mostra();
  m.cmdImport->click();

  EXPECT_TRUE(a.messaggi.Mostrati().empty());
  EXPECT_EQ(prog.Caricata<frmMain>(), nullptr);
  frmTabellaRep* rep = prog.Caricata<frmTabellaRep>();
  ASSERT_NE(rep, nullptr);
  EXPECT_FALSE(rep->isVisible());
  EXPECT_EQ(prog.gDb, rep->Data1.Database());
  frmTabellaArt* art = prog.Caricata<frmTabellaArt>();
  ASSERT_NE(art, nullptr);
  EXPECT_TRUE(art->isVisible());
  ASSERT_EQ(art->lstTabelleArt->count(), 2);
  EXPECT_EQ(art->lstTabelleArt->currentItem()->text(), QStringLiteral("articoli.csv"));
}

// Presses "< Indietro" of the page with the keyboard: Tab to it, then Enter.
template <typename Pagina>
void Indietro(Programma& prog) {
  Pagina* pagina = prog.Caricata<Pagina>();
  ASSERT_NE(pagina, nullptr);
  ASSERT_TRUE(pagina->isVisible());
  test::Attiva(pagina);
  test::TabFino(pagina, pagina->cmdBack);
  test::Premi(pagina, Qt::Key_Return);
}

// A definition saved with the Windows-1252 name of a CSV file (caffè.csv) comes back with
// the name in UTF-8. Loaded with "Vai subito", then walked back from the import page to the
// items mapping page and its table page, it shows and keeps the saved mapping.
TEST(PagineOrigine, UnaMappaturaSalvataResisteAllaRiletturaDelNome) {
  Ambiente a;
  const std::string origine = a.cartella / "origine";
  std::filesystem::create_directories(origine);
  std::ofstream(origine + "/caff\xE8.csv") << "Codice,Titolo,Prezzo\r\nA1,Sedia,10\r\n";
  DefinizioneImportazione d;
  d.gTipoDb = "Text;";
  d.gOpzioniDb = "HDR=Yes";
  d.gPathDb = origine;
  d.gPathNegozio = a.cartella / "negozio";
  test::CreaNegozio(d.gPathNegozio);
  d.gImpArt = 1;
  d.gTabellaArt = "caff\xE8#csv";
  d.gCampiArt.fill(-1);
  d.gCampiArt[1] = 1, d.gNomiCampiArt[1] = "Codice";
  d.gCampiArt[2] = 2, d.gNomiCampiArt[2] = "Titolo";
  d.gCampiArt[6] = 3, d.gNomiCampiArt[6] = "Prezzo";
  d.gSovrascrivi = 1;
  d.gListini[0] = 1;
  const std::string file = a.cartellaProgramma + "/caffe.kpo";
  ASSERT_TRUE(SalvaImportazione(d, file, a.messaggi));
  SaveSetting(a.registro, kApplicazione, "AppIni", "opt", "2");
  SaveSetting(a.registro, kApplicazione, "AppIni", "go1", "1");
  SaveSetting(a.registro, kApplicazione, "AppIni", "file", file);
  Programma& prog = a.Crea();
  PagineOrigine pagine(prog);
  CollegaPagineOrigine(prog, pagine);

  frmStart& inizio = prog.Form<frmStart>();
  inizio.Mostra();
  test::Attiva(&inizio);
  test::TabFino(&inizio, inizio.cmdImport);
  test::Premi(&inizio, Qt::Key_Return);
  ASSERT_EQ(prog.def.gTabellaArt, "caffè#csv");
  Indietro<frmImporta>(prog);
  Indietro<frmListini>(prog);
  Indietro<frmLingue>(prog);
  Indietro<frmRimuoviArticoli>(prog);
  Indietro<frmOpzioniArticoli>(prog);

  frmCampiArt* campi = prog.Caricata<frmCampiArt>();
  ASSERT_NE(campi, nullptr);
  EXPECT_EQ(campi->cboCampo[1]->currentText(), QStringLiteral("Codice"));
  EXPECT_EQ(campi->cboCampo[2]->currentText(), QStringLiteral("Titolo"));
  EXPECT_EQ(campi->cboCampo[6]->currentText(), QStringLiteral("Prezzo"));
  Indietro<frmCampiArt>(prog);
  frmTabellaArt* tabella = prog.Caricata<frmTabellaArt>();
  ASSERT_NE(tabella, nullptr);
  EXPECT_TRUE(tabella->isVisible());
  EXPECT_EQ(tabella->txtTabSel->text(), QString::fromUtf8("caffè.csv"));
  EXPECT_EQ(prog.def.gCampiArt, d.gCampiArt);
  EXPECT_EQ(prog.def.gNomiCampiArt, d.gNomiCampiArt);
  EXPECT_TRUE(a.messaggi.Mostrati().empty()) << ::testing::PrintToString(a.messaggi.Testi());
}

}  // namespace
}  // namespace tarkpo::wizard
