#include "core/impostazioni.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace tarkpo {

namespace {

namespace fs = std::filesystem;

constexpr const char* kNomeFile = "registro.ini";

std::string Minuscolo(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

// A key path without empty levels: "a\\b\" and "a\b" are the same key.
std::string NormalizzaChiave(const std::string& chiave) {
  std::string r;
  size_t i = 0;
  while (i <= chiave.size()) {
    size_t j = chiave.find('\\', i);
    if (j == std::string::npos) j = chiave.size();
    if (j > i) {
      if (!r.empty()) r += '\\';
      r.append(chiave, i, j - i);
    }
    i = j + 1;
  }
  return r;
}

struct Voce {
  std::string nome;
  ValoreRegistro valore;
};

struct Chiave {
  std::string nome;  // as first written
  std::vector<Voce> voci;
};

// The whole content of one root, by lower-case key path.
using Albero = std::map<std::string, Chiave>;

std::string Protetto(const std::string& s) {
  std::string r = "\"";
  for (char c : s) {
    switch (c) {
      case '\\':
        r += "\\\\";
        break;
      case '"':
        r += "\\\"";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\r':
        r += "\\r";
        break;
      default:
        r += c;
    }
  }
  return r + "\"";
}

// Reads a quoted text at `pos`; false when the line is malformed.
bool LeggiProtetto(const std::string& riga, size_t& pos, std::string& out) {
  if (pos >= riga.size() || riga[pos] != '"') return false;
  out.clear();
  for (++pos; pos < riga.size(); ++pos) {
    char c = riga[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < riga.size()) {
      char d = riga[++pos];
      out += d == 'n' ? '\n' : d == 'r' ? '\r' : d;
    } else {
      out += c;
    }
  }
  return false;
}

void AggiungiChiave(Albero& albero, const std::string& chiave) {
  // Every level above exists too, as on the registry.
  size_t pos = 0;
  while (true) {
    size_t j = chiave.find('\\', pos);
    std::string parte = chiave.substr(0, j);
    auto [it, nuovo] = albero.try_emplace(Minuscolo(parte));
    if (nuovo) it->second.nome = parte;
    if (j == std::string::npos) break;
    pos = j + 1;
  }
}

Albero Carica(const std::string& file) {
  Albero albero;
  std::ifstream in(file, std::ios::binary);
  std::string riga;
  Chiave* corrente = nullptr;
  while (std::getline(in, riga)) {
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    size_t pos = 0;
    std::string testo;
    if (riga.size() > 2 && riga[0] == '[') {
      pos = 1;
      if (!LeggiProtetto(riga, pos, testo)) continue;
      std::string chiave = NormalizzaChiave(testo);
      AggiungiChiave(albero, chiave);
      corrente = chiave.empty() ? nullptr : &albero[Minuscolo(chiave)];
      continue;
    }
    if (!corrente || !LeggiProtetto(riga, pos, testo)) continue;
    if (pos >= riga.size() || riga[pos] != '=') continue;
    ++pos;
    Voce voce{testo, {}};
    if (riga.compare(pos, 6, "dword:") == 0) {
      voce.valore.tipo = ValoreRegistro::Tipo::Dword;
      uint32_t dword = 0;
      std::from_chars(riga.data() + pos + 6, riga.data() + riga.size(), dword);
      voce.valore.dword = dword;
    } else if (!LeggiProtetto(riga, pos, voce.valore.testo)) {
      continue;
    }
    corrente->voci.push_back(std::move(voce));
  }
  return albero;
}

bool Salva(const std::string& file, const Albero& albero) {
  std::ostringstream out;
  for (const auto& [_, chiave] : albero) {
    out << '[' << Protetto(chiave.nome) << "]\n";
    for (const Voce& v : chiave.voci) {
      out << Protetto(v.nome) << '=';
      if (v.valore.tipo == ValoreRegistro::Tipo::Dword)
        out << "dword:" << std::to_string(v.valore.dword) << '\n';
      else
        out << Protetto(v.valore.testo) << '\n';
    }
  }
  const std::string dati = out.str();
  const std::string temporaneo = file + ".tmp" + std::to_string(::getpid());
  int fd = ::open(temporaneo.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t scritti = 0;
  while (scritti < dati.size()) {
    ssize_t n = ::write(fd, dati.data() + scritti, dati.size() - scritti);
    if (n <= 0) break;
    scritti += static_cast<size_t>(n);
  }
  bool ok = scritti == dati.size() && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporaneo.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temporaneo.c_str());
  return ok;
}

// Serialises read-modify-write cycles of several processes on one file.
class Blocco {
 public:
  explicit Blocco(const std::string& file)
      : fd_(::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~Blocco() {
    if (fd_ >= 0) ::close(fd_);
  }
  Blocco(const Blocco&) = delete;
  Blocco& operator=(const Blocco&) = delete;
  bool Ok() const { return fd_ >= 0; }

 private:
  int fd_;
};

template <typename Modifica>
bool Modifica_(const std::string& file, Modifica modifica) {
  if (file.empty()) return false;
  std::error_code ec;
  fs::create_directories(fs::path(file).parent_path(), ec);
  Blocco blocco(file);
  if (!blocco.Ok()) return false;
  Albero albero = Carica(file);
  modifica(albero);
  return Salva(file, albero);
}

bool Scrivi(const std::string& file, const std::string& chiave, const std::string& nome,
            ValoreRegistro valore) {
  std::string k = NormalizzaChiave(chiave);
  if (k.empty()) return false;
  return Modifica_(file, [&](Albero& albero) {
    AggiungiChiave(albero, k);
    Chiave& c = albero[Minuscolo(k)];
    std::string nomeMin = Minuscolo(nome);
    for (Voce& v : c.voci) {
      if (Minuscolo(v.nome) == nomeMin) {
        v.valore = std::move(valore);
        return;
      }
    }
    c.voci.push_back({nome, std::move(valore)});
  });
}

}  // namespace

std::string ValoreRegistro::ComeTesto() const {
  return tipo == Tipo::Dword ? std::to_string(dword) : testo;
}

Registro::Registro(std::string cartellaUtente, std::string cartellaMacchina)
    : cartellaUtente_(std::move(cartellaUtente)), cartellaMacchina_(std::move(cartellaMacchina)) {}

Registro Registro::DaAmbiente() {
  std::string utente;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    utente = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    utente = std::string(home) + "/.config";
  if (!utente.empty()) utente += "/tarkpo";
  std::string macchina = "/etc/tarkpo";
  if (const char* m = std::getenv("TARKPO_MACHINE_DIR"); m && *m) macchina = m;
  return Registro(utente, macchina);
}

std::string Registro::File(int32_t radice) const {
  const std::string& cartella = radice == HKEY_CURRENT_USER    ? cartellaUtente_
                                : radice == HKEY_LOCAL_MACHINE ? cartellaMacchina_
                                                               : std::string();
  if (cartella.empty()) return {};
  return cartella + "/" + kNomeFile;
}

bool Registro::ScriviStringa(int32_t radice, const std::string& chiave, const std::string& nome,
                             const std::string& valore) {
  return Scrivi(File(radice), chiave, nome, {ValoreRegistro::Tipo::Stringa, valore, 0});
}

bool Registro::ScriviDword(int32_t radice, const std::string& chiave, const std::string& nome,
                           uint32_t valore) {
  return Scrivi(File(radice), chiave, nome, {ValoreRegistro::Tipo::Dword, {}, valore});
}

bool Registro::CreaChiave(int32_t radice, const std::string& chiave) {
  std::string k = NormalizzaChiave(chiave);
  if (k.empty()) return false;
  return Modifica_(File(radice), [&](Albero& albero) { AggiungiChiave(albero, k); });
}

std::optional<ValoreRegistro> Registro::Leggi(int32_t radice, const std::string& chiave,
                                              const std::string& nome) const {
  std::string file = File(radice);
  if (file.empty()) return std::nullopt;
  Albero albero = Carica(file);
  auto it = albero.find(Minuscolo(NormalizzaChiave(chiave)));
  if (it == albero.end()) return std::nullopt;
  std::string nomeMin = Minuscolo(nome);
  for (const Voce& v : it->second.voci)
    if (Minuscolo(v.nome) == nomeMin) return v.valore;
  return std::nullopt;
}

bool Registro::EsisteChiave(int32_t radice, const std::string& chiave) const {
  std::string file = File(radice);
  if (file.empty()) return false;
  return Carica(file).count(Minuscolo(NormalizzaChiave(chiave))) > 0;
}

std::optional<std::pair<int32_t, std::string>> Registro::DividiPercorso(
    const std::string& completo) {
  static const std::pair<const char*, int32_t> kRadici[] = {
      {"hkey_current_user\\", HKEY_CURRENT_USER},
      {"hkey_local_machine\\", HKEY_LOCAL_MACHINE},
      {"hkcu\\", HKEY_CURRENT_USER},
      {"hklm\\", HKEY_LOCAL_MACHINE}};
  std::string min = Minuscolo(completo);
  for (const auto& [prefisso, radice] : kRadici) {
    std::string p = prefisso;
    if (min.compare(0, p.size(), p) == 0)
      return std::make_pair(radice, NormalizzaChiave(completo.substr(p.size())));
  }
  return std::nullopt;
}

std::string ChiaveImpostazioni(const std::string& applicazione, const std::string& sezione) {
  return "Software\\VB and VBA Program Settings\\" + applicazione + "\\" + sezione;
}

bool SaveSetting(Registro& registro, const std::string& applicazione, const std::string& sezione,
                 const std::string& chiave, const std::string& valore) {
  return registro.ScriviStringa(HKEY_CURRENT_USER, ChiaveImpostazioni(applicazione, sezione),
                                chiave, valore);
}

std::string GetSetting(const Registro& registro, const std::string& applicazione,
                       const std::string& sezione, const std::string& chiave,
                       const std::string& predefinito) {
  auto v = registro.Leggi(HKEY_CURRENT_USER, ChiaveImpostazioni(applicazione, sezione), chiave);
  return v ? v->ComeTesto() : predefinito;
}

}  // namespace tarkpo
