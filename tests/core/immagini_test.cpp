#include "core/immagini.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST_F(CopiaImmagineTest, CopiataUnaVoltaEDiNuovoSeCambiaLunghezza) {
  const std::string p = origine_.Scrivi("foto/Pane 1.JPG", "IMG 40x30");
  Campi campi;
  const std::string nome = CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione());
  EXPECT_EQ(nome, NomeImmagineLavoro(p));
  EXPECT_EQ(test::LeggiFile(Lavoro(p)), "IMG 40x30");
  EXPECT_EQ(campi.nome, Valore::Testo(nome));
  EXPECT_EQ(campi.larghezza, Valore::Lungo(40));
  EXPECT_EQ(campi.altezza, Valore::Lungo(30));

  // Same length: not copied again (the work copy stays as it is), but measured again.
  negozio_.Scrivi("work/" + nome, "IMG 99x99");
  EXPECT_TRUE(ImmagineGiaCopiata(p, Negozio()));
  EXPECT_EQ(CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione()), nome);
  EXPECT_EQ(test::LeggiFile(Lavoro(p)), "IMG 99x99");
  EXPECT_EQ(scatola_.caricate, 2);

  // The source replaced by one of another length: copied again under the same name.
  origine_.Scrivi("foto/Pane 1.JPG", "IMG 400x300");
  EXPECT_FALSE(ImmagineGiaCopiata(p, Negozio()));
  EXPECT_EQ(CopiaImmagine(p, Negozio(), scatola_, campi.Destinazione()), nome);
  EXPECT_EQ(test::LeggiFile(Lavoro(p)), "IMG 400x300");
  EXPECT_EQ(campi.larghezza, Valore::Lungo(400));
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
