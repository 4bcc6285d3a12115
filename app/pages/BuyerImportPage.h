// "导入采购方MARC数据"
#pragma once

#include "app/page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class BuyerImportPage : public LumarinPage {
  Q_OBJECT
 public:
  BuyerImportPage(PageEnv& env, QWidget* parent);

  QLineEdit* edtFileName_Pn1_MARC = nullptr;  // "采购方MARC"
  QPushButton* btnBrowse = nullptr;           // "浏览..."
  QLabel* lblStored = nullptr;                // "本系统数据库中已存 N 条记录", hidden at start
  QCheckBox* chkInitialCopies = nullptr;      // "初始复本数："
  QLineEdit* edtInitialCopies = nullptr;
  QCheckBox* chkCopiesField = nullptr;        // "指定复本字段："
  QLineEdit* edtCopiesField = nullptr;        // "905f"
  QPushButton* btnImport = nullptr;           // "导  入"
  QLineEdit* edtFileName_Pn1_ISBN = nullptr;  // "输出ISBN"
  QPushButton* btnSaveAs = nullptr;           // "存为..."
  QPushButton* btnExport = nullptr;           // "导  出"
  QLabel* lblExportCount = nullptr;           // "共 N 条", hidden at start
  QProgressBar* prgExport = nullptr;          // the page's bar, hidden at start

  void Import();
  void Export();
  // Shows the number of buyer rows in lblStored (after browsing).
  void ShowStoredRows();

 private:
  void BuildOptions(QWidget* box);
  void MarcFileEdited();
};
