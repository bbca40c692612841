#include "wizard/scatola_immagine.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <string>

#include "support/cartella_temp.h"

namespace tarkpo::wizard {
namespace {

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
  EXPECT_FALSE(scatola.Carica(cartella.Scrivi("finta.jpg", "non un'immagine")));
  EXPECT_FALSE(scatola.Carica(cartella / "manca.jpg"));
  // A damaged picture fails too, and the box keeps the last good size.
  const std::string intera = test::LeggiFile(cartella / "a.jpg");
  EXPECT_FALSE(scatola.Carica(cartella.Scrivi("tronca.jpg", intera.substr(0, 20))));
  EXPECT_EQ(scatola.Larghezza(), 3);
}

}  // namespace
}  // namespace tarkpo::wizard
