// "利用双方ISBN文件自动匹配查重"
#pragma once

#include "app/page.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class IsbnCheckPage : public LumarinPage {
  Q_OBJECT
 public:
  IsbnCheckPage(PageEnv& env, QWidget* parent);

  QLineEdit* edtBuyer = nullptr;          // "指定采购方ISBN文件:"
  QPushButton* btnBuyerBrowse = nullptr;  // "浏览..."
  QLineEdit* edtSupplier = nullptr;       // "指定供应方ISBN文件:"
  QPushButton* btnSupplierBrowse = nullptr;
  QLineEdit* edtNew = nullptr;            // "输出采购方没有，供应商有的图书："
  QPushButton* btnNewSave = nullptr;      // "存为..."
  QLineEdit* edtCommon = nullptr;         // "输出双方都有的图书："
  QPushButton* btnCommonSave = nullptr;
  QPushButton* btnStart = nullptr;        // "开  始"
  QPlainTextEdit* memHelp = nullptr;      // "功能说明：" (read-only)

  void Start();
};
