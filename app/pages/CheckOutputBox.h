// The output group shared by the two duplicate-check pages: the new-titles
// file ("输出采购方没有，供应商有的图书：") and the common-titles file
// ("输出双方都有的图书："), each with its "存为..." button.
#pragma once

#include <QGroupBox>

class QLineEdit;
class QPushButton;

class CheckOutputBox : public QGroupBox {
  Q_OBJECT
 public:
  CheckOutputBox(const QString& caption, QWidget* parent);

  QLineEdit* edtNew = nullptr;
  QPushButton* btnNewSave = nullptr;
  QLineEdit* edtCommon = nullptr;
  QPushButton* btnCommonSave = nullptr;
};
