#pragma once
// The program-wide state of one run: the import definition, the database engine, the
// interfaces to the desktop, the program's folder and command line, and the registry of
// the open windows. Tests create a fresh one.
#include <QPoint>
#include <QPointer>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/accesso_origine.h"
#include "core/dao/dao.h"
#include "core/definizione.h"
#include "core/impostazioni.h"
#include "core/messaggi.h"
#include "core/shell.h"
#include "engine/stato_importazione.h"
#include "engine/stato_motore.h"
#include "wizard/dialoghi_file.h"
#include "wizard/finestra.h"

namespace tarkpo::wizard {

class Programma {
 public:
  // `termina` ends the process with the given status and does not return in the program;
  // tests pass one that records the ending.
  Programma(IMessaggi& messaggi, IShell& shell, IDialoghiFile& dialoghi, Registro& registro,
            std::function<void(int)> termina, std::string cartellaProgramma,
            std::string rigaComando);
  ~Programma();
  Programma(const Programma&) = delete;
  Programma& operator=(const Programma&) = delete;

  IMessaggi& messaggi;
  IShell& shell;
  IDialoghiFile& dialoghi;  // file open and save
  Registro& registro;
  dao::DBEngine motore;
  DefinizioneImportazione def;
  StatoProgramma stato;
  std::shared_ptr<dao::Database> gDb;  // the open source database
  // The engine's program-wide state: the shop database and file name, key lists, and what
  // the one import of this run keeps across rows.
  motore::StatoMotore statoMotore;
  motore::StatoImportazione statoImportazione;
  // Opens the source through the source page's data control into gDb; false after it has
  // told the user why.
  std::function<bool()> ApriDatabaseOrigineMain;
  // The pages that host the source's data controls and table lists, as core reaches them;
  // set by whoever builds the program (null: the source cannot be opened from a page).
  IPagineOrigine* pagineOrigine = nullptr;
  const std::string cartellaProgramma;
  // The whole argument text, as the restart protocol compares it.
  const std::string rigaComando;
  // Where the last wizard page shown stood: the next one opens there, so the wizard stays
  // in one place. None before the first page of the run.
  std::optional<QPoint> posizionePagina;
  // The clock that short intervals of the user's actions are measured by; tests set their own.
  std::function<std::chrono::steady_clock::time_point()> orologio = [] {
    return std::chrono::steady_clock::now();
  };

  // The window `F`, created and loaded hidden when it is not loaded.
  template <class F>
  F& Form() {
    if (auto* f = Caricata(F::kNome)) return static_cast<F&>(*f);
    auto* f = new F(*this);
    finestre_[F::kNome] = f;
    f->Carica();
    return *f;
  }
  template <class F>
  F* Caricata() const {
    return static_cast<F*>(Caricata(F::kNome));
  }
  Finestra* Caricata(const std::string& nome) const;
  // Unloads the named window from the program, when it is loaded.
  void Scarica(const std::string& nome);

  // Ends the process at once.
  void Termina(int stato = 0);

 private:
  friend class Finestra;
  void Dimentica(Finestra* finestra);

  std::function<void(int)> termina_;
  std::map<std::string, QPointer<Finestra>> finestre_;
};

}  // namespace tarkpo::wizard
