#include "engine/reparti.h"

#include <gtest/gtest.h>

#include <string>

#include "banco_importazione.h"
#include "core/mappa_campi.h"
#include "engine/negozio.h"
#include "support/negozio_test.h"

namespace tarkpo::motore::test {
namespace {

class RepartiTest : public BancoImportazione {
 protected:
  void SetUp() override { def_.gImpArt = 0; }
  std::string Reparto(const std::string& id, const std::string& colonna) {
    return Negozio("SELECT " + colonna + " FROM categorie WHERE id = '" + id + "'");
  }
};

TEST_F(RepartiTest, NuoviRepartiConESenzaCodice) {
  SqlNegozio("INSERT INTO categorie (id, titolo, ordinamento) VALUES ('imp0x', 'Esistente', 40)");
  SqlOrigine(
      "INSERT INTO reparti VALUES ('12', 'Vini', 'Rossi', 'n', 0.22, 5);"
      "INSERT INTO reparti VALUES (' ', '  ', '', NULL, 0, 0);"  // blank: skipped
      "INSERT INTO reparti VALUES ('', '', '', '', 10, 0);"
      "INSERT INTO reparti VALUES ('" +
      std::string(100, 'c') + "', '" + std::string(150, 't') + "', '', '', -0.5, 0);");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Reparto("imp012", "pagina || genitore || livello || template"), "imp012###1modello1");
  EXPECT_EQ(Reparto("imp012", "titolo || descrizione || note || printf('%g %g', iva, sconto)"),
            "ViniRossin22 5");
  // The blank row did not move the counter: the rows after it continue in steps of 10.
  EXPECT_EQ(Negozio("SELECT ordinamento FROM categorie ORDER BY ordinamento"), "40|50|60|70");
  const std::string senzaCodice = Negozio("SELECT id FROM categorie WHERE ordinamento = 60");
  EXPECT_EQ(senzaCodice, "cat" + Negozio("SELECT printf('%03d', contatore) FROM categorie "
                                         "WHERE ordinamento = 60"));
  EXPECT_EQ(Reparto(senzaCodice, "titolo || printf('%g', iva)"), "Nuovo Reparto10");
  const std::string lungo = "imp0" + std::string(95, 'c');
  EXPECT_EQ(Reparto(lungo, "length(titolo) || printf(' %g', iva)"), "99 -50");
}

TEST_F(RepartiTest, EsistentiSoloConSovrascrivi) {
  for (int sovrascrivi : {1, 2}) {
    SCOPED_TRACE(sovrascrivi);
    UsaNegozio(tarkpo::test::kSchemaBase);
    NuovaSessione();
    SqlNegozio(
        "INSERT INTO categorie (id, titolo, note, iva) VALUES ('imp012', 'Vecchio', 'nota', 4);"
        "INSERT INTO categorie (id, titolo, note, iva) VALUES ('cat001', 'Nuovo Reparto', 'n1', 4);"
        "INSERT INTO categorie (id, titolo, note, iva) VALUES ('cat002', 'Nuovo Reparto', 'n2', 4);"
        "INSERT INTO categorie (id, titolo, iva) VALUES ('cat003', 'nuovo reparto', 4);");
    SqlOrigine(
        "DELETE FROM reparti;"
        "INSERT INTO reparti VALUES ('12', 'Vini', '', 'nuova', 22, 0);"
        "INSERT INTO reparti VALUES ('', '', '', 'nuova', 10, 0);");
    def_.gSovrascrivi = sovrascrivi;
    def_.gCampiRep[repNote] = 0;  // the note is kept whatever happens
    ASSERT_TRUE(Importa());
    const bool scritto = sovrascrivi == 1;
    EXPECT_EQ(Reparto("imp012", "titolo || note || printf('%g', iva)"),
              scritto ? "Vininota22" : "Vecchionota4");
    // Matched by title, exactly: both "Nuovo Reparto" rows, never "nuovo reparto"; the title
    // itself is not written.
    EXPECT_EQ(Negozio("SELECT printf('%g', iva) FROM categorie WHERE id LIKE 'cat00_' ORDER BY id"),
              scritto ? "10|10|4" : "4|4|4");
    EXPECT_EQ(Negozio("SELECT count(*) FROM categorie"), "4");
  }
}

TEST_F(RepartiTest, ApostrofiNelCodiceENelTitolo) {
  SqlNegozio(
      "INSERT INTO categorie (id, titolo) VALUES ('imp0l''olio', 'Vecchio');"
      "INSERT INTO categorie (id, titolo) VALUES ('cat001', 'Dell''orto')");
  SqlOrigine(
      "INSERT INTO reparti VALUES ('l''olio', 'Nuovo', '', '', 22, 0);"
      "INSERT INTO reparti VALUES ('', 'Dell''orto', 'verdure', '', 0, 0);");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Negozio("SELECT titolo || printf('%g', iva) FROM categorie WHERE id = 'imp0l''olio'"),
            "Nuovo22");
  EXPECT_EQ(Negozio("SELECT descrizione FROM categorie WHERE id = 'cat001'"), "verdure");
  EXPECT_EQ(Negozio("SELECT count(*) FROM categorie"), "2");
}

TEST_F(RepartiTest, ListiniELinguaScelti) {
  UsaNegozio(tarkpo::test::kSchemaEsteso);
  def_.gListini = {1, 0, 1};
  def_.gLingua = 1;
  SqlOrigine("INSERT INTO reparti VALUES ('1', 'Vini', 'd', 'n', 22, 0.1);");
  ASSERT_TRUE(Importa());
  EXPECT_EQ(Reparto("imp01", "printf('%g %g %g %g', sconto, sconto1, sconto2, sconto3)"),
            "10 0 10 0");
  EXPECT_EQ(Reparto("imp01", "coalesce(titolo, '-') || titolo_l2 || descrizione_l2 || note_l2"),
            "-Vinidn");
}

TEST_F(RepartiTest, RepartiSpecialiCreatiUnaVoltaInOgniLingua) {
  UsaNegozio(tarkpo::test::kSchemaEsteso);
  Contesto c = Apri();
  ASSERT_TRUE(ApriReparti(*stato_, def_, messaggi_));
  const std::string id = RepartoArticoliImportati(c);
  EXPECT_EQ(id.substr(0, 3), "cat");
  EXPECT_EQ(RepartoArticoliImportati(c), id);
  EXPECT_NE(RepartoArticoliOrfani(c), id);
  stato_->gRsReparti->Close();
  stato_->gDbNegozio->Close();
  EXPECT_EQ(Negozio("SELECT titolo || titolo_l2 || titolo_l3 || titolo_l4 || genitore || "
                    "livello || template FROM categorie WHERE id = '" +
                    id + "'"),
            "* Articoli importati* Articoli importati* Articoli importati* Articoli importati"
            "###1modello1");
  EXPECT_EQ(Negozio("SELECT count(*) FROM categorie"), "2");
}

TEST_F(RepartiTest, ProgressoEMappaturaCambiata) {
  SqlOrigine(
      "INSERT INTO reparti VALUES ('1', 'a', '', '', 0, 0);"
      "INSERT INTO reparti VALUES ('2', 'b', '', '', 0, 0);"
      "INSERT INTO reparti VALUES ('3', 'c', '', '', 0, 0);");
  Contesto c = Apri();
  EXPECT_TRUE(ImportaReparti(c));
  EXPECT_EQ(progresso_.etichette,
            (std::vector<std::string>{"", "Importazione reparti", "Importazione reparti (1)",
                                      "Importazione reparti (2)", "Importazione reparti (3)"}));
  EXPECT_EQ(progresso_.Valore(), 3);
  EXPECT_FALSE(stato_->gRsReparti);
  EXPECT_FALSE(stato_->gRsOrigine);

  def_.gNomiCampiRep[repTitolo] = "titolo";  // the field's name differs in case
  EXPECT_FALSE(ImportaReparti(c));
  EXPECT_EQ(messaggi_.Testi().back(),
            "Campo non trovato: il database è cambiato rispetto all'importazione salvata");
  EXPECT_FALSE(stato_->gRsReparti);
}

}  // namespace
}  // namespace tarkpo::motore::test
