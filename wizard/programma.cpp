#include "wizard/programma.h"

#include <QCoreApplication>
#include <QEvent>

namespace tarkpo::wizard {

Programma::Programma(IMessaggi& messaggi_, IShell& shell_, IDialoghiFile& dialoghi_,
                     Registro& registro_, std::function<void(int)> termina, std::string cartella,
                     std::string riga)
    : messaggi(messaggi_),
      shell(shell_),
      dialoghi(dialoghi_),
      registro(registro_),
      motore(registro_),
      cartellaProgramma(std::move(cartella)),
      rigaComando(std::move(riga)),
      termina_(std::move(termina)) {}

Programma::~Programma() {
  auto finestre = std::move(finestre_);
  for (auto& [nome, f] : finestre) delete f.data();
  // Windows closed earlier wait for deletion in the event queue; they go now, while the
  // program they point to still exists.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Finestra* Programma::Caricata(const std::string& nome) const {
  auto it = finestre_.find(nome);
  if (it == finestre_.end() || it->second.isNull() || it->second->Scaricata()) return nullptr;
  return it->second.data();
}

void Programma::Scarica(const std::string& nome) {
  if (auto* f = Caricata(nome)) f->Scarica();
}

void Programma::Dimentica(Finestra* finestra) {
  auto it = finestre_.find(finestra->Nome());
  if (it != finestre_.end() && it->second == finestra) finestre_.erase(it);
}

void Programma::Termina(int stato) { termina_(stato); }

}  // namespace tarkpo::wizard
