#pragma once
// Every message box of core and engine goes through this interface, so neither layer
// touches a window system and tests can answer and record each prompt.
#include <string>

namespace tarkpo {

enum class Icona { Nessuna, Esclamazione, Informazione, Domanda };
enum class Pulsanti { Ok, SiNo };  // Yes/No boxes default to No
enum class Risposta { Ok, Si, No };

class IMessaggi {
 public:
  virtual ~IMessaggi() = default;
  // Shows a modal box with no title and returns the button pressed.
  virtual Risposta Mostra(const std::string& testo, Icona icona = Icona::Nessuna,
                          Pulsanti pulsanti = Pulsanti::Ok) = 0;
};

// The text of the box for an unexpected error: "Errore ", the number, ":", a line break and
// the engine's text.
inline std::string TestoErrore(int numero, const std::string& descrizione) {
  return "Errore " + std::to_string(numero) + ":\n" + descrizione;
}

}  // namespace tarkpo
