#include "core/definizione.h"

namespace tarkpo {

bool DefinizioneImportazione::NuovaImportazione() {
  const std::string separatore = gSeparatore;
  gPathNegozio.clear();
  gPathDb.clear();
  gOpzioniDb.clear();
  gTipoDb = "Access 2000;";
  gImpRep = 1;
  gImpArt = 1;
  gTabellaRep.clear();
  gCampiRep.fill(0);
  gNomiCampiRep.fill("");
  gTabellaArt.clear();
  gCampiArt.fill(0);
  // The item names become the digit zero, unlike the department names.
  gNomiCampiArt.fill("0");
  gSovrascrivi = 0;
  gSeparatore.clear();
  return !separatore.empty();
}

std::string DefinizioneImportazione::CampoLingua(const std::string& nome) const {
  switch (gLingua) {
    case 0:
      return nome;
    case 1:
      return nome + "_l2";
    case 2:
      return nome + "_l3";
    case 3:
      return nome + "_l4";
    default:
      return "";
  }
}

}  // namespace tarkpo
