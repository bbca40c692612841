// The Excel reader on an arbitrary file: it lists every sheet and reads every cell, or
// raises the engine's error; rows have one value per field and texts are valid UTF-8. The
// file's length picks the options. A sheet's range can reach 65,536 x 256 cells from a few
// bytes, so reading stops after 2 million values per input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cartella_fuzz.h"
#include "core/dao/errore.h"
#include "core/dao/sorgente_excel.h"
#include "core/testo.h"

using namespace tarkpo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string percorso =
      fuzz::Scrivi("t.xls", std::string(reinterpret_cast<const char*>(dati), n));
  dao::OpzioniExcel opzioni;
  opzioni.imex = n & 1;
  opzioni.intestazione = n & 2;
  opzioni.regionali =
      (n & 4) ? ImpostazioniRegionali::Italiane() : ImpostazioniRegionali::Inglesi();
  size_t valori = 0;
  try {
    auto sorgente = dao::ApriSorgenteExcel(percorso, opzioni);
    for (const auto& tabella : sorgente->Tabelle()) {
      if (!IsUtf8Valido(tabella.nome)) std::abort();
      for (const auto& campo : tabella.campi)
        if (!IsUtf8Valido(campo.nome)) std::abort();
      auto cursore = sorgente->Apri(tabella.nome);
      std::vector<Valore> riga;
      while (valori < 2'000'000 && cursore->Leggi(riga)) {
        if (riga.size() != tabella.campi.size()) std::abort();
        valori += riga.size() + 1;
        for (const Valore& v : riga)
          if (v.Tipo() == TipoValore::Text && !IsUtf8Valido(v.Stringa())) std::abort();
      }
    }
  } catch (const dao::ErroreDao&) {
  }
  return 0;
}
