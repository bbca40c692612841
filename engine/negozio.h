#pragma once
// The shop database: finding its data file, the numbered backup copy beside it, opening it,
// and opening its departments and items tables with the key lists built from them.
#include <memory>
#include <optional>
#include <string>

#include "core/definizione.h"
#include "core/messaggi.h"
#include "engine/stato_motore.h"

namespace tarkpo::motore {

// Sets gFileNegozio to "catalog.mdb" or, when that is missing, "items.dat"; when the folder
// holds neither, says so and gives false (gFileNegozio keeps its value).
bool TrovaFileNegozio(StatoMotore& stato, const std::string& cartella, IMessaggi& messaggi);

// Opens the shop's data file in `workspace` (so a pending transaction there covers it).
// `soloLettura` opens it only to read, as the pages before the import do: nothing is
// written to it, and another program may have it open meanwhile.
bool ApriNegozio(StatoMotore& stato, const DefinizioneImportazione& def, dao::Workspace& workspace,
                 IMessaggi& messaggi, bool soloLettura = false);

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
// its path; "" when no copy was made (no number free, a file in use that SQLite cannot
// hold still, a failing copy). SQLite first finishes what an interrupted writer left beside
// the file (the journal of a killed import is rolled back), and the copy is made while no
// SQLite writer can commit to the file. Sets gImprontaNegozio to the file copied. Call it
// while no transaction is pending on the shop.
std::string BackupNegozio(StatoMotore& stato, const DefinizioneImportazione& def,
                          IMessaggi& messaggi);

// Whether the shop's data file is still the file the import found, unchanged: the same
// times, or the same file holding the bytes of `backup`. A journal left beside it that
// still holds changes is rolled back first; when it cannot be, the answer is no.
bool NegozioComeTrovato(const StatoMotore& stato, const std::string& file,
                        const std::string& backup);

}  // namespace tarkpo::motore
