#pragma once
// The grid's view of a recordset: field names as column headings, one row per record. Rows
// are read only when the grid asks for them, forward from the first, and kept as packed
// text, so a preview of a large table opens at once and costs little memory.
#include <QAbstractTableModel>
#include <memory>
#include <string>
#include <vector>

#include "core/dao/dao.h"

namespace tarkpo::wizard {

class ModelloRecordset : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Shows `rs` from its first record; its record count gives the rows known so far.
  void Associa(std::shared_ptr<dao::Recordset> rs);
  // The recordset has been moved by its owner: reading starts again from the first record,
  // with the record count as it stands now.
  void Riposizionato();

  int rowCount(const QModelIndex& genitore = {}) const override;
  int columnCount(const QModelIndex& genitore = {}) const override;
  QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
  QVariant headerData(int sezione, Qt::Orientation verso,
                      int ruolo = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& genitore) const override;
  void fetchMore(const QModelIndex& genitore) override;

  // Rows read from the recordset so far.
  int RigheLette() const { return static_cast<int>(inizi_.size() / std::max(colonne_, 1)); }

 private:
  void Azzera();
  // Reads on until row `riga` is held or the recordset ends; false when it ended first.
  bool LeggiFino(int riga) const;

  std::shared_ptr<dao::Recordset> rs_;
  std::vector<QString> intestazioni_;
  int colonne_ = 0;
  int righe_ = 0;  // rows the grid shows: the known count, grown as reading goes past it
  // The text of every cell read, one after the other, and where each cell begins.
  mutable std::string testo_;
  mutable std::vector<uint32_t> inizi_;
  mutable bool daRiaprire_ = false;  // the first read must move to the first record
  mutable bool finito_ = false;      // the recordset has been read to its end
};

}  // namespace tarkpo::wizard
