#pragma once
// A read-only source behind a database object: an Access file, an Excel workbook or a
// folder of text files. The engine layer wraps it so that callers read every kind alike.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/dao/valore.h"

namespace tarkpo::dao {

struct CampoSorgente {
  std::string nome;
  TipoValore tipo = TipoValore::Text;
};

struct TabellaSorgente {
  std::string nome;
  int32_t attributi = 0;  // system tables carry 0x80000002
  std::vector<CampoSorgente> campi;
};

class CursoreSorgente {
 public:
  virtual ~CursoreSorgente() = default;
  // Reads the next row into `riga` (one value per field); false past the last row.
  virtual bool Leggi(std::vector<Valore>& riga) = 0;
};

class Sorgente {
 public:
  virtual ~Sorgente() = default;
  virtual const std::vector<TabellaSorgente>& Tabelle() const = 0;
  // A new cursor at the first row of the table; raises 3078 for an unknown table.
  virtual std::unique_ptr<CursoreSorgente> Apri(const std::string& tabella) = 0;
};

}  // namespace tarkpo::dao
