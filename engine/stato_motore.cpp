#include "engine/stato_motore.h"

namespace tarkpo::motore {

void ChiudiRecordset(std::unique_ptr<dao::Recordset>& rs) {
  if (!rs) return;
  try {
    rs->Close();
  } catch (const dao::ErroreDao&) {
    // Already closed with its database: nothing left to release.
  }
  rs.reset();
}

}  // namespace tarkpo::motore
