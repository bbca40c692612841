#include "core/file_definizione.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <type_traits>

#include "core/file_disco.h"
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

// A definition holds 110 short lines: paths, table and field names, numbers; even with
// every text a thousand characters long it stays near 100 KB. A file ten times as large is
// no definition, and is refused before it is read whole.
constexpr size_t kLimiteDefinizione = size_t{1} << 20;

std::optional<std::string> LeggiFile(const std::string& percorso) {
  std::string contenuto;
  if (LeggiFileOrdinario(percorso, kLimiteDefinizione, contenuto) != EsitoLettura::Letto)
    return std::nullopt;
  return contenuto;
}

// Writes `testo` as the whole file at `percorso` without ever leaving it cut short: into a
// new file of a name of its own beside it, brought to the disk, then renamed over it, and
// the folder brought to the disk. On any failure the old file stays as it was and the new
// one is removed. A link at `percorso` keeps pointing at the file it names, which is the
// one replaced; a file replaced keeps its permissions (it may hold a password).
bool ScriviPerIntero(const std::string& percorso, const std::string& testo, IScritturaFile* hook) {
  IScritturaFile disco;
  IScritturaFile& scrittura = hook ? *hook : disco;
  std::error_code ec;
  std::filesystem::path destinazione(percorso);
  if (std::filesystem::is_symlink(destinazione, ec)) {
    destinazione = std::filesystem::weakly_canonical(destinazione, ec);
    if (ec) return false;
  }
  const std::filesystem::path cartella =
      destinazione.has_parent_path() ? destinazione.parent_path() : std::filesystem::path(".");
  struct stat vecchio {};
  const bool esiste = ::stat(destinazione.c_str(), &vecchio) == 0;
  if (esiste && !S_ISREG(vecchio.st_mode)) return false;
  const int dir = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  // What a save killed half-way left beside the file goes first.
  RimuoviTemporaneiOrfani(dir);
  unsigned contatore = 0;
  std::string nome;
  const int fd = CreaTemporaneo(dir, contatore, nome);
  if (fd < 0) {
    ::close(dir);
    return false;
  }
  bool ok = !esiste || ::fchmod(fd, vecchio.st_mode & 07777) == 0;
  for (size_t scritti = 0; ok && scritti < testo.size();) {
    const ssize_t n = scrittura.Scrivi(fd, testo.data() + scritti, testo.size() - scritti);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) scritti += static_cast<size_t>(n);
  }
  ok = ok && scrittura.Sincronizza(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::renameat(dir, nome.c_str(), dir, destinazione.filename().c_str()) == 0;
  if (!ok) {
    ::unlinkat(dir, nome.c_str(), 0);
  } else {
    // The new name lasts only once the folder is on the disk.
    ok = scrittura.Sincronizza(dir) == 0;
  }
  ::close(dir);
  return ok;
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
                       IMessaggi& messaggi, IScritturaFile* scrittura) {
  const std::string testo = TestoFileConfigurazione(d);
  const bool scritto = !testo.empty() && ScriviPerIntero(percorso, testo, scrittura);
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

void SalvaStatoTemp(const DefinizioneImportazione& d, const std::string& cartella,
                    IScritturaFile* scrittura) {
  const std::string percorso = PercorsoStatoTemp(cartella);
  std::string testo = TestoFileConfigurazione(d);
  // An older "main.tmp" would otherwise be restored in place of this definition.
  std::error_code ec;
  if (testo.empty() || !ScriviPerIntero(percorso, testo, scrittura))
    std::filesystem::remove(percorso, ec);
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
