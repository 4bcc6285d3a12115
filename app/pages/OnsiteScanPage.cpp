#include "app/pages/OnsiteScanPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

#include "app/qt_text.h"
#include "core/alsa_beeper.h"
#include "core/beeper.h"
#include "core/text.h"
#include "features/page_progress.h"
#include "features/tally_maintenance.h"

LUMARIN_REGISTER_PAGE(OnsiteScanPage, "现场采购")

namespace {

// The panels: 16-pixel text on the window-caption colour.
const char* const kPanelStyle = "background-color: #0a246a; color: %1; font-size: 16px; padding: 2px 4px;";
const char* const kYellow = "#ffff00";
const char* const kTooltipBackground = "#ffffe1";

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

QLabel* RedLabel(QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("非法ISBN/ISSN"), parent);
  label->setStyleSheet(QStringLiteral("color: red; font-size: 13px;"));
  QSizePolicy keep = label->sizePolicy();
  keep.setRetainSizeWhenHidden(true);  // the fields do not jump when it shows
  label->setSizePolicy(keep);
  label->hide();
  return label;
}

}  // namespace

// Forwards the engine's tone to whichever beeper the page uses now.
class OnsiteScanPage::ToneRelay : public Beeper {
 public:
  void Tone(int hertz, int milliseconds) override {
    if (target) target->Tone(hertz, milliseconds);
  }
  Beeper* target = nullptr;
};

// The export group's count label and bar.
class OnsiteScanPage::ExportProgress : public PageProgress {
 public:
  ExportProgress(QLabel* label, QProgressBar* bar) : label_(label), bar_(bar) {}
  void Show(int64_t total) override {
    label_->setText(QStringLiteral("共 %1 条").arg(total));
    bar_->setRange(0, static_cast<int>(std::min<int64_t>(total, INT32_MAX)));
    bar_->setValue(0);
    label_->show();
    bar_->show();
  }
  void SetPosition(int64_t position) override {
    bar_->setValue(static_cast<int>(std::min<int64_t>(position, INT32_MAX)));
  }
  void Hide() override {
    label_->hide();
    bar_->hide();
  }

 private:
  QLabel* label_;
  QProgressBar* bar_;
};

TargetSpinBox::TargetSpinBox(QWidget* parent) : QSpinBox(parent) {
  setRange(1, 100);
  setSingleStep(1);
  setValue(1);
}

void TargetSpinBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      event->accept();  // would edit the number
      return;
    default:
      // Up/Down step by one, Page Up/Page Down by ten (as spin boxes do);
      // keys that type nothing (Tab, the arrows) behave as usual; typed
      // characters, pastes and cuts are refused.
      if (event->text().isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        QSpinBox::keyPressEvent(event);
      else
        event->accept();
  }
}

void TargetSpinBox::wheelEvent(QWheelEvent* event) { event->ignore(); }

OnsiteScanPage::OnsiteScanPage(PageEnv& env, QWidget* parent)
    : LumarinPage(env, parent), device_(std::make_unique<AlsaBeeper>()), relay_(std::make_unique<ToneRelay>()) {
  relay_->target = device_.get();
  scan_ = std::make_unique<OnsiteScan>(env_.ctx, *relay_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildSettings());
  tabs = new QTabWidget(this);
  tabs->setObjectName("tabs");
  tabs->addTab(BuildConfirmTab(), QStringLiteral("逐条确认模式"));
  tabs->addTab(BuildContinuousTab(), QStringLiteral("连续扫描模式"));
  tabs->addTab(BuildReminderTab(), QStringLiteral("简单提醒模式"));
  tabs->setCurrentIndex(0);
  layout->addWidget(tabs);
  layout->addWidget(BuildExportGroup());
  layout->addWidget(BuildHelp(), 1);
  Render();
  connect(tabs, &QTabWidget::currentChanged, this, [this] { FocusScanField(); });
}

OnsiteScanPage::~OnsiteScanPage() = default;

void OnsiteScanPage::SetBeeper(Beeper* beeper) { relay_->target = beeper; }

QWidget* OnsiteScanPage::BuildSettings() {
  auto* group = new QGroupBox(QStringLiteral("现采参数"), this);
  radConvert = new QButtonGroup(this);
  const QString captions[] = {QStringLiteral("转换为ISBN/ISSN带\"-\"符号格式查重"),
                              QStringLiteral("按ISBN（10位）/ISSN（8位）查重"),
                              QStringLiteral("不作任何转换进行查重")};
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < 3; ++i) {
    auto* item = new QRadioButton(captions[i], group);
    radConvert->addButton(item, i);
    grid->addWidget(item, i / 2, i % 2);  // two columns
  }
  radConvert->button(0)->setChecked(true);

  spePnl2 = new TargetSpinBox(group);
  spePnl2->setObjectName("spePnl2");
  chkRepeat = new QCheckBox(QStringLiteral("重复时"), group);
  chkRepeat->setObjectName("chkRepeat");
  chkNotRepeat = new QCheckBox(QStringLiteral("不重复时"), group);
  chkNotRepeat->setObjectName("chkNotRepeat");
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("已有数 + 采购 ="), group));
  row->addWidget(spePnl2);
  row->addSpacing(16);
  row->addWidget(new QLabel(QStringLiteral("是否发出声音提醒："), group));
  row->addWidget(chkRepeat);
  row->addWidget(chkNotRepeat);
  row->addStretch(1);
  grid->addLayout(row, 2, 0, 1, 2);
  return group;
}

QLineEdit* OnsiteScanPage::AddEntry(ScanField field, QWidget* parent) {
  static const char* const kNames[] = {"edtZTCG", "edtZTTC", "edtZTQR", "edtLXCG", "edtLXTC", "edtJD"};
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(kNames[static_cast<int>(field)]);
  edit->installEventFilter(this);
  fields_[static_cast<int>(field)] = edit;
  if (field != ScanField::edtZTQR) invalid_[static_cast<int>(field)] = RedLabel(parent);
  return edit;
}

QLabel* OnsiteScanPage::MakePanel(ScanPanel panel, QWidget* parent, bool tooltipColour) {
  static const char* const kNames[] = {"pnlZT1", "pnlZT2", "pnlEndingIsbn", "pnlResult", "pnlJD"};
  auto* label = new QLabel(parent);
  label->setObjectName(kNames[static_cast<int>(panel)]);
  label->setStyleSheet(QString::fromLatin1(kPanelStyle).arg(tooltipColour ? kTooltipBackground : kYellow));
  label->setMinimumHeight(30);
  QSizePolicy keep = label->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  label->setSizePolicy(keep);
  panels_[static_cast<int>(panel)] = label;
  return label;
}

// Two entry fields, each with its caption and its red label above it.
static QGridLayout* EntryPair(QWidget* tab, QLineEdit* buy, QLabel* buyInvalid, QLineEdit* remove,
                              QLabel* removeInvalid) {
  auto* grid = new QGridLayout;
  grid->addWidget(buyInvalid, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("采购ISBN/ISSN"), tab), 1, 0);
  grid->addWidget(buy, 1, 1);
  grid->addWidget(removeInvalid, 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("剔除ISBN/ISSN"), tab), 1, 2);
  grid->addWidget(remove, 1, 3);
  return grid;
}

QWidget* OnsiteScanPage::BuildConfirmTab() {
  auto* tab = new QWidget(this);
  edtZTCG = AddEntry(ScanField::edtZTCG, tab);
  edtZTTC = AddEntry(ScanField::edtZTTC, tab);

  pnlZT1 = MakePanel(ScanPanel::pnlZT1, tab);
  pnlZT1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* quantityPanel = new QWidget(tab);
  quantityPanel->setObjectName("pnlZT2");
  quantityPanel->setAttribute(Qt::WA_StyledBackground, true);
  quantityPanel->setStyleSheet(QStringLiteral("#pnlZT2 { background-color: #0a246a; }"
                                              "QLabel { color: #ffff00; font-size: 16px; }"));
  edtZTQR = AddEntry(ScanField::edtZTQR, quantityPanel);
  QFont bold = edtZTQR->font();
  bold.setBold(true);
  edtZTQR->setFont(bold);
  edtZTQR->setFixedWidth(60);
  auto* quantityRow = new QHBoxLayout(quantityPanel);
  quantityRow->setContentsMargins(4, 2, 4, 2);
  quantityRow->addWidget(edtZTQR);
  quantityRow->addWidget(new QLabel(QStringLiteral("本。"), quantityPanel));
  QSizePolicy keep = quantityPanel->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  quantityPanel->setSizePolicy(keep);
  pnlZT2 = quantityPanel;
  panels_[static_cast<int>(ScanPanel::pnlZT2)] = quantityPanel;

  auto* answer = new QHBoxLayout;
  answer->setSpacing(0);
  answer->addWidget(pnlZT1, 1);
  answer->addWidget(pnlZT2);
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(EntryPair(tab, edtZTCG, InvalidLabel(ScanField::edtZTCG), edtZTTC,
                              InvalidLabel(ScanField::edtZTTC)));
  layout->addLayout(answer);
  layout->addStretch(1);
  return tab;
}

QWidget* OnsiteScanPage::BuildContinuousTab() {
  auto* tab = new QWidget(this);
  edtLXCG = AddEntry(ScanField::edtLXCG, tab);
  edtLXTC = AddEntry(ScanField::edtLXTC, tab);
  pnlEndingIsbn = MakePanel(ScanPanel::pnlEndingIsbn, tab);
  pnlResult = MakePanel(ScanPanel::pnlResult, tab, true);
  auto* answer = new QHBoxLayout;
  answer->setSpacing(0);
  answer->addWidget(pnlEndingIsbn, 1);
  answer->addWidget(pnlResult, 2);
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(EntryPair(tab, edtLXCG, InvalidLabel(ScanField::edtLXCG), edtLXTC,
                              InvalidLabel(ScanField::edtLXTC)));
  layout->addLayout(answer);
  layout->addStretch(1);
  return tab;
}

QWidget* OnsiteScanPage::BuildReminderTab() {
  auto* tab = new QWidget(this);
  edtJD = AddEntry(ScanField::edtJD, tab);
  pnlJD = MakePanel(ScanPanel::pnlJD, tab);
  auto* grid = new QGridLayout;
  grid->addWidget(InvalidLabel(ScanField::edtJD), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("采购ISBN/ISSN"), tab), 1, 0);
  grid->addWidget(edtJD, 1, 1);
  grid->setColumnStretch(2, 1);
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(grid);
  layout->addWidget(pnlJD);
  layout->addStretch(1);
  return tab;
}

QWidget* OnsiteScanPage::BuildExportGroup() {
  auto* group = new QGroupBox(QStringLiteral("将现采结果输出"), this);
  auto* caption = new QLabel(QStringLiteral("ISBN文件"), group);
  caption->setStyleSheet(QStringLiteral("color: blue;"));
  edtFileName_Pn2_ISBN = new QLineEdit(group);
  edtFileName_Pn2_ISBN->setObjectName("edtFileName_Pn2_ISBN");
  btnSaveAs = new QPushButton(QStringLiteral("存为..."), group);
  btnExport = new QPushButton(QStringLiteral("导出"), group);
  btnExport->setObjectName("btnExport");
  chkPnl23 = new QCheckBox(QStringLiteral("带复本输出"), group);
  chkPnl23->setObjectName("chkPnl23");
  lblExportCount = new QLabel(group);
  prgExport = new QProgressBar(group);
  lblExportCount->hide();
  prgExport->hide();

  auto* grid = new QGridLayout(group);
  grid->addWidget(caption, 0, 0);
  grid->addWidget(edtFileName_Pn2_ISBN, 0, 1);
  grid->addWidget(btnSaveAs, 0, 2);
  grid->addWidget(btnExport, 0, 3);
  grid->addWidget(chkPnl23, 1, 1);
  grid->addWidget(lblExportCount, 1, 2);
  grid->addWidget(prgExport, 1, 3);
  exportProgress_ = std::make_unique<ExportProgress>(lblExportCount, prgExport);

  connect(btnSaveAs, &QPushButton::clicked, this,
          [this] { PickSaveFile(edtFileName_Pn2_ISBN, QString(), kTextOrMarcFilter, QStringLiteral("txt")); });
  connect(btnExport, &QPushButton::clicked, this, &OnsiteScanPage::Export);
  return group;
}

QWidget* OnsiteScanPage::BuildHelp() {
  auto* help = new QGroupBox(QStringLiteral("功能说明："), this);
  auto* text = new QPlainTextEdit(help);
  text->setReadOnly(true);
  text->setPlainText(QStringLiteral(
      "    采购方MARC数据中的ISBN通常带有\"-\"符号，而条码枪扫入的是不带符号的数字，所以默认"
      "\"转换为ISBN/ISSN带\"-\"符号格式查重\"。若导入的数据不带\"-\"，请选\"按ISBN（10位）/ISSN（8位）查重\"。\n"
      "    \"已有数 + 采购 =\"是每种书希望达到的总册数，程序据此算出应采购的册数。\n"
      "    逐条确认模式：扫描后显示已有、已采购册数和建议采购数，回车确认（可改数量，0为不采购）。\n"
      "    连续扫描模式：扫描后立即按建议册数采购。\n"
      "    简单提醒模式：只提示是否已有，不记录采购。\n"
      "    扫入\"剔除ISBN/ISSN\"栏可删除误采的该ISBN的采购数据。采购数据随扫随存，中断不会丢失。"));
  auto* layout = new QVBoxLayout(help);
  layout->addWidget(text);
  return help;
}

OnsiteScanSettings OnsiteScanPage::ReadSettings() const {
  OnsiteScanSettings s;
  s.conversion = static_cast<ScanConversion>(std::clamp(radConvert->checkedId(), 0, 2));
  s.target = spePnl2->value();
  s.soundHeld = chkRepeat->isChecked();
  s.soundNew = chkNotRepeat->isChecked();
  return s;
}

bool OnsiteScanPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return LumarinPage::eventFilter(watched, event);
  int index = 0;
  while (index < kScanFieldCount && fields_[index] != watched) ++index;
  if (index == kScanFieldCount) return LumarinPage::eventFilter(watched, event);
  const ScanField field = static_cast<ScanField>(index);
  auto* key = static_cast<QKeyEvent*>(event);
  if (field != ScanField::edtZTQR) {
    scan_->KeyPressed(field);
    invalid_[index]->setVisible(scan_->view().isInvalid(field));
  }
  if (IsEnter(key)) {
    EnterPressed(field);
    return true;
  }
  if (field == ScanField::edtZTQR) {
    // Only digits and backspace are typed into the quantity; keys that type
    // nothing (arrows, Delete, Tab) move and edit as usual.
    switch (key->key()) {
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
      case Qt::Key_Delete:
      case Qt::Key_Escape:
        return false;
      default:
        break;
    }
    const QString text = key->text();
    if (!text.isEmpty() && !OnsiteScan::IsQuantityKey(text[0].unicode())) return true;
  }
  return false;
}

void OnsiteScanPage::EnterPressed(ScanField field) {
  const OnsiteScanSettings settings = ReadSettings();
  const std::string text = FromQ(Field(field)->text());
  bool acted = true;  // an error part way still changed the view
  RunGuarded([&] { acted = scan_->Enter(settings, field, text); });
  if (!acted) return;
  Render();
  QLineEdit* focus = Field(scan_->view().focus);
  focus->setFocus(Qt::OtherFocusReason);
  if (scan_->view().focusSelected)
    focus->selectAll();
  else
    focus->deselect();
}

void OnsiteScanPage::Render() {
  const OnsiteScanView& v = scan_->view();
  for (int p = 0; p < kScanPanelCount; ++p) {
    if (auto* label = qobject_cast<QLabel*>(panels_[p])) label->setText(ToQ(v.panels[p].text));
    panels_[p]->setVisible(v.panels[p].visible);
  }
  for (int f = 0; f < kScanFieldCount; ++f)
    if (invalid_[f]) invalid_[f]->setVisible(v.invalid[f]);
  for (ScanField f : v.changedFields) Field(f)->setText(ToQ(v.field(f)));
}

void OnsiteScanPage::Activated() { FocusScanField(); }

// The scanner types into the focused field: the tab's purchase field (or
// the quantity while a suggestion waits) takes the focus.
void OnsiteScanPage::FocusScanField() {
  QLineEdit* target = edtZTCG;
  if (tabs->currentIndex() == 1) target = edtLXCG;
  if (tabs->currentIndex() == 2) target = edtJD;
  if (tabs->currentIndex() == 0 && scan_->AwaitingQuantity()) target = edtZTQR;
  target->setFocus(Qt::OtherFocusReason);
  target->selectAll();
}

void OnsiteScanPage::Export() {
  TallyExportSettings settings;
  settings.isbnFile = PathFromQ(edtFileName_Pn2_ISBN->text());
  settings.withCopies = chkPnl23->isChecked();
  RunGuarded([&] { ExportTally(env_.ctx, settings, exportProgress_.get()); });
}
