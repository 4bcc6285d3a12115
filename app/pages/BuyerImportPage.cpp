#include "app/pages/BuyerImportPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/pages/key_filters.h"
#include "app/qt_shell.h"
#include "app/qt_text.h"
#include "core/context.h"
#include "core/paths.h"
#include "data/MainDataUnit.h"
#include "features/buyer_import.h"
#include "features/page_progress.h"

LUMARIN_REGISTER_PAGE(BuyerImportPage, "导入采购方MARC数据")

namespace {

// The copies-field rule: three tag characters (digits or "-"), then one
// lower-case subfield code; a selection may always be typed over.
bool AcceptSpecKey(QLineEdit* field, QChar c) {
  if (field->hasSelectedText()) return true;
  const int n = static_cast<int>(field->text().size());
  if (n < 3) return (c >= '0' && c <= '9') || c == '-';
  return n == 3 && c >= 'a' && c <= 'z';
}

// The export's count label and bar on the page.
class ExportProgress : public PageProgress {
 public:
  ExportProgress(QLabel* label, QProgressBar* bar) : label_(label), bar_(bar) {}
  void Show(int64_t total) override {
    total_ = total;
    label_->setText(QStringLiteral("共 %1 条").arg(total));
    bar_->setValue(0);
    label_->show();
    bar_->show();
  }
  void SetPosition(int64_t position) override {
    bar_->setValue(total_ > 0 ? static_cast<int>(position * 100 / total_) : 0);
  }
  void Hide() override {
    label_->hide();
    bar_->hide();
  }

 private:
  QLabel* label_;
  QProgressBar* bar_;
  int64_t total_ = 0;
};

const char kHelp[] =
    "\n    1、\"浏览...\"指定采购方（图书馆）的MARC数据文件，\"导  入\"即将其中每条记录导入本系统数据库。\n"
    "    2、复本数：勾选\"初始复本数：\"，则每种导入的图书都以该数作为复本数；勾选\"指定复本字段：\"，"
    "则以该字段的值作为复本数（905f 通常记录复本数，也可按本馆习惯指定其他字段）；两项都不勾选，复本数为1。\n"
    "    3、\"导  出\"：输出本系统数据库中已导入数据的ISBN；数据库为空而指定了采购方MARC文件时，"
    "输出该MARC文件中的ISBN。";

}  // namespace

BuyerImportPage::BuyerImportPage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  edtFileName_Pn1_MARC = new QLineEdit(this);
  edtFileName_Pn1_MARC->setObjectName("edtFileName_Pn1_MARC");
  btnBrowse = new QPushButton(QStringLiteral("浏览..."), this);
  auto* input = new QHBoxLayout;
  input->addWidget(new QLabel(QStringLiteral("采购方MARC"), this));
  input->addWidget(edtFileName_Pn1_MARC, 1);
  input->addWidget(btnBrowse);
  lblStored = new QLabel(this);
  lblStored->setObjectName("lblStored");
  lblStored->hide();

  auto* options = new QWidget(this);
  BuildOptions(options);
  btnImport = new QPushButton(QStringLiteral("导  入"), this);
  btnImport->setObjectName("btnImport");

  auto* outputLabel = new QLabel(QStringLiteral("输出ISBN"), this);
  outputLabel->setStyleSheet(QStringLiteral("color: blue"));
  edtFileName_Pn1_ISBN = new QLineEdit(this);
  edtFileName_Pn1_ISBN->setObjectName("edtFileName_Pn1_ISBN");
  btnSaveAs = new QPushButton(QStringLiteral("存为..."), this);
  auto* output = new QHBoxLayout;
  output->addWidget(outputLabel);
  output->addWidget(edtFileName_Pn1_ISBN, 1);
  output->addWidget(btnSaveAs);
  btnExport = new QPushButton(QStringLiteral("导  出"), this);
  btnExport->setObjectName("btnExport");
  lblExportCount = new QLabel(this);
  prgExport = new QProgressBar(this);
  prgExport->setRange(0, 100);
  lblExportCount->hide();
  prgExport->hide();
  auto* progressRow = new QHBoxLayout;
  progressRow->addWidget(lblExportCount);
  progressRow->addWidget(prgExport, 1);

  auto* help = new QGroupBox(QStringLiteral("功能说明："), this);
  auto* helpText = new QPlainTextEdit(help);
  helpText->setReadOnly(true);
  helpText->setPlainText(QString::fromUtf8(kHelp));
  (new QVBoxLayout(help))->addWidget(helpText);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(input);
  layout->addWidget(lblStored);
  layout->addWidget(options);
  layout->addWidget(btnImport, 0, Qt::AlignHCenter);
  layout->addLayout(output);
  layout->addWidget(btnExport, 0, Qt::AlignHCenter);
  layout->addLayout(progressRow);
  layout->addWidget(help, 1);

  connect(btnBrowse, &QPushButton::clicked, this, [this] {
    PickOpenFile(edtFileName_Pn1_MARC, QStringLiteral("*.iso"), kMarcFilter);
    ShowStoredRows();
  });
  connect(edtFileName_Pn1_MARC, &QLineEdit::textChanged, this, &BuyerImportPage::MarcFileEdited);
  connect(btnSaveAs, &QPushButton::clicked, this, [this] {
    PickSaveFile(edtFileName_Pn1_ISBN, QString(), kTextOrMarcFilter, QStringLiteral("txt"));
  });
  connect(btnImport, &QPushButton::clicked, this, &BuyerImportPage::Import);
  connect(btnExport, &QPushButton::clicked, this, &BuyerImportPage::Export);
}

void BuyerImportPage::BuildOptions(QWidget* box) {
  chkInitialCopies = new QCheckBox(QStringLiteral("初始复本数："), box);
  edtInitialCopies = new QLineEdit(box);
  edtInitialCopies->setObjectName("edtInitialCopies");
  edtInitialCopies->setEnabled(false);
  AcceptCountKeys(edtInitialCopies);
  chkCopiesField = new QCheckBox(QStringLiteral("指定复本字段："), box);
  edtCopiesField = new QLineEdit(QStringLiteral("905f"), box);
  edtCopiesField->setObjectName("edtCopiesField");
  edtCopiesField->setEnabled(false);
  new KeyFilter(edtCopiesField, AcceptSpecKey);
  for (QLineEdit* e : {edtInitialCopies, edtCopiesField}) e->setFixedWidth(60);

  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(chkInitialCopies, 0, 0);
  grid->addWidget(edtInitialCopies, 0, 1);
  grid->addWidget(chkCopiesField, 1, 0);
  grid->addWidget(edtCopiesField, 1, 1);
  grid->setColumnStretch(2, 1);

  // At most one of the two options is ticked; each enables its own field.
  auto link = [](QCheckBox* self, QLineEdit* field, QCheckBox* other) {
    QObject::connect(self, &QCheckBox::toggled, field, [field, other](bool on) {
      field->setEnabled(on);
      if (on) other->setChecked(false);
    });
  };
  link(chkInitialCopies, edtInitialCopies, chkCopiesField);
  link(chkCopiesField, edtCopiesField, chkInitialCopies);
}

void BuyerImportPage::MarcFileEdited() {
  const QString name = edtFileName_Pn1_MARC->text().trimmed();
  if (name.isEmpty() || !FileExists(PathFromQ(edtFileName_Pn1_MARC->text()))) lblStored->hide();
}

void BuyerImportPage::ShowStoredRows() {
  RunGuarded([this] {
    lblStored->setText(ToQ(StoredRowsText(MainData(env_.ctx).RowCount(MainTable::Buyer))));
    lblStored->show();
  });
}

namespace {

BuyerImportSettings ReadSettings(const BuyerImportPage& page) {
  BuyerImportSettings s;
  s.marcFile = PathFromQ(page.edtFileName_Pn1_MARC->text());
  s.initialCopiesOn = page.chkInitialCopies->isChecked();
  s.initialCopies = FromQ(page.edtInitialCopies->text());
  s.copiesFieldOn = page.chkCopiesField->isChecked();
  s.copiesField = FromQ(page.edtCopiesField->text());
  s.isbnFile = PathFromQ(page.edtFileName_Pn1_ISBN->text());
  return s;
}

}  // namespace

void BuyerImportPage::Import() {
  const BuyerImportSettings settings = ReadSettings(*this);
  RunGuarded([&] { ImportBuyerData(env_.ctx, settings); });
}

void BuyerImportPage::Export() {
  const BuyerImportSettings settings = ReadSettings(*this);
  ExportProgress progress(lblExportCount, prgExport);
  RunGuarded([&] { ExportBuyerIsbns(env_.ctx, settings, &progress); });
}
