#pragma once
// The text driver: a folder whose .csv, .txt, .tab and .asc files are one table each,
// named with "#" before the extension ("articoli#csv"). Files are read as a stream.
#include <memory>
#include <string>

#include "core/dao/sorgente.h"
#include "core/regionali.h"

namespace tarkpo::dao {

struct OpzioniTesto {
  char delimitatore = ',';
  bool intestazione = true;  // HDR=Yes: the first record holds the field names
  int righeAnalizzate = 25;  // rows that guess the column types; 0 = every row
  // How a number is written: the decimal separator and the digit grouping.
  ImpostazioniRegionali regionali;
};

// Reads the "Format" setting of the engine: "Delimited(x)", "CSVDelimited", "TabDelimited";
// 0 for any other text.
char DelimitatoreDaFormato(const std::string& formato);

// Raises 3024 when the folder does not exist.
std::unique_ptr<Sorgente> ApriSorgenteTesto(const std::string& cartella,
                                            const OpzioniTesto& opzioni);

}  // namespace tarkpo::dao
