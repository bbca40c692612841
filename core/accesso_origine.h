#pragma once
// Opening the source database through a page's data control, and the table lists of the
// two table pages. Core reaches the wizard's pages only through IPagineOrigine.
#include <cstdint>
#include <memory>
#include <string>

#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/messaggi.h"

namespace tarkpo {

// A list box whose entries carry an item data value.
class IListaTabelle {
 public:
  virtual ~IListaTabelle() = default;
  virtual void Clear() = 0;
  // Adds an entry at the end and returns its index.
  virtual int AddItem(const std::string& testo) = 0;
  virtual void SetItemData(int indice, int32_t dato) = 0;
  // Selects the entry; the page's own selection handling runs.
  virtual void SetListIndex(int indice) = 0;
};

// The pages that host the source: each call loads its page hidden (running the page's own
// load step) when it is not loaded yet.
class IPagineOrigine {
 public:
  virtual ~IPagineOrigine() = default;
  virtual dao::DataControl& DataTabellaRep() = 0;  // Data1 of frmTabellaRep
  virtual dao::DataControl& DataMain() = 0;        // Data1 of frmMain
  // lstTabelleRep and lstNomiInterni of frmTabellaRep, lstTabelleArt and lstNomiInterni of
  // frmTabellaArt.
  virtual IListaTabelle& TabelleRep() = 0;
  virtual IListaTabelle& NomiInterniRep() = 0;
  virtual IListaTabelle& TabelleArt() = 0;
  virtual IListaTabelle& NomiInterniArt() = 0;
};

// The connect string of the source: "Access 2000;" or ";PWD=...", "Excel 8.0;" or
// "Excel 8.0;HDR=...; IMEX=1;", "Text;" or "Text;HDR=...".
std::string ConnectOrigine(const DefinizioneImportazione& def);

// Open the source into gDb through the data control of frmTabellaRep (frmMain); on failure
// they tell the user why, leave gDb as it was and return false.
bool ApriDatabaseOrigine(const DefinizioneImportazione& def, IPagineOrigine& pagine,
                         IMessaggi& messaggi, std::shared_ptr<dao::Database>& gDb);
bool ApriDatabaseOrigineMain(const DefinizioneImportazione& def, IPagineOrigine& pagine,
                             IMessaggi& messaggi, std::shared_ptr<dao::Database>& gDb);

// Fill the shown list and the hidden list of internal names of frmTabellaRep (frmTabellaArt)
// with the user tables of gDb and select gTabellaRep (gTabellaArt).
bool ElencaTabelleRep(const DefinizioneImportazione& def, dao::Database* gDb,
                      IPagineOrigine& pagine, IMessaggi& messaggi);
bool ElencaTabelleArt(const DefinizioneImportazione& def, dao::Database* gDb,
                      IPagineOrigine& pagine, IMessaggi& messaggi);

// The name under which a source table is shown: a sheet without its final "$", a text
// file with "." in place of the "#" before its extension.
std::string NomeVisibileTabella(const DefinizioneImportazione& def, const std::string& nome);

}  // namespace tarkpo
