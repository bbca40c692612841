// The filters of the file dialogs as Qt reads them.
#include <gtest/gtest.h>

#include "wizard/dialoghi_file_qt.h"

namespace tarkpo::wizard {
namespace {

TEST(DialoghiFile, FiltriConIModelliAncheInMaiuscolo) {
  struct Caso {
    const char* filtro;
    const char* atteso;
  };
  const Caso casi[] = {
      {"Database Access (*.mdb)|*.mdb", "Database Access (*.mdb *.MDB)"},
      {"Configurazione importazione (*.kpo)|*.kpo", "Configurazione importazione (*.kpo *.KPO)"},
      {"Fogli|*.xls;*.XLS|Tutti (*.*)|*.*", "Fogli (*.xls *.XLS);;Tutti (*.*)"},
      {"", ""},
      {"senza modello", ""},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(FiltroQt(c.filtro).toStdString(), c.atteso) << c.filtro;
  }
}

}  // namespace
}  // namespace tarkpo::wizard
