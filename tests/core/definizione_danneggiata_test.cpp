// Damaged definition files: the reader loads what it can, leaves the rest as it was,
// keeps every text member valid UTF-8 and writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/definizione_esempio.h"
#include "core/file_definizione.h"
#include "core/regionali.h"
#include "core/testo.h"
#include "support/cartella_temp.h"

namespace tarkpo {
namespace {

std::vector<std::string> RigheEsempio() {
  FileConfigurazione file(TestoFileConfigurazione(test::DefinizioneCompilata()));
  std::vector<std::string> righe;
  for (std::string riga; file.LeggiRiga(riga);) righe.push_back(riga);
  return righe;
}

std::string Unisci(const std::vector<std::string>& righe) {
  std::string testo;
  for (const auto& r : righe) testo += r + "\r\n";
  return testo;
}

std::map<std::string, uintmax_t> Contenuto(const std::filesystem::path& cartella) {
  std::map<std::string, uintmax_t> file;
  for (const auto& e : std::filesystem::recursive_directory_iterator(cartella))
    file[e.path().string()] = e.is_regular_file() ? e.file_size() : 0;
  return file;
}

std::vector<const std::string*> Testi(const DefinizioneImportazione& d) {
  std::vector<const std::string*> t = {&d.gPathNegozio, &d.gPathDb,     &d.gTipoDb,
                                       &d.gOpzioniDb,   &d.gTabellaRep, &d.gTabellaArt,
                                       &d.gSeparatore};
  for (int i = 0; i < kRigheMappa; ++i) t.push_back(&d.gNomiCampiRep[i]);
  for (int i = 0; i < kRigheMappa; ++i) t.push_back(&d.gNomiCampiArt[i]);
  return t;
}

TEST(DefinizioneDanneggiata, LoadsWhatItCanAndWritesNothing) {
  Regionali() = ImpostazioniRegionali::Italiane();
  const std::vector<std::string> esempio = RigheEsempio();
  ASSERT_EQ(esempio.size(), 110u);
  // Half the largest file read: longer than any value a definition holds.
  const std::string mezzoMega(1 << 19, '7');
  DefinizioneImportazione prima;
  prima.gImpRep = 5;
  prima.gGiacenzaMinima = 42;
  prima.gPathNegozio = "/prima";
  prima.gSeparatore = test::DefinizioneCompilata().gSeparatore;

  struct Caso {
    const char* nome;
    std::function<std::string()> file;
    // The expected definition, from the example's; null: only the general checks.
    std::function<void(DefinizioneImportazione&)> atteso;
    int risultato = 1;
  };
  auto conRighe = [&](size_t n) {
    std::vector<std::string> r = esempio;
    r.resize(n, " 3 ");
    return Unisci(r);
  };
  auto modificato = [&](std::function<void(std::vector<std::string>&)> f) {
    return [&esempio, f] {
      std::vector<std::string> r = esempio;
      f(r);
      return Unisci(r);
    };
  };
  const Caso casi[] = {
      {"0 lines", [] { return std::string(); }, [&](auto& a) { a = prima; }},
      {"94 lines", [&] { return conRighe(94); },
       [&](auto& a) {
         DefinizioneImportazione resto = prima;
         a.gGiacenzaMinima = resto.gGiacenzaMinima, a.gVariazione = resto.gVariazione;
         a.gArrotonda = resto.gArrotonda, a.gPreserva = resto.gPreserva;
         a.gLingua = resto.gLingua, a.gEscludi = resto.gEscludi, a.gListini = resto.gListini;
       }},
      {"110 lines", [&] { return conRighe(110); }, [](auto&) {}},
      {"5000 lines", [&] { return conRighe(5000); }, [](auto&) {}},
      {"NUL bytes", modificato([](auto& r) {
         r[0] = std::string("/neg\0ozio", 9);
         r[4] = std::string(" 1\0 ", 4);
       }),
       [&](auto& a) { a.gPathNegozio = std::string("/neg\0ozio", 9), a.gImpRep = prima.gImpRep; }},
      {"only NUL bytes", [] { return std::string(4096, '\0'); },
       [&](auto& a) { a = prima, a.gPathNegozio = std::string(4096, '\0'); }},
      {"invalid UTF-8", modificato([](auto& r) { r[6] = "Rep\xC3\x28\xFF"; }), nullptr},
      {"512 KB text line", modificato([&](auto& r) { r[1] = mezzoMega; }),
       [&](auto& a) { a.gPathDb = mezzoMega; }},
      {"512 KB number line", modificato([&](auto& r) { r[4] = mezzoMega; }),
       [&](auto& a) { a.gImpRep = prima.gImpRep; }},
      {"512 KB without a line end", [&] { return mezzoMega + "\xE8"; },
       [&](auto& a) { a = prima, a.gPathNegozio = mezzoMega + "è"; }},
      // Refused before it is read: no definition is that large.
      {"over 1 MB", [&] { return std::string((1 << 20) + 1, '\n'); }, [&](auto& a) { a = prima; },
       0},
      {"random bytes",
       [] {
         std::mt19937 gen(9);
         std::string s(1 << 16, '\0');
         for (char& c : s) c = static_cast<char>(gen());
         return s;
       },
       nullptr, 2},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    test::CartellaTemp cartella;
    const std::string bytes = c.file();
    const std::string percorso = cartella.Scrivi("danneggiata.kpo", bytes);
    const auto contenutoPrima = Contenuto(cartella.Percorso());

    DefinizioneImportazione d = prima;
    EXPECT_EQ(CaricaImportazione(d, percorso), c.risultato);
    if (c.atteso) {
      DefinizioneImportazione atteso = test::DefinizioneCompilata();
      c.atteso(atteso);
      EXPECT_TRUE(d == atteso);  // no PrintTo of long members
    }
    for (const std::string* t : Testi(d)) EXPECT_TRUE(IsUtf8Valido(*t));
    EXPECT_EQ(Contenuto(cartella.Percorso()), contenutoPrima);
    EXPECT_TRUE(test::LeggiFile(percorso) == bytes);
  }
}

}  // namespace
}  // namespace tarkpo
