#pragma once
// The list boxes and drop-down lists of the pages as core sees them: a table list over a
// QListWidget and a mapping row over a QComboBox.
#include <QComboBox>
#include <QListWidget>

#include "core/accesso_origine.h"
#include "core/mappa_campi.h"

namespace tarkpo::wizard {

// A name as the engine gives it, for the eye: a file name copied from Windows may hold
// Windows-1252 bytes that are not UTF-8.
QString TestoLeggibile(const std::string& testo);

// Entries keep their item data in Qt::UserRole. A sorted list places each new entry by its
// text, without regard to case, after the entries that compare equal. Each entry keeps the
// bytes it was given too, which a round trip through its shown text could change.
class ListaTabelleQt : public IListaTabelle {
 public:
  ListaTabelleQt(QListWidget* lista, bool ordinata) : lista_(lista), ordinata_(ordinata) {}

  void Clear() override;
  int AddItem(const std::string& testo) override;
  void SetItemData(int indice, int32_t dato) override;
  void SetListIndex(int indice) override;
  // The bytes the entry was added with; empty past the end.
  std::string Testo(int indice) const;

 private:
  QListWidget* lista_;
  bool ordinata_;
};

// A drop-down list that cannot be typed into. Filling it selects nothing and runs nothing:
// only Seleziona (or the user) changes the selection and so runs the page's handling.
class ElencoCampoQt : public IElencoCampo {
 public:
  explicit ElencoCampoQt(QComboBox* elenco) : elenco_(elenco) {}

  void Svuota() override;
  void AggiungiVoce(const std::string& testo) override;
  int NumeroVoci() const override;
  std::string Voce(int indice) const override;
  bool ImpostaDato(int indice, int32_t dato) override;
  int32_t Dato(int indice) const override;
  bool Seleziona(int indice) override;
  int Selezionata() const override;

 private:
  QComboBox* elenco_;
};

}  // namespace tarkpo::wizard
