#include "engine/articoli.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "banco_importazione.h"
#include "core/mappa_campi.h"
#include "support/negozio_test.h"

namespace tarkpo::motore::test {
namespace {

class ArticoliTest : public BancoImportazione {
 protected:
  void SetUp() override {
    def_.gImpRep = 0;
    SqlNegozio(
        "INSERT INTO categorie (id, titolo) VALUES ('imp01', 'Pane');"
        "INSERT INTO categorie (id, titolo) VALUES ('imp02', 'Vini');");
  }
  std::string Articolo(const std::string& codice, const std::string& colonne) {
    return Negozio("SELECT " + colonne + " FROM articoli WHERE codice = '" + codice +
                   "' ORDER BY ordinamento");
  }
  std::string Importati() {
    return Negozio("SELECT id FROM categorie WHERE titolo = '* Articoli importati'");
  }
};

// Row in the shop or not × overwrite 1 or 2 × keep the department × department mapped.
TEST_F(ArticoliTest, MatriceInserimentoEAggiornamento) {
  struct Caso {
    bool esiste;
    int sovrascrivi;
    int preserva;
    bool repartoMappato;
    const char* titolo;  // expected
    const char* reparto;
  } casi[] = {
      {false, 1, 1, true, "Nuovo", "imp02"},   {false, 2, 0, true, "Nuovo", "imp02"},
      {false, 1, 0, false, "Nuovo", "*"},      {false, 2, 1, false, "Nuovo", "*"},
      {true, 1, 0, true, "Nuovo", "imp02"},    {true, 1, 1, true, "Nuovo", "imp01"},
      {true, 1, 0, false, "Nuovo", "imp01"},   {true, 1, 1, false, "Nuovo", "imp01"},
      {true, 2, 0, true, "Vecchio", "imp01"},  {true, 2, 1, true, "Vecchio", "imp01"},
      {true, 2, 0, false, "Vecchio", "imp01"}, {true, 2, 1, false, "Vecchio", "imp01"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(testing::Message() << c.esiste << c.sovrascrivi << c.preserva << c.repartoMappato);
    UsaNegozio(tarkpo::test::kSchemaBase);
    SetUp();
    NuovaSessione();
    if (c.esiste)
      SqlNegozio(
          "INSERT INTO articoli (codice, titolo, catID, prezzo, ordinamento) "
          "VALUES ('A1', 'Vecchio', 'imp01', 10000, 5)");
    SqlOrigine(
        "DELETE FROM articoli;"
        "INSERT INTO articoli (Reparto, Codice, Titolo, Prezzo) VALUES ('2', 'A1', "
        "'Nuovo', 2.5)");
    def_.gSovrascrivi = c.sovrascrivi;
    def_.gPreserva = c.preserva;
    def_.gCampiArt[artReparto] = c.repartoMappato ? 1 : 0;
    ASSERT_TRUE(Importa());
    EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "1");
    EXPECT_EQ(Articolo("A1", "titolo"), c.titolo);
    EXPECT_EQ(Articolo("A1", "catID"), std::string(c.reparto) == "*" ? Importati() : c.reparto);
    EXPECT_EQ(Articolo("A1", "ordinamento"), c.esiste ? "5" : "10");  // an update keeps it
  }
}

TEST_F(ArticoliTest, RepartoPerCodicePerTitoloOImportati) {
  SqlOrigine(
      "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('1', 'A', 'x');"
      "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('Vini', 'B', 'x');"
      "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('vini', 'C', 'x');"
      "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('', 'D', 'x');"
      "INSERT INTO articoli (Reparto, Codice, Titolo) VALUES ('9', 'E', 'x');");
  ASSERT_TRUE(Importa());
  const std::string imp = Importati();
  EXPECT_EQ(imp.substr(0, 3), "cat");
  EXPECT_EQ(Negozio("SELECT catID FROM articoli ORDER BY codice"),
            "imp01|imp02|" + imp + "|" + imp + "|" + imp);
}

TEST_F(ArticoliTest, PrezziGiacenzaEOfferte) {
  def_.gVariazione = -15;
  def_.gArrotonda = 1;
  def_.gGiacenzaMinima = 5;
  SqlOrigine(
      "INSERT INTO articoli (Codice, Prezzo, Offerta, Giacenza, Peso) VALUES "
      "('A', 9.99, 7.5, '3', 1.5), ('B', 10, 0, '5', NULL), ('C', 1, 0, 'n/a', 0),"
      "('D', 'abc', 0, '12', 'abc')");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT printf('%d %d %d %d %g', prezzo, offertaprezzo, offerta <> 0, "
                    "fuoricatalogo <> 0, peso) FROM articoli ORDER BY codice"),
            "80000 75000 1 1 1.5|80000 0 0 0 0|10000 0 0 0 0|0 0 0 0 0");
}

TEST_F(ArticoliTest, FuoriCatalogoIntattoSenzaMinimo) {
  SqlNegozio("INSERT INTO articoli (codice, fuoricatalogo) VALUES ('A', 1)");
  SqlOrigine("INSERT INTO articoli (Codice, Giacenza) VALUES ('A', '0'), ('B', '0')");
  def_.gGiacenzaMinima = -1;
  SqlNegozio("UPDATE articoli SET fuoricatalogo = 1");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT fuoricatalogo <> 0 FROM articoli ORDER BY codice"), "1|0");
}

TEST_F(ArticoliTest, RigaVuotaSaltataESoloOffertaImportata) {
  SqlOrigine(
      "INSERT INTO articoli (Reparto, Codice, Titolo, Peso, Giacenza) VALUES "
      "('1', '  ', ' ', 3, '  ');"
      "INSERT INTO articoli (Offerta) VALUES (0.01);");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT coalesce(codice, '-') || catID || (offerta <> 0) || ' ' || ordinamento "
                    "FROM articoli"),
            Importati() + "1 10");
}

TEST_F(ArticoliTest, CodiciTagliatiSpaziELettereMaiuscole) {
  SqlNegozio(
      "INSERT INTO articoli (codice, titolo) VALUES ('A1', 'v');"
      "INSERT INTO articoli (codice, titolo) VALUES ('A1', 'v');"
      "INSERT INTO articoli (codice, titolo) VALUES ('l''olio', 'v')");
  SqlOrigine("INSERT INTO articoli (Codice, Titolo) VALUES ('" + std::string(60, 'z') +
             "', 'lungo'), (' A1 ', 'spazi'), ('a1', 'minuscolo'), ('A1', 'uguale'),"
             "('l''olio', 'apostrofo')");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Articolo(std::string(50, 'z'), "titolo"), "lungo");
  EXPECT_EQ(Articolo(" A1 ", "titolo"), "spazi");
  EXPECT_EQ(Articolo("a1", "titolo"), "minuscolo");
  EXPECT_EQ(Articolo("A1", "titolo"), "uguale|uguale");  // every row with the code
  EXPECT_EQ(Articolo("l''olio", "titolo"), "apostrofo");
  EXPECT_EQ(Negozio("SELECT count(*) FROM articoli"), "6");
  EXPECT_EQ(imp_->gElencoCodiciImportati.Testo(), std::string(50, 'z') + "°A1°a1°l'olio°");
}

TEST_F(ArticoliTest, LinguaEListiniRaggiungonoSoloLeLoroColonne) {
  UsaNegozio(tarkpo::test::kSchemaEsteso);
  SetUp();
  def_.gLingua = 2;
  def_.gListini = {1, 0, 1};
  SqlOrigine(
      "INSERT INTO articoli (Codice, Titolo, Sottotitolo, Descrizione, Note, Prezzo, "
      "Offerta, Giacenza) VALUES ('A', 't', 's', 'd', 'n', 2, 1, '7')");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Articolo("A",
                     "titolo_l3 || sottotitolo_l3 || descrizione_l3 || note_l3 || "
                     "giacenza_l3 || coalesce(titolo, '-') || coalesce(giacenza, '-')"),
            "tsdn7--");
  EXPECT_EQ(Articolo("A",
                     "printf('%d %d %d %d %d %d %d', prezzo, prezzo1, prezzo2, "
                     "offertaprezzo, offertaprezzo2, offerta2 <> 0, offerta1 <> 0)"),
            "20000 0 20000 10000 10000 1 0");
}

TEST_F(ArticoliTest, ImmaginiCopiateConIlPercorsoRelativo) {
  std::filesystem::create_directory(origine_.Percorso() / "img");
  origine_.Scrivi("img/a.jpg", "IMG 40x30");
  origine_.Scrivi("img/b.gif", "IMG 8x9");
  SqlOrigine(
      "INSERT INTO articoli (Codice, Immagine1, Immagine2, ImmaginePiccola) VALUES "
      "('A', 'img/a.jpg', '', 'img\\b.gif')");
  def_.gCampiArt[artImmagine2] = 0;
  SqlNegozio("INSERT INTO articoli (codice, immagine1) VALUES ('A', 'resta')");
  ASSERT_TRUE(Importa());
  const std::string nomeA = NomeImmagineLavoro(origine_ / "img/a.jpg");
  EXPECT_EQ(Articolo("A", "immagine0 || ' ' || imgX0 || 'x' || imgY0 || ' ' || immagine1"),
            nomeA + " 40x30 resta");
  EXPECT_EQ(tarkpo::test::LeggiFile(negozio_ / ("work/" + nomeA)), "IMG 40x30");
  EXPECT_EQ(Articolo("A", "imgX2 || 'x' || imgY2"), "8x9");
}

// A catalogue written on Windows names its pictures as Windows finds them: any letter case,
// "\\" between folders, blanks after the name. The work name is that of the path as written,
// so the repeat finds the copy: it copies nothing, only measures again, and writes the row
// only when a measure differs from what it holds.
TEST_F(ArticoliTest, ImmaginiTrovateComeLeTrovaWindows) {
  origine_.Scrivi("img/foto1.jpg", "IMG 40x30");
  origine_.Scrivi("img/x.Jpeg", "IMG 8x9");
  SqlOrigine(
      "INSERT INTO articoli (Codice, Immagine1, ImmaginePiccola) VALUES "
      "('A', 'IMG\\Foto1.JPG ', 'img\\x.Jpeg ')");
  def_.gCampiArt[artImmagine2] = 0;
  def_.gSovrascrivi = 1;
  ASSERT_TRUE(Importa());
  const std::string nome = NomeImmagineLavoro(origine_ / "IMG/Foto1.JPG ");
  const std::string piccola = NomeImmagineLavoro(origine_ / "img/x.Jpeg ");
  const std::string attese = nome + " 40x30 " + piccola + " 8x9";
  const char* colonne =
      "immagine0 || ' ' || imgX0 || 'x' || imgY0 || ' ' || "
      "immagine2 || ' ' || imgX2 || 'x' || imgY2";
  EXPECT_EQ(Articolo("A", colonne), attese);
  const auto copia = negozio_.Percorso() / "work" / nome;
  EXPECT_EQ(tarkpo::test::LeggiFile(copia.string()), "IMG 40x30");

  const std::string impronta = tarkpo::test::ImprontaFile(copia);
  SqlNegozio("UPDATE articoli SET imgX0 = 0");
  scatola_.caricate = 0;
  NuovaSessione();
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Articolo("A", colonne), attese);
  EXPECT_EQ(tarkpo::test::ImprontaFile(copia), impronta);
  EXPECT_EQ(scatola_.caricate, 2);

  SqlNegozio(
      "CREATE TABLE scritture (codice TEXT);"
      "CREATE TRIGGER scritta AFTER UPDATE ON articoli BEGIN "
      "INSERT INTO scritture VALUES (new.codice); END;");
  NuovaSessione();
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT count(*) FROM scritture"), "0");
  // Another picture: copied under a name of its own and measured anew; the copy the row
  // named stays as it was.
  origine_.Scrivi("img/x.Jpeg", "IMG 80x90");
  NuovaSessione();
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT count(*) FROM scritture"), "1");
  const std::string nuova = Articolo("A", "immagine2");
  EXPECT_NE(nuova, piccola);
  EXPECT_EQ(Articolo("A", "imgX2 || 'x' || imgY2"), "80x90");
  EXPECT_EQ(tarkpo::test::LeggiFile(negozio_ / ("work/" + nuova)), "IMG 80x90");
  EXPECT_EQ(tarkpo::test::LeggiFile(negozio_ / ("work/" + piccola)), "IMG 8x9");
}

// A source picture goes through versions: each import's row names the copy that holds the
// picture's bytes, whichever of the work name's versions it is, and a new copy is made only
// for bytes that no copy holds. A touch, a return to earlier bytes, or a repeat writes no
// file and changes no picture field.
TEST_F(ArticoliTest, UnaCopiaPerOgniContenutoDellImmagine) {
  origine_.Scrivi("img/a.jpg", "IMG 40x30");
  SqlOrigine("INSERT INTO articoli (Codice, Immagine1) VALUES ('A', 'img/a.jpg')");
  def_.gSovrascrivi = 1;
  const std::string p = origine_ / "img/a.jpg";
  struct Passo {
    const char* nome;
    const char* contenuto;  // nullptr: the bytes stay, only the time changes
    int copia;              // which copy the row names, in the order they were made
    const char* misura;
  } passi[] = {
      {"first import", "IMG 40x30", 0, "40x30"},
      {"replaced, other length", "IMG 400x300", 1, "400x300"},
      {"touched", nullptr, 1, "400x300"},
      {"repeated", "", 1, "400x300"},
      {"replaced, same length", "IMG 300x400", 2, "300x400"},
      {"the second bytes again", "IMG 400x300", 1, "400x300"},
      {"the first bytes again", "IMG 40x30", 0, "40x30"},
      {"touched again", nullptr, 0, "40x30"},
  };
  std::vector<std::string> copie;  // the names of the copies, in the order they were made
  std::map<std::string, std::string> attese;  // the work folder: name and bytes
  auto tempo = std::filesystem::last_write_time(p);
  for (const Passo& passo : passi) {
    SCOPED_TRACE(passo.nome);
    const bool ripetuto = passo.contenuto != nullptr && *passo.contenuto == '\0';
    if (passo.contenuto != nullptr && !ripetuto) origine_.Scrivi("img/a.jpg", passo.contenuto);
    // each step at a time of its own, whatever the clock's grain
    if (!ripetuto) std::filesystem::last_write_time(p, tempo += std::chrono::seconds(1));
    NuovaSessione();
    ASSERT_TRUE(Importa());
    const std::string nome = Articolo("A", "immagine0");
    if (passo.copia == static_cast<int>(copie.size())) {
      EXPECT_EQ(attese.count(nome), 0u) << nome;
      copie.push_back(nome);
      attese[nome] = tarkpo::test::LeggiFile(p);
    }
    ASSERT_LT(passo.copia, static_cast<int>(copie.size()));
    EXPECT_EQ(nome, copie[passo.copia]);
    EXPECT_EQ(Articolo("A", "imgX0 || 'x' || imgY0"), passo.misura);
    std::map<std::string, std::string> lavoro;
    for (const auto& f : std::filesystem::directory_iterator(negozio_.Percorso() / "work"))
      lavoro[f.path().filename().string()] = tarkpo::test::LeggiFile(f.path());
    EXPECT_EQ(lavoro, attese);
  }
  EXPECT_EQ(copie.front(), NomeImmagineLavoro(p));
}

}  // namespace
}  // namespace tarkpo::motore::test
