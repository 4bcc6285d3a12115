// The rows of table buyer or locale as a grid model, read through TMainData
// in pages of a few hundred rows (the buyer table may hold a million rows).
//
// Edits behave as in a data grid: a changed cell is kept with its row and
// written to the table when the row is left (Post); Cancel drops it.
#pragma once

#include <QAbstractTableModel>
#include <QVector>
#include <functional>
#include <string>
#include <vector>

class TMainData;
enum class MainTable;

class DbGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // `database` answers the open database (it may throw). Columns: buyer
  // 序号, 书名, ISBN, 复本 (复本 editable); locale 序号, ISBN, 采购数量, 时间
  // (all but 序号 editable).
  DbGridModel(MainTable table, std::function<TMainData&()> database, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Reads the row list afresh (pending edits are dropped). Throws.
  void Reload();
  // Writes the pending edit of a row, if any. Throws EDatabaseError; the
  // edit is dropped either way.
  void Post();
  void Cancel();
  // Post() for the model's own callers inside Qt's event handling: a failure
  // goes to `onError` (the general error display) instead of propagating.
  void PostOrReport();
  std::function<void(const std::string& gbkMessage)> onError;
  bool HasPendingEdit() const { return pendingRow_ >= 0; }
  // recno of a row; 0 when out of range.
  int64_t RecnoAt(int row) const;

 private:
  using Cells = QVector<QVariant>;
  const Cells* RowCells(int row) const;

  MainTable table_;
  std::function<TMainData&()> database_;
  std::vector<int64_t> recnos_;
  // One page of rows read ahead; mutable because reading is lazy.
  mutable int cachedPage_ = -1;
  mutable std::vector<Cells> cache_;
  int pendingRow_ = -1;
  Cells pending_;
};
