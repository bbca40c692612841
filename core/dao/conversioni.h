#pragma once
// Conversions of a field value, as the engine applies them when a value is stored into a
// typed field and as callers use them: a text converts when it reads as a number under the
// regional settings, anything that does not convert raises 3421 (dao::ErroreDao).
#include <cstdint>
#include <string>

#include "core/dao/valore.h"

namespace tarkpo {
class ImpostazioniRegionali;
}

namespace tarkpo::dao {

// Text form: numbers with the regional decimal separator, Boolean "True"/"False", a Date
// as dd/mm/yyyy (with " hh:mm:ss" when it has a time; on day zero, 30/12/1899, the time
// alone), Null and Empty as "".
std::string ATesto(const Valore& v);
std::string ATesto(const Valore& v, const ImpostazioniRegionali& regionali);
// Numbers: a Boolean is -1 or 0; a text that reads as a number converts; Null raises 3421;
// Empty is 0. Integer, Long and Currency round half to even and raise 3421 out of range.
double ADouble(const Valore& v);
float ASingle(const Valore& v);
int16_t AInteger(const Valore& v);
int32_t ALong(const Valore& v);
uint8_t AByte(const Valore& v);
int64_t ACurrency(const Valore& v);  // ten-thousandths
// A number is true when not 0; a text when it reads as a non-zero number or is "True"/"Vero"
// (any case); "False"/"Falso" is false.
bool ABoolean(const Valore& v);
// Days since 1899-12-30: numbers as they are, texts as dd/mm/yyyy[ hh:mm[:ss]] or yyyy-mm-dd.
double ADate(const Valore& v);

// The value converted to `tipo` (Null and Empty stay as they are: the field decides
// whether it takes them). Raises 3421 when it does not convert.
Valore ConvertiA(const Valore& v, TipoValore tipo);

// Whether the value reads as a number (a number, or a text that converts).
bool IsNumeric(const Valore& v);

}  // namespace tarkpo::dao
