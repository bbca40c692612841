#include "core/immagini.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include "core/caratteri.h"
#include "support/cartella_temp.h"
#include "support/scatola_finta.h"
#include "support/stampa_valore.h"

namespace tarkpo {
namespace {

TEST(NomeImmagineLavoro, SommaPesataDelPercorsoIntero) {
  struct Caso {
    const char* percorso;
    const char* atteso;
  } casi[] = {
      {"C:\\foto\\Pane 1.JPG", "pane_1342d.jpg"},  // sum 13,357
      {"C:\\img\\a.jpg", "a1cec.jpg"},             // sum 7,404
      {"/a/b/x.jpg", "x1349.jpg"},
      {"/c/b/x.jpg", "x134d.jpg"},                   // same file name, other folder
      {"/dati/img/Caffè Ì.JPG", "caffè_ì56ed.jpg"},  // Windows-1252 codes, accents lowered
      {"/img/ x.y.GIF ", "x.y1c1b.gif"},             // blanks around the name trimmed
      {"a.jpg", ""},                                 // no folder separator
      {"/img/senzaestensione", ""},
  };
  for (const auto& c : casi) EXPECT_EQ(NomeImmagineLavoro(c.percorso), c.atteso) << c.percorso;
}

TEST(NomeImmagineLavoro, CarattereFuoriDallaCodepageContaComePuntoInterrogativo) {
  EXPECT_EQ(NomeImmagineLavoro("/i/\u2603.jpg"),
            NomeImmagineLavoro("/i/?.jpg").replace(0, 1, "\u2603"));
}

struct Campi {
  Valore nome = Valore::Testo("vecchio"), larghezza = Valore::Lungo(1), altezza = Valore::Lungo(1);
  CampiImmagine Destinazione() {
    return {[this](const Valore& v) { nome = v; }, [this](const Valore& v) { larghezza = v; },
            [this](const Valore& v) { altezza = v; }};
  }
  bool Intatti() const { return nome == Valore::Testo("vecchio") && larghezza == Valore::Lungo(1); }
};

class CopiaImmagineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(negozio_ / "work");
    std::filesystem::create_directory(origine_ / "foto");
  }
  std::string Negozio() const { return negozio_.Percorso().string(); }
  std::string Lavoro(const std::string& percorso) const {
    return CartellaLavoro(Negozio()) + NomeImmagineLavoro(percorso);
  }
  test::CartellaTemp negozio_, origine_;
  test::ScatolaFinta scatola_;
};

TEST_F(CopiaImmagineTest, EstensioniAccettate) {
  struct Caso {
    const char* nome;
    bool accettata;
  } casi[] = {{"a.Jpeg ", true}, {"b.JPG", true},  {"c.gif", true},  {"d.bmp", true},
              {"e.png", false},  {"f.tif", false}, {"senza", false}, {".nascosta.jpg", false}};
  for (const auto& c : casi) {
    origine_.Scrivi(std::string(SenzaSpazi(c.nome)), "IMG 2x3");  // "x.Jpeg " finds x.Jpeg
    EXPECT_EQ(VerificaImmagine(origine_ / c.nome), c.accettata) << c.nome;
  }
  EXPECT_FALSE(VerificaImmagine(origine_ / "manca.jpg"));
  EXPECT_FALSE(VerificaImmagine(origine_ / "foto"));
}

// Rows committed by earlier imports name a copy and its size: the copy is never written
// again. An unchanged source finds its copy by length and time, without a copy or a read; a
// changed one, of another length or only other bytes, goes to a name of its own.
TEST_F(CopiaImmagineTest, UnaCopiaFattaNonERiscrittaMai) {
  const std::string p = origine_.Scrivi("foto/Pane 1.JPG", "IMG 40x30");
  Campi campi;
  const std::string nome = CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione());
  EXPECT_EQ(nome, NomeImmagineLavoro(p));
  EXPECT_EQ(test::LeggiFile(Lavoro(p)), "IMG 40x30");
  EXPECT_EQ(campi.nome, Valore::Testo(nome));
  EXPECT_EQ(campi.larghezza, Valore::Lungo(40));
  EXPECT_EQ(campi.altezza, Valore::Lungo(30));
  EXPECT_EQ(std::filesystem::last_write_time(Lavoro(p)), std::filesystem::last_write_time(p));

  const std::string primo = test::ImprontaFile(Lavoro(p));
  EXPECT_TRUE(ImmagineGiaCopiata(p, Negozio()));
  EXPECT_EQ(CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione()), nome);
  EXPECT_EQ(test::ImprontaFile(Lavoro(p)), primo);
  EXPECT_EQ(scatola_.caricate, 2);  // measured again all the same

  struct Caso {
    const char* nuovo;  // the source's new content
    int larghezza;
  } casi[] = {
      {"IMG 400x300", 400},  // another length
      {"IMG 300x400", 300},  // the same length, other bytes
      {"IMG 40x30", 40},     // back to the first: its copy serves again
  };
  std::set<std::string> nomi = {nome};
  auto tempo = std::filesystem::last_write_time(p);
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nuovo);
    origine_.Scrivi("foto/Pane 1.JPG", c.nuovo);
    // each version at a time of its own, whatever the clock's grain
    std::filesystem::last_write_time(p, tempo += std::chrono::seconds(1));
    const std::string dato = CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione());
    EXPECT_EQ(campi.nome, Valore::Testo(dato));
    EXPECT_EQ(test::LeggiFile(CartellaLavoro(Negozio()) + dato), c.nuovo);
    EXPECT_EQ(campi.larghezza, Valore::Lungo(c.larghezza));
    EXPECT_TRUE(ImmagineGiaCopiata(p, Negozio()));
    nomi.insert(dato);
  }
  EXPECT_EQ(nomi.size(), 3u);
  EXPECT_EQ(test::LeggiFile(Lavoro(p)), "IMG 40x30");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(negozio_ / "work"),
                          std::filesystem::directory_iterator()),
            3);
}

// Copies made before copies took their source's time: the same bytes are the same picture
// (known by its time from then on), other bytes of the same length are not.
TEST_F(CopiaImmagineTest, CopiaDiPrimaRiconosciutaDaiByte) {
  const std::string p = origine_.Scrivi("foto/a.bmp", "IMG 40x30");
  negozio_.Scrivi("work/" + NomeImmagineLavoro(p), "IMG 40x30");
  Campi campi;
  EXPECT_TRUE(ImmagineGiaCopiata(p, Negozio()));
  EXPECT_EQ(CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione()), NomeImmagineLavoro(p));
  EXPECT_EQ(std::filesystem::last_write_time(Lavoro(p)), std::filesystem::last_write_time(p));

  negozio_.Scrivi("work/" + NomeImmagineLavoro(p), "IMG 99x99");
  EXPECT_FALSE(ImmagineGiaCopiata(p, Negozio()));
  const std::string nuovo = CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione());
  EXPECT_NE(nuovo, NomeImmagineLavoro(p));
  EXPECT_EQ(campi.larghezza, Valore::Lungo(40));
  EXPECT_EQ(test::LeggiFile(CartellaLavoro(Negozio()) + nuovo), "IMG 40x30");
  EXPECT_EQ(test::LeggiFile(Lavoro(p)), "IMG 99x99");
}

struct stat Stato(const std::string& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
  return info;
}

void Data(const std::string& file, timespec tempo) {
  const timespec tempi[2] = {{0, UTIME_OMIT}, tempo};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), tempi, 0), 0) << file;
}

// Other bytes of the same length under the same date, as a file whose data never reached
// the disk, or a source changed without its length and time changing.
void AltriByte(const std::string& file, const std::string& byte) {
  const timespec tempo = Stato(file).st_mtim;
  ASSERT_EQ(std::filesystem::file_size(file), byte.size());
  const int fd = ::open(file.c_str(), O_WRONLY);
  ASSERT_EQ(::pwrite(fd, byte.data(), byte.size(), 0), static_cast<ssize_t>(byte.size()));
  ::close(fd);
  Data(file, tempo);
}

// Where the kernel would not report a failed flush of the whole file system.
struct SenzaSyncfs : IScritturaFile {
  int SincronizzaDisco(int) override {
    errno = ENOSYS;
    return -1;
  }
};

// A copy not yet flushed is dated 1970 and known only by its bytes until an import brings
// it to the disk and dates it as its source; so the copies a power loss left with the
// right length and other bytes are passed over, and each new copy takes the next of the
// source's names. A source dated 1970 itself is never known by its date. Within one run a
// copy is known by the source file it was made from, without reading either again.
TEST_F(CopiaImmagineTest, CopiaNonSalvataRiconosciutaSoloDaiByte) {
  for (const bool del1970 : {false, true}) {
    SCOPED_TRACE(del1970 ? "source dated 1970" : "source dated now");
    std::filesystem::remove_all(negozio_ / "work");
    std::filesystem::create_directory(negozio_ / "work");
    const std::string p = origine_.Scrivi("foto/d.jpg", "IMG 40x30");
    if (del1970) Data(p, {0, 0});
    Campi campi;
    std::string nome;
    {
      // A run killed before its commit: its copy is whole, and undated.
      CopieImmagini uccisa;
      nome = uccisa.Copia(p, Negozio(), scatola_, campi.Destinazione());
      EXPECT_EQ(nome, NomeImmagineLavoro(p));
      EXPECT_LT(Stato(Lavoro(p)).st_mtim.tv_sec, 347155200);  // 1981
      AltriByte(p, "IMG 41x30");
      EXPECT_EQ(uccisa.Copia(p, Negozio(), scatola_, campi.Destinazione()), nome);
      EXPECT_EQ(campi.larghezza, Valore::Lungo(40));
      AltriByte(p, "IMG 40x30");
    }
    {
      // The next run knows it by its bytes, brings it to the disk and dates it.
      SenzaSyncfs senzaSyncfs;
      CopieImmagini dopo;
      dopo.UsaScrittura(senzaSyncfs);
      EXPECT_EQ(dopo.Copia(p, Negozio(), scatola_, campi.Destinazione()), nome);
      EXPECT_EQ(dopo.Salva(), 0);
      EXPECT_EQ(Stato(Lavoro(p)).st_mtim.tv_sec, Stato(p).st_mtim.tv_sec);
      EXPECT_TRUE(dopo.Fatte().empty());
    }
    // A new picture, then power lost before each commit.
    origine_.Scrivi("foto/d.jpg", "IMG 400x300");
    if (del1970) Data(p, {0, 0});
    std::set<std::string> nomi = {nome};
    for (int volta = 0; volta < 3; ++volta) {
      CopieImmagini interrotta;
      const std::string n = interrotta.Copia(p, Negozio(), scatola_, campi.Destinazione());
      EXPECT_TRUE(nomi.insert(n).second) << n;
      // other bytes that still load, as a picture cut short may
      AltriByte(CartellaLavoro(Negozio()) + n, "IMG 999x999");
    }
    CopieImmagini ultima;
    const std::string n = ultima.Copia(p, Negozio(), scatola_, campi.Destinazione());
    EXPECT_TRUE(nomi.insert(n).second) << n;
    EXPECT_EQ(test::LeggiFile(CartellaLavoro(Negozio()) + n), "IMG 400x300");
    EXPECT_EQ(campi.larghezza, Valore::Lungo(400));
    // Touched, the source finds that copy again among its versions, by its bytes.
    Data(p, {Stato(p).st_mtim.tv_sec + 5, 0});
    CopieImmagini toccata;
    EXPECT_EQ(toccata.Copia(p, Negozio(), scatola_, campi.Destinazione()), n);
    EXPECT_TRUE(toccata.Fatte().empty());
  }
}

// A copy killed half-way leaves its temporary file: the next import's first copy removes
// those of processes that are gone (and its own), never another running process's.
TEST_F(CopiaImmagineTest, TemporaneiDiCopieInterrotteRimossi) {
  const pid_t figlio = ::fork();
  if (figlio == 0) ::_exit(0);
  ::waitpid(figlio, nullptr, 0);
  const std::string morto = ".tarkpo-" + std::to_string(figlio) + "-0.tmp";
  const std::string mio = ".tarkpo-" + std::to_string(::getpid()) + "-7.tmp";
  const std::string vivo = ".tarkpo-1-0.tmp";  // init never ends
  for (const std::string& nome : {morto, mio, vivo, std::string(".tarkpo-x.tmp")})
    negozio_.Scrivi("work/" + nome, "IMG 4");
  Campi campi;
  CopiaImmagine(origine_.Scrivi("foto/a.jpg", "IMG 2x2"), Negozio(), scatola_,
                campi.Destinazione());
  EXPECT_FALSE(std::filesystem::exists(negozio_ / ("work/" + morto)));
  EXPECT_FALSE(std::filesystem::exists(negozio_ / ("work/" + mio)));
  EXPECT_TRUE(std::filesystem::exists(negozio_ / ("work/" + vivo)));
  EXPECT_TRUE(std::filesystem::exists(negozio_ / "work/.tarkpo-x.tmp"));
}

TEST_F(CopiaImmagineTest, NienteCopiaNeCampiSenzaImmagineValidaOCartellaLavoro) {
  Campi campi;
  const std::string finta = origine_.Scrivi("foto/rotta.jpg", "non un'immagine");
  EXPECT_EQ(CopiaImmagine(finta, Negozio(), scatola_, campi.Destinazione()), "");
  EXPECT_EQ(CopiaImmagine(origine_.Scrivi("foto/a.png", "IMG 1x1"), Negozio(), scatola_,
                          campi.Destinazione()),
            "");
  EXPECT_EQ(CopiaImmagine("", Negozio(), scatola_, campi.Destinazione()), "");
  EXPECT_TRUE(campi.Intatti());
  EXPECT_FALSE(std::filesystem::exists(Lavoro(finta)));

  std::filesystem::remove(negozio_ / "work");
  const std::string p = origine_.Scrivi("foto/b.jpg", "IMG 5x5");
  EXPECT_EQ(CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione()), NomeImmagineLavoro(p));
  EXPECT_TRUE(campi.Intatti());
  EXPECT_FALSE(std::filesystem::exists(negozio_ / "work"));
}

TEST_F(CopiaImmagineTest, UnCampoMancanteNonFermaGliAltri) {
  const std::string p = origine_.Scrivi("foto/c.bmp", "IMG 7x8");
  Campi campi;
  auto dest = campi.Destinazione();
  dest.larghezza = [](const Valore&) { throw std::runtime_error("imgX0 manca"); };
  EXPECT_FALSE(CopiaImmagine(p, Negozio(), scatola_, dest).empty());
  EXPECT_EQ(campi.nome, Valore::Testo(NomeImmagineLavoro(p)));
  EXPECT_EQ(campi.altezza, Valore::Lungo(8));
}

}  // namespace
}  // namespace tarkpo
