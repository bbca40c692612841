#include "engine/elenco_chiavi.h"

#include <algorithm>
#include <cassert>

namespace tarkpo::motore {

namespace {
constexpr std::string_view kSeparatore = "\xC2\xB0";  // "°"
}

void ElencoChiavi::Svuota() {
  voci_.clear();
  indice_.clear();
}

void ElencoChiavi::Aggiungi(std::string voce) {
  auto posizione = static_cast<uint32_t>(voci_.size());
  auto trovata = indice_.find(std::string_view(voce));
  if (trovata == indice_.end())
    indice_.emplace(voce, Posizioni{posizione});
  else
    trovata->second.push_back(posizione);
  voci_.push_back(std::move(voce));
}

bool ElencoChiavi::Contiene(std::string_view chiave) const {
  return indice_.find(chiave) != indice_.end();
}

std::size_t ElencoChiavi::Conta(std::string_view chiave) const {
  auto trovata = indice_.find(chiave);
  return trovata == indice_.end() ? 0 : trovata->second.size();
}

std::size_t ElencoChiavi::PrimaPosizione(std::string_view chiave) const {
  auto trovata = indice_.find(chiave);
  return trovata == indice_.end() ? npos : trovata->second.front();
}

void ElencoChiavi::Sostituisci(std::size_t posizione, std::string voce) {
  assert(posizione < voci_.size());
  if (voci_[posizione] == voce) return;
  auto p = static_cast<uint32_t>(posizione);
  auto vecchia = indice_.find(std::string_view(voci_[posizione]));
  Posizioni& vecchie = vecchia->second;
  vecchie.erase(std::lower_bound(vecchie.begin(), vecchie.end(), p));
  if (vecchie.empty()) indice_.erase(vecchia);
  auto nuova = indice_.find(std::string_view(voce));
  if (nuova == indice_.end()) {
    indice_.emplace(voce, Posizioni{p});
  } else {
    Posizioni& nuove = nuova->second;
    nuove.insert(std::lower_bound(nuove.begin(), nuove.end(), p), p);
  }
  voci_[posizione] = std::move(voce);
}

std::string ElencoChiavi::Testo() const {
  std::string testo(kSeparatore);
  for (const std::string& voce : voci_) {
    testo += voce;
    testo += kSeparatore;
  }
  return testo;
}

}  // namespace tarkpo::motore
