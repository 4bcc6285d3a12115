#include "app/pages/SupplierExtractPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "features/supplier_extract.h"

LUMARIN_REGISTER_PAGE(SupplierExtractPage, "利用ISBN输出供应商MARC数据")

SupplierExtractPage::SupplierExtractPage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  auto* inputs = new QGridLayout;
  edtFileName_Pn3_m1 = new QLineEdit(this);
  edtFileName_Pn3_m1->setObjectName("edtFileName_Pn3_m1");
  auto* browseMarc = new QPushButton(QStringLiteral("浏览..."), this);
  edtFileName_Pn3_isbn = new QLineEdit(this);
  edtFileName_Pn3_isbn->setObjectName("edtFileName_Pn3_isbn");
  auto* browseList = new QPushButton(QStringLiteral("浏览..."), this);
  inputs->addWidget(new QLabel(QStringLiteral("供应商的MARC文件路径："), this), 0, 0, 1, 2);
  inputs->addWidget(edtFileName_Pn3_m1, 1, 0);
  inputs->addWidget(browseMarc, 1, 1);
  inputs->addWidget(new QLabel(QStringLiteral("要采购的ISBN文件路径："), this), 2, 0, 1, 2);
  inputs->addWidget(edtFileName_Pn3_isbn, 3, 0);
  inputs->addWidget(browseList, 3, 1);

  auto* output = new QGroupBox(QStringLiteral("输出："), this);
  radOrder = new QButtonGroup(this);
  auto* byMarc = new QRadioButton(QStringLiteral("按MARC文件顺序"), output);
  auto* byList = new QRadioButton(QStringLiteral("按ISBN文件顺序"), output);
  radOrder->addButton(byMarc, 0);
  radOrder->addButton(byList, 1);
  byMarc->setChecked(true);
  auto* outLabel = new QLabel(QStringLiteral("要输出的MARC文件："), output);
  outLabel->setStyleSheet(QStringLiteral("color: blue;"));
  edtFileName_Pn3_m2 = new QLineEdit(output);
  edtFileName_Pn3_m2->setObjectName("edtFileName_Pn3_m2");
  auto* saveAs = new QPushButton(QStringLiteral("存为..."), output);
  auto* outGrid = new QGridLayout(output);
  outGrid->addWidget(byMarc, 0, 0);
  outGrid->addWidget(byList, 0, 1);
  outGrid->addWidget(outLabel, 1, 0, 1, 2);
  outGrid->addWidget(edtFileName_Pn3_m2, 2, 0);
  outGrid->addWidget(saveAs, 2, 1);

  btnStart = new QPushButton(QStringLiteral("开  始"), this);
  auto* help = new QGroupBox(QStringLiteral("功能说明："), this);
  auto* helpText = new QPlainTextEdit(help);
  helpText->setReadOnly(true);
  helpText->setPlainText(QStringLiteral(
      "\n    1.\"浏览\"指定供应商的MARC文件；\n    2.\"浏览\"指定本次要采购的ISBN文件（如\"现场采购数据维护\"导出的文本）；\n"
      "    3.选择输出顺序，\"存为\"指定要输出的MARC文件；\n    4.\"开始\"，即可输出供应商的MARC数据。"));
  (new QVBoxLayout(help))->addWidget(helpText);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(inputs);
  layout->addWidget(output);
  layout->addWidget(btnStart, 0, Qt::AlignHCenter);
  layout->addWidget(help, 1);

  connect(browseMarc, &QPushButton::clicked, this, [this] { PickOpenFile(edtFileName_Pn3_m1, "*.iso", kMarcFilter); });
  connect(browseList, &QPushButton::clicked, this,
          [this] { PickOpenFile(edtFileName_Pn3_isbn, "*.txt", kTextOrMarcFilter); });
  connect(saveAs, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtFileName_Pn3_m2, "*.iso", kMarcFilter, QStringLiteral("iso")); });
  connect(btnStart, &QPushButton::clicked, this, &SupplierExtractPage::Start);
}

void SupplierExtractPage::Start() {
  SupplierExtractSettings s;
  s.supplierFile = PathFromQ(edtFileName_Pn3_m1->text());
  s.isbnFile = PathFromQ(edtFileName_Pn3_isbn->text());
  s.order = radOrder->checkedId() == 1 ? 1 : 0;
  s.outputFile = PathFromQ(edtFileName_Pn3_m2->text());
  RunGuarded([&] { RunSupplierExtract(env_.ctx, s); });
}
