// "利用双方MARC数据自动匹配查重"
#pragma once

#include "app/page.h"

class MatchRuleBox;
class QButtonGroup;
class QLineEdit;
class QPushButton;

class MarcCheckPage : public LumarinPage {
  Q_OBJECT
 public:
  MarcCheckPage(PageEnv& env, QWidget* parent);

  QLineEdit* edtSupplier = nullptr;          // "指定供应商数据源(MARC文件)"
  QPushButton* btnSupplierBrowse = nullptr;  // "浏览..."
  QButtonGroup* radBuyer = nullptr;          // "指定采购方数据源": items 0 (table buyer), 1 (file); none at first
  QLineEdit* edtBuyer = nullptr;             // the buyer file (enabled for item 1 only)
  QPushButton* btnBuyerBrowse = nullptr;     // "浏览..."
  MatchRuleBox* rule = nullptr;              // the rule choice, spec and minimum
  QButtonGroup* radSide = nullptr;           // 0 "以采购方为准" (default), 1 "以供应方为准"
  QLineEdit* edtNew = nullptr;               // "输出采购方没有，供应商有的图书："
  QPushButton* btnNewSave = nullptr;         // "存为..."
  QLineEdit* edtCommon = nullptr;            // "输出双方都有的图书："
  QPushButton* btnCommonSave = nullptr;      // "存为..."
  QPushButton* btnStart = nullptr;           // "开  始"

  void Start();

 private:
  void BuyerSourceChosen(int item);
};
