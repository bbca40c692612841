#include "engine/articoli.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/caratteri.h"
#include "core/dao/conversioni.h"
#include "core/dao/dao.h"
#include "core/mappa_campi.h"
#include "core/percorsi.h"
#include "engine/negozio.h"
#include "engine/origine.h"
#include "engine/regole.h"
#include "engine/reparti.h"

namespace tarkpo::motore {

// The positions of the columns of "articoli" that the import writes, looked up once per
// recordset; a column the shop lacks has position -1 and fails when it is written.
class ColonneArticoli {
 public:
  struct Colonna {
    int indice = -1;
    std::string nome;
  };

  ColonneArticoli(dao::Recordset& rs, const DefinizioneImportazione& def) : recordset(&rs) {
    auto trova = [&rs](const std::string& nome) { return Colonna{rs.IndiceCampo(nome), nome}; };
    auto listino = [](const char* base, int k) {
      return k == 0 ? std::string(base) : base + std::to_string(k);
    };
    catID = trova("catID");
    codice = trova("codice");
    titolo = trova(def.CampoLingua("titolo"));
    sottotitolo = trova(def.CampoLingua("sottotitolo"));
    descrizione = trova(def.CampoLingua("descrizione"));
    note = trova(def.CampoLingua("note"));
    giacenza = trova(def.CampoLingua("giacenza"));
    link = trova("link");
    peso = trova("peso");
    ordinamento = trova("ordinamento");
    fuoricatalogo = trova("fuoricatalogo");
    for (int k = 0; k < kListini; ++k) {
      prezzo[k] = trova(listino("prezzo", k));
      offertaprezzo[k] = trova(listino("offertaprezzo", k));
      offerta[k] = trova(listino("offerta", k));
    }
    for (int j = 0; j < 3; ++j) {
      immagine[j] = trova("immagine" + std::to_string(j));
      larghezza[j] = trova("imgX" + std::to_string(j));
      altezza[j] = trova("imgY" + std::to_string(j));
    }
  }

  const dao::Recordset* recordset;
  Colonna catID, codice, titolo, sottotitolo, descrizione, note, giacenza, link, peso, ordinamento,
      fuoricatalogo;
  std::array<Colonna, kListini> prezzo, offertaprezzo, offerta;
  std::array<Colonna, 3> immagine, larghezza, altezza;
};

namespace {

using Colonna = ColonneArticoli::Colonna;

void Scrivi(dao::Recordset& rs, const Colonna& colonna, const Valore& v) {
  if (colonna.indice < 0)
    throw dao::ErroreDao(dao::errori::kElementoNonTrovato,
                         "Campo non trovato nella tabella articoli: " + colonna.nome);
  rs.Fields(colonna.indice).SetValue(v);
}

const ColonneArticoli& Colonne(Contesto& c) {
  auto& rs = *c.stato.gRsArticoli;
  if (!c.imp.colonne || c.imp.colonne->recordset != &rs)
    c.imp.colonne = std::make_shared<const ColonneArticoli>(rs, c.def);
  return *c.imp.colonne;
}

bool Mappata(const Contesto& c, int riga) { return c.def.gCampiArt[riga] > 0; }

// The department of an item: its reference as a department code, else as a title in the
// target language, else "* Articoli importati".
std::string RisolviReparto(Contesto& c, const std::string& riferimento) {
  auto& stato = c.stato;
  const std::string id = IdReparto(riferimento);
  if (id == kPrefissoReparto) return RepartoArticoliImportati(c);
  if (stato.gElencoIdReparti.Contiene(id)) return id;
  const std::string titolo = PrimiCaratteri(riferimento, 99);
  if (!stato.gElencoTitoliReparti.Contiene(titolo)) return RepartoArticoliImportati(c);
  auto& rs = *stato.gRsReparti;
  rs.FindFirst(dao::Criterio(c.def.CampoLingua("titolo"), titolo));
  if (rs.NoMatch()) return RepartoArticoliImportati(c);
  std::string trovato = TestoDa(LeggiCampoNegozio(rs, "ID"));
  return trovato.empty() ? RepartoArticoliImportati(c) : trovato;
}

// The price columns of every chosen list, handed to `scrivi`(column, value).
template <class Scrittura>
void Prezzi(const Contesto& c, const ColonneArticoli& col, const RigaArticolo& r, bool prezzo,
            bool offerta, Scrittura&& scrivi) {
  for (int k = 0; k < kListini; ++k) {
    if (c.def.gListini[k] <= 0) continue;
    if (prezzo) scrivi(col.prezzo[k], Valore::Valuta(r.prezzo));
    if (offerta) {
      scrivi(col.offertaprezzo[k], Valore::Valuta(r.offerta));
      scrivi(col.offerta[k], Valore::Booleano(r.offerta > 0));
    }
  }
}

template <class Scrittura>
void FuoriCatalogo(const ColonneArticoli& col, int16_t stato, Scrittura&& scrivi) {
  if (stato == 1 || stato == 2) scrivi(col.fuoricatalogo, Valore::Booleano(stato == 1));
}

// The columns the update path writes, in their order, each handed to `scrivi`.
template <class Scrittura>
void ColonneAggiornate(const Contesto& c, const ColonneArticoli& col, const RigaArticolo& r,
                       const std::string* reparto, Scrittura&& scrivi) {
  if (reparto) scrivi(col.catID, Valore::Testo(*reparto));
  if (Mappata(c, artTitolo)) scrivi(col.titolo, Valore::Testo(r.titolo));
  if (Mappata(c, artSottotitolo)) scrivi(col.sottotitolo, Valore::Testo(r.sottotitolo));
  if (Mappata(c, artDescrizione)) scrivi(col.descrizione, Valore::Testo(r.descrizione));
  if (Mappata(c, artNote)) scrivi(col.note, Valore::Testo(r.nota));
  Prezzi(c, col, r, Mappata(c, artPrezzo), Mappata(c, artOfferta), scrivi);
  if (Mappata(c, artLink)) scrivi(col.link, Valore::Testo(r.link));
  if (Mappata(c, artPeso)) scrivi(col.peso, Valore::Singolo(r.peso));
  if (Mappata(c, artGiacenza)) {
    scrivi(col.giacenza, Valore::Testo(r.giacenza));
    FuoriCatalogo(col, r.statoGiacenza, scrivi);
  }
}

// Whether the row's column already holds `v` (converted as a write would store it).
bool GiaUguale(dao::Recordset& rs, const Colonna& colonna, const Valore& v) {
  const auto& campo = rs.Campi()[static_cast<size_t>(colonna.indice)];
  return rs.Fields(colonna.indice).Value() == dao::ConvertiA(v, campo.Type());
}

// Whether the current row already holds every value the update would write, as its columns
// would store them; then writing it again would change nothing.
bool GiaAggiornata(dao::Recordset& rs, const Contesto& c, const ColonneArticoli& col,
                   const RigaArticolo& r, const std::string* reparto) {
  bool uguale = true;
  ColonneAggiornate(c, col, r, reparto, [&](const Colonna& colonna, const Valore& v) {
    if (!uguale) return;
    if (colonna.indice < 0) {
      uguale = false;  // the write path fails on it, as it must
      return;
    }
    try {
      uguale = GiaUguale(rs, colonna, v);
    } catch (const dao::ErroreDao&) {
      uguale = false;
    }
  });
  return uguale;
}

using ScriviColonna = std::function<void(const Colonna&, const Valore&)>;

// The image step: each mapped image is copied into the work folder and its name, width and
// height given to `scrivi` (a write that raises is skipped by the image copy).
void CopiaImmagini(Contesto& c, const ColonneArticoli& col, const RigaArticolo& r,
                   const ScriviColonna& scrivi) {
  const std::string* percorsi[3] = {&r.immagine1, &r.immagine2, &r.immaginePiccola};
  for (int j = 0; j < 3; ++j) {
    if (!Mappata(c, artImmagine1 + j)) continue;
    auto campo = [&scrivi](const Colonna& colonna) {
      return [&scrivi, &colonna](const Valore& v) { scrivi(colonna, v); };
    };
    c.imp.copie.Copia(PercorsoCompleto(c.def, *percorsi[j]), c.def.gPathNegozio, c.immagine,
                      {campo(col.immagine[j]), campo(col.larghezza[j]), campo(col.altezza[j])},
                      &c.imp.cartelle);
  }
}

// For a row whose other columns already hold the catalogue's values: the images are copied
// and measured, and the row is written only when a name or a size differs, so that a
// repeated import of an unchanged catalogue with pictures writes no row.
void AggiornaImmagini(Contesto& c, dao::Recordset& rs, const ColonneArticoli& col,
                      const RigaArticolo& r) {
  std::vector<std::pair<const Colonna*, Valore>> valori;
  CopiaImmagini(c, col, r,
                [&valori](const Colonna& k, const Valore& v) { valori.emplace_back(&k, v); });
  const bool uguali = std::all_of(valori.begin(), valori.end(), [&rs](const auto& kv) {
    try {
      // a column the shop lacks is never written, so it differs in nothing
      return kv.first->indice < 0 || GiaUguale(rs, *kv.first, kv.second);
    } catch (const dao::ErroreDao&) {
      return false;
    }
  });
  if (uguali) return;
  rs.Edit();
  for (const auto& [colonna, v] : valori) {
    try {
      Scrivi(rs, *colonna, v);
    } catch (const dao::ErroreDao&) {
      // as in the image copy: the other fields are still set
    }
  }
  rs.Update();
}

void AggiornaEsistenti(Contesto& c, const ColonneArticoli& col, const RigaArticolo& r,
                       const std::string& reparto) {
  auto& rs = *c.stato.gRsArticoli;
  const bool scriviReparto = Mappata(c, artReparto) && c.def.gPreserva == 0;
  // An item is never put in no department: it keeps its row as it was.
  if (scriviReparto && reparto.empty()) return;
  const std::string* nuovoReparto = scriviReparto ? &reparto : nullptr;
  // An empty path copies nothing.
  const bool immagini = (Mappata(c, artImmagine1) && !r.immagine1.empty()) ||
                        (Mappata(c, artImmagine2) && !r.immagine2.empty()) ||
                        (Mappata(c, artImmaginePiccola) && !r.immaginePiccola.empty());
  auto scrivi = [&rs](const Colonna& colonna, const Valore& v) { Scrivi(rs, colonna, v); };
  const std::string criterio = dao::Criterio("codice", r.codice);
  rs.FindFirst(criterio);
  while (!rs.NoMatch() && c.def.gSovrascrivi == 1) {
    // A row that already holds the catalogue's values is left unwritten: a repeated import
    // of an unchanged catalogue costs no write.
    if (!GiaAggiornata(rs, c, col, r, nuovoReparto)) {
      rs.Edit();
      ColonneAggiornate(c, col, r, nuovoReparto, scrivi);
      CopiaImmagini(c, col, r, scrivi);
      rs.Update();
    } else if (immagini) {
      AggiornaImmagini(c, rs, col, r);
    }
    rs.FindNext(criterio);
  }
}

void AggiungiNuovo(Contesto& c, const ColonneArticoli& col, const RigaArticolo& r,
                   const std::string& reparto, int32_t ordinamento) {
  if (reparto.empty()) return;  // never an item in no department
  auto& rs = *c.stato.gRsArticoli;
  rs.AddNew();
  Scrivi(rs, col.catID, Valore::Testo(reparto));
  Scrivi(rs, col.codice, Valore::Testo(r.codice));
  Scrivi(rs, col.titolo, Valore::Testo(r.titolo));
  Scrivi(rs, col.sottotitolo, Valore::Testo(r.sottotitolo));
  Scrivi(rs, col.descrizione, Valore::Testo(r.descrizione));
  Scrivi(rs, col.note, Valore::Testo(r.nota));
  auto scrivi = [&rs](const Colonna& colonna, const Valore& v) { Scrivi(rs, colonna, v); };
  Prezzi(c, col, r, true, true, scrivi);
  Scrivi(rs, col.link, Valore::Testo(r.link));
  Scrivi(rs, col.peso, Valore::Singolo(r.peso));
  Scrivi(rs, col.giacenza, Valore::Testo(r.giacenza));
  Scrivi(rs, col.ordinamento, Valore::Lungo(ordinamento));
  FuoriCatalogo(col, r.statoGiacenza, scrivi);
  CopiaImmagini(c, col, r, scrivi);
  rs.Update();
  c.stato.gElencoCodiciNegozio.Aggiungi(r.codice);
  ++c.stato.gNumArticoli;
}

void AnnullaRiga(dao::Recordset* rs) {
  if (!rs) return;
  try {
    rs->CancelUpdate();
  } catch (const dao::ErroreDao&) {
  }
}

// Applies the chosen treatment to every shop row with the code `codice`, except the rows
// this run has added.
void TrattaMancante(Contesto& c, const ColonneArticoli& col, const std::string& codice) {
  auto& rs = *c.stato.gRsArticoli;
  const int trattamento = std::abs(c.def.gEscludi);
  const std::string criterio = dao::Criterio("codice", codice);
  try {
    for (rs.FindFirst(criterio); !rs.NoMatch(); rs.FindNext(criterio)) {
      const Valore& ordinamento = rs.Fields(col.ordinamento.indice).Value();
      if (ordinamento.Tipo() == TipoValore::Long &&
          ordinamento.Intero64() > c.imp.ordinamentoInizialeArticoli)
        continue;
      if (trattamento == 3) {
        rs.Delete();
        continue;
      }
      std::string orfani;
      if (trattamento == 2) orfani = RepartoArticoliOrfani(c);
      rs.Edit();
      if (!orfani.empty()) Scrivi(rs, col.catID, Valore::Testo(orfani));
      Scrivi(rs, col.fuoricatalogo, Valore::Booleano(true));
      rs.Update();
    }
  } catch (const dao::ErroreDao&) {
    AnnullaRiga(&rs);
  }
}

void TrattaMancanti(Contesto& c) {
  auto& stato = c.stato;
  const std::vector<std::string> codici = stato.gElencoCodiciNegozio.Voci();
  const ColonneArticoli& col = Colonne(c);
  const int32_t totale = stato.gNumArticoli;
  int32_t j = 0;
  c.progresso.Valore(0);
  c.progresso.Massimo(static_cast<float>(totale));
  c.progresso.Etichetta("Aggiornamento articoli...");
  c.eventi.ElaboraEventi();
  // Items are matched by code: without a mapped code every shop item would look missing,
  // and the missing-items page says its options then have no effect.
  const bool trattaAnche = std::abs(c.def.gEscludi) != 0 && Mappata(c, artCodice);
  // A code the shop holds several times would get the same outcome again: once is enough.
  std::unordered_set<std::string_view> trattati;
  for (const std::string& codice : codici) {
    if (j < totale) {
      ++j;
      c.progresso.Valore(static_cast<float>(j));
      c.eventi.ElaboraEventi();
    }
    if (!trattaAnche) continue;
    const std::string_view spuntato = SenzaSpazi(codice);
    if (c.imp.gElencoCodiciImportati.ContieneMinuscolo(Minuscolo(spuntato))) continue;
    if (spuntato.empty() && c.def.gEscludi >= 0) continue;
    if (!trattati.insert(codice).second) continue;
    TrattaMancante(c, col, codice);
  }
}

// Deletes a special department that no item refers to.
void RimuoviSeVuoto(Contesto& c, const std::string& id) {
  if (id.empty()) return;
  try {
    auto& reparti = *c.stato.gRsReparti;
    auto& articoli = *c.stato.gRsArticoli;
    reparti.Requery();
    reparti.FindFirst(dao::Criterio("ID", id));
    articoli.FindFirst(dao::Criterio("catID", id));
    if (!reparti.NoMatch() && articoli.NoMatch()) reparti.Delete();
  } catch (const dao::ErroreDao&) {
  }
}

void PulisciSpeciali(Contesto& c) {
  RimuoviSeVuoto(c, RepartoArticoliOrfani(c));
  RimuoviSeVuoto(c, RepartoArticoliImportati(c));
}

RigaArticolo LeggiRiga(const Contesto& c, dao::Recordset& origine, double fattore) {
  Valore v[kRigheArticoli];
  for (int k = 0; k < kRigheArticoli; ++k) v[k] = LeggiCampoOrigine(origine, c.def.gCampiArt[k]);
  RigaArticolo r;
  r.reparto = TestoDa(v[artReparto]);
  r.codice = TestoDa(v[artCodice]);
  r.titolo = TestoDa(v[artTitolo]);
  r.sottotitolo = TestoDa(v[artSottotitolo]);
  r.descrizione = TestoDa(v[artDescrizione]);
  r.nota = TestoDa(v[artNote]);
  r.prezzo = RegolaPrezzo(ValutaDa(v[artPrezzo]), fattore, c.def.gArrotonda != 0);
  r.offerta = ValutaDa(v[artOfferta]);
  r.link = TestoDa(v[artLink]);
  r.peso = SingoloDa(v[artPeso]);
  r.giacenza = TestoDa(v[artGiacenza]);
  r.statoGiacenza = StatoGiacenza(r.giacenza, c.def.gGiacenzaMinima);
  r.immagine1 = TestoDa(v[artImmagine1]);
  r.immagine2 = TestoDa(v[artImmagine2]);
  r.immaginePiccola = TestoDa(v[artImmaginePiccola]);
  return r;
}

}  // namespace

void ImportaArticolo(Contesto& c, RigaArticolo r) {
  // The texts joined hold nothing but blanks exactly when each of them does.
  const bool vuota = [&r] {
    for (const std::string* t :
         {&r.codice, &r.titolo, &r.sottotitolo, &r.descrizione, &r.nota, &r.link, &r.giacenza,
          &r.immagine1, &r.immagine2, &r.immaginePiccola})
      if (!SenzaSpazi(*t).empty()) return false;
    return true;
  }();
  if (vuota && r.prezzo == 0 && r.offerta == 0) return;
  auto& stato = c.stato;
  if (!stato.gRsArticoli || !stato.gRsReparti) return;
  TagliaCaratteri(r.codice, 50);
  TagliaCaratteri(r.titolo, 199);
  TagliaCaratteri(r.sottotitolo, 199);
  TagliaCaratteri(r.link, 255);
  // Recorded before anything can fail: an item the source holds never counts as missing.
  c.imp.gElencoCodiciImportati.Registra(SenzaSpazi(r.codice));
  if (stato.gUltimoOrdinamento > std::numeric_limits<int32_t>::max() - 10) return;
  stato.gUltimoOrdinamento += 10;
  const int32_t ordinamento = stato.gUltimoOrdinamento;
  try {
    const ColonneArticoli& col = Colonne(c);
    const std::string reparto = RisolviReparto(c, r.reparto);
    if (!r.codice.empty() && stato.gElencoCodiciNegozio.Contiene(r.codice))
      AggiornaEsistenti(c, col, r, reparto);
    else
      AggiungiNuovo(c, col, r, reparto, ordinamento);
  } catch (const dao::ErroreDao&) {
    AnnullaRiga(stato.gRsArticoli.get());
  }
}

// The copies this run made that no row names in the end (their row was not stored, or was
// written again with another picture) are removed; when the rows cannot be read, none is.
void RimuoviCopieNonNominate(Contesto& c) {
  const std::vector<std::string>& fatte = c.imp.copie.Fatte();
  if (fatte.empty()) return;
  const std::unordered_set<std::string> nuove(fatte.begin(), fatte.end());
  std::unordered_set<std::string> nominate;
  std::string campi;
  int quanti = 0;
  for (const Colonna& colonna : Colonne(c).immagine)
    if (colonna.indice >= 0) campi += (quanti++ == 0 ? "" : ", ") + colonna.nome;
  if (quanti > 0) {
    try {
      auto rs = c.stato.gDbNegozio->OpenRecordset("SELECT " + campi + " FROM articoli");
      for (; !rs->Eof(); rs->MoveNext())
        for (int i = 0; i < quanti; ++i) {
          const Valore& v = rs->Fields(i).Value();
          if (v.Tipo() == TipoValore::Text && nuove.count(v.Stringa()) != 0)
            nominate.insert(v.Stringa());
        }
      rs->Close();
    } catch (const dao::ErroreDao&) {
      return;
    }
  }
  c.imp.copie.RimuoviTranne(nominate);
}

bool ImportaArticoli(Contesto& c) {
  auto& stato = c.stato;
  const double fattore = FattorePrezzo(c.def.gVariazione);
  if (!ApriReparti(stato, c.def, c.messaggi)) return false;
  if (!ApriArticoli(stato, c.def, c.messaggi)) {
    ChiudiRecordset(stato.gRsReparti);
    return false;
  }
  c.imp.ordinamentoInizialeArticoli = stato.gUltimoOrdinamento;
  bool esito = false;
  if (ApriTabellaOrigine(stato, c.def, c.def.gTabellaArt, c.progresso, c.messaggi)) {
    c.progresso.Etichetta("Importazione articoli");
    c.imp.gElencoCodiciImportati.Riserva(static_cast<size_t>(c.progresso.Massimo()));
    if (VerificaCampiArticoli(stato, c.def, c.messaggi)) {
      try {
        auto& origine = *stato.gRsOrigine;
        for (int32_t n = 1; !origine.Eof(); ++n) {
          c.progresso.Etichetta("Importazione articoli (" + std::to_string(n) + ")");
          c.progresso.Valore(static_cast<float>(n));
          c.eventi.ElaboraEventi();
          ImportaArticolo(c, LeggiRiga(c, origine, fattore));
          origine.MoveNext();
        }
        esito = true;
      } catch (const dao::FileCambiato& e) {
        MostraFileCambiato(e, c.messaggi);
      } catch (const dao::ErroreDao&) {
        // the source stopped answering: the run cannot be complete
      }
      if (esito) TrattaMancanti(c);
    }
    c.progresso.Valore(c.progresso.Massimo());
    c.eventi.ElaboraEventi();
    ChiudiRecordset(stato.gRsOrigine);
  }
  PulisciSpeciali(c);
  if (esito) RimuoviCopieNonNominate(c);
  ChiudiRecordset(stato.gRsArticoli);
  ChiudiRecordset(stato.gRsReparti);
  return esito;
}

bool SalvaImmagini(Contesto& c) {
  const int errore = c.imp.copie.Salva();
  if (errore == 0) return true;
  c.messaggi.Mostra("Impossibile salvare su disco le immagini copiate nella cartella \"" +
                        c.def.gPathNegozio + "/work\":\n" + std::strerror(errore),
                    Icona::Esclamazione);
  return false;
}

}  // namespace tarkpo::motore
