// The guide shipped in "tutorial" beside the built program: the tutorial button opens it,
// it walks the eleven pages under the titles they show, and its pictures are there.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

#include "support/negozio_test.h"
#include "tests/wizard/ambiente.h"
#include "wizard/frm_campi_art.h"
#include "wizard/frm_campi_rep.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_lingue.h"
#include "wizard/frm_listini.h"
#include "wizard/frm_main.h"
#include "wizard/frm_opzioni_articoli.h"
#include "wizard/frm_rimuovi_articoli.h"
#include "wizard/frm_start.h"
#include "wizard/frm_tabella_art.h"
#include "wizard/frm_tabella_rep.h"

namespace tarkpo::wizard {
namespace {

// The folder of the built executable, where the build puts the guide.
const std::string kCartellaProgramma = TARKPO_BINARI "/app";
const std::string kGuida = kCartellaProgramma + "/tutorial/index.htm";

std::string Guida() {
  std::ifstream f(kGuida, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

TEST(Tutorial, IlPulsanteApreLaGuidaAccantoAlProgramma) {
  ASSERT_TRUE(std::filesystem::is_regular_file(kGuida)) << kGuida;
  test::Ambiente a;
  a.cartellaProgramma = kCartellaProgramma;
  Programma& prog = a.Crea();
  frmStart& start = prog.Form<frmStart>();
  start.Mostra();
  QTest::mouseClick(start.cmdTutorial, Qt::LeftButton);
  EXPECT_EQ(a.shell.aperti, std::vector<std::string>{kGuida});

  frmMain& sorgente = prog.Form<frmMain>();
  sorgente.Mostra();
  sorgente.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&sorgente));
  sorgente.cmdTutorial->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), sorgente.cmdTutorial);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(a.shell.aperti, (std::vector<std::string>{kGuida, kGuida}));
  EXPECT_TRUE(a.messaggi.Mostrati().empty());
}

TEST(Tutorial, UnaSezionePerPaginaConIlTitoloELaSuaImmagine) {
  const std::string guida = Guida();
  ASSERT_FALSE(guida.empty()) << kGuida;
  struct Sezione {
    std::string passo, titolo, testo;
    size_t inizio;
  };
  std::vector<Sezione> sezioni;
  const std::regex titolo(R"re(<h2 id="passo-(\d+)">\d+\. ([^<]+)</h2>)re");
  for (auto it = std::sregex_iterator(guida.begin(), guida.end(), titolo);
       it != std::sregex_iterator(); ++it) {
    const size_t inizio = static_cast<size_t>(it->position());
    if (!sezioni.empty()) sezioni.back().testo.resize(inizio - sezioni.back().inizio);
    sezioni.push_back({(*it)[1], (*it)[2], guida.substr(inizio), inizio});
  }

  test::Ambiente a;
  Programma& prog = a.Crea();
  prog.def.gPathNegozio = a.cartella / "negozio";
  test::CreaNegozio(prog.def.gPathNegozio);
  const std::vector<std::function<PaginaWizard&()>> pagine = {
      [&]() -> PaginaWizard& { return prog.Form<frmStart>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmMain>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmTabellaRep>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmCampiRep>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmTabellaArt>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmCampiArt>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmOpzioniArticoli>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmRimuoviArticoli>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmLingue>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmListini>(); },
      [&]() -> PaginaWizard& { return prog.Form<frmImporta>(); },
  };
  ASSERT_EQ(sezioni.size(), pagine.size());
  for (size_t i = 0; i < pagine.size(); ++i) {
    PaginaWizard& p = pagine[i]();
    EXPECT_EQ(sezioni[i].passo, p.Label3->text().toStdString());
    EXPECT_EQ(sezioni[i].titolo, p.Label4->text().toStdString());
  }
  EXPECT_TRUE(a.messaggi.Mostrati().empty());

  // Each section shows its page, and every picture lies beside the guide.
  const std::regex immagine(R"re(<img src="([^"]+)")re");
  for (const Sezione& s : sezioni) {
    EXPECT_TRUE(std::regex_search(s.testo, immagine)) << "section " << s.passo;
    for (auto it = std::sregex_iterator(s.testo.begin(), s.testo.end(), immagine);
         it != std::sregex_iterator(); ++it) {
      EXPECT_TRUE(
          std::filesystem::is_regular_file(kCartellaProgramma + "/tutorial/" + (*it)[1].str()))
          << (*it)[1];
    }
  }
}

}  // namespace
}  // namespace tarkpo::wizard
