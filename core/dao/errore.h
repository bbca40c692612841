#pragma once
// Errors of the database engine layer: a number (the engine's numbering) and a text.
#include <stdexcept>
#include <string>

namespace tarkpo::dao {

namespace errori {
constexpr int kNessunRecordCorrente = 3021;
constexpr int kUpdateSenzaAddNewEdit = 3020;
constexpr int kValoreDuplicato = 3022;
constexpr int kFileNonTrovato = 3024;
constexpr int kSolaLettura = 3027;
constexpr int kPasswordNonValida = 3031;
constexpr int kSenzaBeginTrans = 3034;
constexpr int kTabellaNonTrovata = 3078;
constexpr int kSintassiCriterio = 3075;
constexpr int kValoreTroppoLungo = 3163;
constexpr int kElementoNonTrovato = 3265;
constexpr int kConversioneTipo = 3421;
constexpr int kFormatoNonRiconosciuto = 3343;
constexpr int kCampoNonAggiornabile = 3164;
constexpr int kCampoSconosciuto = 3070;
constexpr int kRecordEliminato = 3167;
constexpr int kOperazioneNonSupportata = 3251;
constexpr int kCampoObbligatorio = 3314;
constexpr int kOggettoNonValido = 3420;
constexpr int kTipoNelCriterio = 3464;
constexpr int kErroreMotore = 3000;  // any other failure of the storage underneath
constexpr int kFileCifrato = 3161;
constexpr int kFileInUso = 3045;  // another program holds the database's lock
}  // namespace errori

class ErroreDao : public std::runtime_error {
 public:
  ErroreDao(int numero, const std::string& descrizione)
      : std::runtime_error(descrizione), numero_(numero) {}
  int Numero() const { return numero_; }
  std::string Descrizione() const { return what(); }

 private:
  int numero_;
};

// A source file that changed while its rows were read (rewritten, cut short, replaced): the
// rows read may belong to two versions of it, or stop where it was cut.
class FileCambiato : public ErroreDao {
 public:
  explicit FileCambiato(const std::string& percorso)
      : ErroreDao(errori::kErroreMotore,
                  "Il file \"" + percorso + "\" è stato modificato mentre veniva letto."),
        percorso_(percorso) {}
  const std::string& Percorso() const { return percorso_; }

 private:
  std::string percorso_;
};

}  // namespace tarkpo::dao
