// A picture copy that fails at any point (a short write, then a full disk), in an import that
// is then committed or rolled back, and the flush of the copies before the commit failing
// (the file system's, or, where the kernel would not report it, a copy's or the work
// folder's): what the import tells is true, every picture a row names is whole and has the
// size the row records, and an import that is not kept leaves no copy of its own behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "banco_importazione.h"
#include "core/immagini.h"
#include "core/mappa_campi.h"

namespace tarkpo::motore::test {
namespace {

namespace fs = std::filesystem;

enum class Guasto { Scrittura, SincroniaDisco, SincroniaCopia, SincroniaCartella };

// Fails the n-th write (after writing half of it, as a disk that fills up does), the flush
// of the file system, or the n-th flush of a copy or of the folder, which are made only
// where the file system's flush is not to be trusted (ENOSYS, as on a kernel before 5.8);
// every other call is the disk's own.
class ScritturaGuasta : public IScritturaFile {
 public:
  ScritturaGuasta(Guasto guasto, int n) : guasto_(guasto), n_(n) {}
  ssize_t Scrivi(int fd, const void* dati, std::size_t n) override {
    if (pieno_) {
      errno = ENOSPC;
      return -1;
    }
    if (guasto_ == Guasto::Scrittura && ++scritture_ == n_) {
      pieno_ = true;
      colpito = true;
      return IScritturaFile::Scrivi(fd, dati, n / 2);
    }
    return IScritturaFile::Scrivi(fd, dati, n);
  }
  int Sincronizza(int fd) override {
    const bool cartella = fs::is_directory("/proc/self/fd/" + std::to_string(fd));
    if (guasto_ == (cartella ? Guasto::SincroniaCartella : Guasto::SincroniaCopia) &&
        ++sincronie_ == n_) {
      colpito = true;
      errno = EIO;
      return -1;
    }
    return IScritturaFile::Sincronizza(fd);
  }
  int SincronizzaDisco(int cartella) override {
    if (guasto_ == Guasto::SincroniaCopia || guasto_ == Guasto::SincroniaCartella) {
      errno = ENOSYS;
      return -1;
    }
    if (guasto_ == Guasto::SincroniaDisco) {
      colpito = true;
      errno = EIO;
      return -1;
    }
    return IScritturaFile::SincronizzaDisco(cartella);
  }
  bool colpito = false;

 private:
  Guasto guasto_;
  int n_, scritture_ = 0, sincronie_ = 0;
  bool pieno_ = false;
};

constexpr int kArticoli = 3;  // each with two pictures: six copies an import

// The picture j of item i in version v: its size, padded so that a copy cut short differs.
std::string Foto(int i, int j, int v) {
  const int larghezza = 10 * (i + 1) + j, altezza = v == 1 ? 7 : 70 + i;
  return "IMG " + std::to_string(larghezza) + "x" + std::to_string(altezza) +
         std::string(static_cast<size_t>(500 * (v + j)), 'x');
}

class ImmaginiGuastiTest : public BancoImportazione {
 protected:
  void Prepara() {
    UsaNegozio(tarkpo::test::kSchemaBase);
    fs::remove_all(negozio_.Percorso() / "work");
    fs::create_directory(negozio_.Percorso() / "work");
    def_.gImpRep = 0;
    def_.gCampiArt[artImmaginePiccola] = 0;
    SqlOrigine("DELETE FROM articoli");
    for (int i = 0; i < kArticoli; ++i)
      SqlOrigine("INSERT INTO articoli (Codice, Titolo, Immagine1, Immagine2) VALUES ('A" +
                 std::to_string(i) + "', 't', 'img/a" + std::to_string(i) + ".jpg', 'img\\b" +
                 std::to_string(i) + ".gif')");
    SqlOrigine("INSERT INTO articoli (Codice, Titolo) VALUES ('Z', 'senza immagini')");
  }
  void ScriviFoto(int versione) {
    for (int i = 0; i < kArticoli; ++i)
      for (int j = 0; j < 2; ++j)
        origine_.Scrivi(std::string("img/") + "ab"[j] + std::to_string(i) + (j ? ".gif" : ".jpg"),
                        Foto(i, j, versione));
  }
  // Every picture the rows name: it is whole (one of the versions of its picture) and has
  // the row's size. Returns how many rows name the given version.
  int ImmaginiIntere(int versione) {
    int quante = 0;
    for (int i = 0; i < kArticoli; ++i)
      for (int j = 0; j < 2; ++j) {
        const std::string riga = Negozio(
            "SELECT coalesce(immagine" + std::to_string(j) + ", '') || '|' || coalesce(imgX" +
            std::to_string(j) + ", '') || 'x' || coalesce(imgY" + std::to_string(j) +
            ", '') FROM articoli WHERE codice = 'A" + std::to_string(i) + "'");
        const std::string nome = riga.substr(0, riga.find('|'));
        if (nome.empty()) continue;
        const std::string dati = tarkpo::test::LeggiFile(negozio_ / ("work/" + nome));
        EXPECT_TRUE(dati == Foto(i, j, 1) || dati == Foto(i, j, 2)) << nome;
        tarkpo::test::ScatolaFinta misura;
        EXPECT_TRUE(misura.Carica(negozio_ / ("work/" + nome)));
        EXPECT_EQ(std::to_string(misura.Larghezza()) + "x" + std::to_string(misura.Altezza()),
                  riga.substr(riga.find('|') + 1))
            << nome;
        quante += dati == Foto(i, j, versione);
      }
    return quante;
  }
  std::set<std::string> Lavoro() const {
    std::set<std::string> nomi;
    for (const auto& f : fs::directory_iterator(negozio_.Percorso() / "work"))
      nomi.insert(f.path().filename().string());
    return nomi;
  }
};

TEST_F(ImmaginiGuastiTest, UnGuastoAOgniCopia) {
  // Each fault at each of its occasions: a write at each copy, the flush of the file system
  // once an import, a copy's flush at each copy, the folder's once.
  struct Caso {
    const char* nome;
    Guasto guasto;
    int volte;
  } guasti[] = {{"scrittura", Guasto::Scrittura, 2 * kArticoli},
                {"sincronia del disco", Guasto::SincroniaDisco, 1},
                {"sincronia della copia", Guasto::SincroniaCopia, 2 * kArticoli},
                {"sincronia della cartella", Guasto::SincroniaCartella, 1}};
  for (const bool ripetuta : {false, true})
    for (const bool confermata : {true, false})
      for (const auto& g : guasti)
        for (int n = 1; n <= g.volte; ++n) {
          // An import rolled back before the end never reaches the flush.
          if (!confermata && g.guasto != Guasto::Scrittura) continue;
          SCOPED_TRACE(testing::Message()
                       << (ripetuta ? "new pictures" : "first import") << ", "
                       << (confermata ? "committed" : "rolled back") << ", " << g.nome << " " << n);
          Prepara();
          ScriviFoto(1);
          if (ripetuta) {
            NuovaSessione();
            ASSERT_TRUE(Importa());
            ASSERT_EQ(ImmaginiIntere(1), 2 * kArticoli);
            ScriviFoto(2);  // other pictures, of other sizes, at the same paths
          }
          const std::string negozioPrima = tarkpo::test::LeggiFile(fileNegozio_);
          const auto lavoroPrima = Lavoro();
          NuovaSessione();
          ScritturaGuasta scrittura(g.guasto, n);
          imp_->copie.UsaScrittura(scrittura);
          messaggi_.Pulisci();
          // The source stops answering after the last picture: the import is rolled back.
          int righe = 0;
          eventi_.azione = [&] {
            if (!confermata && ++righe == kArticoli + 1)
              throw dao::ErroreDao(dao::errori::kErroreMotore, "sorgente interrotta");
          };
          const bool riuscita = Importa();
          eventi_.azione = nullptr;
          EXPECT_TRUE(scrittura.colpito);
          // A copy that cannot be written leaves its picture uncopied; copies that cannot be
          // brought to the disk fail the import.
          const bool tenuta = confermata && g.guasto == Guasto::Scrittura;
          EXPECT_EQ(riuscita, tenuta);
          const auto testi = messaggi_.Testi();
          ASSERT_FALSE(testi.empty());
          EXPECT_EQ(testi.back() == "Il negozio non è stato modificato", !tenuta);
          if (g.guasto != Guasto::Scrittura) {
            ASSERT_GE(testi.size(), 2u);
            EXPECT_EQ(testi[testi.size() - 2],
                      "Impossibile salvare su disco le immagini copiate nella cartella \"" +
                          CartellaNegozio() + "/work\":\n" + std::strerror(EIO));
          }
          if (tenuta) {
            // A picture that could not be copied keeps what its row held, the others are new:
            // once the disk is full no copy fits.
            EXPECT_EQ(ImmaginiIntere(ripetuta ? 2 : 1), n - 1);
          } else {
            EXPECT_EQ(tarkpo::test::LeggiFile(fileNegozio_), negozioPrima);
            EXPECT_EQ(Lavoro(), lavoroPrima);
          }
          ImmaginiIntere(1);
          for (const std::string& nome : Lavoro())
            EXPECT_EQ(nome.find(".tarkpo-"), std::string::npos) << nome;
        }
}

// Copies an import made for rows it did not store in the end are removed once the rows are
// committed: a row whose write fails, a row written again with another picture. A copy
// that a stored row names is kept, whichever row had it made.
TEST_F(ImmaginiGuastiTest, CopieDiRigheNonTenuteRimosse) {
  Prepara();
  ScriviFoto(1);
  origine_.Scrivi("img/altra.jpg", Foto(0, 0, 2));
  // The shop refuses a second item of a title it holds: A2's write fails, its second picture
  // being A0's too. A0 comes again with another first picture.
  SqlNegozio("CREATE UNIQUE INDEX titoli ON articoli (titolo)");
  SqlOrigine(
      "UPDATE articoli SET Titolo = 'uno' WHERE Codice = 'A0';"
      "UPDATE articoli SET Titolo = 'due' WHERE Codice IN ('A1', 'A2');"
      "UPDATE articoli SET Immagine2 = 'img\\b0.gif' WHERE Codice = 'A2';"
      "INSERT INTO articoli (Codice, Titolo, Immagine1) VALUES ('A0', 'uno', 'img/altra.jpg')");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT codice FROM articoli ORDER BY codice"), "A0|A1|Z");
  std::set<std::string> nominate;
  for (const char* colonna : {"immagine0", "immagine1"}) {
    const std::string nomi = Negozio(std::string("SELECT group_concat(") + colonna +
                                     ", '|') FROM articoli WHERE " + colonna + " <> ''");
    for (size_t inizio = 0; inizio <= nomi.size();) {
      const size_t fine = std::min(nomi.find('|', inizio), nomi.size());
      nominate.insert(nomi.substr(inizio, fine - inizio));
      inizio = fine + 1;
    }
  }
  EXPECT_EQ(nominate.size(), 4u);  // altra and b0 (A0's), a1 and b1
  EXPECT_EQ(Lavoro(), nominate);
  EXPECT_EQ(ImmaginiIntere(2), 1);  // A0 holds altra
}

}  // namespace
}  // namespace tarkpo::motore::test
