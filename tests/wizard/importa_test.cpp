// The import page: the overwrite choice, the run with its backup, result messages and final
// state, "last.ini", saving the definition, and the close box during a run.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleHints>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/file_definizione.h"
#include "core/impostazioni.h"
#include "core/impostazioni_programma.h"
#include "core/mappa_campi.h"
#include "support/foto_prova.h"
#include "support/guasti_vfs.h"
#include "support/negozio_test.h"
#include "tests/wizard/ambiente.h"
#include "tests/wizard/tastiera.h"
#include "wizard/dialoghi_file_qt.h"
#include "wizard/frm_importa.h"
#include "wizard/frm_listini.h"
#include "wizard/frm_start.h"

namespace tarkpo::wizard {
namespace {

namespace fs = std::filesystem;
using test::Ambiente;

// A shop with one department and one item, a SQLite source with two departments and two
// items, and a definition that imports both, mapping codes and titles.
struct Importazione {
  explicit Importazione(IDialoghiFile* dialoghi = nullptr) : prog(a.Crea("", dialoghi)) {
    fileNegozio = test::CreaNegozio(cartellaNegozio);
    test::EseguiSql(fileNegozio,
                    "INSERT INTO categorie (id, titolo) VALUES ('imp0R1', 'Vecchio');"
                    "INSERT INTO articoli (codice, titolo, catID) VALUES ('A1', 'Vecchio', "
                    "'imp0R1')");
    test::EseguiSql(fileOrigine,
                    "CREATE TABLE reparti (Codice MEMO, Titolo MEMO);"
                    "INSERT INTO reparti VALUES ('R1', 'Casa'), ('R2', 'Orto');"
                    "CREATE TABLE articoli (Reparto MEMO, Codice MEMO, Titolo MEMO);"
                    "INSERT INTO articoli VALUES ('R1', 'A1', 'Sedia'), ('R2', 'A2', 'Vaso')");
    DefinizioneImportazione& d = prog.def;
    d.gPathNegozio = cartellaNegozio;
    d.gPathDb = fileOrigine;
    d.gTipoDb = "Access 2000;";
    d.gImpRep = 1;
    d.gImpArt = 1;
    d.gTabellaRep = "reparti";
    d.gTabellaArt = "articoli";
    d.gCampiRep.fill(-1);
    d.gCampiArt.fill(-1);
    d.gCampiRep[repId] = 1;
    d.gNomiCampiRep[repId] = "Codice";
    d.gCampiRep[repTitolo] = 2;
    d.gNomiCampiRep[repTitolo] = "Titolo";
    for (int k : {artReparto, artCodice, artTitolo}) {
      d.gCampiArt[k] = k + 1;
      d.gNomiCampiArt[k] = k == artReparto ? "Reparto" : k == artCodice ? "Codice" : "Titolo";
    }
    d.gGiacenzaMinima = -1;
    d.gListini[0] = 1;
    prog.gDb = prog.motore.Workspaces(0).OpenDatabase(fileOrigine, d.gTipoDb);
  }

  // Item A1 names a picture of its own: the run copies it into the shop's "work" folder.
  void ConImmagine() {
    fs::create_directories(cartellaNegozio + "/work");
    const QByteArray foto = test::FotoJpeg(4, 3);
    std::ofstream(a.cartella / "a1.jpg", std::ios::binary).write(foto.data(), foto.size());
    test::EseguiSql(fileOrigine,
                    "ALTER TABLE articoli ADD COLUMN Immagine1 MEMO;"
                    "UPDATE articoli SET Immagine1 = '" +
                        (a.cartella / "a1.jpg") + "' WHERE Codice = 'A1'");
    prog.def.gCampiArt[artImmagine1] = 4;
    prog.def.gNomiCampiArt[artImmagine1] = "Immagine1";
    prog.gDb->Close();  // opened on the table without the column
    prog.gDb = prog.motore.Workspaces(0).OpenDatabase(fileOrigine, prog.def.gTipoDb);
  }
  bool LavoroVuoto() const { return fs::is_empty(cartellaNegozio + "/work"); }

  std::string Titoli() const {
    return test::PrimoValore(fileNegozio,
                             "SELECT group_concat(codice || '=' || titolo, ',') FROM "
                             "(SELECT * FROM articoli ORDER BY codice)");
  }

  Ambiente a;
  Programma& prog;
  std::string cartellaNegozio = a.cartella / "negozio";
  std::string fileOrigine = a.cartella / "listino.mdb";
  std::string fileNegozio;
};

bool Visibile(QWidget* w) { return w->isVisibleTo(w->window()); }

// Makes the modal `dialogo` the window the keys go to: a dialog counts as active already while
// its parent is, before the window system has handed it the focus.
bool InPrimoPiano(QWidget* dialogo) {
  dialogo->activateWindow();
  return QTest::qWaitFor([dialogo] { return QApplication::activeWindow() == dialogo; });
}

std::string PrimaRiga(const std::string& file) {
  std::ifstream f(file);
  std::string riga;
  std::getline(f, riga);
  return riga;
}

TEST(Importa, LaSceltaDiSovrascritturaAbilitaImporta) {
  for (int16_t scelta : {0, 1, 2}) {
    SCOPED_TRACE(scelta);
    Ambiente a;
    Programma& prog = a.Crea();
    prog.def.gSovrascrivi = scelta;
    auto& p = prog.Form<frmImporta>();
    EXPECT_EQ(p.optSovrascrivi[0]->isChecked(), scelta == 1);
    EXPECT_EQ(p.optSovrascrivi[1]->isChecked(), scelta == 2);
    EXPECT_EQ(p.cmdImport->isEnabled(), scelta != 0);
    EXPECT_EQ(Visibile(p.fraStep[0]), scelta != 0);
    EXPECT_EQ(Visibile(p.lblHelpImp), scelta != 0);
    EXPECT_FALSE(Visibile(p.fraStep[1]));
    EXPECT_FALSE(Visibile(p.fraStep[2]));
    p.optSovrascrivi[0]->setChecked(true);
    EXPECT_EQ(prog.def.gSovrascrivi, 1);
    EXPECT_TRUE(p.cmdImport->isEnabled());
  }
}

TEST(Importa, RiuscitaConBackupLastIniESalvataggio) {
  Importazione t;
  fs::rename(t.fileNegozio, t.cartellaNegozio + "/items.dat");
  t.fileNegozio = t.cartellaNegozio + "/items.dat";
  t.prog.def.gSovrascrivi = 1;
  auto& p = t.prog.Form<frmImporta>();
  p.Mostra();
  p.cmdImport->click();

  EXPECT_EQ(t.Titoli(), "A1=Sedia,A2=Vaso");
  const std::string backup = t.cartellaNegozio + "/catalog.000";
  EXPECT_TRUE(fs::exists(backup));
  EXPECT_EQ(t.a.messaggi.Testi(),
            std::vector<std::string>{"E' stato creato un backup del negozio:\n" + backup +
                                     "\n\nPer ripristinare il backup, rinominare questo\nfile in "
                                     "\"items.dat\""});
  DefinizioneImportazione letta;
  ASSERT_EQ(CaricaImportazione(letta, t.a.cartellaProgramma + "/last.ini"), 1);
  EXPECT_EQ(letta, t.prog.def);

  EXPECT_FALSE(Visibile(p.fraStep[1]));
  EXPECT_TRUE(Visibile(p.fraStep[2]));
  EXPECT_FALSE(Visibile(p.cmdImport));
  EXPECT_TRUE(Visibile(p.cmdFine));
  EXPECT_FALSE(Visibile(p.cmdBack));
  EXPECT_TRUE(Visibile(p.cmdSave));
  EXPECT_TRUE(Visibile(p.lblSave[0]));
  EXPECT_TRUE(Visibile(p.lblSave[1]));
  EXPECT_TRUE(p.lblImp->text().isEmpty());
  EXPECT_FALSE(p.ImportazioneInCorso());

  // Cancelled: nothing; then twice into files of the user's.
  t.a.messaggi.Pulisci();
  t.a.dialoghi.Scegli("");
  p.cmdSave->click();
  EXPECT_TRUE(t.a.messaggi.Mostrati().empty());
  const std::string kpo = t.a.cartella / "mia.kpo";
  t.a.dialoghi.Scegli(kpo);
  p.cmdSave->click();
  EXPECT_EQ(t.a.messaggi.Testi(), std::vector<std::string>{"Importazione salvata in " + kpo});
  EXPECT_EQ(t.a.messaggi.Mostrati().back().icona, Icona::Informazione);
  ASSERT_EQ(t.a.dialoghi.richieste.size(), 2u);
  EXPECT_TRUE(t.a.dialoghi.richieste[0].salva);
  EXPECT_EQ(t.a.dialoghi.richieste[0].filtro, "Configurazione importazione (*.kpo)|*.kpo");
  EXPECT_TRUE(fs::exists(kpo));

  p.cmdFine->click();
  EXPECT_EQ(t.a.fini, std::vector<int>{0});
}

// After the run the focus is on what comes next, "Salva importazione" after a success, else
// "Fine", so Enter does that; Tab follows the button row left to right.
TEST(Importa, DopoLImportazioneIlFuocoVaAlPassoSeguente) {
  for (bool riuscita : {true, false}) {
    SCOPED_TRACE(riuscita ? "success" : "failure");
    Importazione t;
    if (!riuscita) t.prog.def.gTabellaRep = "mancante";
    t.prog.def.gSovrascrivi = 1;
    auto& p = t.prog.Form<frmImporta>();
    p.Mostra();
    test::Attiva(&p);
    test::TabFino(&p, p.cmdImport);
    test::Premi(&p, Qt::Key_Return);
    ASSERT_TRUE(Visibile(p.cmdFine));
    QWidget* primo = riuscita ? static_cast<QWidget*>(p.cmdSave) : p.cmdFine;
    EXPECT_EQ(QApplication::focusWidget(), primo);
    std::vector<QWidget*> giro;
    for (int i = 0; i < 20; ++i) {
      test::Premi(&p, Qt::Key_Tab);
      if (QApplication::focusWidget() == primo) break;
      giro.push_back(QApplication::focusWidget());
    }
    const std::vector<QWidget*> atteso =
        riuscita ? std::vector<QWidget*>{p.cmdFine, p.cmdInfo, p.cmdTutorial}
                 : std::vector<QWidget*>{p.cmdInfo, p.cmdTutorial};
    EXPECT_EQ(giro, atteso);
    ASSERT_EQ(QApplication::focusWidget(), primo);
    t.a.messaggi.Pulisci();
    t.a.dialoghi.Scegli("");
    test::Premi(&p, Qt::Key_Return);
    EXPECT_EQ(t.a.dialoghi.richieste.size(), riuscita ? 1u : 0u);
    EXPECT_EQ(t.a.fini, riuscita ? std::vector<int>{} : std::vector<int>{0});
  }
}

TEST(Importa, SenzaBackupERispostaNoNonImportaNulla) {
  Importazione t;
  std::ofstream(t.cartellaNegozio + "/catalog.999") << "x";  // no number left
  t.prog.def.gSovrascrivi = 1;
  auto& p = t.prog.Form<frmImporta>();
  t.a.messaggi.Rispondi(Risposta::No);
  p.cmdImport->click();
  EXPECT_EQ(t.a.messaggi.Testi(),
            std::vector<std::string>{"Non è possibile creare un backup del negozio:\n"
                                     "procedere comunque all'importazione?"});
  EXPECT_EQ(t.Titoli(), "A1=Vecchio");
  EXPECT_FALSE(t.prog.motore.Workspaces(0).TransazioneInCorso());
  EXPECT_FALSE(fs::exists(t.a.cartellaProgramma + "/last.ini"));
  EXPECT_TRUE(Visibile(p.fraStep[2]));
  EXPECT_TRUE(Visibile(p.cmdFine));
  EXPECT_FALSE(Visibile(p.cmdImport));
  EXPECT_FALSE(p.cmdBack->isEnabled());
  EXPECT_FALSE(Visibile(p.cmdSave));
}

TEST(Importa, RepartiFallitiGliArticoliNonSiImportanoEIlBackupSparisce) {
  Importazione t;
  t.prog.def.gTabellaRep = "mancante";
  t.prog.def.gSovrascrivi = 1;
  auto& p = t.prog.Form<frmImporta>();
  p.cmdImport->click();
  const auto testi = t.a.messaggi.Testi();
  ASSERT_GE(testi.size(), 2u);
  EXPECT_EQ(testi[testi.size() - 2],
            "L'importazione dei reparti non è riuscita:\ngli articoli non saranno importati.");
  EXPECT_EQ(testi.back(), "Il negozio non è stato modificato");
  EXPECT_EQ(t.Titoli(), "A1=Vecchio");
  EXPECT_FALSE(fs::exists(t.cartellaNegozio + "/catalog.000"));
  EXPECT_FALSE(fs::exists(t.a.cartellaProgramma + "/last.ini"));
  EXPECT_TRUE(Visibile(p.cmdBack));  // disabled, not hidden, after a failure
  EXPECT_FALSE(p.cmdBack->isEnabled());
  EXPECT_FALSE(Visibile(p.cmdSave));
  EXPECT_TRUE(Visibile(p.cmdFine));
}

// The flush that brings the copied pictures to the disk fails: the user reads the work
// folder as it is named and the C library's own text of the error, in Italian where its
// translations are installed; the import is not kept and leaves no copy.
TEST(Importa, ImmaginiNonSalvateSuDisco) {
  struct DiscoGuasto : IScritturaFile {
    int SincronizzaDisco(int) override {
      errno = EIO;
      return -1;
    }
  } disco;
  Importazione t;
  t.ConImmagine();
  t.prog.def.gSovrascrivi = 1;
  t.prog.statoImportazione.copie.UsaScrittura(disco);
  auto& p = t.prog.Form<frmImporta>();
  p.Mostra();
  p.cmdImport->click();
  const std::string errore = std::strerror(EIO);
  EXPECT_EQ(t.a.messaggi.Testi(),
            (std::vector<std::string>{"Impossibile salvare su disco le immagini copiate nella "
                                      "cartella \"" +
                                          t.cartellaNegozio + "/work\":\n" + errore,
                                      "Il negozio non è stato modificato"}));
  EXPECT_EQ(t.Titoli(), "A1=Vecchio");
  EXPECT_TRUE(t.LavoroVuoto());
  EXPECT_FALSE(fs::exists(t.cartellaNegozio + "/catalog.000"));
  // Under an Italian desktop with the C library's translations the text is theirs.
  const char* messaggi = std::setlocale(LC_MESSAGES, nullptr);
  if (messaggi != nullptr && std::string(messaggi).starts_with("it_IT") &&
      fs::exists("/usr/share/locale/it/LC_MESSAGES/libc.mo")) {
    EXPECT_NE(errore, "Input/output error");
  }
}

// The shop's file renamed over while the commit writes it: the data went into the file
// renamed away. The user is told that once, with the backup that is kept, and the pictures
// the run copied for those rows are removed.
TEST(Importa, NegozioSostituitoDuranteIlCommit) {
  Importazione t;
  t.ConImmagine();
  const std::string altro = t.cartellaNegozio + "/altro.mdb";
  fs::copy_file(t.fileNegozio, altro);
  t.prog.def.gSovrascrivi = 1;
  auto& p = t.prog.Form<frmImporta>();
  p.Mostra();
  test::GuastiVfs vfs(t.cartellaNegozio);
  vfs.Osserva([&](test::GuastiVfs::Tipo tipo, const std::string& percorso) {
    if (tipo != test::GuastiVfs::Tipo::Scrittura || percorso != t.fileNegozio) return;
    vfs.Osserva(nullptr);
    // Another process: ours would drop the import's locks by closing the file.
    ASSERT_EQ(std::system(("mv -f '" + altro + "' '" + t.fileNegozio + "'").c_str()), 0);
  });
  p.cmdImport->click();
  vfs.Osserva(nullptr);
  EXPECT_EQ(t.a.messaggi.Testi(),
            std::vector<std::string>{"Il file del negozio \"" + t.fileNegozio +
                                     "\" è stato sostituito durante l'importazione: i dati "
                                     "importati non sono nel negozio.\nE' stato conservato il "
                                     "backup del negozio:\n" +
                                     t.cartellaNegozio + "/catalog.000"});
  EXPECT_EQ(t.a.messaggi.Mostrati().back().icona, Icona::Esclamazione);
  EXPECT_EQ(t.Titoli(), "A1=Vecchio");
  EXPECT_TRUE(fs::exists(t.cartellaNegozio + "/catalog.000"));
  EXPECT_TRUE(t.LavoroVuoto());
  EXPECT_FALSE(fs::exists(t.a.cartellaProgramma + "/last.ini"));
  EXPECT_FALSE(Visibile(p.cmdSave));
  EXPECT_TRUE(Visibile(p.cmdFine));
}

TEST(Importa, SoloArticoliSenzaMessaggioDeiReparti) {
  Importazione t;
  t.prog.def.gImpRep = 0;
  t.prog.def.gTabellaRep = "mancante";
  t.prog.def.gSovrascrivi = 2;  // the existing item keeps its title
  auto& p = t.prog.Form<frmImporta>();
  p.cmdImport->click();
  EXPECT_EQ(t.Titoli(), "A1=Vecchio,A2=Vaso");
  EXPECT_EQ(t.a.messaggi.Testi().size(), 1u);  // the backup notice
  EXPECT_TRUE(Visibile(p.cmdSave));
}

// A shop that cannot be opened fails the import before any department is imported: no
// department message, whether departments were chosen or not.
TEST(Importa, NegozioCheNonSiApreSenzaMessaggioDeiReparti) {
  struct Caso {
    const char* nome;
    bool mancante;  // no data file at all, else a file that is not a database
    int16_t impRep;
  } casi[] = {{"garbage, departments", false, 1},
              {"garbage, items only", false, 0},
              {"missing, departments", true, 1},
              {"missing, items only", true, 0}};
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    Importazione t;
    fs::remove(t.fileNegozio);
    if (!c.mancante) std::ofstream(t.fileNegozio) << "questo non e' un database\n";
    t.prog.def.gImpRep = c.impRep;
    t.prog.def.gSovrascrivi = 1;
    if (c.mancante) t.a.messaggi.Rispondi(Risposta::Si);  // import without a backup
    auto& p = t.prog.Form<frmImporta>();
    p.cmdImport->click();
    const auto testi = t.a.messaggi.Testi();
    for (const std::string& testo : testi)
      EXPECT_EQ(testo.find("L'importazione dei reparti"), std::string::npos) << testo;
    ASSERT_GE(testi.size(), 2u);  // the shop's own reason, then the result
    EXPECT_EQ(testi.back(), "Il negozio non è stato modificato");
    EXPECT_FALSE(fs::exists(t.cartellaNegozio + "/catalog.000"));
    EXPECT_TRUE(Visibile(p.cmdFine));
  }
}

// Closes the page with its close box the first time the run yields.
class ChiudeDurante : public motore::IEventi {
 public:
  explicit ChiudeDurante(QWidget* pagina) : pagina_(pagina) {}
  void ElaboraEventi() override {
    if (fatto_) return;
    fatto_ = true;
    pagina_->close();
  }

 private:
  QWidget* pagina_;
  bool fatto_ = false;
};

TEST(Importa, IlPulsanteDiChiusuraDuranteLImportazioneChiedePrima) {
  for (Risposta risposta : {Risposta::No, Risposta::Si}) {
    SCOPED_TRACE(risposta == Risposta::Si ? "Si" : "No");
    Importazione t;
    t.prog.def.gSovrascrivi = 1;
    auto& p = t.prog.Form<frmImporta>();
    p.Mostra();
    p.eventi = std::make_unique<ChiudeDurante>(&p);
    t.a.messaggi.Rispondi(risposta);
    p.cmdImport->click();
    const auto testi = t.a.messaggi.Testi();
    ASSERT_FALSE(testi.empty());
    EXPECT_EQ(testi.front(),
              "E' in corso l'importazione del database:\n"
              "si desidera chiudere comunque il programma?");
    if (risposta == Risposta::No) {
      // The run went on to its end.
      EXPECT_TRUE(t.a.fini.empty());
      EXPECT_EQ(t.Titoli(), "A1=Sedia,A2=Vaso");
      EXPECT_EQ(t.prog.Caricata<frmImporta>(), &p);
    } else {
      EXPECT_EQ(t.a.fini.front(), 0);
    }
  }
}

// "Salva importazione" answered in the program's own save dialog by typing a name: without an
// extension the definition goes to NAME.kpo, which the start page lists, with the overwrite
// question when NAME.kpo exists; a name with an extension is kept as typed.
TEST(Importa, UnNomeSenzaEstensioneSiSalvaComeKpo) {
  struct Caso {
    const char* nome;
    const char* esistente;  // a file there before, or ""
    bool sostituisci;       // the answer to the overwrite question
    const char* scritto;    // the file saved, or "" for none
  };
  const Caso casi[] = {
      {"listino", "", false, "listino.kpo"},        {"listino.txt", "", false, "listino.txt"},
      {"listino", "listino", false, "listino.kpo"}, {"listino", "listino.kpo", true, "listino.kpo"},
      {"listino", "listino.kpo", false, ""},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.nome) + " over " + c.esistente + (c.sostituisci ? ", yes" : ""));
    DialoghiFileQt dialoghi;
    Importazione t(&dialoghi);
    const std::string cartella = t.a.cartella / "definizioni";
    fs::create_directories(cartella);
    if (*c.esistente != '\0') std::ofstream(cartella + "/" + c.esistente) << "vecchio\n";
    t.prog.def.gSovrascrivi = 1;
    auto& p = t.prog.Form<frmImporta>();
    p.Mostra();
    test::Attiva(&p);
    p.cmdImport->click();
    ASSERT_EQ(QApplication::focusWidget(), p.cmdSave);
    t.a.messaggi.Pulisci();

    QString domanda;
    test::DuranteModale durante(
        [&] {
          QWidget* dialogo = QApplication::activeModalWidget();
          ASSERT_NE(dialogo, nullptr);
          auto* nome = dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
          ASSERT_TRUE(InPrimoPiano(dialogo));
          ASSERT_EQ(QApplication::focusWidget(), nome);
          test::Scrivi(dialogo, (cartella + "/" + c.nome).c_str());
          // The question comes up modal inside Enter; it is answered with the keys.
          test::DuranteModale risposta(
              [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr) return;
                ASSERT_TRUE(InPrimoPiano(box));
                domanda = box->text();
                if (c.sostituisci) {
                  for (int i = 0; i < 4 && !box->button(QMessageBox::Yes)->hasFocus(); ++i)
                    test::Premi(box, Qt::Key_Tab);
                }
                test::Premi(box, Qt::Key_Space);
              },
              [] {});
          test::Premi(dialogo, Qt::Key_Return);
          if (QApplication::activeModalWidget() == dialogo) test::Premi(dialogo, Qt::Key_Escape);
        },
        [] {
          if (QWidget* w = QApplication::activeModalWidget()) w->close();
        },
        20000);  // the dialog and its question may be slow to come up on a loaded machine
    test::Premi(&p, Qt::Key_Return);

    EXPECT_EQ(domanda.contains(QStringLiteral("listino.kpo")),
              std::string(c.esistente) == "listino.kpo")
        << domanda.toStdString();
    if (*c.scritto == '\0') {
      EXPECT_TRUE(t.a.messaggi.Mostrati().empty());
      EXPECT_EQ(PrimaRiga(cartella + "/listino.kpo"), "vecchio");
      continue;
    }
    const std::string scritto = cartella + "/" + c.scritto;
    EXPECT_EQ(t.a.messaggi.Testi(), std::vector<std::string>{"Importazione salvata in " + scritto});
    DefinizioneImportazione letta;
    EXPECT_EQ(CaricaImportazione(letta, scritto), 1);
    EXPECT_EQ(letta, t.prog.def);
    if (std::string(c.esistente) == "listino") {
      EXPECT_EQ(PrimaRiga(cartella + "/listino"), "vecchio");
    }
  }
}

// The start page with "Carica un'importazione precedentemente salvata" and "Vai subito alla
// schermata di importazione" chosen, over the definition of the fixture; a clock that moves
// only when the test moves it.
struct DallaPaginaIniziale : Importazione {
  DallaPaginaIniziale() {
    prog.def.gSovrascrivi = 1;
    const std::string file = a.cartella / "listino.kpo";
    SalvaImportazione(prog.def, file, a.messaggi);
    for (auto [chiave, valore] :
         {std::pair{"opt", "2"}, {"go0", "0"}, {"go1", "1"}, {"file", file.c_str()}})
      SaveSetting(a.registro, kApplicazione, "AppIni", chiave, valore);
    prog.ApriDatabaseOrigineMain = [this] {
      prog.gDb = prog.motore.Workspaces(0).OpenDatabase(fileOrigine, prog.def.gTipoDb);
      return true;
    };
    prog.orologio = [this] { return adesso; };
    start = &prog.Form<frmStart>();
    start->Mostra();
  }

  std::chrono::steady_clock::time_point adesso{std::chrono::hours(1)};
  frmStart* start;
};

// A double-click on the start page's "Avanti >" lands its second click on "Importa" of the
// page the first opened, in the same place: no import. Neither does a click that the window
// system delivers as a single one, as long as it comes within the double-click interval of the
// page's showing; the keys work at once, and a click after that interval works at once.
TEST(Importa, IlDoppioClicDallaPaginaPrimaNonImporta) {
  enum class Seconda { DoppioClic, ClicSubito };
  enum class Poi { Clic, Spazio, Invio };
  struct Caso {
    const char* nome;
    Seconda seconda;
    Poi poi;
  };
  const Caso casi[] = {{"double-click, then a click", Seconda::DoppioClic, Poi::Clic},
                       {"click at once, then Space", Seconda::ClicSubito, Poi::Spazio},
                       {"click at once, then Enter", Seconda::ClicSubito, Poi::Invio}};
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    DallaPaginaIniziale t;
    test::Attiva(t.start);
    const QPoint dove = t.start->cmdImport->mapToGlobal(t.start->cmdImport->rect().center());
    if (c.seconda == Seconda::DoppioClic) {
      test::PrimaMetaDoppioClic(t.start->cmdImport);
    } else {
      test::Clicca(t.start->cmdImport);
    }
    frmImporta* p = t.prog.Caricata<frmImporta>();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->isVisible());
    ASSERT_EQ(p->cmdImport->mapToGlobal(p->cmdImport->rect().center()), dove);
    test::Attiva(p);
    const std::chrono::milliseconds intervallo(
        QGuiApplication::styleHints()->mouseDoubleClickInterval());
    if (c.seconda == Seconda::DoppioClic) {
      // The page came up slowly: only the window system tells this press for a double-click's.
      t.adesso += intervallo;
      test::SecondaMetaDoppioClic(p->cmdImport);
    } else {
      test::Clicca(p->cmdImport);
    }
    ASSERT_EQ(t.Titoli(), "A1=Vecchio");
    ASSERT_TRUE(Visibile(p->cmdImport));
    EXPECT_TRUE(t.a.messaggi.Mostrati().empty());

    if (c.poi == Poi::Clic) {
      t.adesso += intervallo;
      test::Clicca(p->cmdImport);
    } else {
      test::TabFino(p, p->cmdImport);
      test::Premi(p, c.poi == Poi::Spazio ? Qt::Key_Space : Qt::Key_Return);
    }
    EXPECT_EQ(t.Titoli(), "A1=Sedia,A2=Vaso");
    EXPECT_TRUE(Visibile(p->cmdFine));
  }
}

TEST(Importa, IndietroTornaAiListini) {
  Importazione t;
  auto& p = t.prog.Form<frmImporta>();
  p.cmdBack->click();
  EXPECT_EQ(t.prog.Caricata<frmImporta>(), nullptr);
  ASSERT_NE(t.prog.Caricata<frmListini>(), nullptr);
}

}  // namespace
}  // namespace tarkpo::wizard
