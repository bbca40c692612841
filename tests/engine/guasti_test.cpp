// A whole import (departments, items and their pictures) with SQLite's file operations
// failing under it, at every point the import reaches: each write, sync, truncation and
// deletion in turn failing once or for good, as a full disk or as a failing one, and a disk
// of every size from full to roomy enough. After each run the shop must be sound and hold
// either what it held before or what the whole import gives, the messages must be true, the
// backup must be kept whenever the shop may differ from it, and every picture a row names
// must be whole and measured as the row says.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "banco_importazione.h"
#include "support/guasti_vfs.h"
#include "support/immagini_negozio.h"

namespace tarkpo::motore::test {
namespace {

namespace fs = std::filesystem;
using tarkpo::test::GuastiVfs;

// The rows of the tables an import writes, in storage order, every value with its type.
std::string Contenuto(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  std::string righe;
  for (const char* tabella : {"categorie", "articoli", "lingue"}) {
    sqlite3_stmt* st = nullptr;
    const std::string sql = std::string("SELECT * FROM ") + tabella + " ORDER BY rowid";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      righe += std::string("errore: ") + sqlite3_errmsg(db);
      break;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* t = sqlite3_column_text(st, i);
        righe += std::to_string(sqlite3_column_type(st, i)) + ":" +
                 (t ? reinterpret_cast<const char*>(t) : "") + "|";
      }
      righe += "\n";
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return righe;
}

std::string Integrita(const std::string& file) {
  return tarkpo::test::PrimoValore(file, "PRAGMA integrity_check");
}

struct Caso {
  const char* nome;
  bool capienza;  // a disk of every size; else every operation failing in turn
  GuastiVfs::Guasto guasto;
  GuastiVfs::Ripetizione ripetizione;
  bool immaginiSostituite;  // the catalogue's pictures replaced by others of other sizes
};

void PrintTo(const Caso& caso, std::ostream* os) { *os << caso.nome; }

class GuastiTest : public BancoImportazione, public ::testing::WithParamInterface<Caso> {
 protected:
  static constexpr int kArticoli = 40;

  // The catalogue of `variante`: its departments, items and pictures (two per item, shared
  // among items; the replaced pictures have other sizes under the same names).
  void Catalogo(int variante, bool altreImmagini) {
    const fs::path foto = origine_.Percorso() / "foto";
    fs::create_directories(foto);
    for (int k = 0; k < 9; ++k) {
      const int lato = 8 + k + (altreImmagini ? 5 : 0);
      origine_.Scrivi("foto/f" + std::to_string(k) + ".bmp",
                      tarkpo::test::BmpProva(lato * 2, lato, altreImmagini ? 7 : 1));
      origine_.Scrivi("foto/p" + std::to_string(k) + ".bmp",
                      tarkpo::test::BmpProva(lato, lato + 1, altreImmagini ? 9 : 3));
    }
    SqlOrigine("DELETE FROM reparti; DELETE FROM articoli");
    std::string sql;
    for (int r = 0; r < 8; ++r)
      sql += "INSERT INTO reparti VALUES ('R" + std::to_string(r) + "', 'Reparto " +
             std::to_string(r) + " v" + std::to_string(variante) + "', 'descrizione', '', 22, " +
             std::to_string(r % 3) + ");";
    // The second catalogue adds items and changes every price and title.
    const int articoli = kArticoli + (variante > 1 ? 12 : 0);
    for (int i = 0; i < articoli; ++i) {
      const std::string n = std::to_string(i);
      sql +=
          "INSERT INTO articoli (Reparto, Codice, Titolo, Descrizione, Prezzo, Immagine1, "
          "ImmaginePiccola) VALUES ('R" +
          std::to_string(i % 8) + "', 'ART" + n + "', 'Articolo " + n + " v" +
          std::to_string(variante) + "', '" + std::string(200 + i * 7, 'd') + "', " +
          std::to_string(i + variante) + ".5, '" +
          (foto / ("f" + std::to_string(i % 9) + ".bmp")).string() + "', '" +
          (foto / ("p" + std::to_string((i + variante) % 9) + ".bmp")).string() + "');";
    }
    SqlOrigine(sql);
  }

  // Puts the shop folder back as it was before the import under test.
  void Ripristina() {
    for (const auto& voce : fs::directory_iterator(negozio_.Percorso()))
      fs::remove_all(voce.path());
    fs::copy(salvato_.Percorso(), negozio_.Percorso(), fs::copy_options::recursive);
    NuovaSessione();
    messaggi_.Pulisci();
  }

  std::vector<std::string> Testi() const { return messaggi_.Testi(); }

  // What holds after every run, whatever failed in it.
  void Verifica() {
    const bool detto = !Testi().empty() && Testi().back() == "Il negozio non è stato modificato";
    // Before anything opens the shop and rolls a journal back: "unchanged" is said only of a
    // file that is byte for byte the one before, with nothing pending beside it.
    if (detto) {
      EXPECT_TRUE(tarkpo::test::LeggiFile(fileNegozio_) == filePrima_) << "detto non modificato";
      EXPECT_FALSE(fs::exists(fileNegozio_ + "-journal") &&
                   fs::file_size(fileNegozio_ + "-journal") > 0 &&
                   tarkpo::test::LeggiFile(fileNegozio_ + "-journal")[0] != 0);
    }
    ASSERT_EQ(Integrita(fileNegozio_), "ok");
    const std::string contenuto = Contenuto(fileNegozio_);
    if (esito_.riuscita)
      EXPECT_TRUE(contenuto == dopo_) << "riuscita, ma il negozio non è quello dopo";
    else
      EXPECT_TRUE(contenuto == prima_) << "non riuscita, ma il negozio è cambiato";
    std::vector<fs::path> backup;
    for (const auto& voce : fs::directory_iterator(negozio_.Percorso()))
      if (voce.path().filename().string().rfind("catalog.0", 0) == 0) backup.push_back(voce.path());
    if (detto) {
      EXPECT_TRUE(backup.empty()) << "il backup di un negozio non modificato resta";
    } else {
      ASSERT_EQ(backup.size(), 1u) << "nessun backup, e il negozio può essere cambiato";
      EXPECT_TRUE(tarkpo::test::LeggiFile(backup[0].string()) == filePrima_) << "backup non intero";
    }
    EXPECT_EQ(tarkpo::test::ImmaginiDifettose(fileNegozio_, CartellaNegozio() + "/work"),
              std::vector<std::string>{});
  }

  tarkpo::test::CartellaTemp salvato_;
  std::string filePrima_, prima_, dopo_;
};

TEST_P(GuastiTest, IlNegozioRestaInteroAOgniGuasto) {
  const Caso caso = GetParam();
  Catalogo(1, false);
  ASSERT_TRUE(Importa()) << ::testing::PrintToString(Testi());
  for (const auto& voce : fs::directory_iterator(negozio_.Percorso()))
    if (voce.path().filename().string().rfind("catalog.0", 0) == 0) fs::remove(voce.path());
  ASSERT_EQ(tarkpo::test::ImmaginiDifettose(fileNegozio_, CartellaNegozio() + "/work"),
            std::vector<std::string>{});
  fs::copy(negozio_.Percorso(), salvato_.Percorso(), fs::copy_options::recursive);
  filePrima_ = tarkpo::test::LeggiFile(fileNegozio_);
  prima_ = Contenuto(fileNegozio_);
  Catalogo(2, caso.immaginiSostituite);

  // The whole import, counting what it does to the shop's files.
  GuastiVfs guasti(CartellaNegozio());
  NuovaSessione();
  messaggi_.Pulisci();
  guasti.Nessuno();
  ASSERT_TRUE(Importa()) << ::testing::PrintToString(Testi());
  const int operazioni = guasti.Operazioni();
  const int64_t picco = guasti.Picco();
  dopo_ = Contenuto(fileNegozio_);
  ASSERT_NE(dopo_, prima_);
  ASSERT_GT(operazioni, 10);

  const bool capienza = caso.capienza;
  const int passo = 512;
  const int ultimo = capienza ? static_cast<int>(picco / passo) + 1 : operazioni;
  int riuscite = 0;
  for (int n = capienza ? 0 : 1; n <= ultimo; ++n) {
    Ripristina();
    if (capienza)
      guasti.SpazioLibero(int64_t{n} * passo);
    else
      guasti.FallisciAl(n, caso.guasto, caso.ripetizione);
    Importa();
    const bool scattato = guasti.Scattato();
    guasti.Nessuno();
    SCOPED_TRACE((capienza
                      ? "byte liberi " + std::to_string(n * passo)
                      : "operazione " + std::to_string(n) + " di " + std::to_string(operazioni)) +
                 ", messaggi " + ::testing::PrintToString(Testi()));
    if (!scattato) {
      EXPECT_TRUE(esito_.riuscita);
    }
    riuscite += esito_.riuscita;
    Verifica();
    if (HasFailure()) return;  // the first run that fails tells enough
  }
  // The roomiest disk lets the import through.
  if (capienza) {
    EXPECT_TRUE(esito_.riuscita);
  }
  RecordProperty("importazioni", ultimo);
  RecordProperty("riuscite", riuscite);
}

constexpr auto Pieno = GuastiVfs::Guasto::Pieno;
constexpr auto ErroreIo = GuastiVfs::Guasto::ErroreIo;
constexpr auto UnaVolta = GuastiVfs::Ripetizione::UnaVolta;
constexpr auto PerSempre = GuastiVfs::Ripetizione::PerSempre;
constexpr auto Ogni = GuastiVfs::Ripetizione::Ogni;

INSTANTIATE_TEST_SUITE_P(
    Guasti, GuastiTest,
    ::testing::Values(Caso{"PienoUnaVolta", false, Pieno, UnaVolta, false},
                      Caso{"PienoPerSempre", false, Pieno, PerSempre, false},
                      Caso{"PienoOgniTanto", false, Pieno, Ogni, false},
                      Caso{"ErroreUnaVolta", false, ErroreIo, UnaVolta, false},
                      Caso{"ErrorePerSempre", false, ErroreIo, PerSempre, false},
                      Caso{"ErroreOgniTanto", false, ErroreIo, Ogni, false},
                      Caso{"DiscoDiOgniCapienza", true, Pieno, UnaVolta, false},
                      Caso{"ImmaginiSostituiteErrore", false, ErroreIo, UnaVolta, true},
                      Caso{"ImmaginiSostituiteDiscoDiOgniCapienza", true, Pieno, UnaVolta, true}),
    [](const ::testing::TestParamInfo<Caso>& info) { return std::string(info.param.nome); });

}  // namespace
}  // namespace tarkpo::motore::test
