#include "engine/negozio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/dao/conversioni.h"
#include "core/file_disco.h"
#include "engine/numerazione_backup.h"
#include "engine/origine.h"

namespace tarkpo::motore {

namespace {

namespace fs = std::filesystem;

bool FileOrdinario(const std::string& percorso) {
  std::error_code ec;
  return fs::is_regular_file(percorso, ec);
}

std::string Testo(const Valore& v) {
  try {
    return dao::ATesto(v);
  } catch (const dao::ErroreDao&) {
    return "";
  }
}

// Appends every row's ID and title, from where `rs` stands to its end.
void LeggiElenchiReparti(dao::Recordset& rs, StatoMotore& stato, const std::string& colonnaTitolo) {
  try {
    while (!rs.Eof()) {
      stato.gElencoIdReparti.Aggiungi(Testo(LeggiCampoNegozio(rs, "id")));
      stato.gElencoTitoliReparti.Aggiungi(Testo(LeggiCampoNegozio(rs, colonnaTitolo)));
      rs.MoveNext();
    }
  } catch (const dao::ErroreDao&) {
    // A table that stops answering ends the lists where it stopped.
  }
}

void TornaAlPrimo(dao::Recordset& rs) {
  try {
    rs.MoveFirst();
  } catch (const dao::ErroreDao&) {
    // An empty table has no first row.
  }
}

// Copies `da` to the file `nome` of the folder `cartella`, which must not exist yet, byte for
// byte; a failed copy leaves no file `nome`. The bytes go to a temporary file of our own
// beside it, created new (never an existing file, never through a link), which takes the
// name only when whole and on the disk, without replacing any file; the name is on the disk
// too when the copy returns. A process killed while copying leaves no half backup under a
// backup's name, and its temporary file is removed by the next copy. `impronta` is the file
// copied; a file that changed while it was read is no copy.
bool CopiaNuovo(const std::string& da, const std::string& cartella, const std::string& nome,
                ImprontaFile& impronta) {
  const int dir = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return false;
  RimuoviTemporaneiOrfani(dir);
  struct stat info {};
  int sorgente = -1, destinazione = -1;
  std::string temporaneo;
  bool riuscita = ::fstatat(dir, nome.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT;
  if (riuscita) {
    sorgente = ::open(da.c_str(), O_RDONLY | O_CLOEXEC);
    riuscita = sorgente >= 0 && ::fstat(sorgente, &info) == 0;
  }
  if (riuscita) {
    impronta = ImprontaDa(info);
    unsigned contatore = 0;
    destinazione = CreaTemporaneo(dir, contatore, temporaneo);
    riuscita = destinazione >= 0;
  }
  std::vector<char> blocco(riuscita ? 1 << 20 : 0);
  while (riuscita) {
    const ssize_t letti = LeggiDa(sorgente, blocco.data(), blocco.size());
    if (letti <= 0) {
      riuscita = letti == 0;
      break;
    }
    for (ssize_t fatti = 0; riuscita && fatti < letti;) {
      ssize_t scritti =
          ::write(destinazione, blocco.data() + fatti, static_cast<size_t>(letti - fatti));
      if (scritti < 0 && errno == EINTR) continue;
      riuscita = scritti > 0;
      fatti += scritti;
    }
  }
  if (riuscita && (::fstat(sorgente, &info) != 0 || ImprontaDa(info) != impronta)) riuscita = false;
  if (riuscita && ::fsync(destinazione) != 0) riuscita = false;
  if (destinazione >= 0 && ::close(destinazione) != 0) riuscita = false;
  if (sorgente >= 0) ::close(sorgente);
  if (riuscita) riuscita = DaiNome(dir, temporaneo, nome);
  if (!riuscita && !temporaneo.empty()) ::unlinkat(dir, temporaneo.c_str(), 0);
  // The new name on the disk: the backup outlasts a power loss once the import writes.
  if (riuscita && ::fsync(dir) != 0) {
    ::unlinkat(dir, nome.c_str(), 0);
    riuscita = false;
  }
  ::close(dir);
  return riuscita;
}

// Whether a journal or write-ahead log beside the data file still holds changes that the file
// alone lacks, as SQLite decides it: the file is there and its first byte is not zero.
bool DatiFuoriDalFile(const std::string& file) {
  for (const char* suffisso : {"-journal", "-wal"}) {
    int f = ::open((file + suffisso).c_str(), O_RDONLY | O_CLOEXEC);
    if (f < 0) {
      if (errno == ENOENT) continue;
      return true;  // there, but unreadable: assume the worst
    }
    char primo = 0;
    ssize_t letti = ::read(f, &primo, 1);
    ::close(f);
    if (letti < 0 || (letti == 1 && primo != 0)) return true;
  }
  return false;
}

}  // namespace

bool TrovaFileNegozio(StatoMotore& stato, const std::string& cartella, IMessaggi& messaggi) {
  if (FileOrdinario(cartella + "/catalog.mdb")) {
    stato.gFileNegozio = "catalog.mdb";
  } else if (FileOrdinario(cartella + "/items.dat")) {
    stato.gFileNegozio = "items.dat";
  } else {
    messaggi.Mostra("La cartella \"" + cartella + "\" non contiene un negozio",
                    Icona::Esclamazione);
    return false;
  }
  return true;
}

bool ApriNegozio(StatoMotore& stato, const DefinizioneImportazione& def, dao::Workspace& workspace,
                 IMessaggi& messaggi, bool soloLettura) {
  try {
    if (!TrovaFileNegozio(stato, def.gPathNegozio, messaggi)) return false;
    stato.gDbNegozio = workspace.OpenDatabase(
        def.gPathNegozio + "/" + stato.gFileNegozio, "",
        soloLettura ? dao::Accesso::LetturaCondivisa : dao::Accesso::Scrittura);
    return true;
  } catch (const std::exception& e) {
    messaggi.Mostra("Impossibile aprire il file \"" + def.gPathNegozio + "/" + stato.gFileNegozio +
                        "\":\n" + e.what(),
                    Icona::Esclamazione);
    return false;
  }
}

bool ApriTabellaNegozio(StatoMotore& stato, const DefinizioneImportazione& def,
                        const std::string& tabella, std::unique_ptr<dao::Recordset>& rs,
                        IMessaggi& messaggi) {
  ChiudiRecordset(rs);
  try {
    if (!stato.gDbNegozio)
      throw dao::ErroreDao(dao::errori::kTabellaNonTrovata, "Negozio non aperto");
    // The highest position, as the last row of the table ordered by it would give: a table
    // without the column fails, and so does a highest value that is no 32-bit integer.
    auto massimo =
        stato.gDbNegozio->OpenRecordset("SELECT COUNT(*), MAX(ordinamento) FROM " + tabella);
    bool vuota = dao::ALong(massimo->Fields(0).Value()) == 0;
    int32_t ultimo = vuota ? 0 : dao::ALong(massimo->Fields(1).Value());
    massimo->Close();
    stato.gUltimoOrdinamento = ultimo;
    rs = stato.gDbNegozio->OpenRecordset(tabella, dao::dbOpenDynaset);
    return true;
  } catch (const dao::ErroreDao& e) {
    messaggi.Mostra(MessaggioTabellaNonAperta(def, tabella, e.Descrizione()));
    return false;
  }
}

bool ApriReparti(StatoMotore& stato, const DefinizioneImportazione& def, IMessaggi& messaggi) {
  if (!ApriTabellaNegozio(stato, def, "categorie", stato.gRsReparti, messaggi)) return false;
  stato.gElencoIdReparti.Svuota();
  stato.gElencoTitoliReparti.Svuota();
  LeggiElenchiReparti(*stato.gRsReparti, stato, def.CampoLingua("titolo"));
  TornaAlPrimo(*stato.gRsReparti);
  return true;
}

void RicostruisciElenchiReparti(StatoMotore& stato, const DefinizioneImportazione& def) {
  if (!stato.gRsReparti) return;
  std::unique_ptr<dao::Recordset> copia;
  try {
    copia = stato.gRsReparti->Clone();
    copia->MoveFirst();
  } catch (const dao::ErroreDao&) {
    return;  // the lists stay as they were
  }
  stato.gElencoIdReparti.Svuota();
  stato.gElencoTitoliReparti.Svuota();
  LeggiElenchiReparti(*copia, stato, def.CampoLingua("titolo"));
  ChiudiRecordset(copia);
}

void AggiornaElenchiReparti(StatoMotore& stato, const DefinizioneImportazione& def) {
  if (!stato.gRsReparti) return;
  dao::Recordset& rs = *stato.gRsReparti;
  std::string id = Testo(LeggiCampoNegozio(rs, "id"));
  // An update never writes the ID, and writes the title only of the department found by
  // its ID, which is never empty: a row without an ID keeps its entries.
  if (id.empty()) return;
  if (stato.gElencoIdReparti.Conta(id) != 1) {
    // The ID does not tell the row apart (a shop without a unique index on it).
    RicostruisciElenchiReparti(stato, def);
    return;
  }
  stato.gElencoTitoliReparti.Sostituisci(stato.gElencoIdReparti.PrimaPosizione(id),
                                         Testo(LeggiCampoNegozio(rs, def.CampoLingua("titolo"))));
}

bool ApriArticoli(StatoMotore& stato, const DefinizioneImportazione& def, IMessaggi& messaggi) {
  if (!ApriTabellaNegozio(stato, def, "articoli", stato.gRsArticoli, messaggi)) return false;
  dao::Recordset& rs = *stato.gRsArticoli;
  stato.gElencoCodiciNegozio.Svuota();
  stato.gNumArticoli = 0;
  int colonna = rs.IndiceCampo("codice");
  try {
    while (!rs.Eof()) {
      stato.gElencoCodiciNegozio.Aggiungi(colonna < 0 ? ""
                                                      : Testo(LeggiCampoOrigine(rs, colonna + 1)));
      ++stato.gNumArticoli;
      rs.MoveNext();
    }
  } catch (const dao::ErroreDao&) {
  }
  TornaAlPrimo(rs);
  return true;
}

std::string BackupNegozio(StatoMotore& stato, const DefinizioneImportazione& def,
                          IMessaggi& messaggi) {
  stato.gImprontaNegozio.reset();
  try {
    std::string nome = NomeProssimoBackup(def.gPathNegozio);
    if (!TrovaFileNegozio(stato, def.gPathNegozio, messaggi)) return "";
    if (nome.empty()) return "";
    const std::string origine = def.gPathNegozio + "/" + stato.gFileNegozio;
    const std::string destinazione = def.gPathNegozio + "/" + nome;
    ImprontaFile impronta;
    bool copiato = false;
    // Under SQLite's read lock no writer can spill or commit pages into the file, so the
    // file alone is whole, whatever journal an active writer keeps beside it.
    dao::CompletaFileSqlite(
        origine, [&] { copiato = CopiaNuovo(origine, def.gPathNegozio, nome, impronta); });
    if (!copiato) return "";
    stato.gImprontaNegozio = impronta;
    return destinazione;
  } catch (const std::exception&) {
    return "";
  }
}

bool NegozioComeTrovato(const StatoMotore& stato, const std::string& file,
                        const std::string& backup) {
  // No file was found before: the import never wrote one, so long as none is there now.
  if (!stato.gImprontaNegozio) return !Impronta(file);
  if (DatiFuoriDalFile(file)) {
    try {
      dao::CompletaFileSqlite(file);
    } catch (const dao::ErroreDao&) {
      return false;
    }
    if (DatiFuoriDalFile(file)) return false;
  }
  const auto ora = Impronta(file);
  if (!ora) return false;
  if (*ora == *stato.gImprontaNegozio) return true;
  return !backup.empty() && ora->StessoFile(*stato.gImprontaNegozio) && StessiByte(file, backup);
}

}  // namespace tarkpo::motore
