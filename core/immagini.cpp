#include "core/immagini.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>
#include <vector>

#include "core/caratteri.h"
#include "core/file_disco.h"
#include "core/percorsi.h"
#include "core/testo.h"

namespace tarkpo {

namespace {

// One look at a file: its status when it is a file that a listing finds (an ordinary file,
// not hidden by a leading dot), nothing otherwise. A repeated import looks at every picture
// and its work copy, so each is looked at once.
std::optional<struct stat> FileOrdinario(const std::string& percorso) {
  struct stat info {};
  if (percorso.empty() || ::stat(percorso.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  const auto barra = percorso.rfind('/');
  if (percorso[barra == std::string::npos ? 0 : barra + 1] == '.') return std::nullopt;
  return info;
}

// The picture file Windows would open for the path as written, with its status; empty when
// none is found. ".." goes back by name, as on Windows, not through a link's target.
std::string FileSuDisco(const std::string& scritto, std::optional<struct stat>& info,
                        ElenchiCartelle* elenchi = nullptr) {
  const std::string percorso = RisoltoPerNome(scritto);
  info = FileOrdinario(percorso);
  if (info) return percorso;
  std::string file = elenchi ? PercorsoSuDisco(percorso, *elenchi) : PercorsoSuDisco(percorso);
  info = FileOrdinario(file);
  return info ? file : "";
}

// The text after the last "." (the whole path without one), trimmed, is JPG, JPEG, GIF or
// BMP in any case.
bool EstensioneAccettata(const std::string& percorso) {
  const auto punto = percorso.rfind('.');
  std::string estensione(
      SenzaSpazi(punto == std::string::npos ? percorso : percorso.substr(punto + 1)));
  std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return estensione == "JPG" || estensione == "JPEG" || estensione == "GIF" || estensione == "BMP";
}

std::string Esadecimale(uint64_t n) {
  char cifre[20];
  const auto fine = std::to_chars(cifre, cifre + sizeof cifre, n, 16).ptr;
  return std::string(cifre, fine);
}

bool StessoIstante(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool StessoTempo(const struct stat& a, const struct stat& b) {
  return StessoIstante(a.st_mtim, b.st_mtim);
}

// The name of the copy of a source that changed after its first copy was made: the work
// name with "-" and a signature of the source's length and modification time before the
// extension, so each version of the picture has a name of its own; the `k`-th name after
// it, should other files hold it, adds "-k".
std::string NomeVersione(const std::string& nome, const struct stat& origine, int k) {
  uint64_t firma = 14695981039346656037ull;  // FNV-1a
  for (const int64_t v :
       {static_cast<int64_t>(origine.st_size), static_cast<int64_t>(origine.st_mtim.tv_sec),
        static_cast<int64_t>(origine.st_mtim.tv_nsec)})
    for (int b = 0; b < 8; ++b) {
      firma ^= static_cast<uint64_t>(v) >> (8 * b) & 0xFF;
      firma *= 1099511628211ull;
    }
  const auto punto = nome.rfind('.');
  std::string versione = nome.substr(0, punto) + "-" + Esadecimale(firma);
  if (k > 0) versione += "-" + std::to_string(k);
  return versione + nome.substr(punto);
}

// A copy not yet known to be on disk is dated 1 January 1970 (a file system that cannot go
// back so far keeps its first day, 1980 at the latest); a copy dated before 1981 is never
// taken for its source by its date, whatever the source's.
constexpr time_t kFineDateNonSalvate = 347155200;  // 1981-01-01

bool DatataComeOrigine(const struct stat& copia, const struct stat& origine) {
  return StessoTempo(copia, origine) && copia.st_mtim.tv_sec >= kFineDateNonSalvate;
}

// A file descriptor closed when it goes.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Chiudi(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int operator*() const { return fd_; }
  void Prendi(int fd) {
    Chiudi();
    fd_ = fd;
  }
  bool Valido() const { return fd_ >= 0; }
  // close(2)'s own result: on some file systems the last write fails only there.
  int Chiudi() {
    const int r = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return r;
  }

 private:
  int fd_;
};

bool Esadecimali(std::string_view s) {
  return !s.empty() && s.size() <= 16 && std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
  });
}

bool Cifre(std::string_view s) {
  return !s.empty() && s[0] != '0' &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The work names of which the file `voce` may be a version (NomeVersione): the name before
// "-" and a signature, or before "-", a signature, "-" and a number; both when it reads
// either way.
std::vector<std::string> BasiDiVersione(std::string_view voce) {
  std::vector<std::string> basi;
  const auto punto = voce.rfind('.');
  if (punto == std::string_view::npos) return basi;
  const std::string_view radice = voce.substr(0, punto), estensione = voce.substr(punto);
  const auto trattino = radice.rfind('-');
  if (trattino == std::string_view::npos || trattino == 0) return basi;
  const std::string_view ultimo = radice.substr(trattino + 1);
  if (Esadecimali(ultimo))
    basi.push_back(std::string(radice.substr(0, trattino)) + std::string(estensione));
  if (Cifre(ultimo)) {
    const auto prima = radice.rfind('-', trattino - 1);
    if (prima != std::string_view::npos && prima > 0 &&
        Esadecimali(radice.substr(prima + 1, trattino - prima - 1)))
      basi.push_back(std::string(radice.substr(0, prima)) + std::string(estensione));
  }
  return basi;
}

// One listing of the work folder: gives `versione` every name that may be a version of a
// work name, with that work name, and, when `pulisci`, removes what a copy killed half-way
// left: temporary files of processes gone, and of this one, which has none open between
// two copies.
template <class Versione>
void ElencaLavoro(int cartella, bool pulisci, Versione versione) {
  PerOgniVoce(cartella, [&](const char* voce) {
    if (ETemporaneo(voce)) {
      if (pulisci && TemporaneoOrfano(voce)) ::unlinkat(cartella, voce, 0);
      return;
    }
    for (std::string& base : BasiDiVersione(voce)) versione(std::move(base), voce);
  });
}

// Whether the file and the copy `nome` of the folder hold the same bytes.
bool StessiByteDi(int cartella, const std::string& file, const std::string& nome) {
  Fd a(ApriFileOrdinario(file).fd);
  Fd b(::openat(cartella, nome.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  return a.Valido() && b.Valido() && StessiByte(*a, *b);
}

// Names of one version of a source tried, at most, for its new copy.
constexpr int kNomiPerVersione = 16;

struct Ricerca {
  std::string copia;   // a copy of the source, "" when none
  bool letta = false;  // known by its bytes
};

// The source's copy among its work name `nome` and the versions `versioni` of it the work
// folder holds: one that `certa` knows without reading it is taken at once, then those of
// the source's length are compared byte by byte; `accetta` has the last word on each.
template <class Certa, class Accetta>
Ricerca Cerca(int cartella, const std::string& file, const std::string& nome,
              const std::vector<std::string>& versioni, const struct stat& origine, Certa certa,
              Accetta accetta) {
  Ricerca r;
  std::vector<const std::string*> daLeggere;
  for (size_t i = 0; i <= versioni.size(); ++i) {
    const std::string& candidato = i == 0 ? nome : versioni[i - 1];
    struct stat info {};
    if (::fstatat(cartella, candidato.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_size != origine.st_size)
      continue;
    if (!certa(candidato, info)) {
      daLeggere.push_back(&candidato);
    } else if (accetta(candidato)) {  // a copy that holds no picture is none
      r.copia = candidato;
      return r;
    }
  }
  for (const std::string* candidato : daLeggere)
    if (StessiByteDi(cartella, file, *candidato) && accetta(*candidato)) {
      r.copia = *candidato;
      r.letta = true;
      return r;
    }
  return r;
}

// The name of a new copy of the source: the first of its work name and the names of its
// version (NomeVersione) that no file holds; "" when none is in reach or fits the folder.
std::string NomeLibero(int cartella, const std::string& nome, const struct stat& origine) {
  for (int k = -1; k < kNomiPerVersione; ++k) {
    std::string candidato = k < 0 ? nome : NomeVersione(nome, origine, k);
    if (candidato.size() > NAME_MAX) break;
    struct stat info {};
    if (::fstatat(cartella, candidato.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) continue;
    return errno == ENOENT ? candidato : "";
  }
  return "";
}

// The work folder of the shop, a link to a folder followed as the shop folder's own path
// is; what lies inside is then reached only through it.
int ApriCartellaLavoro(const std::string& pathNegozio) {
  return ::open((pathNegozio + "/work").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// errno, never 0, for a call that failed.
int Errore() { return errno != 0 ? errno : EIO; }

}  // namespace

std::string CartellaLavoro(const std::string& pathNegozio) { return pathNegozio + "/work/"; }

bool VerificaImmagine(const std::string& percorso) {
  std::optional<struct stat> info;
  return EstensioneAccettata(percorso) && !FileSuDisco(percorso, info).empty();
}

std::string NomeImmagineLavoro(std::string_view percorso) {
  const std::string codici = Utf8ACp1252(percorso);
  uint32_t somma = 0;  // far below the 32-bit limit for any path that can exist
  for (size_t i = 0; i < codici.size(); ++i)
    somma += static_cast<uint32_t>(i + 1) * static_cast<unsigned char>(codici[i]);

  const auto barra = percorso.find_last_of("/\\");
  if (barra == std::string_view::npos) return "";
  const std::string_view file = SenzaSpazi(percorso.substr(barra + 1));
  const auto punto = file.rfind('.');
  if (punto == std::string_view::npos) return "";

  std::string nome = Minuscolo(std::string(file.substr(0, punto)) + Esadecimale(somma) +
                               std::string(file.substr(punto)));
  std::replace(nome.begin(), nome.end(), ' ', '_');
  return nome;
}

bool ImmagineGiaCopiata(const std::string& percorso, const std::string& pathNegozio) {
  std::optional<struct stat> origine;
  const std::string file = FileSuDisco(percorso, origine);
  const std::string nome = NomeImmagineLavoro(percorso);
  Fd lavoro(ApriCartellaLavoro(pathNegozio));
  if (file.empty() || nome.empty() || !lavoro.Valido()) return false;
  std::vector<std::string> versioni;
  ElencaLavoro(*lavoro, false, [&](const std::string& base, const char* voce) {
    if (base == nome) versioni.emplace_back(voce);
  });
  std::sort(versioni.begin(), versioni.end());
  const auto certa = [&](const std::string&, const struct stat& copia) {
    return DatataComeOrigine(copia, *origine);
  };
  return !Cerca(*lavoro, file, nome, versioni, *origine, certa, [](const std::string&) {
            return true;
          }).copia.empty();
}

namespace {

void Assegna(const std::function<void(const Valore&)>& campo, const Valore& v) {
  try {
    if (campo) campo(v);
  } catch (...) {
    // a column the shop lacks: the other fields are still set
  }
}

void AssegnaCampi(const CampiImmagine& campi, const std::string& nome,
                  const IScatolaImmagine& scatola) {
  Assegna(campi.nome, Valore::Testo(nome));
  Assegna(campi.larghezza, Valore::Lungo(scatola.Larghezza()));
  Assegna(campi.altezza, Valore::Lungo(scatola.Altezza()));
}

// A temporary file of the work folder, removed when it goes unless it was given its name.
struct Temporaneo {
  int cartella;
  std::string nome;
  bool nominato = false;
  ~Temporaneo() {
    if (!nome.empty() && !nominato) ::unlinkat(cartella, nome.c_str(), 0);
  }
};

}  // namespace

CopieImmagini::~CopieImmagini() {
  if (lavoro_ >= 0) ::close(lavoro_);
}

bool CopieImmagini::ApriLavoro(const std::string& pathNegozio) {
  if (lavoro_ >= 0) return negozio_ == pathNegozio;  // one shop: Rimuovi works in its folder
  negozio_ = pathNegozio;
  lavoro_ = ApriCartellaLavoro(pathNegozio);
  if (lavoro_ < 0) return false;
  // The folder opened, wherever a link led: the pictures are measured where they are
  // written.
  std::string cartella(PATH_MAX, '\0');
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(lavoro_)).c_str(),
                               cartella.data(), cartella.size());
  percorsoLavoro_ = n > 0 && static_cast<size_t>(n) < cartella.size() && cartella[0] == '/'
                        ? cartella.substr(0, static_cast<size_t>(n)) + "/"
                        : CartellaLavoro(pathNegozio);
  ElencaLavoro(lavoro_, true, [this](std::string base, const char* voce) {
    versioni_[std::move(base)].emplace_back(voce);
  });
  for (auto& [base, nomi] : versioni_) std::sort(nomi.begin(), nomi.end());
  return true;
}

CopieImmagini::Esito CopieImmagini::NuovaCopia(const std::string& file, const struct stat& origine,
                                               const std::string& base, const std::string& nome,
                                               IScatolaImmagine& scatola) {
  Fd sorgente(ApriFileOrdinario(file).fd);
  struct stat letto {};
  auto invariata = [&] {
    return ::fstat(*sorgente, &letto) == 0 && letto.st_size == origine.st_size &&
           StessoTempo(letto, origine);
  };
  if (!sorgente.Valido() || !invariata()) return Esito::Fallita;

  // A name of our own, created here: never an existing file, never through a link.
  Temporaneo temporaneo{lavoro_, ""};
  Fd copia(CreaTemporaneo(lavoro_, temporanei_, temporaneo.nome));
  if (!copia.Valido()) return Esito::Fallita;
  std::string blocco(size_t{1} << 16, '\0');
  off_t totale = 0;
  for (;;) {
    const ssize_t n = LeggiDa(*sorgente, blocco.data(), blocco.size());
    if (n < 0) return Esito::Fallita;
    if (n == 0) break;
    for (ssize_t scritti = 0; scritti < n;) {
      const ssize_t m =
          scrittura_->Scrivi(*copia, blocco.data() + scritti, static_cast<size_t>(n - scritti));
      if (m < 0 && errno == EINTR) continue;
      if (m <= 0) return Esito::Fallita;  // a full disk, a file-size limit, an I/O error
      scritti += m;
    }
    totale += n;
  }
  // The source must not have changed while it was read, nor the copy have lost a byte.
  if (totale != origine.st_size || !invariata()) return Esito::Fallita;
  // Dated 1970 until Salva knows it is on disk and dates it as its source.
  const timespec tempi[2] = {{0, UTIME_OMIT}, {0, 0}};
  ::futimens(*copia, tempi);
  // Its writing to the disk starts now, while the next pictures are copied: the one flush
  // before the commit then waits for less.
  ::sync_file_range(*copia, 0, 0, SYNC_FILE_RANGE_WRITE);
  if (copia.Chiudi() != 0) return Esito::Fallita;
  // What is measured is the file the row will name.
  if (!scatola.Carica(percorsoLavoro_ + temporaneo.nome)) return Esito::NonImmagine;
  if (!DaiNome(lavoro_, temporaneo.nome, nome)) return Esito::Fallita;
  temporaneo.nominato = true;
  fatte_.push_back(nome);
  if (nome != base) versioni_[base].push_back(nome);
  note_[nome] = NotaDi(origine);
  return Esito::Fatta;
}

std::string CopieImmagini::Copia(const std::string& percorso, const std::string& pathNegozio,
                                 IScatolaImmagine& scatola, const CampiImmagine& campi,
                                 ElenchiCartelle* elenchi) {
  // The extension first: it costs no look at the disk. The file is the one Windows would
  // open for the path as written; the work name stays that of the path as written, so the
  // copies of earlier imports are found again.
  if (!EstensioneAccettata(percorso)) return "";
  std::optional<struct stat> origine;
  const std::string file = FileSuDisco(percorso, origine, elenchi);
  if (file.empty()) return "";
  const std::string nome = NomeImmagineLavoro(percorso);
  if (nome.empty() || !ApriLavoro(pathNegozio)) return nome;
  // A name this run copied or compared is known by the source file it holds, any other by
  // its date.
  const auto certa = [&](const std::string& candidato, const struct stat& copia) {
    const auto nota = note_.find(candidato);
    return nota != note_.end() ? StessaOrigine(nota->second, *origine)
                               : DatataComeOrigine(copia, *origine);
  };
  static const std::vector<std::string> nessuna;
  const auto versioni = versioni_.find(nome);
  const Ricerca trovata =
      Cerca(lavoro_, file, nome, versioni != versioni_.end() ? versioni->second : nessuna, *origine,
            certa, [&](const std::string& n) { return scatola.Carica(percorsoLavoro_ + n); });
  if (!trovata.copia.empty()) {
    // Known by its bytes, it may not be on disk yet (a run killed before its end made it):
    // Salva brings it there and dates it.
    if (trovata.letta) note_.emplace(trovata.copia, NotaDi(*origine));
    AssegnaCampi(campi, trovata.copia, scatola);
    return trovata.copia;
  }
  // A new copy only for bytes no copy holds, under the first of the source's names that no
  // file holds; none within reach, or a name too long for the folder, leaves the picture
  // uncopied.
  const std::string libero = NomeLibero(lavoro_, nome, *origine);
  if (libero.empty()) return nome;
  switch (NuovaCopia(file, *origine, nome, libero, scatola)) {
    case Esito::Fatta:
      AssegnaCampi(campi, libero, scatola);
      return libero;
    case Esito::NonImmagine:
      return "";
    case Esito::Fallita:
      break;
  }
  return nome;
}

CopieImmagini::Nota CopieImmagini::NotaDi(const struct stat& origine) {
  return {origine.st_dev, origine.st_ino, origine.st_size, origine.st_mtim};
}

bool CopieImmagini::StessaOrigine(const Nota& nota, const struct stat& origine) {
  return nota.dispositivo == origine.st_dev && nota.inode == origine.st_ino &&
         nota.lunghezza == origine.st_size && StessoIstante(nota.tempo, origine.st_mtim);
}

int CopieImmagini::Salva() {
  std::vector<std::pair<const std::string*, Nota*>> nuove;
  for (auto& [nome, nota] : note_)
    if (!nota.salvata) nuove.emplace_back(&nome, &nota);
  if (nuove.empty()) return 0;
  if (scrittura_->SincronizzaDisco(lavoro_) != 0) {
    if (errno != ENOSYS) return Errore();
    // A kernel that would not report a failed write: each copy, then its name, on its own.
    for (const auto& [nome, nota] : nuove) {
      Fd copia(::openat(lavoro_, nome->c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
      if (!copia.Valido() || scrittura_->Sincronizza(*copia) != 0) return Errore();
    }
    if (scrittura_->Sincronizza(lavoro_) != 0) return Errore();
  }
  // From now on a copy is known by its length and time; a date a power loss takes away
  // costs only a reading.
  for (const auto& [nome, nota] : nuove) {
    const timespec tempi[2] = {{0, UTIME_OMIT}, nota->tempo};
    ::utimensat(lavoro_, nome->c_str(), tempi, AT_SYMLINK_NOFOLLOW);
    nota->salvata = true;
  }
  return 0;
}

void CopieImmagini::RimuoviTranne(const std::unordered_set<std::string>& nominate) {
  std::erase_if(fatte_, [&](const std::string& nome) {
    if (nominate.count(nome) != 0) return false;
    ::unlinkat(lavoro_, nome.c_str(), 0);
    note_.erase(nome);
    return true;
  });
}

std::string CopiaImmagine(const std::string& percorso, const std::string& pathNegozio,
                          IScatolaImmagine& scatola, const CampiImmagine& campi,
                          ElenchiCartelle* elenchi) {
  std::optional<Valore> valori[3];
  const CampiImmagine rinviati = {[&valori](const Valore& v) { valori[0] = v; },
                                  [&valori](const Valore& v) { valori[1] = v; },
                                  [&valori](const Valore& v) { valori[2] = v; }};
  CopieImmagini copie;
  const std::string nome = copie.Copia(percorso, pathNegozio, scatola, rinviati, elenchi);
  if (copie.Salva() != 0) {
    copie.Rimuovi();
    return nome;
  }
  const std::function<void(const Valore&)>* destinazioni[3] = {&campi.nome, &campi.larghezza,
                                                               &campi.altezza};
  for (int i = 0; i < 3; ++i)
    if (valori[i]) Assegna(*destinazioni[i], *valori[i]);
  return nome;
}

}  // namespace tarkpo
