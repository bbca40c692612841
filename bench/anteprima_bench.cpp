// The table preview on a 200,000-row catalogue: the count (to the last record and back),
// the first screen of the grid, a jump to the last row, and the memory the grid then holds.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/misura.h"
#include "core/dao/dao.h"
#include "core/impostazioni.h"
#include "wizard/modello_recordset.h"

using namespace tarkpo;

namespace {

using bench::PiccoKb;
using bench::Secondi;

}  // namespace

int main(int argc, char** argv) {
  const int righe = argc > 1 ? std::atoi(argv[1]) : 200000;
  const auto cartella = std::filesystem::temp_directory_path() /
                        ("tarkpo-bench-anteprima-" + std::to_string(getpid()));
  std::filesystem::create_directories(cartella / "origine");
  {
    std::ofstream f(cartella / "origine" / "articoli.csv", std::ios::binary);
    f << "Reparto,Codice,Titolo,Descrizione,Prezzo,Giacenza\r\n";
    for (int i = 0; i < righe; ++i)
      f << "R" << i % 50 << ",0" << 100000 + i << ",Articolo " << i << "," << std::string(60, 'd')
        << "," << i % 1000 << "," << i % 37 << "\r\n";
  }
  int esito = 0;
  {
    Registro registro((cartella / "utente").string(), (cartella / "macchina").string());
    dao::DBEngine motore(registro);
    auto db = motore.Workspaces(0).OpenDatabase((cartella / "origine").string(), "Text;HDR=Yes");
    std::shared_ptr<dao::Recordset> rs = db->OpenRecordset("articoli#csv");

    auto t = std::chrono::steady_clock::now();
    rs->MoveLast();
    rs->MoveFirst();
    const double conteggio = Secondi(t);

    wizard::ModelloRecordset modello;
    const long primaKb = PiccoKb();
    t = std::chrono::steady_clock::now();
    modello.Associa(rs);
    for (int r = 0; r < 40; ++r)
      for (int c = 0; c < modello.columnCount(); ++c) modello.data(modello.index(r, c));
    const double primaSchermata = Secondi(t);

    t = std::chrono::steady_clock::now();
    const QString ultima = modello.data(modello.index(righe - 1, 1)).toString();
    const double salto = Secondi(t);

    std::printf("preview of %d rows (%d counted)\n", righe, modello.rowCount());
    std::printf("count (last record and back): %.3f s\n", conteggio);
    std::printf("first screen (40 rows):       %.4f s\n", primaSchermata);
    std::printf("jump to the last row:         %.3f s (%s)\n", salto, qPrintable(ultima));
    std::printf("peak memory grew by %ld KB holding every row\n", PiccoKb() - primaKb);
    esito = modello.rowCount() == righe && modello.RigheLette() == righe ? 0 : 1;
  }
  std::filesystem::remove_all(cartella);
  return esito;
}
