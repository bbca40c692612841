#pragma once
// One whole import, as the import page runs it: backup, transaction, shop opened,
// departments and items, shop closed, commit or rollback, the result told to the user.
#include <string>

#include "core/dao/dao.h"
#include "engine/contesto.h"

namespace tarkpo::motore {

struct EsitoImportazione {
  bool eseguita = false;  // false when the user chose not to import without a backup
  bool riuscita = false;
  std::string backup;  // the backup copy kept, "" when none was made or it was deleted
};

// Runs the import of `c.def` inside one transaction of `ws`. After a success the definition
// is stored as "last.ini" in `cartellaProgramma` (nothing is stored when it is empty).
EsitoImportazione EseguiImportazione(Contesto& c, dao::Workspace& ws,
                                     const std::string& cartellaProgramma);

}  // namespace tarkpo::motore
