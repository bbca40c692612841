#pragma once
// Field mappings: which source field feeds each shop field, and the mapping pages' rows that
// show them. A page implements IRigheMappa over its drop-down lists; tests use plain objects.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/definizione.h"
#include "core/messaggi.h"

namespace tarkpo {

namespace dao {
class Database;
}

// One mapping of the definition, seen as its two parallel arrays: the positions (-1 nothing
// chosen, 0 the blank entry, n the n-th source field) and the names stored with them.
struct MappaCampi {
  std::array<int32_t, kRigheMappa>& posizioni;
  std::array<std::string, kRigheMappa>& nomi;
};

// Department rows of page 4.
enum CampoReparto : int { repId, repTitolo, repDescrizione, repNote, repIva, repSconto };
inline constexpr int kRigheReparti = 6;
inline constexpr std::array<const char*, kRigheReparti> kEtichetteReparti = {
    "ID (codice reparto)", "Titolo", "Descrizione", "Note", "IVA %", "Sconto reparto %"};

// Item rows of page 6.
enum CampoArticolo : int {
  artReparto,
  artCodice,
  artTitolo,
  artSottotitolo,
  artDescrizione,
  artNote,
  artPrezzo,
  artOfferta,
  artLink,
  artPeso,
  artGiacenza,
  artImmagine1,
  artImmagine2,
  artImmaginePiccola
};
inline constexpr int kRigheArticoli = 14;
inline constexpr std::array<const char*, kRigheArticoli> kEtichetteArticoli = {
    "Reparto (codice o nome)",
    "Codice",
    "Titolo",
    "Sottotitolo",
    "Descrizione",
    "Note",
    "Prezzo",
    "Offerta",
    "Link",
    "Peso",
    "Giacenza",
    "Percorso immagine 1",
    "Percorso immagine 2",
    "Percorso immagine piccola"};

// The drop-down list of one mapping row: entries that cannot be typed over, each with an
// item datum, and at most one selected entry.
class IElencoCampo {
 public:
  virtual ~IElencoCampo() = default;
  virtual void Svuota() = 0;
  virtual void AggiungiVoce(const std::string& testo) = 0;
  virtual int NumeroVoci() const = 0;
  virtual std::string Voce(int indice) const = 0;
  // False for an index outside the list.
  virtual bool ImpostaDato(int indice, int32_t dato) = 0;
  virtual int32_t Dato(int indice) const = 0;
  // -1 selects nothing; false (nothing changes) for an index outside -1 .. NumeroVoci()-1.
  // Selecting runs the page's own handling of a choice, as the user's click would.
  virtual bool Seleziona(int indice) = 0;
  virtual int Selezionata() const = 0;  // -1 when nothing is selected
};

// The rows of a mapping page (cboCampo(i)).
class IRigheMappa {
 public:
  virtual ~IRigheMappa() = default;
  virtual IElencoCampo& Riga(int indice) = 0;
};

// The names of the source table's fields, in field order; may raise dao::ErroreDao.
using CampiTabella = std::function<std::vector<std::string>()>;

// Fills rows 0 .. `righe`-1: the blank entry, then every field, each entry's datum its own
// index, and selects the stored positions. A position past the list, or a table that has
// vanished (3265), leaves the row without a selection; another error shows "Errore n:" with
// the engine's text and gives false.
bool PopolaCampi(IRigheMappa& pagina, int righe, const std::array<int32_t, kRigheMappa>& posizioni,
                 const CampiTabella& campi, IMessaggi& messaggi);

// PopolaCampi for the departments page from the fields of `gTabellaRep` in the source
// database, and for the items page from `gTabellaArt`.
bool PopolaCampiRep(const DefinizioneImportazione& def, dao::Database& gDb, IRigheMappa& pagina,
                    IMessaggi& messaggi);
bool PopolaCampiArt(const DefinizioneImportazione& def, dao::Database& gDb, IRigheMappa& pagina,
                    IMessaggi& messaggi);

// Checks the department rows and stores them into `mappa` up to the first failing row.
bool ValidaCampiRep(MappaCampi mappa, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi);
// Checks the item rows and stores them into `mappa` up to the first failing row.
bool ValidaCampiArt(MappaCampi mappa, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi);
// The same, into the definition's mappings.
bool ValidaCampiRep(DefinizioneImportazione& def, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi);
bool ValidaCampiArt(DefinizioneImportazione& def, IRigheMappa& pagina, bool mostraMessaggi,
                    IMessaggi& messaggi);

}  // namespace tarkpo
