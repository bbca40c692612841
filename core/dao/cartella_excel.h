#pragma once
// The records of an Excel workbook stream, BIFF8 (Excel 97-2003) and BIFF5 (Excel 5.0/95):
// the worksheets with their names and the cells' values as Excel last saved them, formula
// results included. Every length, offset and count read from the stream is checked; a
// stream that does not hold together raises FormatoDanneggiato.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/dao/file_composto.h"
#include "core/dao/valore.h"

namespace tarkpo::dao {

enum class GenereCella : uint8_t { Vuota, Numero, Data, Testo, Booleano };

struct CellaExcel {
  uint32_t riga = 0;
  uint32_t colonna = 0;
  GenereCella genere = GenereCella::Vuota;  // an error value reads as an empty cell
  double numero = 0;   // Numero; Data in days since 1899-12-30; Booleano 1 or 0
  uint32_t testo = 0;  // Testo: index into CartellaExcel::testi
};

struct FoglioExcel {
  std::string nome;               // as Excel shows it on the sheet's tab
  std::vector<CellaExcel> celle;  // by row, then column, one per place; blank cells left out
  // The used range, ends excluded: the places of every cell, blank cells that carry a
  // format (BLANK, MULBLANK) included.
  uint32_t primaRiga = 0, fineRiga = 0;
  uint32_t primaColonna = 0, fineColonna = 0;
};

struct CartellaExcel {
  std::vector<FoglioExcel> fogli;  // the worksheets, in the order of their tabs
  std::vector<std::string> testi;  // UTF-8
};

// A workbook saved with a password (FILEPASS): its records are encrypted.
class CartellaCifrata : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The cell's value as its own kind: a Double, a Date, a Text or a Yes/No value; an empty
// cell or an error is Null.
Valore ValoreCellaExcel(const CellaExcel& cella, const CartellaExcel& cartella);

// Reads the "Workbook" (or "Book") stream. Raises CartellaCifrata or FormatoDanneggiato,
// the latter also for the streams of Excel 4.0 and earlier.
CartellaExcel LeggiCartellaExcel(std::string_view flusso);

// Whether the bytes begin as a workbook of Excel 2.1 to 4.0, which is no compound file but
// a bare stream of records.
bool ECartellaExcelAntica(std::string_view file);

}  // namespace tarkpo::dao
