#pragma once
// Copy of item images into the shop's folder "work", under a name derived from the whole
// source path, with the picture measured by the import page's image box.
#include <functional>
#include <string>
#include <string_view>

#include "core/dao/valore.h"
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
// True when the work folder holds the work copy of that image with the source's length.
bool ImmagineGiaCopiata(const std::string& percorso, const std::string& pathNegozio);
// Copies an accepted, loadable image (the file PercorsoSuDisco finds, through the run's
// `elenchi` when given) into the work folder unless already there, and fills the three
// fields. Returns the work name, empty when the image is not accepted or loaded.
std::string CopiaImmagine(const std::string& percorso, const std::string& pathNegozio,
                          IScatolaImmagine& scatola, const CampiImmagine& campi,
                          ElenchiCartelle* elenchi = nullptr);

}  // namespace tarkpo
