#pragma once
// Copy of item images into the shop's folder "work", under a name derived from the whole
// source path, with the picture measured by the import page's image box.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/dao/valore.h"
#include "core/file_disco.h"
#include "core/percorsi.h"

namespace tarkpo {

// The picture box that measures an image: it loads a file, fails when the file holds no
// picture or its header is damaged, and keeps the size of the last picture loaded (in
// pixels).
class IScatolaImmagine {
 public:
  virtual ~IScatolaImmagine() = default;
  virtual bool Carica(const std::string& percorso) = 0;
  virtual int Larghezza() const = 0;
  virtual int Altezza() const = 0;
};

// The three fields of the shop row that receive an image; an assignment may raise (a
// column the shop lacks), and is then skipped.
struct CampiImmagine {
  std::function<void(const Valore&)> nome;
  std::function<void(const Valore&)> larghezza;
  std::function<void(const Valore&)> altezza;
};

// The work folder of a shop: the shop folder followed by "/work/".
std::string CartellaLavoro(const std::string& pathNegozio);

// True when the file exists (found as Windows would find it, PercorsoSuDisco) and the
// extension of the path as written is JPG, JPEG, GIF or BMP (any case, blanks trimmed).
bool VerificaImmagine(const std::string& percorso);
// File name without extension, the hexadecimal weighted sum of the whole path (Windows-1252
// codes), then the extension; lower case, blanks as "_". Empty when the path holds no
// folder separator or the file name no ".".
std::string NomeImmagineLavoro(std::string_view percorso);
// True when the work folder holds a copy of the image as it is now (CopieImmagini).
bool ImmagineGiaCopiata(const std::string& percorso, const std::string& pathNegozio);

// The picture copies of one import. A file in the work folder that rows may name is never
// written again: a copy is written under a temporary name, measured, and only then given
// its final name, one that no file held. The names of a source are its work name
// (NomeImmagineLavoro) and its versions: the work name followed by "-" and a signature of
// the length and time the source had when the version was copied, and that name followed
// by "-1", "-2"... when another file held it; rows committed earlier keep naming the
// picture they were measured on. A source takes any of its names that holds its bytes, so
// a picture touched, or given back bytes it had before, is copied no more; only bytes that
// no copy holds make a new copy. A copy that has the source's length and time is the
// source's, used again without reading it; those of the source's length are compared byte
// by byte. A copy takes its source's time only once it is known to be on disk (Salva):
// until then it is dated 1970, and a copy dated before 1981 is never taken for its source
// by its date, so one that a power loss left with the right length and other bytes is
// never taken for the source's. The work folder is opened once, a link to a folder
// followed; inside it nothing is created or written through a link.
class CopieImmagini {
 public:
  CopieImmagini() = default;
  ~CopieImmagini();
  CopieImmagini(const CopieImmagini&) = delete;
  CopieImmagini& operator=(const CopieImmagini&) = delete;

  // Finds the picture (PercorsoSuDisco, through `elenchi` when given), copies it into the
  // work folder unless a copy of it is there, and fills the three fields with the name and
  // the size of the copy. Returns the work name, empty when the image is not accepted or
  // holds no picture; when the copy cannot be made the fields stay as they are. A source
  // copied or compared earlier in the run is neither copied nor read again.
  std::string Copia(const std::string& percorso, const std::string& pathNegozio,
                    IScatolaImmagine& scatola, const CampiImmagine& campi,
                    ElenchiCartelle* elenchi = nullptr);
  // Brings every copy made here, or found by its bytes, to the disk with one flush of the
  // work folder's file system (where the kernel reports its failures; else each copy and
  // the folder on their own), then dates each as its source. To be called before the rows
  // that name them are committed. 0, or the error (as errno) of the flush that failed.
  int Salva();
  // Removes the copies made here whose names are not in `nominate`: no row kept them.
  void RimuoviTranne(const std::unordered_set<std::string>& nominate);
  // Removes every copy made here: the import that named them was not kept.
  void Rimuovi() { RimuoviTranne({}); }
  // The names of the copies made here and not removed.
  const std::vector<std::string>& Fatte() const { return fatte_; }
  // The writes of the next copies (the disk's own until then).
  void UsaScrittura(IScritturaFile& scrittura) { scrittura_ = &scrittura; }

 private:
  enum class Esito { Fatta, NonImmagine, Fallita };
  // What the run knows a name holds: the copy of the source file with this identity.
  struct Nota {
    dev_t dispositivo;
    ino_t inode;
    off_t lunghezza;
    timespec tempo;
    bool salvata = false;  // on disk and dated as its source
  };
  static Nota NotaDi(const struct stat& origine);
  static bool StessaOrigine(const Nota& nota, const struct stat& origine);
  bool ApriLavoro(const std::string& pathNegozio);
  // A copy of the source named `nome`, one of the names of the work name `base`.
  Esito NuovaCopia(const std::string& file, const struct stat& origine, const std::string& base,
                   const std::string& nome, IScatolaImmagine& scatola);

  IScritturaFile disco_;
  IScritturaFile* scrittura_ = &disco_;
  std::string negozio_;  // the shop whose work folder `lavoro_` holds open
  int lavoro_ = -1;
  std::string percorsoLavoro_;  // the path of the folder `lavoro_`, with a "/" at its end
  // The versions of each work name that the folder holds, listed once, with those made here.
  std::unordered_map<std::string, std::vector<std::string>> versioni_;
  unsigned temporanei_ = 0;
  std::vector<std::string> fatte_;
  std::unordered_map<std::string, Nota> note_;
};

// One copy made by a CopieImmagini of its own, brought to the disk before the fields are
// set: when that fails the copy is removed and the fields stay as they are.
std::string CopiaImmagine(const std::string& percorso, const std::string& pathNegozio,
                          IScatolaImmagine& scatola, const CampiImmagine& campi,
                          ElenchiCartelle* elenchi = nullptr);

}  // namespace tarkpo
