#pragma once
// The settings store: two roots of hierarchical keys (per user and machine-wide) holding
// string and DWORD values, each root kept in one file that every write replaces atomically.
// Key paths use "\" between levels and, like value names, match without regard to case.
// Every call reads the file afresh, so two processes see each other's writes.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace tarkpo {

// The root keys as the registry numbers them (what `ImpostaValoreRegistro` receives).
constexpr int32_t HKEY_CURRENT_USER = static_cast<int32_t>(0x80000001u);
constexpr int32_t HKEY_LOCAL_MACHINE = static_cast<int32_t>(0x80000002u);

struct ValoreRegistro {
  enum class Tipo { Stringa, Dword };
  Tipo tipo = Tipo::Stringa;
  std::string testo;   // Stringa
  uint32_t dword = 0;  // Dword
  // The value as text: a DWORD as its decimal digits.
  std::string ComeTesto() const;
};

class Registro {
 public:
  // `cartellaUtente` holds the HKEY_CURRENT_USER file, `cartellaMacchina` the
  // HKEY_LOCAL_MACHINE one; the folders are created on the first write.
  Registro(std::string cartellaUtente, std::string cartellaMacchina);
  // The folders of this user and machine: $XDG_CONFIG_HOME (else ~/.config) + "/tarkpo",
  // and $TARKPO_MACHINE_DIR, else "/etc/tarkpo".
  static Registro DaAmbiente();

  const std::string& CartellaUtente() const { return cartellaUtente_; }
  const std::string& CartellaMacchina() const { return cartellaMacchina_; }

  // Writes create the key and the missing keys above it; false when the file cannot be
  // written (the store is then left as it was). An unknown root fails.
  bool ScriviStringa(int32_t radice, const std::string& chiave, const std::string& nome,
                     const std::string& valore);
  bool ScriviDword(int32_t radice, const std::string& chiave, const std::string& nome,
                   uint32_t valore);
  // Creates the key (and those above it) without a value.
  bool CreaChiave(int32_t radice, const std::string& chiave);
  std::optional<ValoreRegistro> Leggi(int32_t radice, const std::string& chiave,
                                      const std::string& nome) const;
  bool EsisteChiave(int32_t radice, const std::string& chiave) const;

  // A full path beginning with "HKEY_CURRENT_USER\" or "HKEY_LOCAL_MACHINE\" (also
  // "HKCU\", "HKLM\"), split into root and key; nullopt for any other beginning.
  static std::optional<std::pair<int32_t, std::string>> DividiPercorso(const std::string& completo);

 private:
  std::string File(int32_t radice) const;

  std::string cartellaUtente_;
  std::string cartellaMacchina_;
};

// The per-user settings store of the program: values under
// HKEY_CURRENT_USER "Software\VB and VBA Program Settings\<applicazione>\<sezione>".
// The section may itself hold "\" ("set0\Jet\4.0\Engines\Text").
std::string ChiaveImpostazioni(const std::string& applicazione, const std::string& sezione);
bool SaveSetting(Registro& registro, const std::string& applicazione, const std::string& sezione,
                 const std::string& chiave, const std::string& valore);
// The stored text, or `predefinito` when the value is missing (a DWORD reads as its digits).
std::string GetSetting(const Registro& registro, const std::string& applicazione,
                       const std::string& sezione, const std::string& chiave,
                       const std::string& predefinito = "");

}  // namespace tarkpo
