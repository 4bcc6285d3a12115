// "利用ISBN输出供应商MARC数据"
#pragma once

#include "app/page.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

class SupplierExtractPage : public LumarinPage {
  Q_OBJECT
 public:
  SupplierExtractPage(PageEnv& env, QWidget* parent);

  QLineEdit* edtFileName_Pn3_m1 = nullptr;    // the supplier's MARC file
  QLineEdit* edtFileName_Pn3_isbn = nullptr;  // the purchased ISBN list
  QLineEdit* edtFileName_Pn3_m2 = nullptr;    // the output MARC file
  QButtonGroup* radOrder = nullptr;           // "输出：" 0 MARC order, 1 ISBN order
  QPushButton* btnStart = nullptr;

  void Start();
};
