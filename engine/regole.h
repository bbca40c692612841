#pragma once
// The value rules of the import: prices, weights, availability, department IDs and
// percentages. Pure functions, so the rules are tested apart from any shop.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dao/valore.h"

namespace tarkpo::motore {

// --- Prices (currency: signed 64-bit ten-thousandths) ---

// The factor of a price variation in percent: 1 + variazione / 100.
double FattorePrezzo(float variazione);
// Rounds a currency value to `decimali` places (0 to 4), a half going to the even neighbour.
int64_t ArrotondaValuta(int64_t decimillesimi, int decimali);
// The list price after the item options: times the factor (unless it is 0) and rounded to
// cents, then to whole units when `arrotonda`. A product out of the currency range leaves
// the price unvaried.
int64_t RegolaPrezzo(int64_t prezzo, double fattore, bool arrotonda);

// A read value as currency or single: 0 when it does not read as a number (an empty
// value reads as 0) or does not fit the type.
int64_t ValutaDa(const Valore& v);
float SingoloDa(const Valore& v);

// A read value as text under the regional settings ("" for an empty value).
std::string TestoDa(const Valore& v);

// --- Availability ---

// 0 when no minimum applies (minimo below 0, or a text that reads as no number); else 1 below
// the minimum, 2 at or above it. The number is rounded half to even; one beyond the 32-bit
// range is compared as the number it is.
int16_t StatoGiacenza(std::string_view giacenza, int32_t minimo);

// --- Departments ---

inline constexpr std::string_view kPrefissoReparto = "imp0";
// "imp0" followed by the code, cut to 99 characters.
std::string IdReparto(std::string_view codice);
// "cat" followed by the AutoNumber with at least three digits: 7 gives cat007.
std::string IdRepartoContatore(int64_t contatore);
// A VAT or discount read from the source: 0 unless it reads as a number fitting a single;
// below 1 it is a fraction and is multiplied by 100.
float Percentuale(const Valore& v);

}  // namespace tarkpo::motore
