#include "wizard/scatola_immagine.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QString>
#include <chrono>
#include <filesystem>
#include <string>

#include "support/cartella_temp.h"
#include "support/foto_prova.h"

namespace tarkpo::wizard {
namespace {

namespace fs = std::filesystem;

std::string Byte(const QByteArray& dati) { return dati.toStdString(); }

TEST(ScatolaImmagineQt, MisuraLeImmaginiERifiutaIlResto) {
  test::CartellaTemp cartella;
  struct Caso {
    const char* nome;
    const char* formato;
    int larghezza, altezza;
  } casi[] = {{"a.jpg", "JPG", 40, 30}, {"b.bmp", "BMP", 7, 9}, {"c.gif", "PNG", 3, 5}};
  ScatolaImmagineQt scatola;
  for (const auto& c : casi) {
    QImage immagine(c.larghezza, c.altezza, QImage::Format_RGB32);
    immagine.fill(Qt::red);
    const std::string percorso = cartella / c.nome;
    ASSERT_TRUE(immagine.save(QString::fromStdString(percorso), c.formato));
    ASSERT_TRUE(scatola.Carica(percorso)) << c.nome;  // the content decides, not the name
    EXPECT_EQ(scatola.Larghezza(), c.larghezza);
    EXPECT_EQ(scatola.Altezza(), c.altezza);
  }

  // A photo of camera size; cut in half it still measures (a full decode would return its
  // upper part all the same).
  const QByteArray foto = test::FotoJpeg(1600, 1200);
  EXPECT_GT(foto.size(), 200'000);
  for (const QByteArray& dati : {foto, foto.left(foto.size() / 2)}) {
    const std::string p = cartella.Scrivi("foto.jpg", Byte(dati));
    EXPECT_FALSE(QImageReader(QString::fromStdString(p)).read().isNull());
    ASSERT_TRUE(scatola.Carica(p));
    EXPECT_EQ(scatola.Larghezza(), 1600);
    EXPECT_EQ(scatola.Altezza(), 1200);
  }

  QByteArray lunghezzaRotta = foto;
  lunghezzaRotta[test::InizioFrame(foto) + 3] = 2;  // frame header of a wrong length
  struct Rotto {
    const char* nome;
    std::string dati;
  } rotti[] = {
      {"non un'immagine", "non un'immagine"},
      {"intestazione tagliata", Byte(foto.left(20))},
      {"intestazione di lunghezza errata", Byte(lunghezzaRotta)},
      {"dimensione zero", Byte(test::ConDimensione(foto, 0, 1200))},
  };
  for (const auto& r : rotti)
    EXPECT_FALSE(scatola.Carica(cartella.Scrivi("rotta.jpg", r.dati))) << r.nome;
  EXPECT_FALSE(scatola.Carica(cartella / "manca.jpg"));
  EXPECT_EQ(scatola.Larghezza(), 1600);  // the last good size stays
}

// A picture whose pixels would need more memory than Qt lets a reader take: decoding it
// fails, so measuring it, and copying it twice, proves that the pixels are never decoded.
TEST(ScatolaImmagineQt, MisuraSenzaDecodificareEUnaRipetizioneNonCopiaNulla) {
  test::CartellaTemp origine, negozio;
  fs::create_directory(negozio / "work");
  const std::string p = origine.Scrivi(
      "img/Enorme.JPG", Byte(test::ConDimensione(test::FotoJpeg(64, 48), 40000, 30000)));
  ASSERT_TRUE(QImageReader(QString::fromStdString(p)).read().isNull());

  ScatolaImmagineQt scatola;
  Valore larghezza, altezza;
  const CampiImmagine campi{
      {}, [&](const Valore& v) { larghezza = v; }, [&](const Valore& v) { altezza = v; }};
  const std::string nome = CopiaImmagine(p, negozio.Percorso().string(), scatola, campi);
  ASSERT_FALSE(nome.empty());
  EXPECT_EQ(larghezza, Valore::Lungo(40000));
  EXPECT_EQ(altezza, Valore::Lungo(30000));

  // The repeat writes nothing: the work copy keeps its time, no other file appears.
  const std::string copia = negozio / ("work/" + nome);
  const auto ieri = fs::last_write_time(copia) - std::chrono::hours(24);
  fs::last_write_time(copia, ieri);
  larghezza = altezza = Valore();
  EXPECT_EQ(CopiaImmagine(p, negozio.Percorso().string(), scatola, campi), nome);
  EXPECT_EQ(larghezza, Valore::Lungo(40000));
  EXPECT_EQ(altezza, Valore::Lungo(30000));
  EXPECT_EQ(fs::last_write_time(copia), ieri);
  EXPECT_EQ(std::distance(fs::directory_iterator(negozio / "work"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tarkpo::wizard
