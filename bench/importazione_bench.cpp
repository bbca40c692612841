// The import of generated catalogues of 50,000, 100,000 and 200,000 items (with
// departments) from a CSV folder: into a new shop, again with overwrite 1 (every row takes
// the update path and finds its values already there), then with missing-items treatment 1
// from a catalogue missing a tenth of the items, then with every price varied (every row
// written again). Each figure is set against the sqlite3 shell's .import of the same CSV into
// a table of the same columns, timed in the same run; every figure is the best of three. A last
// figure imports 1,000 items with a camera-size photo each (1600x1200 JPEG, about 300 KB)
// into a new shop and again (nothing to copy), each set against the same imports without
// images (best of five), with the image box of the import page; the argument "immagini"
// runs this figure alone.
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/impostazioni.h"
#include "core/mappa_campi.h"
#include "core/regionali.h"
#include "engine/importazione.h"
#include "support/foto_prova.h"
#include "support/mappa_prova.h"
#include "wizard/scatola_immagine.h"

namespace fs = std::filesystem;
using namespace tarkpo;
using Orologio = std::chrono::steady_clock;

namespace {

constexpr int kReparti = 200;

class MessaggiBench : public IMessaggi {
 public:
  Risposta Mostra(const std::string& testo, Icona, Pulsanti pulsanti) override {
    if (testo.rfind("E' stato creato", 0) != 0)
      std::fprintf(stderr, "messaggio: %s\n", testo.c_str());
    return pulsanti == Pulsanti::SiNo ? Risposta::Si : Risposta::Ok;
  }
};

double Secondi(const std::function<void()>& lavoro) {
  const auto inizio = Orologio::now();
  lavoro();
  return std::chrono::duration<double>(Orologio::now() - inizio).count();
}

void Esegui(const std::string& comando) {
  if (std::system(comando.c_str()) != 0) throw std::runtime_error("non riuscito: " + comando);
}

void SqlFile(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  char* errore = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &errore);
  std::string testo = errore ? errore : "";
  sqlite3_free(errore);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("SQL: " + testo);
}

std::string LeggiTesto(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void CreaNegozio(const std::string& cartella) {
  fs::remove_all(cartella);
  fs::create_directories(cartella + "/work");
  SqlFile(cartella + "/catalog.mdb",
          LeggiTesto(std::string(TARKPO_SORGENTI) + "/schemi/negozio-1listino-1lingua.sql"));
}

// items.csv with `n` items, leaving out every tenth when `senzaDecimo`; departments.csv.
// With `immagini`, item i names the picture img/fotoI.jpg.
void ScriviCatalogo(const std::string& cartella, int n, bool senzaDecimo, bool immagini = false) {
  fs::create_directories(cartella);
  std::ofstream rep(cartella + "/reparti.csv");
  rep << "Codice,Titolo,Descrizione,Note,IVA,Sconto\n";
  for (int k = 0; k < kReparti; ++k)
    rep << "R" << k << ",Reparto " << k << ",Descrizione del reparto " << k << ",,22,0\n";
  std::ofstream art(cartella + "/articoli.csv");
  for (int k = 0; k < 14; ++k) art << (k ? "," : "") << test::kColonneArticoli[k];
  art << "\n";
  for (int i = 0; i < n; ++i) {
    if (senzaDecimo && i % 10 == 9) continue;
    art << "R" << i % kReparti << ",ART" << i << ",Articolo numero " << i << ",conf. da "
        << 1 + i % 6 << ",Descrizione dell'articolo " << i << " per il catalogo di prova,,"
        << 1 + i % 97 << "." << i % 100 << "," << (i % 7 == 0 ? "9.99" : "0") << ",,0." << i % 10
        << "," << i % 50 << "," << (immagini ? "img/foto" + std::to_string(i) + ".jpg" : "")
        << ",,\n";
  }
}

DefinizioneImportazione Definizione(const std::string& negozio, const std::string& origine) {
  DefinizioneImportazione d = test::DefinizioneCatalogoCsv(negozio, origine);
  d.gGiacenzaMinima = 5;
  return d;
}

class Banco {
 public:
  explicit Banco(const std::string& cartella)
      : registro_(cartella + "/utente", cartella + "/macchina"), motore_(registro_) {}

  // One whole import as the import page runs it; throws when it fails.
  double Importa(const DefinizioneImportazione& d, IScatolaImmagine& scatola) {
    motore::StatoMotore stato;
    motore::StatoImportazione imp;
    motore::ProgressoMemoria progresso;
    motore::EventiNulli eventi;
    motore::Contesto c{d, stato, imp, messaggi_, progresso, eventi, scatola};
    auto& ws = motore_.Workspaces(0);
    bool riuscita = false;
    const double t = Secondi([&] {
      stato.gDb = ws.OpenDatabase(d.gPathDb, d.gTipoDb + d.gOpzioniDb);
      riuscita = motore::EseguiImportazione(c, ws, "").riuscita;
      stato.gDb->Close();
    });
    if (!riuscita) throw std::runtime_error("importazione non riuscita");
    for (const auto& f : fs::directory_iterator(d.gPathNegozio))
      if (f.path().filename().string().rfind("catalog.0", 0) == 0) fs::remove(f.path());
    return t;
  }

 private:
  Registro registro_;
  dao::DBEngine motore_;
  MessaggiBench messaggi_;
};

// The floor: the sqlite3 shell importing the same CSV into a table of the same columns.
double Pavimento(const std::string& cartella, const std::string& csv) {
  const std::string db = cartella + "/pavimento.db";
  fs::remove(db);
  std::string colonne;
  for (int k = 0; k < 14; ++k)
    colonne += std::string(k ? ", " : "") + "\"" + test::kColonneArticoli[k] + "\" TEXT";
  SqlFile(db, "CREATE TABLE articoli (" + colonne + ")");
  return Secondi(
      [&] { Esegui("sqlite3 '" + db + "' \".import --csv --skip 1 '" + csv + "' articoli\""); });
}

long PiccoMemoriaMb() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return uso.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Regionali() = ImpostazioniRegionali::Inglesi();
  const std::string radice =
      (fs::temp_directory_path() / ("tarkpo-bench-importazione-" + std::to_string(getpid())))
          .string();
  fs::remove_all(radice);
  fs::create_directories(radice);
  Banco banco(radice);
  struct ScatolaNulla : IScatolaImmagine {
    bool Carica(const std::string&) override { return false; }
    int Larghezza() const override { return 0; }
    int Altezza() const override { return 0; }
  } senzaImmagini;

  // "bench_importazione immagini" measures the photos only.
  const bool soloImmagini = argc > 1 && std::string(argv[1]) == "immagini";
  if (!soloImmagini)
    std::printf("%8s %-28s %8s %10s %14s\n", "articoli", "importazione", "secondi", "art./s",
                "x .import");
  double nuova100 = 0, nuova200 = 0;
  for (int n : {50000, 100000, 200000}) {
    if (soloImmagini) break;
    const std::string catalogo = radice + "/catalogo" + std::to_string(n);
    const std::string ridotto = radice + "/ridotto" + std::to_string(n);
    const std::string negozio = radice + "/negozio" + std::to_string(n);
    ScriviCatalogo(catalogo, n, false);
    ScriviCatalogo(ridotto, n, true);
    // Each figure is the best of three runs, since the machine may be busy with other work.
    auto migliore = [](const std::function<double()>& misura) {
      double t = misura();
      for (int volta = 1; volta < 3; ++volta) t = std::min(t, misura());
      return t;
    };
    const double pavimento =
        migliore([&] { return Pavimento(radice, catalogo + "/articoli.csv"); });
    const double pavimentoRidotto =
        migliore([&] { return Pavimento(radice, ridotto + "/articoli.csv"); });

    auto riga = [&](const char* nome, int articoli, double t, double base) {
      std::printf("%8d %-28s %8.3f %10.0f %14.2f\n", n, nome, t, articoli / t, t / base);
    };
    DefinizioneImportazione d = Definizione(negozio, catalogo);
    const double nuova = migliore([&] {
      CreaNegozio(negozio);
      return banco.Importa(d, senzaImmagini);
    });
    riga("nuovo negozio", n, nuova, pavimento);
    riga("di nuovo, sovrascrivi 1", n, migliore([&] { return banco.Importa(d, senzaImmagini); }),
         pavimento);
    DefinizioneImportazione m = Definizione(negozio, ridotto);
    m.gEscludi = 1;
    // The same items are missing each time, so every run does the same work.
    riga("senza un decimo, mancanti 1", n - n / 10,
         migliore([&] { return banco.Importa(m, senzaImmagini); }), pavimentoRidotto);
    // Every price changes (another variation each time): every row is written again.
    DefinizioneImportazione v = Definizione(negozio, catalogo);
    riga("prezzi variati, riscritti", n, migliore([&] {
           v.gVariazione += 10;
           return banco.Importa(v, senzaImmagini);
         }),
         pavimento);
    std::printf("%8d %-28s %8.3f\n", n, "sqlite3 .import (pavimento)", pavimento);
    if (n == 100000) nuova100 = nuova;
    if (n == 200000) nuova200 = nuova;
    fs::remove_all(negozio);
  }
  if (!soloImmagini) {
    std::printf("crescita 200.000 / 100.000 (nuovo negozio): %.2f\n", nuova200 / nuova100);
    std::printf("picco di memoria: %ld MB\n", PiccoMemoriaMb());
  }

  // 1,000 items with a photo each (ten different photos), against the same catalogue without
  // images: a new shop, then the same catalogue again (every photo already copied).
  const std::string conImmagini = radice + "/immagini";
  const std::string senza = radice + "/senza-immagini";
  const std::string negozio = radice + "/negozio-immagini";
  fs::create_directories(conImmagini + "/img");
  std::vector<QByteArray> foto;
  for (unsigned k = 0; k < 10; ++k) foto.push_back(test::FotoJpeg(1600, 1200, k + 1));
  for (int i = 0; i < 1000; ++i)
    std::ofstream(conImmagini + "/img/foto" + std::to_string(i) + ".jpg", std::ios::binary)
        .write(foto[i % 10].constData(), foto[i % 10].size());
  ScriviCatalogo(conImmagini, 1000, false, true);
  ScriviCatalogo(senza, 1000, false);
  wizard::ScatolaImmagineQt scatola;
  // Best of five, with and without images and the bare copy of the photos (the bound of a
  // first import) in turn, so that all meet the same load.
  double primaSenza = 1e9, secondaSenza = 1e9, primaCon = 1e9, secondaCon = 1e9, copia = 1e9;
  const std::string copie = radice + "/copie";
  for (int volta = 0; volta < 5; ++volta) {
    for (const bool immagini : {false, true}) {
      CreaNegozio(negozio);
      const DefinizioneImportazione d = Definizione(negozio, immagini ? conImmagini : senza);
      double& prima = immagini ? primaCon : primaSenza;
      double& seconda = immagini ? secondaCon : secondaSenza;
      prima = std::min(prima, banco.Importa(d, scatola));
      seconda = std::min(seconda, banco.Importa(d, scatola));
    }
    fs::remove_all(copie);
    fs::create_directories(copie);
    copia = std::min(copia, Secondi([&] {
                       for (int i = 0; i < 1000; ++i)
                         fs::copy_file(conImmagini + "/img/foto" + std::to_string(i) + ".jpg",
                                       copie + "/foto" + std::to_string(i) + ".jpg");
                     }));
  }
  std::printf(
      "1.000 articoli con foto 1600x1200 (%lld KB): nuovo negozio %.3f s (%.2fx senza "
      "immagini, %.3f s), di nuovo %.3f s (%.2fx senza immagini, %.3f s); sola copia delle "
      "foto %.3f s\n",
      static_cast<long long>(foto[0].size() / 1024), primaCon, primaCon / primaSenza, primaSenza,
      secondaCon, secondaCon / secondaSenza, secondaSenza, copia);
  fs::remove_all(radice);
  return 0;
}
