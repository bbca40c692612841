#include "engine/reparti.h"

#include <limits>
#include <string_view>

#include "core/caratteri.h"
#include "core/dao/dao.h"
#include "core/mappa_campi.h"
#include "engine/negozio.h"
#include "engine/origine.h"
#include "engine/regole.h"

namespace tarkpo::motore {

namespace {

constexpr const char* kNuovoReparto = "Nuovo Reparto";

bool Mappata(const Contesto& c, int riga) { return c.def.gCampiRep[riga] >= 1; }

void Scrivi(dao::Recordset& rs, std::string_view colonna, const Valore& v) {
  rs.Fields(colonna).SetValue(v);
}

std::string ColonnaSconto(int listino) {
  return listino == 0 ? "sconto" : "sconto" + std::to_string(listino);
}

void ScriviSconti(const Contesto& c, dao::Recordset& rs, float sconto) {
  for (int k = 0; k < kListini; ++k)
    if (c.def.gListini[k] > 0) Scrivi(rs, ColonnaSconto(k), Valore::Singolo(sconto));
}

struct Reparto {
  std::string id, titolo, descrizione, nota;
  float iva, sconto;
  bool speciale;
};

// Description, note, VAT and discounts of a new department.
void ScriviResto(const Contesto& c, dao::Recordset& rs, const Reparto& r) {
  Scrivi(rs, c.def.CampoLingua("descrizione"), Valore::Testo(r.descrizione));
  Scrivi(rs, c.def.CampoLingua("note"), Valore::Testo(r.nota));
  Scrivi(rs, "iva", Valore::Singolo(r.iva));
  ScriviSconti(c, rs, r.sconto);
}

void AggiungiAgliElenchi(Contesto& c, const Reparto& r) {
  c.stato.gElencoIdReparti.Aggiungi(r.id);
  c.stato.gElencoTitoliReparti.Aggiungi(r.titolo);
}

std::string NuovoConCodice(Contesto& c, const Reparto& r) {
  auto& rs = *c.stato.gRsReparti;
  rs.AddNew();
  Scrivi(rs, "ordinamento", Valore::Lungo(c.stato.gUltimoOrdinamento));
  Scrivi(rs, "genitore", Valore::Testo("###"));
  Scrivi(rs, "ID", Valore::Testo(r.id));
  Scrivi(rs, "pagina", Valore::Testo(r.id));
  Scrivi(rs, "livello", Valore::Intero(1));
  Scrivi(rs, "template", Valore::Testo("modello1"));
  Scrivi(rs, c.def.CampoLingua("titolo"), Valore::Testo(r.titolo));
  ScriviResto(c, rs, r);
  rs.Update();
  AggiungiAgliElenchi(c, r);
  return r.id;
}

std::string NuovoSenzaCodice(Contesto& c, Reparto r) {
  auto& rs = *c.stato.gRsReparti;
  rs.AddNew();
  Scrivi(rs, "ordinamento", Valore::Lungo(c.stato.gUltimoOrdinamento));
  Scrivi(rs, "genitore", Valore::Testo("###"));
  const Valore& contatore = rs.Fields("contatore").Value();
  r.id = IdRepartoContatore(contatore.IsNull() || contatore.IsEmpty() ? 0 : contatore.Intero64());
  Scrivi(rs, "ID", Valore::Testo(r.id));
  Scrivi(rs, "pagina", Valore::Testo(r.id));
  Scrivi(rs, "livello", Valore::Intero(1));
  Scrivi(rs, "template", Valore::Testo("modello1"));
  if (r.speciale) {
    // The special departments carry their title in every language the shop has.
    for (const char* colonna : {"titolo", "titolo_l2", "titolo_l3", "titolo_l4"}) {
      try {
        Scrivi(rs, colonna, Valore::Testo(r.titolo));
      } catch (const dao::ErroreDao&) {
      }
    }
  } else {
    Scrivi(rs, c.def.CampoLingua("titolo"), Valore::Testo(r.titolo));
  }
  ScriviResto(c, rs, r);
  rs.Update();
  AggiungiAgliElenchi(c, r);
  return r.id;
}

// Writes the mapped columns of an existing department; the title only when asked.
void AggiornaColonne(const Contesto& c, dao::Recordset& rs, const Reparto& r, bool titolo) {
  rs.Edit();
  if (titolo && Mappata(c, repTitolo))
    Scrivi(rs, c.def.CampoLingua("titolo"), Valore::Testo(r.titolo));
  if (Mappata(c, repDescrizione))
    Scrivi(rs, c.def.CampoLingua("descrizione"), Valore::Testo(r.descrizione));
  if (Mappata(c, repNote)) Scrivi(rs, c.def.CampoLingua("note"), Valore::Testo(r.nota));
  if (Mappata(c, repIva)) Scrivi(rs, "iva", Valore::Singolo(r.iva));
  if (Mappata(c, repSconto)) ScriviSconti(c, rs, r.sconto);
  rs.Update();
}

std::string IdDellaRiga(dao::Recordset& rs) { return TestoDa(LeggiCampoNegozio(rs, "ID")); }

std::string EsistentePerId(Contesto& c, const Reparto& r) {
  auto& rs = *c.stato.gRsReparti;
  rs.FindFirst(dao::Criterio("ID", r.id));
  if (rs.NoMatch()) return "";
  if (c.def.gSovrascrivi != 1) return IdDellaRiga(rs);
  AggiornaColonne(c, rs, r, true);
  const std::string id = IdDellaRiga(rs);
  AggiornaElenchiReparti(c.stato, c.def);
  return id;
}

std::string EsistentePerTitolo(Contesto& c, const Reparto& r) {
  auto& rs = *c.stato.gRsReparti;
  const std::string criterio = dao::Criterio(c.def.CampoLingua("titolo"), r.titolo);
  rs.FindFirst(criterio);
  if (rs.NoMatch()) return "";
  if (c.def.gSovrascrivi != 1) return IdDellaRiga(rs);
  std::string id;
  while (!rs.NoMatch()) {
    AggiornaColonne(c, rs, r, false);
    id = IdDellaRiga(rs);
    AggiornaElenchiReparti(c.stato, c.def);
    rs.FindNext(criterio);
  }
  return id;
}

std::string RepartoSpeciale(Contesto& c, int quale, const char* titolo) {
  auto& id = c.imp.gRepartiSpeciali[quale];
  if (id.empty()) id = ImportaReparto(c, "", titolo, "", "", 0, 0, true);
  return id;
}

}  // namespace

std::string ImportaReparto(Contesto& c, const std::string& codice, const std::string& titolo,
                           const std::string& descrizione, const std::string& nota, float iva,
                           float sconto, bool speciale) {
  if (SenzaSpazi(codice + titolo + descrizione + nota).empty() && iva == 0 && sconto == 0)
    return "";
  auto& stato = c.stato;
  if (!stato.gRsReparti) return "";
  if (stato.gUltimoOrdinamento > std::numeric_limits<int32_t>::max() - 10) return "";
  stato.gUltimoOrdinamento += 10;

  Reparto r{IdReparto(codice), PrimiCaratteri(titolo, 99), descrizione, nota, iva, sconto,
            speciale};
  if (r.titolo.empty()) r.titolo = kNuovoReparto;
  try {
    if (r.id != kPrefissoReparto)
      return stato.gElencoIdReparti.Contiene(r.id) ? EsistentePerId(c, r) : NuovoConCodice(c, r);
    return stato.gElencoTitoliReparti.Contiene(r.titolo) ? EsistentePerTitolo(c, r)
                                                         : NuovoSenzaCodice(c, r);
  } catch (const dao::ErroreDao&) {
    try {
      stato.gRsReparti->CancelUpdate();  // the row begun is not stored
    } catch (const dao::ErroreDao&) {
    }
    return "";
  }
}

std::string RepartoArticoliImportati(Contesto& c) {
  return RepartoSpeciale(c, 0, kTitoloArticoliImportati);
}

std::string RepartoArticoliOrfani(Contesto& c) {
  return RepartoSpeciale(c, 1, kTitoloArticoliOrfani);
}

bool ImportaReparti(Contesto& c) {
  auto& stato = c.stato;
  c.progresso.Etichetta("");
  if (!ApriReparti(stato, c.def, c.messaggi)) return false;
  if (!ApriTabellaOrigine(stato, c.def, c.def.gTabellaRep, c.progresso, c.messaggi)) {
    ChiudiRecordset(stato.gRsReparti);
    return false;
  }
  c.progresso.Etichetta("Importazione reparti");
  bool esito = false;
  if (VerificaCampiReparti(stato, c.def, c.messaggi)) {
    try {
      auto& origine = *stato.gRsOrigine;
      for (int32_t n = 1; !origine.Eof(); ++n) {
        c.progresso.Etichetta("Importazione reparti (" + std::to_string(n) + ")");
        c.progresso.Valore(static_cast<float>(n));
        c.eventi.ElaboraEventi();
        Valore v[kRigheReparti];
        for (int k = 0; k < kRigheReparti; ++k)
          v[k] = LeggiCampoOrigine(origine, c.def.gCampiRep[k]);
        ImportaReparto(c, TestoDa(v[repId]), TestoDa(v[repTitolo]), TestoDa(v[repDescrizione]),
                       TestoDa(v[repNote]), Percentuale(v[repIva]), Percentuale(v[repSconto]),
                       false);
        origine.MoveNext();
      }
      esito = true;
    } catch (const dao::FileCambiato& e) {
      MostraFileCambiato(e, c.messaggi);
    } catch (const dao::ErroreDao&) {
      // the source stopped answering: the run cannot be complete
    }
  }
  c.progresso.Valore(c.progresso.Massimo());
  ChiudiRecordset(stato.gRsOrigine);
  ChiudiRecordset(stato.gRsReparti);
  return esito;
}

}  // namespace tarkpo::motore
