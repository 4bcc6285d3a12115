#include "app/pages/DedupPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "app/pages/MatchRuleBox.h"
#include "app/qt_text.h"
#include "features/dedup.h"

LUMARIN_REGISTER_PAGE(DedupPage, "数据去重")

namespace {

// One "caption [field] [button]" row of a part.
void FileRow(QGridLayout* grid, int row, const QString& caption, QLineEdit** edit, QPushButton** button,
             const QString& buttonText, QWidget* parent) {
  *edit = new QLineEdit(parent);
  *button = new QPushButton(buttonText, parent);
  grid->addWidget(new QLabel(caption, parent), row, 0);
  grid->addWidget(*edit, row, 1);
  grid->addWidget(*button, row, 2);
}

}  // namespace

DedupPage::DedupPage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  auto* marc = new QGroupBox(QStringLiteral("对MARC文件去重："), this);
  auto* marcGrid = new QGridLayout(marc);
  FileRow(marcGrid, 0, QStringLiteral("原始MARC文件："), &edtMarcIn, &btnMarcBrowse, QStringLiteral("浏览..."), marc);
  FileRow(marcGrid, 1, QStringLiteral("去重后MARC文件："), &edtMarcOut, &btnMarcSave, QStringLiteral("存为..."), marc);
  rule = new MatchRuleBox(marc);
  marcGrid->addWidget(rule, 2, 0, 1, 3);
  btnMarcStart = new QPushButton(QStringLiteral("开  始"), marc);
  btnMarcStart->setObjectName("btnMarcStart");
  marcGrid->addWidget(btnMarcStart, 3, 0, 1, 3, Qt::AlignHCenter);
  edtMarcIn->setObjectName("edtMarcIn");
  edtMarcOut->setObjectName("edtMarcOut");

  auto* isbn = new QGroupBox(QStringLiteral("对ISBN文件去重："), this);
  auto* isbnGrid = new QGridLayout(isbn);
  FileRow(isbnGrid, 0, QStringLiteral("原始ISBN文件："), &edtIsbnIn, &btnIsbnBrowse, QStringLiteral("浏览..."), isbn);
  FileRow(isbnGrid, 1, QStringLiteral("去重后ISBN文件："), &edtIsbnOut, &btnIsbnSave, QStringLiteral("存为..."), isbn);
  edtIsbnIn->setToolTip(QStringLiteral("请指定原始ISBN文件"));
  edtIsbnIn->setObjectName("edtIsbnIn");
  edtIsbnOut->setObjectName("edtIsbnOut");
  btnIsbnStart = new QPushButton(QStringLiteral("开  始"), isbn);
  btnIsbnStart->setObjectName("btnIsbnStart");
  isbnGrid->addWidget(btnIsbnStart, 2, 0, 1, 3, Qt::AlignHCenter);

  auto* help = new QGroupBox(QStringLiteral("功能说明："), this);
  memHelp = new QPlainTextEdit(help);
  memHelp->setReadOnly(true);
  memHelp->setPlainText(QStringLiteral("\n　　数据去重，即把重复多余的数据记录去掉，以确保数据文件中所有记录都是\n不重复的。"));
  auto* helpLayout = new QVBoxLayout(help);
  helpLayout->addWidget(memHelp);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(marc);
  layout->addWidget(isbn);
  layout->addWidget(help, 1);

  connect(btnMarcBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtMarcIn, "*.iso", kMarcFilter); });
  connect(btnMarcSave, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtMarcOut, "*.iso", kIsoOnlyFilter, QStringLiteral("iso")); });
  connect(btnIsbnBrowse, &QPushButton::clicked, this, [this] { PickOpenFile(edtIsbnIn, "*.txt", kTextFilter); });
  connect(btnIsbnSave, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtIsbnOut, "*.txt", kTextFilter, QStringLiteral("txt")); });
  connect(btnMarcStart, &QPushButton::clicked, this, &DedupPage::StartMarc);
  connect(btnIsbnStart, &QPushButton::clicked, this, &DedupPage::StartIsbn);
}

void DedupPage::StartMarc() {
  MarcDedupSettings s;
  s.inputFile = PathFromQ(edtMarcIn->text());
  s.outputFile = PathFromQ(edtMarcOut->text());
  s.mode = rule->mode();
  s.fieldSpecList = rule->fieldSpecList();
  s.minimum = rule->minimum();
  RunGuarded([&] {
    MarcDedupReport report;
    RunMarcDedup(env_.ctx, s, &report);
    if (s.mode == MatchMode::Fields) rule->ShowFieldSpecList(s.fieldSpecList);
    if (report.focusFieldSpec) rule->edtFields->setFocus();
  });
}

void DedupPage::StartIsbn() {
  IsbnDedupSettings s;
  s.inputFile = PathFromQ(edtIsbnIn->text());
  s.outputFile = PathFromQ(edtIsbnOut->text());
  RunGuarded([&] {
    IsbnDedupReport report;
    RunIsbnDedup(env_.ctx, s, &report);
    if (report.hintAndClearInput) {
      QToolTip::showText(edtIsbnIn->mapToGlobal(QPoint(0, edtIsbnIn->height())), edtIsbnIn->toolTip(), edtIsbnIn);
      edtIsbnIn->clear();
    }
  });
}
