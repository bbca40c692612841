#include "core/dao/sorgente_excel.h"

#include <array>
#include <cstdint>

#include "core/dao/cartella_excel.h"
#include "core/dao/conversioni.h"
#include "core/dao/sorgente_comune.h"

namespace tarkpo::dao {

namespace {

using Conta = std::array<unsigned, 5>;  // cells of each GenereCella

// A cell in a field of the column's type: a text field takes every kind as text, the
// others only their own kind and read any other as Null.
Valore ValoreCella(const CellaExcel& c, TipoValore tipo, const CartellaExcel& cartella,
                   const ImpostazioniRegionali& regionali) {
  Valore v = ValoreCellaExcel(c, cartella);
  if (v.IsNull() || v.Tipo() == tipo) return v;
  if (tipo == TipoValore::Text) return Valore::Testo(ATesto(v, regionali));
  return Valore::Null();
}

// The kind that most cells hold; on a tie text, then number, then date, then truth value.
// Under IMEX=1 any mix is text.
TipoValore TipoColonna(const Conta& conta, bool imex) {
  constexpr std::pair<GenereCella, TipoValore> kOrdine[] = {
      {GenereCella::Testo, TipoValore::Text},
      {GenereCella::Numero, TipoValore::Double},
      {GenereCella::Data, TipoValore::Date},
      {GenereCella::Booleano, TipoValore::Boolean}};
  int generi = 0;
  for (const auto& [genere, tipo] : kOrdine) generi += conta[static_cast<int>(genere)] > 0;
  if (generi == 0 || (imex && generi > 1)) return TipoValore::Text;
  TipoValore migliore = TipoValore::Text;
  unsigned massimo = 0;
  for (const auto& [genere, tipo] : kOrdine) {
    if (conta[static_cast<int>(genere)] > massimo)
      massimo = conta[static_cast<int>(genere)], migliore = tipo;
  }
  return migliore;
}

// The workbook, read whole; `letto` receives the file as it was read.
CartellaExcel LeggiFile(const std::string& percorso, FileLetto& letto) {
  std::string dati;
  letto.percorso = percorso;
  switch (LeggiFileOrdinario(percorso, SIZE_MAX, dati, &letto.impronta)) {
    case EsitoLettura::Letto:
      break;
    case EsitoLettura::NonAperto:
      throw ErroreDao(errori::kFileNonTrovato, "Impossibile trovare il file '" + percorso + "'.");
    case EsitoLettura::NonOrdinario:
      ErroreFileDanneggiato(percorso, "non è un file ordinario");
    case EsitoLettura::Cambiato:
      throw FileCambiato(percorso);
    default:
      ErroreFileDanneggiato(percorso, "file non leggibile");
  }
  if (!HaFirmaFileComposto(dati)) {
    ErroreFileDanneggiato(percorso, ECartellaExcelAntica(dati)
                                        ? "cartella di lavoro di Excel 4.0 o precedente"
                                        : "non è una cartella di lavoro di Excel 97-2003");
  }
  try {
    const auto flusso = LeggiFlussoComposto(dati, {"Workbook", "Book"});
    if (!flusso) ErroreFileDanneggiato(percorso, "nessuna cartella di lavoro nel file");
    return LeggiCartellaExcel(*flusso);
  } catch (const CartellaCifrata&) {
    throw ErroreDao(errori::kFileCifrato, "Impossibile decrittografare il file '" + percorso +
                                              "': la cartella di lavoro è protetta da password.");
  } catch (const FormatoDanneggiato& e) {
    ErroreFileDanneggiato(percorso, e.what());
  }
}

class CursoreExcel : public CursoreSorgente {
 public:
  CursoreExcel(std::shared_ptr<const CartellaExcel> cartella, const FoglioExcel& foglio,
               uint32_t primaRiga, const TabellaSorgente& tabella,
               const ImpostazioniRegionali& regionali, const FileLetto& file)
      : cartella_(std::move(cartella)),
        foglio_(foglio),
        riga_(primaRiga),
        regionali_(regionali),
        file_(file) {
    for (const auto& campo : tabella.campi) tipi_.push_back(campo.tipo);
  }

  // The rows come from the workbook as it was read; past the last one it must still be that
  // file, unchanged, or the import would hold a version of it that is gone.
  bool Leggi(std::vector<Valore>& riga) override {
    if (riga_ >= foglio_.fineRiga) {
      VerificaInvariato(file_);
      return false;
    }
    riga.assign(tipi_.size(), Valore::Null());
    const auto& celle = foglio_.celle;
    while (cella_ < celle.size() && celle[cella_].riga < riga_) ++cella_;
    for (; cella_ < celle.size() && celle[cella_].riga == riga_; ++cella_) {
      const CellaExcel& c = celle[cella_];
      const size_t k = c.colonna - foglio_.primaColonna;
      if (k < tipi_.size()) riga[k] = ValoreCella(c, tipi_[k], *cartella_, regionali_);
    }
    ++riga_;
    return true;
  }

 private:
  std::shared_ptr<const CartellaExcel> cartella_;
  const FoglioExcel& foglio_;  // held by cartella_
  uint32_t riga_;
  size_t cella_ = 0;
  ImpostazioniRegionali regionali_;
  FileLetto file_;
  std::vector<TipoValore> tipi_;
};

class SorgenteExcel : public Sorgente {
 public:
  SorgenteExcel(const std::string& percorso, const OpzioniExcel& opzioni)
      : regionali_(opzioni.regionali),
        cartella_(std::make_shared<const CartellaExcel>(LeggiFile(percorso, file_))) {
    for (const auto& foglio : cartella_->fogli) {
      // Excel keeps sheet names unique whatever their case; tables are found by name.
      if (CercaTabella(tabelle_, NomeTabella(foglio.nome)))
        ErroreFileDanneggiato(percorso, "due fogli con lo stesso nome");
      Analizza(foglio, opzioni);
    }
  }

  const std::vector<TabellaSorgente>& Tabelle() const override { return tabelle_; }

  std::unique_ptr<CursoreSorgente> Apri(const std::string& tabella) override {
    const size_t i = IndiceTabella(tabelle_, tabella);
    return std::make_unique<CursoreExcel>(cartella_, cartella_->fogli[i], primeRighe_[i],
                                          tabelle_[i], regionali_, file_);
  }

 private:
  // The fields of the sheet's used range: names from its first row (under HDR=Yes) and
  // types guessed over every row after it.
  static std::string NomeTabella(const std::string& foglio) {
    std::string nome = foglio + "$";
    return nome.find(' ') == std::string::npos ? nome : "'" + nome + "'";
  }

  void Analizza(const FoglioExcel& foglio, const OpzioniExcel& opzioni) {
    const std::string nome = NomeTabella(foglio.nome);
    const bool intestazione = opzioni.intestazione && foglio.fineRiga > foglio.primaRiga;
    const size_t colonne = foglio.fineColonna - foglio.primaColonna;
    std::vector<std::string> nomi(colonne);
    std::vector<Conta> conta(colonne);
    for (const CellaExcel& c : foglio.celle) {
      const size_t k = c.colonna - foglio.primaColonna;
      if (intestazione && c.riga == foglio.primaRiga)
        nomi[k] = ATesto(ValoreCellaExcel(c, *cartella_), regionali_);
      else
        ++conta[k][static_cast<int>(c.genere)];
    }
    TabellaSorgente tabella{nome, 0, {}};
    for (size_t k = 0; k < colonne; ++k) {
      CampoSorgente campo;
      campo.nome = nomi[k].empty() ? "F" + std::to_string(k + 1) : std::move(nomi[k]);
      campo.tipo = TipoColonna(conta[k], opzioni.imex);
      tabella.campi.push_back(std::move(campo));
    }
    tabelle_.push_back(std::move(tabella));
    primeRighe_.push_back(foglio.primaRiga + (intestazione ? 1 : 0));
  }

  ImpostazioniRegionali regionali_;
  FileLetto file_;  // before cartella_, which is read into it
  std::shared_ptr<const CartellaExcel> cartella_;
  std::vector<TabellaSorgente> tabelle_;
  std::vector<uint32_t> primeRighe_;
};

}  // namespace

std::unique_ptr<Sorgente> ApriSorgenteExcel(const std::string& percorso,
                                            const OpzioniExcel& opzioni) {
  return std::make_unique<SorgenteExcel>(percorso, opzioni);
}

}  // namespace tarkpo::dao
