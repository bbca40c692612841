#include "core/file_definizione.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/definizione_esempio.h"
#include "core/regionali.h"
#include "core/testo.h"
#include "support/cartella_temp.h"
#include "support/messaggi_script.h"

namespace tarkpo {
namespace {

// Regional settings for one test, restored afterwards.
class ConRegionali {
 public:
  explicit ConRegionali(ImpostazioniRegionali r) : prima_(Regionali()) { Regionali() = r; }
  ~ConRegionali() { Regionali() = prima_; }

 private:
  ImpostazioniRegionali prima_;
};

std::vector<std::string> Righe(const std::string& testo) {
  std::vector<std::string> righe;
  for (size_t i = 0; i < testo.size();) {
    size_t fine = testo.find("\r\n", i);
    righe.push_back(testo.substr(i, fine - i));
    i = fine + 2;
  }
  return righe;
}

std::string Unisci(const std::vector<std::string>& righe, const char* fine = "\r\n") {
  std::string testo;
  for (const auto& r : righe) testo += r + fine;
  return testo;
}

// The values on process start plus the defaults of a normal start-up.
DefinizioneImportazione DiAvvio() {
  DefinizioneImportazione d;
  d.gGiacenzaMinima = -1;
  d.gImpRep = d.gImpArt = d.gPreserva = 1;
  d.gListini[0] = 1;
  return d;
}

TEST(FileDefinizione, LinesAndValueFormsToTheCharacter) {
  ConRegionali it(ImpostazioniRegionali::Italiane());
  test::CartellaTemp cartella;
  test::MessaggiScript messaggi;
  DefinizioneImportazione nuova = DiAvvio();
  nuova.NuovaImportazione();

  struct Caso {
    DefinizioneImportazione d;
    std::vector<std::pair<int, std::string>> righe;  // line number (from 1), text
  };
  const Caso casi[] = {
      {DiAvvio(),
       {{1, ""},
        {3, ""},
        {5, " 1 "},
        {8, " 0 "},
        {93, " 0 "},
        {95, "-1 "},
        {96, " 0 "},
        {98, " 1 "},
        {101, " 1 "},
        {110, " 0 "}}},
      {nuova, {{3, "Access 2000;"}, {9, ""}, {52, "0"}, {92, "0"}, {91, " 0 "}}},
      {test::DefinizioneCompilata(),
       {{1, "/negozi/caffè"},
        {5, " 0 "},
        {7, "Reparti"},
        {8, " 1 "},
        {49, "rep20"},
        {50, "Articoli#csv"},
        {51, "-1 "},
        {60, ""},
        {94, "1"},
        {96, "-12,5 "},
        {100, "-2 "},
        {104, "-1 "},
        {107, " 32767 "}}},
  };
  for (const auto& c : casi) {
    std::string percorso = cartella / "prova.kpo";
    ASSERT_TRUE(SalvaImportazione(c.d, percorso, messaggi));
    std::string testo = test::LeggiFile(percorso);
    ASSERT_TRUE(testo.ends_with("\r\n"));
    std::vector<std::string> righe = Righe(testo);
    ASSERT_EQ(righe.size(), 110u);
    for (const auto& [numero, atteso] : c.righe) EXPECT_EQ(righe[numero - 1], atteso) << numero;
  }
  EXPECT_TRUE(messaggi.Mostrati().empty());
}

TEST(FileDefinizione, WholeDefinitionComesBackAndTheDelimiterChangeIsReported) {
  ConRegionali it(ImpostazioniRegionali::Italiane());
  test::CartellaTemp cartella;
  test::MessaggiScript messaggi;
  const DefinizioneImportazione salvata = test::DefinizioneCompilata();
  ASSERT_TRUE(SalvaImportazione(salvata, cartella / "a.kpo", messaggi));

  DefinizioneImportazione letta;
  EXPECT_EQ(CaricaImportazione(letta, cartella / "a.kpo"), 2);  // "" became "1"
  EXPECT_EQ(letta, salvata);
  EXPECT_EQ(CaricaImportazione(letta, cartella / "a.kpo"), 1);
  EXPECT_EQ(letta, salvata);
}

TEST(FileDefinizione, ReadingKeepsWhatALineDoesNotGive) {
  ConRegionali it(ImpostazioniRegionali::Italiane());
  const std::vector<std::string> salvate =
      Righe(TestoFileConfigurazione(test::DefinizioneCompilata()));
  DefinizioneImportazione prima;
  prima.gImpRep = 7;
  prima.gGiacenzaMinima = 99;
  prima.gVariazione = 3;
  prima.gListini.fill(5);
  prima.gSeparatore = "1";

  struct Caso {
    const char* nome;
    std::function<std::string(std::vector<std::string>)> file;
    std::function<void(DefinizioneImportazione&)> restaPrima;  // on the expected definition
  };
  const Caso casi[] = {
      {"whole", [](auto r) { return Unisci(r); }, [](auto&) {}},
      {"94 lines",
       [](auto r) {
         r.resize(94);
         return Unisci(r);
       },
       [&](auto& a) {
         a.gGiacenzaMinima = 99, a.gVariazione = 3, a.gArrotonda = a.gPreserva = 0;
         a.gLingua = a.gEscludi = 0, a.gListini = prima.gListini;
       }},
      {"line 5 not a number",
       [](auto r) {
         r[4] = "yes";
         return Unisci(r);
       },
       [](auto& a) { a.gImpRep = 7; }},
      {"out of range",
       [](auto r) {
         r[4] = " 40000 ";
         r[94] = " 1e10 ";
         return Unisci(r);
       },
       [](auto& a) { a.gImpRep = 7, a.gGiacenzaMinima = 99; }},
      {"lines past 110",
       [](auto r) {
         r.push_back(" 9 ");
         r.push_back("altro");
         return Unisci(r);
       },
       [](auto&) {}},
      {"LF line ends", [](auto r) { return Unisci(r, "\n"); }, [](auto&) {}},
      {"CR line ends", [](auto r) { return Unisci(r, "\r"); }, [](auto&) {}},
      {"CR CR LF line ends", [](auto r) { return Unisci(r, "\r\r\n"); }, [](auto&) {}},
      {"mixed line ends",
       [](auto r) {
         std::string t;
         const std::string fini[] = {"\r\n", "\n", "\r"};
         for (size_t i = 0; i < r.size(); ++i) {
           // A lone CR, an empty line and its LF are CRs before an LF: one end.
           const bool cr = fini[i % 3] == "\r" && i + 1 < r.size() && r[i + 1].empty();
           t += r[i] + (cr ? "\n" : fini[i % 3]);
         }
         return t;
       },
       [](auto&) {}},
      {"last line without its end",
       [](auto r) {
         std::string t = Unisci(r);
         return t.substr(0, t.size() - 2);
       },
       [](auto&) {}},
      {"Windows-1252", [](auto r) { return Utf8ACp1252(Unisci(r)); }, [](auto&) {}},
      {"byte-order mark", [](auto r) { return "\xEF\xBB\xBF" + Unisci(r); }, [](auto&) {}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    test::CartellaTemp cartella;
    DefinizioneImportazione d = prima;
    EXPECT_EQ(CaricaImportazione(d, cartella.Scrivi("f.kpo", c.file(salvate))), 1);
    DefinizioneImportazione attesa = test::DefinizioneCompilata();
    c.restaPrima(attesa);
    EXPECT_EQ(d, attesa);
  }
}

TEST(FileDefinizione, PriceVariationUnderEitherSeparator) {
  const ImpostazioniRegionali it = ImpostazioniRegionali::Italiane();
  const ImpostazioniRegionali en = ImpostazioniRegionali::Inglesi();
  const std::pair<ImpostazioniRegionali, ImpostazioniRegionali> casi[] = {
      {it, it}, {en, en}, {it, en}, {en, it}};
  for (const auto& [scrittura, lettura] : casi) {
    SCOPED_TRACE(testing::Message()
                 << scrittura.SeparatoreDecimale() << " -> " << lettura.SeparatoreDecimale());
    // 1.125 under "." settings is no thousand and a quarter under Italian ones.
    for (const float variazione : {-12.5f, 1.125f}) {
      DefinizioneImportazione d;
      d.gVariazione = variazione;
      std::string testo;
      {
        ConRegionali r(scrittura);
        testo = TestoFileConfigurazione(d);
        EXPECT_EQ(Righe(testo)[95],
                  (variazione < 0 ? "" : " ") + scrittura.TestoSingle(variazione) + " ");
      }
      ConRegionali r(lettura);
      DefinizioneImportazione letta;
      letta.gVariazione = 1;
      FileConfigurazione file(testo);
      std::string scarta;
      for (int i = 0; i < 95; ++i) file.LeggiRiga(scarta);
      LeggiValore(file, letta.gVariazione);
      EXPECT_EQ(letta.gVariazione, variazione);
    }
  }
}

TEST(FileDefinizione, MissingFileChangesNothing) {
  test::CartellaTemp cartella;
  const DefinizioneImportazione prima = test::DefinizioneCompilata();
  for (const std::string& percorso : {cartella / "manca.kpo", cartella.Percorso().string()}) {
    DefinizioneImportazione d = prima;
    EXPECT_EQ(CaricaImportazione(d, percorso), 0) << percorso;
    EXPECT_EQ(d, prima);
  }
}

TEST(FileDefinizione, FailedSaveIsReportedAndWritesNothing) {
  test::CartellaTemp cartella;
  DefinizioneImportazione aCapo = test::DefinizioneCompilata();
  aCapo.gNomiCampiArt[3] = "due\nrighe";
  const std::string esistente = cartella.Scrivi("vecchia.kpo", "vecchio contenuto");
  const std::pair<DefinizioneImportazione, std::string> casi[] = {
      {test::DefinizioneCompilata(), cartella / "manca/nuova.kpo"},
      {aCapo, esistente},
  };
  for (const auto& [d, percorso] : casi) {
    test::MessaggiScript messaggi;
    messaggi.Attendi("Impossibile salvare questa importazione in " + percorso);
    EXPECT_FALSE(SalvaImportazione(d, percorso, messaggi));
    EXPECT_EQ(messaggi.Mostrati().at(0).icona, Icona::Esclamazione);
    EXPECT_EQ(messaggi.Mostrati().at(0).pulsanti, Pulsanti::Ok);
  }
  EXPECT_EQ(test::LeggiFile(esistente), "vecchio contenuto");
}

TEST(FileDefinizione, StateAcrossARestart) {
  test::CartellaTemp cartella;
  const std::string tmp = cartella / "main.tmp";
  const DefinizioneImportazione salvata = test::DefinizioneCompilata();

  SalvaStatoTemp(salvata, cartella.Percorso().string());
  DefinizioneImportazione letta;
  CaricaStatoTemp(letta, cartella.Percorso().string());
  EXPECT_EQ(letta, salvata);
  EXPECT_FALSE(std::filesystem::exists(tmp));

  // Missing: nothing changes.
  CaricaStatoTemp(letta, cartella.Percorso().string());
  EXPECT_EQ(letta, salvata);

  // A line break in a text writes nothing, and no older file survives to be restored.
  cartella.Scrivi("main.tmp", "vecchio");
  DefinizioneImportazione aCapo = salvata;
  aCapo.gPathDb = "a\r\nb";
  SalvaStatoTemp(aCapo, cartella.Percorso().string());
  EXPECT_FALSE(std::filesystem::exists(tmp));

  SalvaStatoTemp(salvata, cartella / "manca");  // silently nothing
  EXPECT_FALSE(std::filesystem::exists(cartella / "manca"));
}

// Only an ordinary file is read: a FIFO with no writer would hang the program at its
// opening, /dev/zero fill the memory. Neither changes anything, nor does "main.tmp" as one.
TEST(FileDefinizione, OnlyAnOrdinaryFileIsRead) {
  test::CartellaTemp cartella;
  const std::string fifo = cartella / "fifo.kpo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string zero = cartella / "zero.kpo";
  std::filesystem::create_symlink("/dev/zero", zero);
  const DefinizioneImportazione prima = test::DefinizioneCompilata();
  for (const std::string& percorso : {fifo, zero, std::string("/dev/zero")}) {
    DefinizioneImportazione d = prima;
    EXPECT_EQ(CaricaImportazione(d, percorso), 0) << percorso;
    EXPECT_EQ(d, prima);
  }
  for (const std::string& come : {fifo, std::string("/dev/zero")}) {
    test::CartellaTemp programma;
    std::filesystem::create_symlink(come, programma / "main.tmp");
    DefinizioneImportazione d = prima;
    CaricaStatoTemp(d, programma.Percorso().string());
    EXPECT_EQ(d, prima) << come;
  }
}

// Writes that fail as on a full disk or a failing device, after `buone` that succeed.
class ScritturaGuasta : public IScritturaFile {
 public:
  ScritturaGuasta(int buone, bool sincronizzazione) : buone_(buone), sinc_(sincronizzazione) {}
  ssize_t Scrivi(int fd, const void* dati, std::size_t n) override {
    if (!sinc_ && buone_-- <= 0) {
      errno = ENOSPC;
      return -1;
    }
    // A short write, as when the disk fills half-way.
    return IScritturaFile::Scrivi(fd, dati, sinc_ ? n : std::min<std::size_t>(n, 100));
  }
  int Sincronizza(int fd) override {
    if (sinc_) {
      errno = EIO;
      return -1;
    }
    return IScritturaFile::Sincronizza(fd);
  }

 private:
  int buone_;
  bool sinc_;
};

// A save over an older definition that fails at any write leaves the older one whole, and
// nothing beside it; "main.tmp", which the restarted program would take for this
// definition, is then left out altogether.
TEST(FileDefinizione, ASaveThatFailsLeavesTheOldFileWhole) {
  struct Caso {
    const char* nome;
    int buone;
    bool sincronizzazione;
  } casi[] = {
      {"disk full at once", 0, false},
      {"disk full after part", 3, false},
      {"sync fails", 0, true},
  };
  DefinizioneImportazione nuova = test::DefinizioneCompilata();
  nuova.gPathDb = "/altri/dati";
  const std::string vecchio = TestoFileConfigurazione(test::DefinizioneCompilata());
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    test::CartellaTemp cartella;
    const std::string kpo = cartella.Scrivi("mia.kpo", vecchio);
    ScritturaGuasta guasta(c.buone, c.sincronizzazione);
    test::MessaggiScript messaggi;
    messaggi.Attendi("Impossibile salvare questa importazione in " + kpo);
    EXPECT_FALSE(SalvaImportazione(nuova, kpo, messaggi, &guasta));
    EXPECT_EQ(test::LeggiFile(kpo), vecchio);

    cartella.Scrivi("main.tmp", vecchio);
    ScritturaGuasta ancora(c.buone, c.sincronizzazione);
    SalvaStatoTemp(nuova, cartella.Percorso().string(), &ancora);
    EXPECT_FALSE(std::filesystem::exists(cartella / "main.tmp"));

    std::vector<std::string> nomi;
    for (const auto& voce : std::filesystem::directory_iterator(cartella.Percorso()))
      nomi.push_back(voce.path().filename().string());
    EXPECT_EQ(nomi, std::vector<std::string>{"mia.kpo"});
  }
}

// A save replaces the file whole, keeps its permissions (it may hold a password) and, when
// the name is a link, the link, writing the file it points at. What a save killed half-way
// left beside it goes; another running process's temporary stays.
TEST(FileDefinizione, ASaveReplacesTheFileItNames) {
  test::CartellaTemp cartella;
  const pid_t figlio = ::fork();
  if (figlio == 0) ::_exit(0);
  ::waitpid(figlio, nullptr, 0);
  const std::string morto = ".tarkpo-" + std::to_string(figlio) + "-0.tmp";
  const std::string vivo = ".tarkpo-1-0.tmp";  // init never ends
  cartella.Scrivi(morto, "mezzo");
  cartella.Scrivi(vivo, "in corso");
  const std::string vero = cartella.Scrivi("vero.kpo", "vecchio");
  ASSERT_EQ(::chmod(vero.c_str(), 0600), 0);
  const std::string link = cartella / "link.kpo";
  std::filesystem::create_symlink("vero.kpo", link);
  const DefinizioneImportazione d = test::DefinizioneCompilata();
  test::MessaggiScript messaggi;
  ASSERT_TRUE(SalvaImportazione(d, link, messaggi));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(test::LeggiFile(vero), TestoFileConfigurazione(d));
  EXPECT_EQ(std::filesystem::status(vero).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_FALSE(std::filesystem::exists(cartella / morto));
  EXPECT_TRUE(std::filesystem::exists(cartella / vivo));
}

}  // namespace
}  // namespace tarkpo
