#pragma once
// A small shop made from a schema, a SQLite source with a departments and an items table
// whose columns follow the mapping rows, and one import run over them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/immagini.h"
#include "core/impostazioni.h"
#include "engine/contesto.h"
#include "engine/importazione.h"
#include "support/cartella_temp.h"
#include "support/messaggi_script.h"
#include "support/negozio_test.h"
#include "support/scatola_finta.h"

namespace tarkpo::motore::test {

// Remembers every label the run showed.
class ProgressoRegistrato : public ProgressoMemoria {
 public:
  void Etichetta(const std::string& testo) override {
    ProgressoMemoria::Etichetta(testo);
    etichette.push_back(testo);
  }
  std::vector<std::string> etichette;
};

// Runs `azione`, when set, whenever the run yields (once per source row).
class EventiProva : public IEventi {
 public:
  void ElaboraEventi() override {
    if (azione) azione();
  }
  std::function<void()> azione;
};

class BancoImportazione : public ::testing::Test {
 protected:
  BancoImportazione();

  // Makes the shop again from another schema (the fixture starts with the base one).
  void UsaNegozio(const std::string& schema);
  // SQL on the shop or on the source, outside the engine.
  void SqlNegozio(const std::string& sql) { tarkpo::test::EseguiSql(fileNegozio_, sql); }
  void SqlOrigine(const std::string& sql) { tarkpo::test::EseguiSql(fileOrigine_, sql); }
  // The first column of every row of a query on the shop, joined by "|".
  std::string Negozio(const std::string& sql) const;

  // A fresh program run: new engine state, as every import starts with.
  void NuovaSessione();
  // Runs the whole import; true when it succeeded.
  bool Importa();
  // Opens the shop and the source and gives the context, for running one routine.
  Contesto Apri();

  std::string CartellaNegozio() const { return negozio_.Percorso().string(); }
  std::string CartellaOrigine() const { return origine_.Percorso().string(); }

  tarkpo::test::CartellaTemp negozio_, origine_, impostazioni_;
  std::string fileNegozio_, fileOrigine_;
  Registro registro_;
  dao::DBEngine motore_;
  DefinizioneImportazione def_;
  std::unique_ptr<StatoMotore> stato_;
  std::unique_ptr<StatoImportazione> imp_;
  tarkpo::test::MessaggiScript messaggi_;
  ProgressoRegistrato progresso_;
  EventiProva eventi_;
  tarkpo::test::ScatolaFinta scatola_;
  EsitoImportazione esito_;
};

}  // namespace tarkpo::motore::test
