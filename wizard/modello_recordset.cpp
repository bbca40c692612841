#include "wizard/modello_recordset.h"

#include "core/dao/conversioni.h"

namespace tarkpo::wizard {

namespace {
constexpr int kBlocco = 256;  // rows read at a time past the known count
}

void ModelloRecordset::Associa(std::shared_ptr<dao::Recordset> rs) {
  beginResetModel();
  rs_ = std::move(rs);
  intestazioni_.clear();
  colonne_ = 0;
  if (rs_) {
    try {
      for (const auto& campo : rs_->Campi())
        intestazioni_.push_back(QString::fromStdString(campo.Name()));
      colonne_ = static_cast<int>(intestazioni_.size());
    } catch (const dao::ErroreDao&) {
      intestazioni_.clear();
    }
  }
  Azzera();
  endResetModel();
}

void ModelloRecordset::Riposizionato() {
  beginResetModel();
  Azzera();
  endResetModel();
}

void ModelloRecordset::Azzera() {
  testo_.clear();
  inizi_.clear();
  righe_ = 0;
  finito_ = !rs_ || colonne_ == 0;
  daRiaprire_ = true;
  if (finito_) return;
  try {
    righe_ = rs_->RecordCount();
  } catch (const dao::ErroreDao&) {
    finito_ = true;
  }
}

bool ModelloRecordset::LeggiFino(int riga) const {
  if (riga < RigheLette()) return true;
  if (finito_) return false;
  try {
    if (daRiaprire_) {
      daRiaprire_ = false;
      if (rs_->Bof() && rs_->Eof()) {
        finito_ = true;
        return false;
      }
      rs_->MoveFirst();
    }
    while (RigheLette() <= riga) {
      if (rs_->Eof()) {
        finito_ = true;
        return false;
      }
      for (int c = 0; c < colonne_; ++c) {
        inizi_.push_back(static_cast<uint32_t>(testo_.size()));
        testo_ += dao::ATesto(rs_->Fields(c).Value());
      }
      rs_->MoveNext();
    }
  } catch (const dao::ErroreDao&) {
    // A row that cannot be read ends the grid there; what was read stays shown.
    const size_t intere = static_cast<size_t>(RigheLette() * colonne_);
    if (inizi_.size() > intere) {
      testo_.resize(inizi_[intere]);
      inizi_.resize(intere);
    }
    finito_ = true;
    return riga < RigheLette();
  }
  return true;
}

int ModelloRecordset::rowCount(const QModelIndex& genitore) const {
  return genitore.isValid() ? 0 : righe_;
}

int ModelloRecordset::columnCount(const QModelIndex& genitore) const {
  return genitore.isValid() ? 0 : colonne_;
}

QVariant ModelloRecordset::data(const QModelIndex& indice, int ruolo) const {
  if (ruolo != Qt::DisplayRole || !indice.isValid()) return {};
  if (!LeggiFino(indice.row())) return {};
  const size_t cella = static_cast<size_t>(indice.row()) * colonne_ + indice.column();
  const size_t inizio = inizi_[cella];
  const size_t fine = cella + 1 < inizi_.size() ? inizi_[cella + 1] : testo_.size();
  return QString::fromUtf8(testo_.data() + inizio, static_cast<qsizetype>(fine - inizio));
}

QVariant ModelloRecordset::headerData(int sezione, Qt::Orientation verso, int ruolo) const {
  if (ruolo != Qt::DisplayRole) return {};
  if (verso == Qt::Vertical) return QString();  // the fixed column shows no numbers
  if (sezione < 0 || sezione >= colonne_) return {};
  return intestazioni_[static_cast<size_t>(sezione)];
}

bool ModelloRecordset::canFetchMore(const QModelIndex& genitore) const {
  // Only past a count that was not final: the known rows are read as they are shown.
  return !genitore.isValid() && !finito_ && RigheLette() >= righe_ && righe_ > 0;
}

void ModelloRecordset::fetchMore(const QModelIndex& genitore) {
  if (!canFetchMore(genitore)) return;
  LeggiFino(righe_ + kBlocco - 1);
  const int lette = RigheLette();
  if (lette > righe_) {
    beginInsertRows({}, righe_, lette - 1);
    righe_ = lette;
    endInsertRows();
  }
}

}  // namespace tarkpo::wizard
