#include "engine/regole.h"

#include <cmath>
#include <limits>

#include "core/caratteri.h"
#include "core/dao/conversioni.h"
#include "core/dao/errore.h"
#include "core/regionali.h"

namespace tarkpo::motore {

namespace {

constexpr int64_t kPotenze[] = {1, 10, 100, 1000, 10000};

}  // namespace

double FattorePrezzo(float variazione) { return 1.0 + static_cast<double>(variazione) / 100.0; }

int64_t ArrotondaValuta(int64_t v, int decimali) {
  if (decimali < 0 || decimali >= 4) return v;
  const int64_t passo = kPotenze[4 - decimali];
  int64_t q = v / passo;
  const int64_t resto = v % passo;  // same sign as v
  const int64_t verso = v < 0 ? -1 : 1;
  const int64_t doppio = 2 * (resto < 0 ? -resto : resto);
  if (doppio > passo || (doppio == passo && q % 2 != 0)) q += verso;
  if (q > std::numeric_limits<int64_t>::max() / passo ||
      q < std::numeric_limits<int64_t>::min() / passo)
    return v;
  return q * passo;
}

int64_t RegolaPrezzo(int64_t prezzo, double fattore, bool arrotonda) {
  if (fattore != 0) {
    if (auto variato = DoubleACurrency(static_cast<double>(prezzo) / 10000.0 * fattore))
      prezzo = ArrotondaValuta(*variato, 2);
  }
  if (arrotonda) prezzo = ArrotondaValuta(prezzo, 0);
  return prezzo;
}

int64_t ValutaDa(const Valore& v) {
  try {
    return v.IsEmpty() || !dao::IsNumeric(v) ? 0 : dao::ACurrency(v);
  } catch (const dao::ErroreDao&) {
    return 0;  // does not fit a currency
  }
}

float SingoloDa(const Valore& v) {
  try {
    return v.IsEmpty() || !dao::IsNumeric(v) ? 0 : dao::ASingle(v);
  } catch (const dao::ErroreDao&) {
    return 0;
  }
}

std::string TestoDa(const Valore& v) { return dao::ATesto(v); }

int16_t StatoGiacenza(std::string_view giacenza, int32_t minimo) {
  if (minimo < 0 || !Regionali().IsNumeric(giacenza)) return 0;
  const auto numero = Regionali().ADouble(giacenza);
  if (!numero) return SenzaSpazi(giacenza).starts_with('-') ? 1 : 2;  // beyond a double
  return std::nearbyint(*numero) < static_cast<double>(minimo) ? 1 : 2;
}

std::string IdReparto(std::string_view codice) {
  std::string id(kPrefissoReparto);
  id += codice;
  return PrimiCaratteri(id, 99);
}

std::string IdRepartoContatore(int64_t contatore) {
  std::string cifre = std::to_string(contatore < 0 ? -contatore : contatore);
  if (cifre.size() < 3) cifre.insert(0, 3 - cifre.size(), '0');
  return std::string(contatore < 0 ? "cat-" : "cat") + cifre;
}

float Percentuale(const Valore& v) {
  float p = SingoloDa(v);
  // A product beyond a Single fails as a statement would: the value stays as read.
  if (const float cento = p * 100; p < 1 && std::isfinite(cento)) p = cento;
  return p;
}

}  // namespace tarkpo::motore
