// The text driver on a 200,000-row catalogue: the first pass (field names, types, encoding),
// then every row read; the peak memory shows that neither pass holds the file.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/misura.h"
#include "core/dao/sorgente_testo.h"

using namespace tarkpo;

namespace {

using bench::PiccoKb;
using bench::Secondi;

}  // namespace

int main(int argc, char** argv) {
  const int righe = argc > 1 ? std::atoi(argv[1]) : 200000;
  const auto cartella =
      std::filesystem::temp_directory_path() / ("tarkpo-bench-csv-" + std::to_string(getpid()));
  std::filesystem::create_directories(cartella);
  {
    std::ofstream f(cartella / "articoli.csv", std::ios::binary);
    f << "Reparto;Codice;Titolo;Descrizione;Prezzo;Giacenza;Peso;Immagine\r\n";
    for (int i = 0; i < righe; ++i)
      f << "R" << i % 50 << ";"
        << "0" << 100000 + i << ";\"Articolo n\xB0 " << i << "; caff\xE8\";"
        << std::string(120, 'd') << ";" << i % 1000 << "," << i % 100 << ";" << i % 37 << ";0,"
        << i % 9 << ";img\\a" << i << ".jpg\r\n";
  }
  const double mb = std::filesystem::file_size(cartella / "articoli.csv") / 1048576.0;
  const long primaKb = PiccoKb();

  dao::OpzioniTesto opzioni;
  opzioni.delimitatore = ';';
  opzioni.righeAnalizzate = 0;
  opzioni.regionali = ImpostazioniRegionali::Italiane();
  auto t = std::chrono::steady_clock::now();
  auto sorgente = dao::ApriSorgenteTesto(cartella.string(), opzioni);
  const double apertura = Secondi(t);

  t = std::chrono::steady_clock::now();
  auto cursore = sorgente->Apri("articoli#csv");
  std::vector<Valore> riga;
  long lette = 0;
  size_t byteTesto = 0;
  while (cursore->Leggi(riga)) {
    ++lette;
    if (riga[2].Tipo() == TipoValore::Text) byteTesto += riga[2].Stringa().size();
  }
  const double lettura = Secondi(t);

  std::printf("file: %d rows, %.1f MB\n", righe, mb);
  std::printf("open (first pass): %.3f s\n", apertura);
  std::printf("read every row:    %.3f s (%ld rows, %zu bytes of titles)\n", lettura, lette,
              byteTesto);
  std::printf("peak memory grew by %ld KB while reading\n", PiccoKb() - primaKb);
  std::filesystem::remove_all(cartella);
  return lette == righe ? 0 : 1;
}
