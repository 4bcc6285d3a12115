// "现场采购数据维护": the buyer rows and the tally in two grids, with bulk
// count changes, deletions, clearing and the text export.
#pragma once

#include <functional>

#include "app/page.h"

class DbGridModel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QVBoxLayout;
enum class MainTable;

class TallyMaintenancePage : public LumarinPage {
  Q_OBJECT
 public:
  TallyMaintenancePage(PageEnv& env, QWidget* parent);

  // Entering the page reads both grids afresh.
  void Activated() override;

  QTabWidget* tabs = nullptr;  // "浏览采购方数据", "浏览现采数据" (shown at start)
  // Tab "浏览采购方数据"
  QTableView* grdBuyer = nullptr;
  DbGridModel* buyerModel = nullptr;
  QLineEdit* edtBuyerSet = nullptr;      // "将采购方复本重新设为："
  QPushButton* btnBuyerSet = nullptr;    // "设置"
  QLineEdit* edtBuyerAdjust = nullptr;   // "将采购方复本统一增减："
  QPushButton* btnBuyerAdjust = nullptr; // "增减"
  QPushButton* btnBuyerClear = nullptr;  // "清空所有采购方数据"
  // Tab "浏览现采数据"
  QTableView* grdLocale = nullptr;
  DbGridModel* localeModel = nullptr;
  QLineEdit* edtLocaleSet = nullptr;       // "将采购数量重新设为："
  QPushButton* btnLocaleSet = nullptr;     // "设置"
  QLineEdit* edtLocaleAdjust = nullptr;    // "将采购数量统一增减："
  QPushButton* btnLocaleAdjust = nullptr;  // "增减"
  QPushButton* btnDeleteRow = nullptr;     // "<<删除当前行"
  QPushButton* btnDeleteZero = nullptr;    // "删除所有数量为零的行"
  QPushButton* btnLocaleClear = nullptr;   // "*清空所有现采数据"
  QPushButton* btnExportText = nullptr;    // "导出文本 >>>"
  // The tally tab's button column, for the buttons that come after
  // "导出文本 >>>" (the workbook export).
  QVBoxLayout* localeButtons = nullptr;

  // Picks the file for "导出文本 >>>"; empty when cancelled. A file-save box
  // by default (tests replace it).
  std::function<QString()> chooseTextFile;

  // Writes the pending grid edits (as leaving the row does).
  void PostEdits();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  QWidget* BuildBuyerTab();
  QWidget* BuildLocaleTab();
  QTableView* MakeGrid(DbGridModel* model, const int widths[4]);
  // Runs a button's job with pending edits written first and the grid
  // read afresh afterwards (current row: `row`, or the first).
  void RunOnTable(MainTable table, const std::function<void()>& job, int row = 0);
  void ExportText();
  QString PickTextFile();
};
