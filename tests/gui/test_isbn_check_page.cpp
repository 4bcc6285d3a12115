// The page "利用双方ISBN文件自动匹配查重" driven in the real window.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/pages/IsbnCheckPage.h"
#include "app/qt_shell.h"
#include "core/commonUnit.h"
#include "gui_support.h"

class TestIsbnCheckPage : public QObject {
  Q_OBJECT

  IsbnCheckPage* Open(TestWindow& w) {
    w.window->Navigate(w.window->NavItem(QStringLiteral("利用双方ISBN文件自动匹配查重")));
    return qobject_cast<IsbnCheckPage*>(w.window->Page(QStringLiteral("利用双方ISBN文件自动匹配查重")));
  }
  static QString Q(const std::string& path) { return QString::fromStdString(path); }

 private slots:
  void inputsAreCheckedInPageOrderAndBadListsAreCleared() {
    TestWindow w;
    IsbnCheckPage* page = Open(w);
    QVERIFY(page);
    QVERIFY(page->memHelp->isReadOnly());
    QVERIFY(page->memHelp->toPlainText().contains(QStringLiteral("数据去重")));
    ModalWatcher watcher;
    page->edtBuyer->setText(Q(w.dir.File("missing.txt")));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定采购方ISBN文件。"));
    QVERIFY(page->edtBuyer->text().isEmpty());
    WriteFile(w.dir.File("b.txt"), "1\r\n");
    page->edtBuyer->setText(Q(w.dir.File("b.txt")));
    page->edtSupplier->setText(Q(w.dir.File("missing.txt")));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定供应商方ISBN文件。"));
    QVERIFY(page->edtSupplier->text().isEmpty());
    QVERIFY(!page->edtBuyer->text().isEmpty());
    page->edtSupplier->setText(Q(w.dir.File("b.txt")));
    page->edtNew->setText(QStringLiteral("  "));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("最少需要指定一个输出文件。"));
    QCOMPARE(watcher.seen().size(), 3);
  }

  void writesBothListsAndReports() {
    TestWindow w;
    IsbnCheckPage* page = Open(w);
    WriteFile(w.dir.File("b.txt"), "7500637721\r\n");
    WriteFile(w.dir.File("s.txt"), "7500637721\r\n7-5006-3772-1\r\n7500637721\r\n");
    WriteFile(w.dir.File("new.txt"), "old\r\n");
    page->edtBuyer->setText(Q(w.dir.File("b.txt")));
    page->edtSupplier->setText(Q(w.dir.File("s.txt")));
    page->edtNew->setText(Q(w.dir.File("new.txt")));
    page->edtCommon->setText(Q(w.dir.File("common.txt")));
    ModalWatcher watcher;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("new.txt")), std::string("7-5006-3772-1\r\n"));
    QCOMPARE(ReadFile(w.dir.File("common.txt")), std::string("7500637721\r\n7500637721\r\n"));
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("利用双方ISBN文件自动匹配查重完成!")});
    QVERIFY(w.window->shell().IsIdle());
  }
};

LUMARIN_GUI_TEST_MAIN(TestIsbnCheckPage)
#include "test_isbn_check_page.moc"
