#include "core/shell.h"

#include <filesystem>
#include <system_error>

#include "core/impostazioni.h"

namespace tarkpo {

namespace {

std::string Unisci(const std::string& cartella, const std::string& file) {
  if (cartella.empty() || cartella.back() == '/') return cartella + file;
  return cartella + "/" + file;
}

}  // namespace

std::string SfogliaCartella(IShell& shell, const std::string& titolo,
                            const std::string& cartellaIniziale) {
  std::error_code ec;
  // A folder that is not there gives no preselection, as the browser has nothing to show.
  bool esiste = !cartellaIniziale.empty() && std::filesystem::is_directory(cartellaIniziale, ec);
  return shell.ScegliCartella(titolo, esiste ? cartellaIniziale : std::string());
}

bool ApriDocumento(IShell& shell, const std::string& file, const std::string& cartella) {
  if (file.empty()) return false;
  std::string percorso = Unisci(cartella, file);
  std::error_code ec;
  // The desktop opener reports success for a missing file and fails later, out of sight.
  if (!std::filesystem::exists(percorso, ec)) return true;
  return !shell.ApriFile(percorso);
}

bool EseguiProgramma(IShell& shell, const std::string& file, const std::string& parametri,
                     const std::string& cartellaProgramma) {
  if (file.empty()) return false;
  std::vector<std::string> argomenti;
  if (!parametri.empty()) argomenti.push_back(parametri);
  return !shell.AvviaProgramma(Unisci(cartellaProgramma, file), argomenti, cartellaProgramma);
}

void ImpostaValoreRegistro(Registro& registro, int32_t radice, const std::string& chiave,
                           const std::string& nome, int32_t valore) {
  registro.ScriviDword(radice, chiave, nome, static_cast<uint32_t>(valore));
}

}  // namespace tarkpo
