#include "app/pages/DbGridModel.h"

#include <algorithm>

#include "app/qt_text.h"
#include "data/MainDataUnit.h"

namespace {

constexpr int kPageRows = 256;

}  // namespace

DbGridModel::DbGridModel(MainTable table, std::function<TMainData&()> database, QObject* parent)
    : QAbstractTableModel(parent), table_(table), database_(std::move(database)) {}

int DbGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(recnos_.size());
}

int DbGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

const DbGridModel::Cells* DbGridModel::RowCells(int row) const {
  if (row < 0 || row >= rowCount()) return nullptr;
  if (row == pendingRow_) return &pending_;
  const int page = row / kPageRows;
  if (page != cachedPage_) {
    cache_.clear();
    cachedPage_ = page;
    const size_t first = static_cast<size_t>(page) * kPageRows;
    const size_t last = std::min(recnos_.size(), first + kPageRows) - 1;
    std::vector<Cells> cells(last - first + 1);
    auto slot = [&](int64_t recno) -> Cells* {
      auto it = std::lower_bound(recnos_.begin() + first, recnos_.begin() + last + 1, recno);
      return (it != recnos_.begin() + last + 1 && *it == recno) ? &cells[it - recnos_.begin() - first] : nullptr;
    };
    try {
      TMainData& db = database_();
      if (table_ == MainTable::Buyer) {
        for (const BuyerRow& r : db.BuyerRows(recnos_[first], recnos_[last]))
          if (Cells* c = slot(r.recno)) *c = {QVariant::fromValue(r.recno), ToQ(r.title), ToQ(r.isbn), r.rsnumber};
      } else {
        for (const TallyRow& r : db.TallyRows(recnos_[first], recnos_[last]))
          if (Cells* c = slot(r.recno)) *c = {QVariant::fromValue(r.recno), ToQ(r.isbn), r.rsnumber, ToQ(r.indate)};
      }
    } catch (const std::exception&) {
      // A row that cannot be read shows empty; the next Reload tries again.
    }
    cache_ = std::move(cells);
  }
  const Cells& c = cache_[static_cast<size_t>(row % kPageRows)];
  return c.isEmpty() ? nullptr : &c;
}

QVariant DbGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const Cells* cells = RowCells(index.row());
  if (!cells || index.column() >= cells->size()) return {};
  return cells->at(index.column());
}

QVariant DbGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  if (role != Qt::DisplayRole) return {};
  static const char* const kBuyer[] = {"序号", "书名", "ISBN", "复本"};
  static const char* const kLocale[] = {"序号", "ISBN", "采购数量", "时间"};
  if (section < 0 || section > 3) return {};
  return QString::fromUtf8((table_ == MainTable::Buyer ? kBuyer : kLocale)[section]);
}

Qt::ItemFlags DbGridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  const bool editable = table_ == MainTable::Buyer ? index.column() == 3 : index.column() >= 1;
  return editable ? f | Qt::ItemIsEditable : f;
}

bool DbGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  if (pendingRow_ >= 0 && pendingRow_ != index.row()) PostOrReport();
  const Cells* cells = RowCells(index.row());
  if (!cells) return false;
  Cells edited = *cells;
  const bool count = index.column() == (table_ == MainTable::Buyer ? 3 : 2);
  edited[index.column()] = count ? QVariant(value.toInt()) : QVariant(value.toString());
  pending_ = edited;
  pendingRow_ = index.row();
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), 3));
  return true;
}

void DbGridModel::Post() {
  if (pendingRow_ < 0) return;
  const Cells cells = pending_;
  const int row = pendingRow_;
  pendingRow_ = -1;
  cachedPage_ = -1;
  TMainData& db = database_();
  const int64_t recno = cells[0].toLongLong();
  if (table_ == MainTable::Buyer)
    db.SetBuyerCopies(recno, cells[3].toInt());
  else
    db.UpdateTallyRow({recno, FromQ(cells[1].toString()), cells[2].toInt(), FromQ(cells[3].toString())});
  emit dataChanged(index(row, 0), index(row, 3));
}

void DbGridModel::PostOrReport() {
  try {
    Post();
  } catch (const std::exception& e) {
    if (onError) onError(e.what());
  }
}

void DbGridModel::Cancel() {
  if (pendingRow_ < 0) return;
  const int row = pendingRow_;
  pendingRow_ = -1;
  cachedPage_ = -1;
  emit dataChanged(index(row, 0), index(row, 3));
}

void DbGridModel::Reload() {
  beginResetModel();
  pendingRow_ = -1;
  cachedPage_ = -1;
  cache_.clear();
  recnos_.clear();
  try {
    recnos_ = database_().Recnos(table_);
  } catch (...) {
    endResetModel();
    throw;
  }
  endResetModel();
}

int64_t DbGridModel::RecnoAt(int row) const {
  return row >= 0 && row < rowCount() ? recnos_[static_cast<size_t>(row)] : 0;
}
