// The main window: caption, size, navigation bar, busy state, error display.
#include <QMessageBox>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/qt_shell.h"
#include "gui_support.h"

class TestMainWindow : public QObject {
  Q_OBJECT
 private slots:
  void captionSizeAndStartPage() {
    TestWindow w;
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Lumarin V3.0"));
    QCOMPARE(w.window->size(), QSize(769, 598));
    QCOMPARE(w.window->CurrentCaption(), QStringLiteral("首页"));
    QCOMPARE(w.window->navigation()->width(), 249);
    QVERIFY(!w.window->prgBar->isVisible());
    QCOMPARE(w.window->prgBar->size(), QSize(366, 22));
  }

  void navigationGroupsInOrderWithBuiltPagesOnly() {
    TestWindow w;
    QTreeWidget* nav = w.window->navigation();
    QStringList groups;
    for (int i = 0; i < nav->topLevelItemCount(); ++i) groups << nav->topLevelItem(i)->text(0);
    QCOMPARE(groups.last(), QStringLiteral("系统"));
    QTreeWidgetItem* system = nav->topLevelItem(nav->topLevelItemCount() - 1);
    QCOMPARE(system->child(0)->text(0), QStringLiteral("首页"));
    QCOMPARE(system->child(system->childCount() - 1)->text(0), QStringLiteral("退出(E&xit)"));
    QVERIFY(system->child(system->childCount() - 1)->font(0).italic());
    QVERIFY(w.window->NavItem(QStringLiteral("从MARC数据中输出ISBN")) != nullptr);
    // Every item shown opens its page, whose caption is the item's caption.
    for (int g = 0; g < nav->topLevelItemCount(); ++g) {
      for (int i = 0; i < nav->topLevelItem(g)->childCount(); ++i) {
        QTreeWidgetItem* item = nav->topLevelItem(g)->child(i);
        if (item->text(0) == QStringLiteral("退出(E&xit)")) continue;
        w.window->Navigate(item);
        QCOMPARE(w.window->CurrentCaption(), item->text(0));
      }
    }
  }

  void navigationWhileBusyHighlightsButKeepsThePage() {
    TestWindow w;
    w.window->shell().EnterBusy();
    QTreeWidgetItem* item = w.window->NavItem(QStringLiteral("从MARC数据中输出ISBN"));
    w.window->Navigate(item);
    QCOMPARE(w.window->CurrentCaption(), QStringLiteral("首页"));
    QVERIFY(item->isSelected());
    w.window->shell().LeaveBusy();
    w.window->Navigate(item);
    QCOMPARE(w.window->CurrentCaption(), QStringLiteral("从MARC数据中输出ISBN"));
  }

  void generalErrorDisplayIsTitledWithTheApplication() {
    TestWindow w;
    ModalWatcher watcher;
    w.window->shell().ShowGeneralError("Disk full");
    QCOMPARE(watcher.seen().size(), 1);
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("Lumarin3.0"));
    QCOMPARE(watcher.seen()[0].text, QStringLiteral("Disk full."));
    QCOMPARE(watcher.seen()[0].icon, int(QMessageBox::Critical));
  }

  void messageStylesCarryTheirCaptions() {
    TestWindow w;
    ModalWatcher watcher;
    w.window->shell().ShowMessage(MessageStyle::Information, "a", "");
    w.window->shell().ShowMessage(MessageStyle::Plain, "b", "");
    watcher.ScriptAnswers({false});
    QVERIFY(!w.window->shell().Ask("c", ""));
    QCOMPARE(watcher.seen().size(), 3);
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("提示信息"));
    QCOMPARE(watcher.seen()[1].title, QStringLiteral("Lumarin3.0"));
    QCOMPARE(watcher.seen()[1].icon, int(QMessageBox::NoIcon));
    QCOMPARE(watcher.seen()[2].icon, int(QMessageBox::Question));
  }

  void exitClosesTheWindowButNotWhileBusy() {
    TestWindow w;
    w.window->shell().EnterBusy();
    w.window->Navigate(w.window->NavItem(QStringLiteral("退出(E&xit)")));
    QVERIFY(w.window->close() == false);
    QVERIFY(w.window->isVisible());
    w.window->shell().LeaveBusy();
    w.window->Navigate(w.window->NavItem(QStringLiteral("退出(E&xit)")));
    QVERIFY(!w.window->isVisible());
  }
};

LUMARIN_GUI_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
