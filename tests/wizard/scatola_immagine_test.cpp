#include "wizard/scatola_immagine.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>
#include <filesystem>
#include <random>
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
  lunghezzaRotta[test::InizioSegmento(foto, 0xC0) + 3] = 2;  // frame header of a wrong length
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

QByteArray Jpeg(const QImage& immagine, bool progressiva) {
  QByteArray dati;
  QBuffer buffer(&dati);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter scrittore(&buffer, "jpeg");
  scrittore.setProgressiveScanWrite(progressiva);
  scrittore.setQuality(90);
  EXPECT_TRUE(scrittore.write(immagine));
  return dati;
}

// JPEG photos are measured from their markers, without Qt: the box must agree with Qt's own
// JPEG reader on every kind a camera or an editor writes, and on damaged ones.
TEST(ScatolaImmagineQt, JpegMisuratiComeLiMisuraQt) {
  test::CartellaTemp cartella;
  QImage grigia(33, 17, QImage::Format_Grayscale8);
  grigia.fill(90);
  QImage colori(40, 30, QImage::Format_RGB32);
  colori.fill(Qt::darkCyan);
  const QByteArray foto = test::FotoJpeg(320, 240);
  // A camera's EXIF block of 40 KB before the frame header, then fill bytes before a marker.
  const QByteArray exif = QByteArray(
                              "\xFF\xE1\x9C\x46"
                              "Exif",
                              8) +
                          QByteArray(40000, 'e');
  const QByteArray conExif = foto.left(2) + exif + QByteArray("\xFF\xFF", 2) + foto.mid(2);
  QByteArray dhtRotta = foto, dqtRotta = foto, sosPrima = foto;
  dhtRotta[test::InizioSegmento(foto, 0xC4) + 5] = static_cast<char>(0xFF);  // 255 codes of 1 bit
  dqtRotta[test::InizioSegmento(foto, 0xDB) + 4] = 0x20;  // a table of 16-bit kind 2
  const qsizetype sof = test::InizioSegmento(foto, 0xC0);
  sosPrima[sof + 1] = static_cast<char>(0xDA);  // the scan header where the frame header was
  struct Caso {
    const char* nome;
    QByteArray dati;
    int larghezza, altezza;  // 0: refused
  } casi[] = {
      {"foto", foto, 320, 240},
      {"progressiva", Jpeg(colori, true), 40, 30},
      {"grigia", Jpeg(grigia, false), 33, 17},
      {"con EXIF", conExif, 320, 240},
      {"EXIF tagliato", conExif.left(20000), 0, 0},
      {"tabella di Huffman rotta", dhtRotta, 0, 0},
      {"tabella di quantizzazione rotta", dqtRotta, 0, 0},
      {"scansione prima del frame", sosPrima, 0, 0},
  };
  ScatolaImmagineQt scatola;
  for (const auto& c : casi) {
    const std::string p = cartella.Scrivi("foto.jpg", Byte(c.dati));
    QImageReader qt(QString::fromStdString(p));
    EXPECT_EQ(qt.size(), c.larghezza ? QSize(c.larghezza, c.altezza) : QSize()) << c.nome;
    EXPECT_EQ(scatola.Carica(p), c.larghezza != 0) << c.nome;
    EXPECT_EQ(DimensioneJpeg(p), c.larghezza ? std::optional(qt.size()) : std::nullopt) << c.nome;
    if (c.larghezza) {
      EXPECT_EQ(QSize(scatola.Larghezza(), scatola.Altezza()), qt.size()) << c.nome;
    }
  }
}

// Headers damaged at random: whatever the markers say, the box measures a JPEG only where
// Qt's reader measures it the same.
TEST(ScatolaImmagineQt, JpegDanneggiatiACasoMaiMisuratiDiversamenteDaQt) {
  test::CartellaTemp cartella;
  const QByteArray foto = test::FotoJpeg(48, 32);
  const qsizetype scansione = test::InizioSegmento(foto, 0xDA) + 14;
  std::minstd_rand caso(14);
  int misurati = 0;
  for (int volta = 0; volta < 2000; ++volta) {
    QByteArray dati = foto;
    for (int k = 0; k < 1 + volta % 3; ++k)
      dati[static_cast<qsizetype>(caso() % scansione)] = static_cast<char>(caso());
    const std::string p = cartella.Scrivi("caso.jpg", Byte(dati));
    const auto dimensione = DimensioneJpeg(p);
    if (!dimensione) continue;
    ++misurati;
    ASSERT_EQ(QImageReader(QString::fromStdString(p), "jpeg").size(), *dimensione) << volta;
  }
  EXPECT_GT(misurati, 100);  // most single changes leave a sound header
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

  // The repeat writes nothing: the work copy is untouched, no other file appears.
  const std::string copia = negozio / ("work/" + nome);
  const std::string impronta = test::ImprontaFile(copia);
  larghezza = altezza = Valore();
  EXPECT_EQ(CopiaImmagine(p, negozio.Percorso().string(), scatola, campi), nome);
  EXPECT_EQ(larghezza, Valore::Lungo(40000));
  EXPECT_EQ(altezza, Valore::Lungo(30000));
  EXPECT_EQ(test::ImprontaFile(copia), impronta);
  EXPECT_EQ(std::distance(fs::directory_iterator(negozio / "work"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tarkpo::wizard
