#pragma once
// The import definition: every choice the wizard collects, shared by the pages and the
// engine and stored whole in the definition file. The program holds exactly one and
// passes it on; tests create their own.
#include <array>
#include <cstdint>
#include <string>

namespace tarkpo {

inline constexpr int kRigheMappa = 21;  // rows of room in each field mapping
inline constexpr int kListini = 10;

struct DefinizioneImportazione {
  std::string gPathNegozio;  // the shop folder
  std::string gPathDb;       // the source: an .mdb or .xls file, or the folder of the .csv files
  std::string gTipoDb;       // "Access 2000;", "Excel 8.0;" or "Text;"
  std::string gOpzioniDb;    // "", "PWD=..." or "HDR=Yes" / "HDR=No"
  int16_t gImpRep = 0;       // 1 = import the departments
  int16_t gImpArt = 0;       // 1 = import the items
  std::string gTabellaRep;   // the engine's own name of the departments table
  // Field mappings: -1 no choice made, 0 the blank entry, n the n-th source field.
  std::array<int32_t, kRigheMappa> gCampiRep{};
  std::array<std::string, kRigheMappa> gNomiCampiRep;
  std::string gTabellaArt;
  std::array<int32_t, kRigheMappa> gCampiArt{};
  std::array<std::string, kRigheMappa> gNomiCampiArt;
  int16_t gSovrascrivi = 0;     // 0 not chosen yet, 1 overwrite existing rows, 2 leave them
  std::string gSeparatore;      // "" = ";" (settings "set0"), "1" = "," ("set1")
  int32_t gGiacenzaMinima = 0;  // -1 = off
  float gVariazione = 0;        // price variation in percent
  int16_t gArrotonda = 0;       // 1 = list prices rounded to whole units
  int16_t gPreserva = 0;        // 1 = an item already in the shop keeps its department
  int16_t gLingua = 0;          // target language, 0 to 3
  int16_t gEscludi = 0;         // |value| = treatment of missing items; < 0 also those without code
  std::array<int16_t, kListini> gListini{};  // price list k+1 receives prices when not 0

  // Resets the definition for a new import, keeping the options of the run. True when
  // the CSV delimiter choice was not empty before: the caller then restarts the program.
  bool NuovaImportazione();
  // The shop column holding the text field `nome` in the target language; empty for a
  // language outside 0 to 3.
  std::string CampoLingua(const std::string& nome) const;

  bool operator==(const DefinizioneImportazione&) const = default;
};

// Program-wide state that is never stored with the definition.
struct StatoProgramma {
  bool gWizardAvviato = false;    // tells the start-up window from the about box
  std::string gCartellaIniziale;  // the folder the folder browser preselects, then one NUL
};

}  // namespace tarkpo
