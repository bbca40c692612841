#pragma once
// Excel workbooks (.xls) of Excel 97-2003 and of Excel 5.0/95: every worksheet is a table
// named "Name$", or "'Name with blanks$'".
#include <memory>
#include <string>

#include "core/dao/sorgente.h"
#include "core/regionali.h"

namespace tarkpo::dao {

struct OpzioniExcel {
  bool intestazione = true;  // HDR=Yes: the first row holds the field names
  bool imex = false;         // IMEX=1: a column of mixed kinds reads as text
  // For numbers and dates read as text.
  ImpostazioniRegionali regionali = ImpostazioniRegionali::Inglesi();
};

// Raises 3024 for a missing file, 3161 for an encrypted workbook and 3343 for a file that
// is not a readable workbook (Excel 4.0 and earlier included).
std::unique_ptr<Sorgente> ApriSorgenteExcel(const std::string& percorso,
                                            const OpzioniExcel& opzioni);

}  // namespace tarkpo::dao
