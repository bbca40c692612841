#include "core/accesso_origine.h"

#include <exception>

#include "core/dao/errore.h"
#include "core/testo.h"

namespace tarkpo {

namespace {

constexpr int kOggettoNonImpostato = 91;

bool Apri(const DefinizioneImportazione& def, dao::DataControl& (IPagineOrigine::*data)(),
          IPagineOrigine& pagine, IMessaggi& messaggi, std::shared_ptr<dao::Database>& gDb) {
  const std::string percorso = def.gPathDb;
  int numero = 0;
  std::string descrizione;
  try {
    // Loading the page may reset the options of an empty path: the connect string is built
    // after it.
    dao::DataControl& controllo = (pagine.*data)();
    controllo.DatabaseName = percorso;
    controllo.Connect = ConnectOrigine(def);
    controllo.RecordSource = "";
    // The user's catalogue is only read, whatever kind of file it is.
    controllo.ReadOnly = true;
    controllo.Refresh();
    gDb = controllo.Database();
    return true;
  } catch (const dao::ErroreDao& e) {
    numero = e.Numero();
    descrizione = e.Descrizione();
  } catch (const std::exception& e) {
    numero = dao::errori::kErroreMotore;
    descrizione = e.what();
  }
  const std::string virgolette = "\"";
  std::string testo;
  if (numero == dao::errori::kFileNonTrovato)
    testo = "Impossibile trovare il file " + virgolette + def.gPathDb + virgolette;
  else if (numero == dao::errori::kPasswordNonValida)
    testo = "Il database " + virgolette + def.gPathDb + virgolette +
            " è protetto da password:\nselezionare " + virgolette + "Opzioni Access" + virgolette +
            " e impostare la password.";
  else
    testo = TestoErrore(numero, descrizione);
  messaggi.Mostra(testo, Icona::Esclamazione);
  return false;
}

bool Elenca(const std::string& tabellaScelta, dao::Database* gDb, IListaTabelle& mostrate,
            IListaTabelle& nomiInterni, const DefinizioneImportazione& def, IMessaggi& messaggi) {
  try {
    mostrate.Clear();
    if (!gDb)
      throw dao::ErroreDao(kOggettoNonImpostato,
                           "Variabile oggetto o variabile del blocco With non impostata");
    std::vector<const dao::TableDef*> utente;
    std::vector<std::string_view> nomi;
    for (const auto& tabella : gDb->TableDefs()) {
      if ((tabella.Attributes() & dao::dbSystemObject) != 0) continue;
      utente.push_back(&tabella);
      nomi.push_back(tabella.Name());
    }
    // The saved choice is marked by the rule every lookup follows, letter case counting.
    const auto scelta =
        tabellaScelta.empty() ? std::nullopt : CercaNomeTabella(nomi, tabellaScelta, true);
    for (size_t i = 0; i < utente.size(); ++i) {
      const std::string& nome = utente[i]->Name();
      const int mostrata = mostrate.AddItem(NomeVisibileTabella(def, nome));
      const int interna = nomiInterni.AddItem(nome);
      mostrate.SetItemData(mostrata, interna);
      if (scelta == i) mostrate.SetListIndex(mostrata);
    }
    return true;
  } catch (const dao::ErroreDao& e) {
    messaggi.Mostra(TestoErrore(e.Numero(), e.Descrizione()), Icona::Esclamazione);
  } catch (const std::exception& e) {
    messaggi.Mostra(TestoErrore(dao::errori::kErroreMotore, e.what()), Icona::Esclamazione);
  }
  return false;
}

}  // namespace

std::string ConnectOrigine(const DefinizioneImportazione& def) {
  const bool vuote = def.gOpzioniDb.empty();
  if (def.gTipoDb == "Access 2000;") return vuote ? def.gTipoDb : ";" + def.gOpzioniDb;
  if (def.gTipoDb == "Excel 8.0;")
    return vuote ? def.gTipoDb : def.gTipoDb + def.gOpzioniDb + "; IMEX=1;";
  return def.gTipoDb + def.gOpzioniDb;
}

bool ApriDatabaseOrigine(const DefinizioneImportazione& def, IPagineOrigine& pagine,
                         IMessaggi& messaggi, std::shared_ptr<dao::Database>& gDb) {
  return Apri(def, &IPagineOrigine::DataTabellaRep, pagine, messaggi, gDb);
}

bool ApriDatabaseOrigineMain(const DefinizioneImportazione& def, IPagineOrigine& pagine,
                             IMessaggi& messaggi, std::shared_ptr<dao::Database>& gDb) {
  return Apri(def, &IPagineOrigine::DataMain, pagine, messaggi, gDb);
}

bool ElencaTabelleRep(const DefinizioneImportazione& def, dao::Database* gDb,
                      IPagineOrigine& pagine, IMessaggi& messaggi) {
  return Elenca(def.gTabellaRep, gDb, pagine.TabelleRep(), pagine.NomiInterniRep(), def, messaggi);
}

bool ElencaTabelleArt(const DefinizioneImportazione& def, dao::Database* gDb,
                      IPagineOrigine& pagine, IMessaggi& messaggi) {
  return Elenca(def.gTabellaArt, gDb, pagine.TabelleArt(), pagine.NomiInterniArt(), def, messaggi);
}

std::string NomeVisibileTabella(const DefinizioneImportazione& def, const std::string& nome) {
  if (def.gTipoDb == "Excel 8.0;") {
    if (!nome.empty() && nome.back() == '$') return nome.substr(0, nome.size() - 1);
  } else if (def.gTipoDb == "Text;") {
    if (nome.size() >= 4 && nome[nome.size() - 4] == '#') {
      std::string mostrato = nome;
      mostrato[nome.size() - 4] = '.';
      return mostrato;
    }
  }
  return nome;
}

}  // namespace tarkpo
