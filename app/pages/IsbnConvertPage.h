// "对ISBN列格式进行转换": rewrites ISBN/ISSN codes into one chosen form.
// The text-file panel converts the code at the start of every line of a
// list file (engine: features/isbn_convert.h).
#pragma once

#include "app/page.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;

class IsbnConvertPage : public LumarinPage {
  Q_OBJECT
 public:
  IsbnConvertPage(PageEnv& env, QWidget* parent);

  // Text panel "对ISBN文件进行格式转换：".
  QLineEdit* edtTxtSource = nullptr;     // "原始ISBN文件："
  QPushButton* btnTxtBrowse = nullptr;   // "浏览..."
  QLineEdit* edtTxtTarget = nullptr;     // "转换后ISBN文件："
  QPushButton* btnTxtSaveAs = nullptr;   // "存为..."
  QButtonGroup* radTxtForm = nullptr;    // target form, items 0-2
  QPushButton* btnTxtStart = nullptr;    // "开  始"

  void StartTextConversion();

 private:
  QGroupBox* BuildTextPanel();
};
