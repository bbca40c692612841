#pragma once
// The shop database: finding its data file, the numbered backup copy beside it, opening it,
// and opening its departments and items tables with the key lists built from them.
#include <memory>
#include <string>

#include "core/definizione.h"
#include "core/messaggi.h"
#include "engine/stato_motore.h"

namespace tarkpo::motore {

// Sets gFileNegozio to "catalog.mdb" or, when that is missing, "items.dat"; when the folder
// holds neither, says so and gives false (gFileNegozio keeps its value).
bool TrovaFileNegozio(StatoMotore& stato, const std::string& cartella, IMessaggi& messaggi);

// Opens the shop's data file in `workspace` (so a pending transaction there covers it).
bool ApriNegozio(StatoMotore& stato, const DefinizioneImportazione& def, dao::Workspace& workspace,
                 IMessaggi& messaggi);

// Opens `tabella` of the shop as a dynaset into `rs` (closing what `rs` held) and sets
// gUltimoOrdinamento to its highest "ordinamento" (0 when empty).
bool ApriTabellaNegozio(StatoMotore& stato, const DefinizioneImportazione& def,
                        const std::string& tabella, std::unique_ptr<dao::Recordset>& rs,
                        IMessaggi& messaggi);

// "categorie" into gRsReparti, with the lists of its IDs and titles (target language).
bool ApriReparti(StatoMotore& stato, const DefinizioneImportazione& def, IMessaggi& messaggi);
// After the department gRsReparti stands on was updated: its title entry follows the table.
// The lists are those a full rebuild would give, without a pass over the table.
void AggiornaElenchiReparti(StatoMotore& stato, const DefinizioneImportazione& def);
// Both department lists read again from a clone of gRsReparti, whose position stays.
void RicostruisciElenchiReparti(StatoMotore& stato, const DefinizioneImportazione& def);

// "articoli" into gRsArticoli, with the list of its codes and gNumArticoli.
bool ApriArticoli(StatoMotore& stato, const DefinizioneImportazione& def, IMessaggi& messaggi);

// Copies the shop's data file to the next free "catalog.NNN" in the shop folder and gives
// its path; "" when no copy was made (no number free, a journal beside the data file that
// still holds changes of a pending or broken transaction, a failing copy). Call it while no
// transaction is pending on the shop.
std::string BackupNegozio(StatoMotore& stato, const DefinizioneImportazione& def,
                          IMessaggi& messaggi);

}  // namespace tarkpo::motore
