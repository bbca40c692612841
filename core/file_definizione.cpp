#include "core/file_definizione.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <type_traits>

#include "core/regionali.h"
#include "core/testo.h"

namespace tarkpo {

namespace {

// Calls `f` on every stored member in the order of the file's lines, so that writer and
// reader cannot drift apart.
template <typename D, typename F>
void PerOgniMembro(D& d, F&& f) {
  f(d.gPathNegozio);
  f(d.gPathDb);
  f(d.gTipoDb);
  f(d.gOpzioniDb);
  f(d.gImpRep);
  f(d.gImpArt);
  f(d.gTabellaRep);
  for (int i = 0; i < kRigheMappa; ++i) {
    f(d.gCampiRep[i]);
    f(d.gNomiCampiRep[i]);
  }
  f(d.gTabellaArt);
  for (int i = 0; i < kRigheMappa; ++i) {
    f(d.gCampiArt[i]);
    f(d.gNomiCampiArt[i]);
  }
  f(d.gSovrascrivi);
  f(d.gSeparatore);
  f(d.gGiacenzaMinima);
  f(d.gVariazione);
  f(d.gArrotonda);
  f(d.gPreserva);
  f(d.gLingua);
  f(d.gEscludi);
  for (auto& listino : d.gListini) f(listino);
}

// Numbers: a blank in the place of the sign when not negative, and a blank after.
std::string Riga(int32_t v) { return (v >= 0 ? " " : "") + std::to_string(v) + " "; }
std::string Riga(int16_t v) { return Riga(static_cast<int32_t>(v)); }
std::string Riga(float v) { return (v >= 0 ? " " : "") + Regionali().TestoSingle(v) + " "; }

// A number under the user's separator, or else under the other of "," and ".", so a
// file written under another locale reads back equal. The file's numbers are never
// grouped: a "." there is another locale's decimal point, not a thousands separator.
template <typename T, typename Conversione>
void LeggiNumero(FileConfigurazione& file, T& target, Conversione converti) {
  std::string riga;
  if (!file.LeggiRiga(riga)) return;
  const char decimale = Regionali().SeparatoreDecimale();
  std::optional<T> v = converti(ImpostazioniRegionali(decimale), riga);
  if (!v) v = converti(ImpostazioniRegionali(decimale == ',' ? '.' : ','), riga);
  if (v) target = *v;
}

std::optional<std::string> LeggiFile(const std::string& percorso) {
  std::error_code ec;
  if (std::filesystem::is_directory(percorso, ec)) return std::nullopt;
  std::ifstream in(percorso, std::ios::binary);
  if (!in) return std::nullopt;
  std::string contenuto{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return contenuto;
}

void CaricaDa(DefinizioneImportazione& d, const std::string& contenuto) {
  FileConfigurazione file(contenuto);
  PerOgniMembro(d, [&file](auto& membro) { LeggiValore(file, membro); });
}

std::string PercorsoStatoTemp(const std::string& cartella) { return cartella + "/main.tmp"; }

}  // namespace

FileConfigurazione::FileConfigurazione(std::string_view contenuto) {
  // Every leading mark: a path never begins with U+FEFF, and one kept would not survive
  // being written and read again.
  while (contenuto.starts_with("\xEF\xBB\xBF")) contenuto.remove_prefix(3);
  // Line by line: a file written on Windows holds Windows-1252, one written here UTF-8, and
  // among its UTF-8 lines a table name may keep the Windows-1252 bytes of a file's name.
  // A line ends at CR LF, LF, or a lone CR as old Mac editors write; a run of CRs before an
  // LF is one end, as a file converted to Windows line ends twice has them.
  size_t inizio = 0;
  while (inizio < contenuto.size()) {
    size_t fine = contenuto.find_first_of("\r\n", inizio);
    if (fine == std::string_view::npos) fine = contenuto.size();
    righe_.push_back(InUtf8(contenuto.substr(inizio, fine - inizio)));
    const size_t cr = contenuto.find_first_not_of('\r', fine);
    inizio = cr != std::string_view::npos && cr > fine && contenuto[cr] == '\n' ? cr + 1 : fine + 1;
  }
}

bool FileConfigurazione::LeggiRiga(std::string& riga) {
  if (prossima_ >= righe_.size()) return false;
  riga = righe_[prossima_++];
  return true;
}

void LeggiValore(FileConfigurazione& file, std::string& target) { file.LeggiRiga(target); }

void LeggiValore(FileConfigurazione& file, int16_t& target) {
  LeggiNumero(file, target,
              [](const ImpostazioniRegionali& r, const std::string& s) { return r.AInteger(s); });
}

void LeggiValore(FileConfigurazione& file, int32_t& target) {
  LeggiNumero(file, target,
              [](const ImpostazioniRegionali& r, const std::string& s) { return r.ALong(s); });
}

void LeggiValore(FileConfigurazione& file, float& target) {
  LeggiNumero(file, target,
              [](const ImpostazioniRegionali& r, const std::string& s) { return r.ASingle(s); });
}

std::string TestoFileConfigurazione(const DefinizioneImportazione& d) {
  std::string testo;
  bool aCapo = false;
  PerOgniMembro(d, [&](const auto& membro) {
    if constexpr (std::is_same_v<std::decay_t<decltype(membro)>, std::string>) {
      aCapo = aCapo || membro.find_first_of("\r\n") != std::string::npos;
      testo += membro;
    } else {
      testo += Riga(membro);
    }
    testo += "\r\n";
  });
  return aCapo ? std::string() : testo;
}

bool SalvaImportazione(const DefinizioneImportazione& d, const std::string& percorso,
                       IMessaggi& messaggi) {
  std::string testo = TestoFileConfigurazione(d);
  bool scritto = false;
  if (!testo.empty()) {
    std::ofstream out(percorso, std::ios::binary | std::ios::trunc);
    out << testo;
    out.close();
    scritto = !out.fail();
  }
  if (!scritto) {
    messaggi.Mostra("Impossibile salvare questa importazione in " + percorso, Icona::Esclamazione,
                    Pulsanti::Ok);
  }
  return scritto;
}

int CaricaImportazione(DefinizioneImportazione& d, const std::string& percorso) {
  const std::string separatore = d.gSeparatore;
  std::optional<std::string> contenuto = LeggiFile(percorso);
  if (!contenuto) return 0;
  CaricaDa(d, *contenuto);
  return d.gSeparatore != separatore ? 2 : 1;
}

void SalvaStatoTemp(const DefinizioneImportazione& d, const std::string& cartella) {
  const std::string percorso = PercorsoStatoTemp(cartella);
  std::string testo = TestoFileConfigurazione(d);
  std::error_code ec;
  if (testo.empty()) {
    // An older "main.tmp" would otherwise be restored in place of this definition.
    std::filesystem::remove(percorso, ec);
    return;
  }
  std::ofstream out(percorso, std::ios::binary | std::ios::trunc);
  out << testo;
}

void CaricaStatoTemp(DefinizioneImportazione& d, const std::string& cartella) {
  const std::string percorso = PercorsoStatoTemp(cartella);
  std::optional<std::string> contenuto = LeggiFile(percorso);
  if (!contenuto) return;
  CaricaDa(d, *contenuto);
  std::error_code ec;
  std::filesystem::remove(percorso, ec);
}

}  // namespace tarkpo
