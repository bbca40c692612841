#pragma once
// The import engine's program-wide state: the shop database and its open tables, the key
// lists built from them and the sort counter. One object per program run (tests make a fresh
// one); the department and item import add what they keep across rows.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/dao/dao.h"
#include "core/file_disco.h"
#include "engine/elenco_chiavi.h"

namespace tarkpo::motore {

// The import page's progress label (lblImp) and bar (barImp), as the engine sets them.
class IProgresso {
 public:
  virtual ~IProgresso() = default;
  virtual void Etichetta(const std::string& testo) = 0;
  virtual void Valore(float valore) = 0;
  virtual float Valore() const = 0;
  virtual void Massimo(float massimo) = 0;
  virtual float Massimo() const = 0;
};

// A progress that only remembers: for runs without a window, and for tests.
class ProgressoMemoria : public IProgresso {
 public:
  void Etichetta(const std::string& testo) override { etichetta = testo; }
  void Valore(float v) override { valore = v; }
  float Valore() const override { return valore; }
  void Massimo(float m) override { massimo = m; }
  float Massimo() const override { return massimo; }

  std::string etichetta;
  float valore = 0;
  float massimo = 100;
};

struct StatoMotore {
  // "catalog.mdb" or "items.dat": the shop's data file inside the shop folder.
  std::string gFileNegozio;
  std::shared_ptr<dao::Database> gDbNegozio;
  std::unique_ptr<dao::Recordset> gRsReparti;   // "categorie"
  std::unique_ptr<dao::Recordset> gRsArticoli;  // "articoli"
  // The open source database, set by whoever runs the import, and its table being read.
  std::shared_ptr<dao::Database> gDb;
  std::unique_ptr<dao::Recordset> gRsOrigine;
  // Highest "ordinamento" of the shop table opened last; new rows count on from it.
  int32_t gUltimoOrdinamento = 0;
  ElencoChiavi gElencoIdReparti;
  ElencoChiavi gElencoTitoliReparti;  // in the target language
  ElencoChiavi gElencoCodiciNegozio;
  int32_t gNumArticoli = 0;  // rows of "articoli" when opened, plus the items added
  // The shop's data file as the import found it: as BackupNegozio copied it, or, without a
  // backup, as the import opened it.
  std::optional<ImprontaFile> gImprontaNegozio;
};

// Closes the recordset the variable holds, if any, and empties the variable; never fails.
void ChiudiRecordset(std::unique_ptr<dao::Recordset>& rs);

}  // namespace tarkpo::motore
