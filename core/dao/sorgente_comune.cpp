#include "core/dao/sorgente_comune.h"

#include <chrono>
#include <cstdint>

#include "core/testo.h"

namespace tarkpo::dao {

std::optional<double> GiorniDaData(int anno, int mese, int giorno, int ora, int minuti,
                                   int secondi) {
  using namespace std::chrono;
  if (anno < 100 || anno > 9999) return std::nullopt;
  year_month_day ymd{year{anno}, month{static_cast<unsigned>(mese)},
                     day{static_cast<unsigned>(giorno)}};
  if (mese < 1 || mese > 12 || giorno < 1 || !ymd.ok()) return std::nullopt;
  if (ora < 0 || ora > 23 || minuti < 0 || minuti > 59 || secondi < 0 || secondi > 59)
    return std::nullopt;
  const auto giorni = (sys_days{ymd} - sys_days{year{1899} / December / 30}).count();
  const double frazione = (ora * 3600 + minuti * 60 + secondi) / 86400.0;
  // Before the epoch the fraction counts away from zero, as the engine stores it.
  return giorni < 0 ? giorni - frazione : giorni + frazione;
}

namespace {

// Reads 1 to `massimo` digits at `pos`; -1 when there are none.
int Cifre(std::string_view t, size_t& pos, size_t massimo) {
  size_t inizio = pos;
  int valore = 0;
  while (pos < t.size() && pos - inizio < massimo && t[pos] >= '0' && t[pos] <= '9') {
    valore = valore * 10 + (t[pos] - '0');
    ++pos;
  }
  return pos == inizio ? -1 : valore;
}

bool Orario(std::string_view t, size_t& pos, int& ora, int& minuti, int& secondi) {
  ora = Cifre(t, pos, 2);
  if (ora < 0 || pos >= t.size() || t[pos] != ':') return false;
  ++pos;
  minuti = Cifre(t, pos, 2);
  if (minuti < 0) return false;
  secondi = 0;
  if (pos < t.size() && t[pos] == ':') {
    ++pos;
    secondi = Cifre(t, pos, 2);
    if (secondi < 0) return false;
  }
  return true;
}

}  // namespace

std::optional<double> LeggiData(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  size_t pos = 0;
  int ora = 0, minuti = 0, secondi = 0;
  const int primo = Cifre(t, pos, 4);
  if (primo < 0 || pos >= t.size()) return std::nullopt;
  if (t[pos] == ':') {  // a time alone: the engine's day zero
    pos = 0;
    if (!Orario(t, pos, ora, minuti, secondi) || pos != t.size()) return std::nullopt;
    if (ora > 23 || minuti > 59 || secondi > 59) return std::nullopt;
    return (ora * 3600 + minuti * 60 + secondi) / 86400.0;
  }
  const char sep = t[pos];
  if (sep != '-' && sep != '/' && sep != '.') return std::nullopt;
  const size_t lunghezzaPrimo = pos;
  ++pos;
  const int secondo = Cifre(t, pos, 2);
  if (secondo < 0 || pos >= t.size() || t[pos] != sep) return std::nullopt;
  ++pos;
  const size_t inizioTerzo = pos;
  const int terzo = Cifre(t, pos, 4);
  if (terzo < 0) return std::nullopt;
  int anno, mese, giorno;
  if (lunghezzaPrimo == 4) {
    if (sep != '-' || pos - inizioTerzo > 2) return std::nullopt;
    anno = primo, mese = secondo, giorno = terzo;
  } else {
    if (lunghezzaPrimo > 2 || pos - inizioTerzo != 4) return std::nullopt;
    giorno = primo, mese = secondo, anno = terzo;
  }
  if (pos < t.size()) {
    if (t[pos] != ' ' && t[pos] != 'T') return std::nullopt;
    while (pos < t.size() && (t[pos] == ' ' || t[pos] == 'T')) ++pos;
    if (!Orario(t, pos, ora, minuti, secondi) || pos != t.size()) return std::nullopt;
  }
  return GiorniDaData(anno, mese, giorno, ora, minuti, secondi);
}

void ValidatoreUtf8::Aggiungi(std::string_view blocco) {
  if (!valido_) return;
  for (unsigned char c : blocco) {
    if (attesi_ > 0) {
      if (c < minimo_ || c > massimo_) {
        valido_ = false;
        return;
      }
      minimo_ = 0x80, massimo_ = 0xBF;
      --attesi_;
    } else if (c >= 0x80) {
      // Ranges of the first continuation byte exclude overlong forms and surrogates.
      if (c >= 0xC2 && c <= 0xDF) {
        attesi_ = 1;
      } else if (c >= 0xE0 && c <= 0xEF) {
        attesi_ = 2;
        if (c == 0xE0) minimo_ = 0xA0;
        if (c == 0xED) massimo_ = 0x9F;
      } else if (c >= 0xF0 && c <= 0xF4) {
        attesi_ = 3;
        if (c == 0xF0) minimo_ = 0x90;
        if (c == 0xF4) massimo_ = 0x8F;
      } else {
        valido_ = false;
        return;
      }
    }
  }
}

void ErroreTabellaNonTrovata(const std::string& tabella) {
  throw ErroreDao(errori::kTabellaNonTrovata,
                  "Impossibile trovare la tabella di input o la query '" + tabella + "'.");
}

void ErroreFileDanneggiato(const std::string& percorso, const std::string& dettaglio) {
  throw ErroreDao(errori::kFormatoNonRiconosciuto,
                  "Formato di database non riconosciuto '" + percorso + "' (" + dettaglio + ").");
}

void VerificaInvariato(const FileLetto& file) {
  const auto ora = Impronta(file.percorso);
  if (!ora || *ora != file.impronta) throw FileCambiato(file.percorso);
}

std::optional<size_t> CercaTabella(const std::vector<TabellaSorgente>& tabelle,
                                   std::string_view nome) {
  std::vector<std::string_view> nomi;
  for (const TabellaSorgente& t : tabelle) nomi.push_back(t.nome);
  return CercaNomeTabella(nomi, nome);
}

size_t IndiceTabella(const std::vector<TabellaSorgente>& tabelle, const std::string& nome) {
  if (const auto i = CercaTabella(tabelle, nome)) return *i;
  ErroreTabellaNonTrovata(nome);
}

}  // namespace tarkpo::dao
