#pragma once
// Helpers shared by the source readers (Access, Excel, text folders).
#include <optional>
#include <string>
#include <string_view>

#include "core/caratteri.h"
#include "core/dao/errore.h"
#include "core/dao/sorgente.h"
#include "core/file_disco.h"

namespace tarkpo::dao {

// The date as days since 1899-12-30 plus the fraction of the day; empty when the
// parts do not form a real date and time.
std::optional<double> GiorniDaData(int anno, int mese, int giorno, int ora = 0, int minuti = 0,
                                   int secondi = 0);

// Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS]", "D/M/YYYY" (day first, also with "-"
// or "."), optionally followed by a time, or a time alone "HH:MM[:SS]".
std::optional<double> LeggiData(std::string_view testo);

// Incremental UTF-8 validation over chunks of a file.
class ValidatoreUtf8 {
 public:
  void Aggiungi(std::string_view blocco);
  // True when every byte seen so far forms valid UTF-8 and no sequence is left open.
  bool Valido() const { return valido_ && attesi_ == 0; }

 private:
  bool valido_ = true;
  int attesi_ = 0;               // continuation bytes still expected
  unsigned char minimo_ = 0x80;  // range of the next continuation byte
  unsigned char massimo_ = 0xBF;
};

// The engine's error for a table that the source does not hold.
[[noreturn]] void ErroreTabellaNonTrovata(const std::string& tabella);
// A damaged or unreadable source file.
[[noreturn]] void ErroreFileDanneggiato(const std::string& percorso, const std::string& dettaglio);

// A file a source reads, as it was when it was opened.
struct FileLetto {
  std::string percorso;
  ImprontaFile impronta;
};
// Raises FileCambiato when the file is no longer the one opened, as it was then.
void VerificaInvariato(const FileLetto& file);

// Finds a table by name, ignoring case; raises 3078 when there is none.
size_t IndiceTabella(const std::vector<TabellaSorgente>& tabelle, const std::string& nome);
// The same without raising: the position of the table, or nothing.
std::optional<size_t> CercaTabella(const std::vector<TabellaSorgente>& tabelle,
                                   std::string_view nome);

}  // namespace tarkpo::dao
