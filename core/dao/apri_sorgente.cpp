#include "core/dao/apri_sorgente.h"

#include "core/dao/errore.h"

namespace tarkpo::dao {

std::unique_ptr<Sorgente> ApriSorgenteEsterna(const DBEngine&, const std::string& percorso,
                                              const std::string&) {
  throw ErroreDao(errori::kFormatoNonRiconosciuto,
                  "Formato del database non riconosciuto: " + percorso);
}

}  // namespace tarkpo::dao
