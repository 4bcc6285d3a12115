#include "app/pages/IsbnConvertPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "features/isbn_convert.h"

LUMARIN_REGISTER_PAGE(IsbnConvertPage, "对ISBN列格式进行转换")

namespace {

// The three target forms, in item order (IsbnTargetForm).
QButtonGroup* AddFormChoice(QWidget* owner, QVBoxLayout* layout, const QString& objectName) {
  auto* group = new QButtonGroup(owner);
  group->setObjectName(objectName);
  const QString items[] = {QStringLiteral("转换为ISBN/ISSN带\"-\"格式（例：7-5006-3772-1）"),
                           QStringLiteral("转换为ISBN（10位）/ISSN（8位）"),
                           QStringLiteral("转换为13位EAN条形码")};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QRadioButton(items[i], owner);
    group->addButton(button, i);
    layout->addWidget(button);
  }
  group->button(0)->setChecked(true);
  return group;
}

}  // namespace

IsbnConvertPage::IsbnConvertPage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildTextPanel());
  layout->addStretch(1);
}

QGroupBox* IsbnConvertPage::BuildTextPanel() {
  auto* panel = new QGroupBox(QStringLiteral("对ISBN文件进行格式转换："), this);
  panel->setObjectName("grpTxt");
  edtTxtSource = new QLineEdit(panel);
  edtTxtSource->setObjectName("edtTxtSource");
  btnTxtBrowse = new QPushButton(QStringLiteral("浏览..."), panel);
  btnTxtBrowse->setObjectName("btnTxtBrowse");
  edtTxtTarget = new QLineEdit(panel);
  edtTxtTarget->setObjectName("edtTxtTarget");
  btnTxtSaveAs = new QPushButton(QStringLiteral("存为..."), panel);
  btnTxtSaveAs->setObjectName("btnTxtSaveAs");

  auto* files = new QGridLayout;
  files->addWidget(new QLabel(QStringLiteral("原始ISBN文件："), panel), 0, 0);
  files->addWidget(edtTxtSource, 0, 1);
  files->addWidget(btnTxtBrowse, 0, 2);
  files->addWidget(new QLabel(QStringLiteral("转换后ISBN文件："), panel), 1, 0);
  files->addWidget(edtTxtTarget, 1, 1);
  files->addWidget(btnTxtSaveAs, 1, 2);

  auto* forms = new QVBoxLayout;
  radTxtForm = AddFormChoice(panel, forms, QStringLiteral("radTxtForm"));

  btnTxtStart = new QPushButton(QStringLiteral("开  始"), panel);
  btnTxtStart->setObjectName("btnTxtStart");

  auto* column = new QVBoxLayout(panel);
  column->addLayout(files);
  column->addLayout(forms);
  column->addWidget(btnTxtStart, 0, Qt::AlignHCenter);

  connect(btnTxtBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtTxtSource, "*.txt", kTextFilter); });
  connect(btnTxtSaveAs, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtTxtTarget, "*.txt", kTextFilter, QStringLiteral("txt")); });
  connect(btnTxtStart, &QPushButton::clicked, this, &IsbnConvertPage::StartTextConversion);
  return panel;
}

void IsbnConvertPage::StartTextConversion() {
  IsbnTextConvertSettings settings;
  settings.sourceFile = PathFromQ(edtTxtSource->text());
  settings.targetFile = PathFromQ(edtTxtTarget->text());
  const int item = radTxtForm->checkedId();
  settings.form = item == 1 ? IsbnTargetForm::Plain : item == 2 ? IsbnTargetForm::Ean13 : IsbnTargetForm::Hyphenated;
  RunGuarded([&] {
    IsbnTextConvertReport report;
    RunIsbnTextConversion(env_.ctx, settings, &report);
    if (report.clearSourceFile) edtTxtSource->clear();
  });
}
