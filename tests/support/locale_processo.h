#pragma once
// The process locale of a test run, checked against the environment the run was given: a
// locale that is missing on the machine leaves the process in "C", and the run would then
// test nothing of what a user under that locale meets.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "core/regionali.h"

namespace tarkpo::test {

// The numeric locale the environment asks for, as setlocale(LC_ALL, "") takes it.
inline std::string LocaleNumericoDellAmbiente() {
  for (const char* variabile : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* v = std::getenv(variabile);
    if (v != nullptr && *v != '\0') return v;
  }
  return "C";
}

// The process runs under the environment's locale, and the regional settings are the
// C library's own separators.
inline void VerificaLocaleDelProcesso() {
  const char* attuale = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_NE(attuale, nullptr);
  EXPECT_EQ(std::string(attuale), LocaleNumericoDellAmbiente());
  EXPECT_EQ(ImpostazioniRegionali::DalLocale().SeparatoreDecimale(),
            std::localeconv()->decimal_point[0]);
  if (LocaleNumericoDellAmbiente().starts_with("it_IT")) {
    EXPECT_EQ(std::localeconv()->decimal_point[0], ',');
  }
}

}  // namespace tarkpo::test
