#include "core/definizione.h"

#include <gtest/gtest.h>

#include "core/definizione_esempio.h"

namespace tarkpo {
namespace {

TEST(DefinizioneImportazione, NuovaImportazioneResetsTheSourceAndKeepsTheRunOptions) {
  DefinizioneImportazione d = test::DefinizioneCompilata();
  d.NuovaImportazione();

  DefinizioneImportazione attesa = test::DefinizioneCompilata();
  attesa.gPathNegozio = attesa.gPathDb = attesa.gOpzioniDb = "";
  attesa.gTipoDb = "Access 2000;";
  attesa.gImpRep = attesa.gImpArt = 1;
  attesa.gTabellaRep = attesa.gTabellaArt = "";
  attesa.gCampiRep.fill(0);
  attesa.gNomiCampiRep.fill("");
  attesa.gCampiArt.fill(0);
  attesa.gNomiCampiArt.fill("0");
  attesa.gSovrascrivi = 0;
  attesa.gSeparatore = "";
  EXPECT_EQ(d, attesa);
}

TEST(DefinizioneImportazione, NuovaImportazioneTellsWhetherTheDelimiterWasSet) {
  const std::pair<const char*, bool> casi[] = {{"", false}, {"1", true}, {"x", true}, {" ", true}};
  for (const auto& [separatore, riavvia] : casi) {
    DefinizioneImportazione d;
    d.gSeparatore = separatore;
    EXPECT_EQ(d.NuovaImportazione(), riavvia) << '"' << separatore << '"';
    EXPECT_EQ(d.gSeparatore, "");
  }
}

TEST(DefinizioneImportazione, CampoLingua) {
  const std::pair<int16_t, const char*> casi[] = {
      {0, "descrizione"},
      {1, "descrizione_l2"},
      {2, "descrizione_l3"},
      {3, "descrizione_l4"},
      {4, ""},
      {-1, ""},
  };
  DefinizioneImportazione d;
  for (const auto& [lingua, atteso] : casi) {
    d.gLingua = lingua;
    EXPECT_EQ(d.CampoLingua("descrizione"), atteso) << lingua;
  }
}

}  // namespace
}  // namespace tarkpo
