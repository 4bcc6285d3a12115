#include "app/pages/IsbnListPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "features/isbn_list.h"

LUMARIN_REGISTER_PAGE(IsbnListPage, "从MARC数据中输出ISBN")

IsbnListPage::IsbnListPage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  edtMarcFile = new QLineEdit(this);
  edtMarcFile->setObjectName("edtMarcFile");
  btnBrowse = new QPushButton(QStringLiteral("浏览..."), this);
  auto* input = new QHBoxLayout;
  input->addWidget(new QLabel(QStringLiteral("MARC文件"), this));
  input->addWidget(edtMarcFile, 1);
  input->addWidget(btnBrowse);

  auto* output = new QGroupBox(QStringLiteral("输出："), this);
  edtIsbnFile = new QLineEdit(output);
  edtIsbnFile->setObjectName("edtIsbnFile");
  btnSaveAs = new QPushButton(QStringLiteral("另存..."), output);
  auto* outputRow = new QHBoxLayout(output);
  outputRow->addWidget(new QLabel(QStringLiteral("ISBN文件"), output));
  outputRow->addWidget(edtIsbnFile, 1);
  outputRow->addWidget(btnSaveAs);

  auto* options = new QGroupBox(QStringLiteral("输出选项:"), this);
  options->setObjectName("radIsbn");
  radIsbn = new QButtonGroup(this);
  auto* asIs = new QRadioButton(QStringLiteral("按在MARC数据中的原样输出（例：7-5006-3772-1）"), options);
  auto* stripped = new QRadioButton(QStringLiteral("将\"-\"号去除后输出（例：7500637721）"), options);
  radIsbn->addButton(asIs, 0);
  radIsbn->addButton(stripped, 1);
  asIs->setChecked(true);
  auto* optionRows = new QVBoxLayout(options);
  optionRows->addWidget(asIs);
  optionRows->addWidget(stripped);

  btnStart = new QPushButton(QStringLiteral("开  始"), this);
  btnStart->setObjectName("btnStart");

  auto* help = new QGroupBox(QStringLiteral("功能说明："), this);
  auto* helpText = new QPlainTextEdit(help);
  helpText->setReadOnly(true);
  helpText->setPlainText(QStringLiteral("\n    \"浏览\"指定\"MARC文件\"，指定\"另存\"输出的\"ISBN文件\"，选择输出选项，\n"
                                        "然后\"开始\"。即可从MARC数据中输出ISBN。"));
  auto* helpLayout = new QVBoxLayout(help);
  helpLayout->addWidget(helpText);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(input);
  layout->addWidget(output);
  layout->addWidget(options);
  layout->addWidget(btnStart, 0, Qt::AlignHCenter);
  layout->addWidget(help, 1);

  connect(btnBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtMarcFile, "*.iso", kMarcFilter); });
  connect(btnSaveAs, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtIsbnFile, "*.txt", kTextFilter, QStringLiteral("txt")); });
  connect(btnStart, &QPushButton::clicked, this, &IsbnListPage::Start);
}

void IsbnListPage::Start() {
  IsbnListSettings settings;
  settings.marcFile = PathFromQ(edtMarcFile->text());
  settings.isbnFile = PathFromQ(edtIsbnFile->text());
  settings.outputOption = radIsbn->checkedId() == 1 ? 1 : 0;
  RunGuarded([&] {
    IsbnListReport report;
    RunIsbnList(env_.ctx, settings, &report);
    if (report.clearMarcFile) edtMarcFile->clear();
  });
}
