#include "app/pages/IsbnCheckPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/pages/CheckOutputBox.h"
#include "app/qt_text.h"
#include "features/isbn_check.h"

LUMARIN_REGISTER_PAGE(IsbnCheckPage, "利用双方ISBN文件自动匹配查重")

namespace {

QGroupBox* FileGroup(const QString& caption, QLineEdit** edit, QPushButton** button, QWidget* parent) {
  auto* group = new QGroupBox(caption, parent);
  *edit = new QLineEdit(group);
  *button = new QPushButton(QStringLiteral("浏览..."), group);
  auto* row = new QHBoxLayout(group);
  row->addWidget(*edit, 1);
  row->addWidget(*button);
  return group;
}

const char kHelp[] =
    "\n　　1、\"浏览...\"指定采购方ISBN文件；\n"
    "　　2、\"浏览...\"指定供应方ISBN文件；\n"
    "　　3、\"存为...\"指定输出文件；\n"
    "　　4、\"开  始\"。\n\n"
    "　　提示一：如要得到采购方有而供应方没有的图书，把供应方的ISBN文件指定为采购方ISBN文件、"
    "把采购方的ISBN文件指定为供应方ISBN文件即可。\n"
    "　　提示二：ISBN文件中如有重复的条目，请先在\"数据去重\"中去重，使文件中的每一条都是唯一的。";

}  // namespace

IsbnCheckPage::IsbnCheckPage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  auto* buyer = FileGroup(QStringLiteral("指定采购方ISBN文件:"), &edtBuyer, &btnBuyerBrowse, this);
  auto* supplier = FileGroup(QStringLiteral("指定供应方ISBN文件:"), &edtSupplier, &btnSupplierBrowse, this);
  edtBuyer->setObjectName("edtBuyer");
  edtSupplier->setObjectName("edtSupplier");

  auto* output = new CheckOutputBox(QStringLiteral("输出:"), this);
  edtNew = output->edtNew;
  btnNewSave = output->btnNewSave;
  edtCommon = output->edtCommon;
  btnCommonSave = output->btnCommonSave;

  btnStart = new QPushButton(QStringLiteral("开  始"), this);
  btnStart->setObjectName("btnStart");
  auto* help = new QGroupBox(QStringLiteral("功能说明："), this);
  memHelp = new QPlainTextEdit(help);
  memHelp->setReadOnly(true);
  memHelp->setPlainText(QString::fromUtf8(kHelp));
  auto* helpLayout = new QVBoxLayout(help);
  helpLayout->addWidget(memHelp);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buyer);
  layout->addWidget(supplier);
  layout->addWidget(output);
  layout->addWidget(btnStart, 0, Qt::AlignHCenter);
  layout->addWidget(help, 1);

  connect(btnBuyerBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtBuyer, "*.txt", kTextFilter); });
  connect(btnSupplierBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtSupplier, "*.txt", kTextFilter); });
  connect(btnNewSave, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtNew, "*.txt", kTextFilter, QStringLiteral("txt")); });
  connect(btnCommonSave, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtCommon, "*.txt", kTextFilter, QStringLiteral("txt")); });
  connect(btnStart, &QPushButton::clicked, this, &IsbnCheckPage::Start);
}

void IsbnCheckPage::Start() {
  IsbnCheckSettings s;
  s.buyerFile = PathFromQ(edtBuyer->text());
  s.supplierFile = PathFromQ(edtSupplier->text());
  s.newFile = PathFromQ(edtNew->text());
  s.commonFile = PathFromQ(edtCommon->text());
  RunGuarded([&] {
    IsbnCheckReport report;
    RunIsbnCheck(env_.ctx, s, &report);
    if (report.clearBuyerFile) edtBuyer->clear();
    if (report.clearSupplierFile) edtSupplier->clear();
  });
}
