// The text driver on an arbitrary .csv file: it lists the table and reads every row, or
// raises the engine's error; rows have one value per field and texts are valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cartella_fuzz.h"
#include "core/dao/errore.h"
#include "core/dao/sorgente_testo.h"
#include "core/testo.h"

using namespace tarkpo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  if (n == 0) return 0;
  // The first byte picks the options, the rest is the file.
  dao::OpzioniTesto opzioni;
  opzioni.delimitatore = (dati[0] & 1) ? ';' : ',';
  opzioni.intestazione = (dati[0] & 2) != 0;
  opzioni.righeAnalizzate = (dati[0] >> 2) & 7;
  // Settings that group with a point, a comma, a narrow no-break space, an apostrophe.
  const ImpostazioniRegionali regionali[] = {
      ImpostazioniRegionali::Italiane(), ImpostazioniRegionali::Inglesi(),
      ImpostazioniRegionali(',', "\xE2\x80\xAF", "\xE2\x82\xAC"),
      ImpostazioniRegionali('.', "\xE2\x80\x99", "CHF")};
  opzioni.regionali = regionali[(dati[0] >> 5) & 3];
  fuzz::Scrivi("t.csv", std::string(reinterpret_cast<const char*>(dati) + 1, n - 1));
  try {
    auto sorgente = dao::ApriSorgenteTesto(fuzz::Cartella(), opzioni);
    for (const auto& tabella : sorgente->Tabelle()) {
      for (const auto& campo : tabella.campi)
        if (!IsUtf8Valido(campo.nome)) std::abort();
      auto cursore = sorgente->Apri(tabella.nome);
      std::vector<Valore> riga;
      while (cursore->Leggi(riga)) {
        if (riga.size() != tabella.campi.size()) std::abort();
        for (const Valore& v : riga)
          if (v.Tipo() == TipoValore::Text && !IsUtf8Valido(v.Stringa())) std::abort();
      }
    }
  } catch (const dao::ErroreDao&) {
  }
  return 0;
}
