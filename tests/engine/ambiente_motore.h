#pragma once
// What an engine test works with: a temporary folder holding a shop, a fresh engine and
// definition, the engine state and scripted message boxes.
#include <gtest/gtest.h>

#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/impostazioni.h"
#include "engine/stato_motore.h"
#include "support/cartella_temp.h"
#include "support/messaggi_script.h"
#include "support/negozio_test.h"

namespace tarkpo::test {

class AmbienteMotore : public testing::Test {
 protected:
  AmbienteMotore() { def.gPathNegozio = cartella / "negozio"; }

  // Makes the shop from `schema` and runs `sql` on it; returns the data file's path.
  std::string PreparaNegozio(const std::string& sql = "", const std::string& schema = kSchemaBase,
                             const std::string& file = "catalog.mdb") {
    std::string percorso = CreaNegozio(def.gPathNegozio, schema, file);
    if (!sql.empty()) EseguiSql(percorso, sql);
    return percorso;
  }
  dao::Workspace& Workspace() { return dbEngine.Workspaces(0); }

  CartellaTemp cartella;
  Registro registro{cartella / "utente", cartella / "macchina"};
  dao::DBEngine dbEngine{registro};
  DefinizioneImportazione def;
  motore::StatoMotore stato;
  MessaggiScript messaggi;
};

}  // namespace tarkpo::test
