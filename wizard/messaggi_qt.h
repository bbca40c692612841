#pragma once
// Message boxes on the screen: modal, no title, Yes/No questions defaulting to No.
#include "core/messaggi.h"

namespace tarkpo::wizard {

class MessaggiQt : public IMessaggi {
 public:
  Risposta Mostra(const std::string& testo, Icona icona = Icona::Nessuna,
                  Pulsanti pulsanti = Pulsanti::Ok) override;
};

}  // namespace tarkpo::wizard
