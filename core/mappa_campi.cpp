#include "core/mappa_campi.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <unordered_set>

#include "core/caratteri.h"
#include "core/dao/dao.h"
#include "core/dao/errore.h"
#include "core/testo.h"

namespace tarkpo {

namespace {

constexpr int kValoreProprietaNonValido = 380;

// Errors that filling a row skips: a stored position past the list, a vanished table.
bool ErroreDaSaltare(const dao::ErroreDao& e) {
  return e.Numero() == kValoreProprietaNonValido || e.Numero() == dao::errori::kElementoNonTrovato;
}

// The text of a row: its selected entry, empty for the blank entry or no selection.
std::string TestoRiga(IElencoCampo& elenco) {
  int scelta = elenco.Selezionata();
  return scelta >= 0 ? elenco.Voce(scelta) : std::string();
}

// A page that could not list the table's fields holds the blank entry alone: it says
// nothing of the saved mapping, which validation then leaves as it is.
bool SenzaCampi(IRigheMappa& pagina) { return pagina.Riga(0).NumeroVoci() <= 1; }

constexpr const char* kStessoCampo =
    "Non è consentito attribuire lo stesso campo del database\na più campi del negozio";

// The names already given to a shop field; exact, case-sensitive comparison.
using NomiUsati = std::unordered_set<std::string>;

// The field names of the table `tabella` of `db`, found as the engine finds it; 3265 when
// the table is not there.
CampiTabella CampiDi(dao::Database& db, const std::string& tabella) {
  return [&db, tabella] {
    const std::vector<dao::TableDef>& tabelle = db.TableDefs();
    std::vector<std::string_view> nomi;
    for (const dao::TableDef& t : tabelle) nomi.push_back(t.Name());
    const auto trovata = CercaNomeTabella(nomi, tabella);
    if (!trovata)
      throw dao::ErroreDao(dao::errori::kElementoNonTrovato,
                           "Tabella \"" + tabella + "\" non trovata");
    std::vector<std::string> campi;
    for (const dao::FieldDef& campo : tabelle[*trovata].Fields()) campi.push_back(campo.Name());
    return campi;
  };
}

}  // namespace

bool PopolaCampi(IRigheMappa& pagina, int righe, const std::array<int32_t, kRigheMappa>& posizioni,
                 const CampiTabella& campi, IMessaggi& messaggi) {
  try {
    IElencoCampo& prima = pagina.Riga(0);
    prima.Svuota();
    prima.AggiungiVoce("");
    try {
      for (const std::string& nome : campi()) {
        prima.AggiungiVoce(nome);
        int indice = prima.NumeroVoci() - 1;
        prima.ImpostaDato(indice, indice);
      }
    } catch (const dao::ErroreDao& e) {
      if (!ErroreDaSaltare(e)) throw;
    }
    // An out-of-range position leaves the row without a selection.
    prima.Seleziona(posizioni[0]);
    for (int i = 1; i < righe; ++i) {
      IElencoCampo& riga = pagina.Riga(i);
      for (int j = 0; j < prima.NumeroVoci(); ++j) riga.AggiungiVoce(prima.Voce(j));
      for (int j = 0; j < prima.NumeroVoci(); ++j) riga.ImpostaDato(j, prima.Dato(j));
      riga.Seleziona(posizioni[i]);
    }
    return true;
  } catch (const dao::ErroreDao& e) {
    messaggi.Mostra(TestoErrore(e.Numero(), e.Descrizione()), Icona::Esclamazione);
    return false;
  }
}

bool PopolaCampiRep(const DefinizioneImportazione& def, dao::Database& gDb, IRigheMappa& pagina,
                    IMessaggi& messaggi) {
  return PopolaCampi(pagina, kRigheReparti, def.gCampiRep, CampiDi(gDb, def.gTabellaRep), messaggi);
}

bool PopolaCampiArt(const DefinizioneImportazione& def, dao::Database& gDb, IRigheMappa& pagina,
                    IMessaggi& messaggi) {
  return PopolaCampi(pagina, kRigheArticoli, def.gCampiArt, CampiDi(gDb, def.gTabellaArt),
                     messaggi);
}

bool ValidaCampiRep(DefinizioneImportazione& def, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi) {
  return ValidaCampiRep(MappaCampi{def.gCampiRep, def.gNomiCampiRep}, pagina, mostraMessaggi,
                        messaggi);
}

bool ValidaCampiArt(DefinizioneImportazione& def, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi) {
  return ValidaCampiArt(MappaCampi{def.gCampiArt, def.gNomiCampiArt}, pagina, mostraMessaggi,
                        messaggi);
}

bool ValidaCampiRep(MappaCampi mappa, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi) {
  auto avvisa = [&](const char* testo) {
    if (mostraMessaggi) messaggi.Mostra(testo, Icona::Esclamazione);
    return false;
  };
  try {
    if (SenzaCampi(pagina)) return avvisa("Il campo del negozio \"Titolo\" non può essere vuoto");
    NomiUsati usati;
    for (int i = 0; i < kRigheReparti; ++i) {
      IElencoCampo& riga = pagina.Riga(i);
      std::string testo = TestoRiga(riga);
      if (i == repTitolo && testo.empty())
        return avvisa("Il campo del negozio \"Titolo\" non può essere vuoto");
      if (!testo.empty() && usati.contains(testo)) return avvisa(kStessoCampo);
      mappa.posizioni[i] = -1;
      mappa.nomi[i].clear();
      int scelta = riga.Selezionata();
      if (scelta >= 0) {
        mappa.posizioni[i] = riga.Dato(scelta);
        mappa.nomi[i] = testo;
      }
      if (!testo.empty()) usati.insert(testo);
    }
    return true;
  } catch (const dao::ErroreDao& e) {
    if (mostraMessaggi)
      messaggi.Mostra(TestoErrore(e.Numero(), e.Descrizione()), Icona::Esclamazione);
    return false;
  }
}

bool ValidaCampiArt(MappaCampi mappa, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi) {
  try {
    NomiUsati usati;
    int attribuiti = 0;
    const int righe = SenzaCampi(pagina) ? 0 : kRigheArticoli;
    for (int i = 0; i < righe; ++i) {
      IElencoCampo& riga = pagina.Riga(i);
      std::string testo = TestoRiga(riga);
      if (!testo.empty() && usati.contains(testo)) {
        if (mostraMessaggi) messaggi.Mostra(kStessoCampo, Icona::Esclamazione);
        return false;
      }
      mappa.posizioni[i] = -1;
      mappa.nomi[i].clear();
      int scelta = riga.Selezionata();
      if (scelta > 0) {
        mappa.nomi[i] = testo;
        mappa.posizioni[i] = riga.Dato(scelta);
        usati.insert(testo);
        ++attribuiti;
      }
    }
    if (attribuiti == 0) {
      if (mostraMessaggi)
        messaggi.Mostra("Almeno un campo deve essere attribuito", Icona::Esclamazione);
      return false;
    }
    return true;
  } catch (const dao::ErroreDao& e) {
    if (mostraMessaggi)
      messaggi.Mostra(TestoErrore(e.Numero(), e.Descrizione()), Icona::Esclamazione);
    return false;
  }
}

}  // namespace tarkpo
