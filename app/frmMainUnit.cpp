#include "app/frmMainUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTreeWidget>

#include "app/qt_shell.h"
#include "core/clock.h"
#include "core/context.h"
#include "data/MainDataUnit.h"

namespace {

struct NavEntry {
  const char* group;
  const char* caption;
  const char* hint;
};

// The navigation bar, in order. An item appears when its page is built.
const NavEntry kNavigation[] = {
    {"现场采购", "导入采购方MARC数据", "导入采购方（图书馆）MARC数据"},
    {"现场采购", "现场采购", "边扫ISBN，边确认是否采购。"},
    {"现场采购", "利用ISBN输出供应商MARC数据", "利用ISBN输出供应商MARC数据"},
    {"现场采购", "现场采购数据维护", ""},
    {"双方数据自动查重(批查重)", "利用双方MARC数据自动匹配查重", ""},
    {"双方数据自动查重(批查重)", "利用双方ISBN文件自动匹配查重", ""},
    {"双方数据自动查重(批查重)", "利用双方EXCEL文件自动匹配查重", ""},
    {"常用数据处理", "从MARC数据中输出ISBN", ""},
    {"常用数据处理", "MARC转EXCEL", ""},
    {"常用数据处理", "EXCEL转MARC", ""},
    {"常用数据处理", "对MARC文件批量修改", ""},
    {"常用数据处理", "数据去重", ""},
    {"常用数据处理", "分割MARC文件", ""},
    {"常用数据处理", "合并ISO文件", ""},
    {"常用数据处理", "对ISBN列格式进行转换", ""},
    {"常用数据处理", "查看ISO文件", ""},
    {"常用数据处理", "书标打印", ""},
    {"系统", "首页", ""},
    {"系统", "CNMARC说明", ""},
    {"系统", "退出(E&xit)", ""},
};

const QString kHome = QStringLiteral("首页");
const QString kExit = QStringLiteral("退出(E&xit)");

QIcon IconFor(const QString& group, QStyle* style) {
  if (group == QStringLiteral("现场采购")) return style->standardIcon(QStyle::SP_FileDialogDetailedView);
  if (group.startsWith(QStringLiteral("双方"))) return style->standardIcon(QStyle::SP_FileDialogContentsView);
  if (group == QStringLiteral("常用数据处理")) return style->standardIcon(QStyle::SP_FileIcon);
  return style->standardIcon(QStyle::SP_ComputerIcon);
}

// The picture of the home page, drawn for the page's size.
class HomePicture : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(24, 74, 128));
    sky.setColorAt(1, QColor(126, 178, 221));
    p.fillRect(rect(), sky);
    // A row of book spines along the bottom.
    const QColor spines[] = {QColor(191, 64, 54), QColor(232, 178, 62), QColor(61, 133, 96), QColor(238, 236, 225),
                             QColor(84, 96, 160)};
    int x = 24, shelf = height() - 40;
    for (int i = 0;; ++i) {
      int w = 18 + (i * 7) % 15, h = 90 + (i * 37) % 70;
      if (x + w > width() - 24) break;
      p.fillRect(QRect(x, shelf - h, w, h), spines[i % 5]);
      p.fillRect(QRect(x + 3, shelf - h + 12, w - 6, 4), QColor(255, 255, 255, 90));
      x += w + 3;
    }
    p.fillRect(QRect(12, shelf, width() - 24, 10), QColor(92, 64, 40));
    QFont title = font();
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 40, width(), 60), Qt::AlignHCenter, QStringLiteral("Lumarin V3.0"));
    QFont sub = font();
    sub.setPixelSize(18);
    p.setFont(sub);
    p.drawText(QRect(0, 110, width(), 40), Qt::AlignHCenter, QStringLiteral("图书采访查重工具"));
  }
};

}  // namespace

TfrmMain::TfrmMain(const std::string& errorLogPath, const std::string& databasePath, QWidget* parent)
    : QMainWindow(parent) {
  setObjectName("frmMain");
  setWindowTitle(QStringLiteral("Lumarin V3.0"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  prgBar = new QProgressBar;
  prgBar->setObjectName("prgBar");
  prgBar->setFixedSize(366, 22);
  prgBar->setRange(0, 100);
  prgBar->hide();
  statusBar()->setFixedHeight(23);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addPermanentWidget(prgBar);

  clock_ = std::make_unique<SystemClock>();
  shell_ = std::make_unique<QtShell>(this, prgBar);
  ctx_ = std::make_unique<Context>(Context{*shell_, *clock_, errorLogPath, databasePath});
  env_ = std::make_unique<PageEnv>(PageEnv{*ctx_, *shell_});

  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  nav_ = new QTreeWidget(central);
  nav_->setObjectName("navBar");
  nav_->setFixedWidth(249);
  nav_->setHeaderHidden(true);
  nav_->setRootIsDecorated(false);
  nav_->setIndentation(8);
  nav_->setIconSize(QSize(16, 16));
  stack_ = new QStackedWidget(central);
  stack_->setObjectName("pageStack");
  layout->addWidget(nav_);
  layout->addWidget(stack_, 1);
  setCentralWidget(central);

  BuildNavigation();
  connect(nav_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Navigate(item); });
  ShowPage(kHome);

  setFixedSize(769, 598);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  // The local database is opened (created when missing) right after the
  // window. A failure is shown and the program starts all the same: the
  // pages that need the database try again when they are used.
  try {
    MainData(*ctx_);
  } catch (const std::exception& e) {
    shell_->ShowGeneralError(e.what());
  }
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildNavigation() {
  QTreeWidgetItem* group = nullptr;
  QString groupCaption;
  for (const NavEntry& e : kNavigation) {
    QString caption = QString::fromUtf8(e.caption);
    QWidget* page = nullptr;
    if (caption == kHome) {
      page = new HomePicture(stack_);
    } else if (caption != kExit) {
      PageFactory factory = FindPage(caption);
      if (!factory) continue;
      LumarinPage* built = factory(*env_, stack_);
      pageByCaption_.insert(caption, built);
      page = built;
    }
    if (page) {
      page->setObjectName(caption);
      stack_->addWidget(page);
      pageWidgets_.insert(caption, page);
    }
    if (!group || groupCaption != QString::fromUtf8(e.group)) {
      groupCaption = QString::fromUtf8(e.group);
      group = new QTreeWidgetItem(nav_, QStringList(groupCaption));
      group->setFlags(Qt::ItemIsEnabled);
      QFont bold = nav_->font();
      bold.setBold(true);
      group->setFont(0, bold);
      group->setExpanded(true);
    }
    auto* item = new QTreeWidgetItem(group, QStringList(caption));
    item->setIcon(0, caption == kExit ? style()->standardIcon(QStyle::SP_DialogCloseButton)
                                      : IconFor(groupCaption, style()));
    if (*e.hint) item->setToolTip(0, QString::fromUtf8(e.hint));
    if (caption == kExit) {
      QFont f = nav_->font();
      f.setBold(true);
      f.setItalic(true);
      item->setFont(0, f);
    }
  }
  nav_->expandAll();
}

QString TfrmMain::CurrentCaption() const { return stack_->currentWidget() ? stack_->currentWidget()->objectName() : QString(); }

QTreeWidgetItem* TfrmMain::NavItem(const QString& caption) const {
  for (int g = 0; g < nav_->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = nav_->topLevelItem(g);
    for (int i = 0; i < group->childCount(); ++i)
      if (group->child(i)->text(0) == caption) return group->child(i);
  }
  return nullptr;
}

void TfrmMain::Navigate(QTreeWidgetItem* item) {
  if (!item || !item->parent()) return;  // a group caption
  const QString caption = item->text(0);
  if (caption == kExit) {
    close();
    return;
  }
  bool switched = false;
  if (shell_->IsIdle() && pageWidgets_.contains(caption)) {
    stack_->setCurrentWidget(pageWidgets_.value(caption));
    switched = true;
  }
  nav_->clearSelection();
  item->setSelected(true);
  nav_->setCurrentItem(item);
  if (switched)
    if (LumarinPage* page = pageByCaption_.value(caption)) page->Activated();
}

void TfrmMain::ShowPage(const QString& caption) {
  if (!pageWidgets_.contains(caption)) return;
  stack_->setCurrentWidget(pageWidgets_.value(caption));
  if (QTreeWidgetItem* item = NavItem(caption)) {
    nav_->clearSelection();
    item->setSelected(true);
    nav_->setCurrentItem(item);
  }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (!shell_->IsIdle()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}
