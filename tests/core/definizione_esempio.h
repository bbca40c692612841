#pragma once
// A definition with every member away from its value on process start, negative values
// and an empty option text included.
#include <ostream>
#include <string>

#include "core/definizione.h"

namespace tarkpo {

// Readable failures: every member in file order, texts quoted.
inline void PrintTo(const DefinizioneImportazione& d, std::ostream* os) {
  auto t = [os](const std::string& s) { *os << '"' << s << "\" "; };
  t(d.gPathNegozio), t(d.gPathDb), t(d.gTipoDb), t(d.gOpzioniDb);
  *os << d.gImpRep << ' ' << d.gImpArt << ' ';
  t(d.gTabellaRep);
  for (int i = 0; i < kRigheMappa; ++i) *os << d.gCampiRep[i] << ' ', t(d.gNomiCampiRep[i]);
  t(d.gTabellaArt);
  for (int i = 0; i < kRigheMappa; ++i) *os << d.gCampiArt[i] << ' ', t(d.gNomiCampiArt[i]);
  *os << d.gSovrascrivi << ' ';
  t(d.gSeparatore);
  *os << d.gGiacenzaMinima << ' ' << d.gVariazione << ' ' << d.gArrotonda << ' ' << d.gPreserva
      << ' ' << d.gLingua << ' ' << d.gEscludi;
  for (int16_t l : d.gListini) *os << ' ' << l;
}

}  // namespace tarkpo

namespace tarkpo::test {

inline DefinizioneImportazione DefinizioneCompilata() {
  DefinizioneImportazione d;
  d.gPathNegozio = "/negozi/caffè";
  d.gPathDb = "/dati/listino.mdb";
  d.gTipoDb = "Access 2000;";
  d.gOpzioniDb = "";
  d.gImpRep = 0;
  d.gImpArt = 1;
  d.gTabellaRep = "Reparti";
  d.gTabellaArt = "Articoli#csv";
  for (int i = 0; i < kRigheMappa; ++i) {
    d.gCampiRep[i] = i + 1;
    d.gNomiCampiRep[i] = "rep" + std::to_string(i);
    d.gCampiArt[i] = i % 3 - 1;
    d.gNomiCampiArt[i] = i == 4 ? "" : "art " + std::to_string(i);
  }
  d.gSovrascrivi = 2;
  d.gSeparatore = "1";
  d.gGiacenzaMinima = -1;
  d.gVariazione = -12.5f;
  d.gArrotonda = 1;
  d.gPreserva = 1;
  d.gLingua = 3;
  d.gEscludi = -2;
  d.gListini = {1, 0, 1, -1, 0, 0, 32767, 0, 0, 1};
  return d;
}

}  // namespace tarkpo::test
