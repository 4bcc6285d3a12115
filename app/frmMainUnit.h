// The main window: the navigation bar of four groups on the left, the page
// stack, and the status bar with the progress bar.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <memory>

#include "app/page.h"

class QProgressBar;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QtShell;
class Clock;
struct Context;

class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  // `errorLogPath` and `databasePath` as the record reader and the local
  // database use them.
  TfrmMain(const std::string& errorLogPath, const std::string& databasePath, QWidget* parent = nullptr);
  ~TfrmMain() override;

  QtShell& shell() { return *shell_; }
  Context& context() { return *ctx_; }
  QTreeWidget* navigation() const { return nav_; }
  QStackedWidget* pages() const { return stack_; }
  QProgressBar* prgBar = nullptr;

  // The page whose caption is given, or null when it is not built.
  LumarinPage* Page(const QString& caption) const { return pageByCaption_.value(caption); }
  // The caption of the page shown now.
  QString CurrentCaption() const;
  // The navigation item with this caption, or null when it is not shown.
  QTreeWidgetItem* NavItem(const QString& caption) const;
  // What a click on a navigation item does (also for tests).
  void Navigate(QTreeWidgetItem* item);
  // Shows the page with this caption, as the viewer does for a file named
  // on the command line.
  void ShowPage(const QString& caption);

 protected:
  // While a job runs the window stays open: the job's files would be left
  // half written under a window that no longer exists.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildNavigation();
  QWidget* BuildHomePage();

  std::unique_ptr<Clock> clock_;
  std::unique_ptr<QtShell> shell_;
  std::unique_ptr<Context> ctx_;
  std::unique_ptr<PageEnv> env_;
  QTreeWidget* nav_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QMap<QString, QWidget*> pageWidgets_;
  QMap<QString, LumarinPage*> pageByCaption_;
};
