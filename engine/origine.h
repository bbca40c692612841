#pragma once
// Rows of the source table and of the shop tables, and the check that a saved field mapping
// still fits the source table.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/messaggi.h"
#include "engine/stato_motore.h"

namespace tarkpo::motore {

// Opens `tabella` of the source database into gRsOrigine on its first row and sets the
// progress bar to 0 of its row count. An empty table fails like one that cannot be opened.
bool ApriTabellaOrigine(StatoMotore& stato, const DefinizioneImportazione& def,
                        const std::string& tabella, IProgresso& progresso, IMessaggi& messaggi);

// The field at mapping position `posizione` (1 = the first field) of the current row; the
// field named `nome` for LeggiCampoNegozio. An unreadable field gives the empty value,
// Null gives "", and characters of code 0 are removed (the value then becomes text).
Valore LeggiCampoOrigine(dao::Recordset& rs, int32_t posizione);
Valore LeggiCampoNegozio(dao::Recordset& rs, std::string_view nome);

// Whether every mapped row (position 1 or more) still finds its stored name, exactly, at
// its position in gRsOrigine; otherwise says so and gives false.
bool VerificaCampiReparti(StatoMotore& stato, const DefinizioneImportazione& def,
                          IMessaggi& messaggi);
bool VerificaCampiArticoli(StatoMotore& stato, const DefinizioneImportazione& def,
                           IMessaggi& messaggi);

// "Non è stato possibile aprire la tabella " with the table's shown name, ":", a line break
// and the engine's text: the message of a source or shop table that cannot be opened.
std::string MessaggioTabellaNonAperta(const DefinizioneImportazione& def,
                                      const std::string& tabella, const std::string& errore);

// Says that a source file changed while the import read it: its rows cannot be trusted.
void MostraFileCambiato(const dao::FileCambiato& errore, IMessaggi& messaggi);

}  // namespace tarkpo::motore
