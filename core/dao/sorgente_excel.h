#pragma once
// Excel 97-2003 workbooks (.xls, BIFF8): every sheet is a table named "Name$", or
// "'Name with blanks$'".
#include <memory>
#include <string>

#include "core/dao/sorgente.h"

namespace tarkpo::dao {

struct OpzioniExcel {
  bool intestazione = true;       // HDR=Yes: the first row holds the field names
  bool imex = false;              // IMEX=1: a column of mixed kinds reads as text
  char separatoreDecimale = '.';  // for numbers read as text
};

// Raises 3024 for a missing file, 3161 for an encrypted workbook and 3343 for a file that
// is not a readable workbook.
std::unique_ptr<Sorgente> ApriSorgenteExcel(const std::string& percorso,
                                            const OpzioniExcel& opzioni);

}  // namespace tarkpo::dao
