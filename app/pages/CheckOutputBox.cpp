#include "app/pages/CheckOutputBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* OutputLabel(const QString& text, bool bold, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setStyleSheet(bold ? QStringLiteral("color: blue; font-weight: bold;") : QStringLiteral("color: blue;"));
  return label;
}

}  // namespace

CheckOutputBox::CheckOutputBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
  edtNew = new QLineEdit(this);
  edtNew->setObjectName("edtNew");
  btnNewSave = new QPushButton(QStringLiteral("存为..."), this);
  edtCommon = new QLineEdit(this);
  edtCommon->setObjectName("edtCommon");
  btnCommonSave = new QPushButton(QStringLiteral("存为..."), this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(OutputLabel(QStringLiteral("输出采购方没有，供应商有的图书："), true, this), 0, 0, 1, 2);
  grid->addWidget(edtNew, 1, 0);
  grid->addWidget(btnNewSave, 1, 1);
  grid->addWidget(OutputLabel(QStringLiteral("输出双方都有的图书："), false, this), 2, 0, 1, 2);
  grid->addWidget(edtCommon, 3, 0);
  grid->addWidget(btnCommonSave, 3, 1);
}
