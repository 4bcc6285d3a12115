#include "app/pages/TallyMaintenancePage.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/pages/DbGridModel.h"
#include "app/pages/key_filters.h"
#include "app/qt_shell.h"
#include "app/qt_text.h"
#include "core/context.h"
#include "data/MainDataUnit.h"
#include "features/tally_maintenance.h"

LUMARIN_REGISTER_PAGE(TallyMaintenancePage, "现场采购数据维护")

namespace {

// "caption [field] 本 [button]" in the side panel.
QWidget* CountRow(QWidget* parent, const QString& caption, QLineEdit** field, QPushButton** button,
                  const QString& buttonText) {
  auto* box = new QWidget(parent);
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  v->addWidget(new QLabel(caption, box));
  auto* h = new QHBoxLayout;
  *field = new QLineEdit(box);
  (*field)->setFixedWidth(60);
  AcceptCountKeys(*field);
  *button = new QPushButton(buttonText, box);
  h->addWidget(*field);
  h->addWidget(new QLabel(QStringLiteral("本"), box));
  h->addWidget(*button);
  h->addStretch(1);
  v->addLayout(h);
  return box;
}

}  // namespace

TallyMaintenancePage::TallyMaintenancePage(PageEnv& env, QWidget* parent) : LumarinPage(env, parent) {
  auto database = [this]() -> TMainData& { return MainData(env_.ctx); };
  buyerModel = new DbGridModel(MainTable::Buyer, database, this);
  localeModel = new DbGridModel(MainTable::Locale, database, this);
  for (DbGridModel* m : {buyerModel, localeModel})
    m->onError = [this](const std::string& message) { env_.shell.ShowGeneralError(message); };

  tabs = new QTabWidget(this);
  tabs->setObjectName("tabs");
  tabs->addTab(BuildBuyerTab(), QStringLiteral("浏览采购方数据"));
  tabs->addTab(BuildLocaleTab(), QStringLiteral("浏览现采数据"));
  tabs->setCurrentIndex(1);
  connect(tabs, &QTabWidget::currentChanged, this, [this] { PostEdits(); });

  auto* help = new QPlainTextEdit(this);
  help->setReadOnly(true);
  help->setMaximumHeight(70);
  help->setPlainText(QStringLiteral(
      "    本页用于维护导入的采购方数据和现场采购数据：可浏览两表的数据，直接修改复本或采购数量（离开该行时保存），"
      "统一设置或增减数量，删除行，清空数据，并将现采结果导出为文本。"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs, 1);
  layout->addWidget(help);
  chooseTextFile = [this] { return PickTextFile(); };
}

QTableView* TallyMaintenancePage::MakeGrid(DbGridModel* model, const int widths[4]) {
  auto* grid = new QTableView(this);
  grid->setModel(model);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->verticalHeader()->setDefaultSectionSize(18);
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  for (int c = 0; c < 4; ++c)
    if (widths[c] > 0) grid->setColumnWidth(c, widths[c]);
  // A data grid writes a row's edits when the current row moves away.
  connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [model](const QModelIndex& current, const QModelIndex& previous) {
            if (current.row() != previous.row()) model->PostOrReport();
          });
  return grid;
}

QWidget* TallyMaintenancePage::BuildBuyerTab() {
  auto* tab = new QWidget(this);
  const int widths[4] = {36, 132, 75, 48};
  grdBuyer = MakeGrid(buyerModel, widths);
  grdBuyer->setObjectName("grdBuyer");
  auto* side = new QVBoxLayout;
  side->addWidget(CountRow(tab, QStringLiteral("将采购方复本重新设为："), &edtBuyerSet, &btnBuyerSet,
                           QStringLiteral("设置")));
  side->addWidget(CountRow(tab, QStringLiteral("将采购方复本统一增减："), &edtBuyerAdjust, &btnBuyerAdjust,
                           QStringLiteral("增减")));
  btnBuyerClear = new QPushButton(QStringLiteral("清空所有采购方数据"), tab);
  side->addWidget(btnBuyerClear);
  side->addStretch(1);
  auto* h = new QHBoxLayout(tab);
  h->addWidget(grdBuyer, 1);
  h->addLayout(side);

  const MainTable buyer = MainTable::Buyer;
  connect(btnBuyerSet, &QPushButton::clicked, this, [this, buyer] {
    RunOnTable(buyer, [&] { SetAllCounts(env_.ctx, buyer, FromQ(edtBuyerSet->text())); });
  });
  connect(btnBuyerAdjust, &QPushButton::clicked, this, [this, buyer] {
    RunOnTable(buyer, [&] { AdjustAllCounts(env_.ctx, buyer, FromQ(edtBuyerAdjust->text())); });
  });
  connect(btnBuyerClear, &QPushButton::clicked, this,
          [this, buyer] { RunOnTable(buyer, [&] { ClearAllRows(env_.ctx, buyer); }); });
  return tab;
}

QWidget* TallyMaintenancePage::BuildLocaleTab() {
  auto* tab = new QWidget(this);
  const int widths[4] = {36, 85, 0, 108};
  grdLocale = MakeGrid(localeModel, widths);
  grdLocale->setObjectName("grdLocale");
  localeButtons = new QVBoxLayout;
  localeButtons->addWidget(CountRow(tab, QStringLiteral("将采购数量重新设为："), &edtLocaleSet, &btnLocaleSet,
                                    QStringLiteral("设置")));
  localeButtons->addWidget(CountRow(tab, QStringLiteral("将采购数量统一增减："), &edtLocaleAdjust,
                                    &btnLocaleAdjust, QStringLiteral("增减")));
  btnDeleteRow = new QPushButton(QStringLiteral("<<删除当前行"), tab);
  btnDeleteZero = new QPushButton(QStringLiteral("删除所有数量为零的行"), tab);
  btnLocaleClear = new QPushButton(QStringLiteral("*清空所有现采数据"), tab);
  btnExportText = new QPushButton(QStringLiteral("导出文本 >>>"), tab);
  for (QPushButton* b : {btnDeleteRow, btnDeleteZero, btnLocaleClear, btnExportText}) localeButtons->addWidget(b);
  auto* side = new QVBoxLayout;
  side->addLayout(localeButtons);
  side->addStretch(1);
  auto* h = new QHBoxLayout(tab);
  h->addWidget(grdLocale, 1);
  h->addLayout(side);

  const MainTable locale = MainTable::Locale;
  connect(btnLocaleSet, &QPushButton::clicked, this, [this, locale] {
    RunOnTable(locale, [&] { SetAllCounts(env_.ctx, locale, FromQ(edtLocaleSet->text())); });
  });
  connect(btnLocaleAdjust, &QPushButton::clicked, this, [this, locale] {
    RunOnTable(locale, [&] { AdjustAllCounts(env_.ctx, locale, FromQ(edtLocaleAdjust->text())); });
  });
  connect(btnDeleteRow, &QPushButton::clicked, this, [this, locale] {
    const int row = grdLocale->currentIndex().isValid() ? grdLocale->currentIndex().row() : 0;
    PostEdits();
    const int64_t recno = localeModel->RecnoAt(row);
    RunOnTable(locale, [&] { DeleteCurrentTallyRow(env_.ctx, recno); }, row);
  });
  connect(btnDeleteZero, &QPushButton::clicked, this,
          [this, locale] { RunOnTable(locale, [&] { DeleteZeroCountRows(env_.ctx); }); });
  connect(btnLocaleClear, &QPushButton::clicked, this,
          [this, locale] { RunOnTable(locale, [&] { ClearAllRows(env_.ctx, locale); }); });
  connect(btnExportText, &QPushButton::clicked, this, &TallyMaintenancePage::ExportText);
  return tab;
}

void TallyMaintenancePage::PostEdits() {
  buyerModel->PostOrReport();
  localeModel->PostOrReport();
}

void TallyMaintenancePage::hideEvent(QHideEvent* event) {
  PostEdits();
  LumarinPage::hideEvent(event);
}

void TallyMaintenancePage::Activated() {
  PostEdits();
  RunGuarded([this] {
    buyerModel->Reload();
    localeModel->Reload();
  });
}

void TallyMaintenancePage::RunOnTable(MainTable table, const std::function<void()>& job, int row) {
  PostEdits();
  DbGridModel* model = table == MainTable::Buyer ? buyerModel : localeModel;
  QTableView* grid = table == MainTable::Buyer ? grdBuyer : grdLocale;
  RunGuarded(job);
  RunGuarded([&] { model->Reload(); });
  if (model->rowCount() > 0)
    grid->setCurrentIndex(model->index(std::min(row, model->rowCount() - 1), 0));
}

QString TallyMaintenancePage::PickTextFile() {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilter(ToQtFilter(kTextOrMarcFilter));
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void TallyMaintenancePage::ExportText() {
  PostEdits();
  RunGuarded([this] {
    if (TallyRowCount(env_.ctx) == 0) return;
    const QString path = chooseTextFile();
    if (path.isEmpty()) return;
    ExportTallyText(env_.ctx, PathFromQ(path));
  });
}
