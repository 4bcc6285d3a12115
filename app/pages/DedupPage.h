// "数据去重": the MARC part and the ISBN part, each with its own start button.
#pragma once

#include "app/page.h"

class MatchRuleBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class DedupPage : public LumarinPage {
  Q_OBJECT
 public:
  DedupPage(PageEnv& env, QWidget* parent);

  // "对MARC文件去重："
  QLineEdit* edtMarcIn = nullptr;         // "原始MARC文件："
  QPushButton* btnMarcBrowse = nullptr;   // "浏览..."
  QLineEdit* edtMarcOut = nullptr;        // "去重后MARC文件："
  QPushButton* btnMarcSave = nullptr;     // "存为..."
  MatchRuleBox* rule = nullptr;
  QPushButton* btnMarcStart = nullptr;    // "开  始"
  // "对ISBN文件去重："
  QLineEdit* edtIsbnIn = nullptr;         // "原始ISBN文件：" (hint "请指定原始ISBN文件")
  QPushButton* btnIsbnBrowse = nullptr;
  QLineEdit* edtIsbnOut = nullptr;        // "去重后ISBN文件："
  QPushButton* btnIsbnSave = nullptr;
  QPushButton* btnIsbnStart = nullptr;    // "开  始"
  QPlainTextEdit* memHelp = nullptr;      // "功能说明："

  void StartMarc();
  void StartIsbn();
};
