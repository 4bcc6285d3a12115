// "从MARC数据中输出ISBN"
#pragma once

#include "app/page.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

class IsbnListPage : public LumarinPage {
  Q_OBJECT
 public:
  IsbnListPage(PageEnv& env, QWidget* parent);

  QLineEdit* edtMarcFile = nullptr;  // "MARC文件"
  QLineEdit* edtIsbnFile = nullptr;  // "ISBN文件"
  QPushButton* btnBrowse = nullptr;  // "浏览..."
  QPushButton* btnSaveAs = nullptr;  // "另存..."
  QButtonGroup* radIsbn = nullptr;   // "输出选项:" items 0 and 1
  QPushButton* btnStart = nullptr;   // "开  始"

  void Start();
};
