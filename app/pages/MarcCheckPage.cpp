#include "app/pages/MarcCheckPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/pages/MatchRuleBox.h"
#include "app/pages/CheckOutputBox.h"
#include "app/qt_text.h"
#include "features/marc_check.h"

LUMARIN_REGISTER_PAGE(MarcCheckPage, "利用双方MARC数据自动匹配查重")

MarcCheckPage::MarcCheckPage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  auto* supplier = new QGroupBox(QStringLiteral("指定供应商数据源(MARC文件)"), this);
  edtSupplier = new QLineEdit(supplier);
  edtSupplier->setObjectName("edtSupplier");
  btnSupplierBrowse = new QPushButton(QStringLiteral("浏览..."), supplier);
  auto* supplierRow = new QHBoxLayout(supplier);
  supplierRow->addWidget(edtSupplier, 1);
  supplierRow->addWidget(btnSupplierBrowse);

  auto* buyer = new QGroupBox(QStringLiteral("指定采购方数据源"), this);
  radBuyer = new QButtonGroup(this);
  auto* fromTable = new QRadioButton(QStringLiteral("使用“现场采购”模块导入的采购方MARC数据作为数据源"), buyer);
  auto* fromFile = new QRadioButton(QStringLiteral("使用指定的MARC文件作为数据源"), buyer);
  radBuyer->addButton(fromTable, 0);
  radBuyer->addButton(fromFile, 1);
  edtBuyer = new QLineEdit(buyer);
  edtBuyer->setObjectName("edtBuyer");
  btnBuyerBrowse = new QPushButton(QStringLiteral("浏览..."), buyer);
  edtBuyer->setEnabled(false);
  btnBuyerBrowse->setEnabled(false);
  auto* buyerFileRow = new QHBoxLayout;
  buyerFileRow->addWidget(edtBuyer, 1);
  buyerFileRow->addWidget(btnBuyerBrowse);
  auto* buyerRows = new QVBoxLayout(buyer);
  buyerRows->addWidget(fromTable);
  buyerRows->addWidget(fromFile);
  buyerRows->addLayout(buyerFileRow);

  auto* ruleGroup = new QGroupBox(QStringLiteral("查重规则"), this);
  rule = new MatchRuleBox(ruleGroup);
  radSide = new QButtonGroup(this);
  auto* byBuyer = new QRadioButton(QStringLiteral("以采购方为准"), ruleGroup);
  auto* bySupplier = new QRadioButton(QStringLiteral("以供应方为准"), ruleGroup);
  radSide->addButton(byBuyer, 0);
  radSide->addButton(bySupplier, 1);
  byBuyer->setChecked(true);
  auto* sideRow = new QHBoxLayout;
  sideRow->addWidget(byBuyer);
  sideRow->addWidget(bySupplier);
  sideRow->addStretch(1);
  auto* ruleRows = new QVBoxLayout(ruleGroup);
  ruleRows->addWidget(rule);
  ruleRows->addLayout(sideRow);

  auto* output = new CheckOutputBox(QStringLiteral("输出(MARC)："), this);
  edtNew = output->edtNew;
  btnNewSave = output->btnNewSave;
  edtCommon = output->edtCommon;
  btnCommonSave = output->btnCommonSave;

  btnStart = new QPushButton(QStringLiteral("开  始"), this);
  btnStart->setObjectName("btnStart");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(supplier);
  layout->addWidget(buyer);
  layout->addWidget(ruleGroup);
  layout->addWidget(output);
  layout->addWidget(btnStart, 0, Qt::AlignHCenter);
  layout->addStretch(1);

  connect(btnSupplierBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtSupplier, "*.iso", kMarcFilter); });
  connect(btnBuyerBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtBuyer, "*.iso", kMarcFilter); });
  connect(btnNewSave, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtNew, "*.iso", kMarcFilter, QStringLiteral("iso")); });
  connect(btnCommonSave, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtCommon, "*.iso", kMarcFilter, QStringLiteral("iso")); });
  connect(radBuyer, &QButtonGroup::idClicked, this, &MarcCheckPage::BuyerSourceChosen);
  connect(btnStart, &QPushButton::clicked, this, &MarcCheckPage::Start);
}

void MarcCheckPage::BuyerSourceChosen(int item) {
  const bool file = item == 1;
  edtBuyer->setEnabled(file);
  btnBuyerBrowse->setEnabled(file);
  if (file) return;
  RunGuarded([&] {
    if (ConfirmBuyerSource(env_.ctx, BuyerSource::Database) == BuyerSource::File) {
      radBuyer->button(1)->setChecked(true);
      BuyerSourceChosen(1);
    }
  });
}

void MarcCheckPage::Start() {
  MarcCheckSettings s;
  const int item = radBuyer->checkedId();
  s.buyerSource = item == 0 ? BuyerSource::Database : item == 1 ? BuyerSource::File : BuyerSource::None;
  s.buyerFile = PathFromQ(edtBuyer->text());
  s.supplierFile = PathFromQ(edtSupplier->text());
  s.mode = rule->mode();
  s.fieldSpecList = rule->fieldSpecList();
  s.minimum = rule->minimum();
  s.newTitlesFile = PathFromQ(edtNew->text());
  s.commonTitlesFile = PathFromQ(edtCommon->text());
  s.commonSide = radSide->checkedId() == 1 ? CommonSide::Supplier : CommonSide::Buyer;
  RunGuarded([&] {
    MarcCheckReport report;
    RunMarcCheck(env_.ctx, s, &report);
    if (s.mode == MatchMode::Fields) rule->ShowFieldSpecList(s.fieldSpecList);
    if (report.focusFieldSpec) rule->edtFields->setFocus();
  });
}
