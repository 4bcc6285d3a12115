// The page "从MARC数据中输出ISBN" driven in the real window.
#include <QButtonGroup>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/pages/IsbnListPage.h"
#include "app/qt_shell.h"
#include "core/commonUnit.h"
#include "gui_support.h"
#include "support/marc_builder.h"

class TestIsbnListPage : public QObject {
  Q_OBJECT

  IsbnListPage* Open(TestWindow& w) {
    w.window->Navigate(w.window->NavItem(QStringLiteral("从MARC数据中输出ISBN")));
    return qobject_cast<IsbnListPage*>(w.window->Page(QStringLiteral("从MARC数据中输出ISBN")));
  }

  static std::string ThreeRecords() {
    return MakeRecord({{"010", "  " + Sf('a', "7-5006-3772-1")}}) + "\r\n" +
           MakeRecord({{"200", "1 " + Sf('a', Gbk("无号"))}}) + "\r\n" +
           MakeRecord({{"010", "  " + Sf('a', "7-02-000220-X")}}) + "\r\n";
  }

 private slots:
  void inputsAreCheckedInPageOrder() {
    TestWindow w;
    IsbnListPage* page = Open(w);
    QVERIFY(page);
    ModalWatcher watcher;
    page->edtMarcFile->setText(QString::fromStdString(w.dir.File("missing.iso")));
    page->edtIsbnFile->setText("");
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("请指定MARC文件。")});
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("提示信息"));
    QVERIFY(page->edtMarcFile->text().isEmpty());  // the box is cleared

    WriteFile(w.dir.File("in.iso"), ThreeRecords());
    page->edtMarcFile->setText(QString::fromStdString(w.dir.File("in.iso")));
    page->edtIsbnFile->setText("   ");
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定ISBN文件"));
    QVERIFY(!page->edtMarcFile->text().isEmpty());
  }

  void writesTheListAndReportsTheCount() {
    TestWindow w;
    IsbnListPage* page = Open(w);
    QCOMPARE(page->radIsbn->checkedId(), 0);
    QCOMPARE(page->btnStart->text(), QStringLiteral("开  始"));
    WriteFile(w.dir.File("in.iso"), ThreeRecords());
    WriteFile(w.dir.File("out.txt"), "old content that must go\r\n");
    page->edtMarcFile->setText(QString::fromStdString(w.dir.File("in.iso")));
    page->edtIsbnFile->setText(QString::fromStdString(w.dir.File("out.txt")));
    page->radIsbn->button(1)->setChecked(true);
    ModalWatcher watcher;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("out.txt")), std::string("7500637721\r\n\r\n702000220X\r\n"));
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY(watcher.seen()[0].text.endsWith(QStringLiteral("\n\n共3条")));
    QVERIFY(w.window->shell().IsIdle());
    QVERIFY(!w.window->prgBar->isVisible());
  }

  void aBadRecordAsksAndCancelEndsTheRun() {
    TestWindow w;
    IsbnListPage* page = Open(w);
    std::string bad = MakeRecord({{"010", "  " + Sf('a', "2")}});
    bad.replace(12, 5, "0x041");
    WriteFile(w.dir.File("in.iso"),
              MakeRecord({{"010", "  " + Sf('a', "1")}}) + bad + MakeRecord({{"010", "  " + Sf('a', "3")}}));
    page->edtMarcFile->setText(QString::fromStdString(w.dir.File("in.iso")));
    page->edtIsbnFile->setText(QString::fromStdString(w.dir.File("out.txt")));
    ModalWatcher watcher;
    watcher.ScriptAnswers({false});  // "取消"
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.seen().size(), 2);
    QCOMPARE(watcher.seen()[0].className, QStringLiteral("TfrmMessageBox"));
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("提示信息："));
    QCOMPARE(watcher.seen()[0].text, QStringLiteral("2"));  // edtReco
    QVERIFY(watcher.seen()[1].text.endsWith(QStringLiteral("共3条")));
    QCOMPARE(ReadFile(w.dir.File("out.txt")), std::string("1\r\n"));
    QVERIFY(FileExists(w.dir.File("ErrorLog.txt")));
  }

  void anOutputThatCannotBeCreatedGoesToTheGeneralErrorDisplay() {
    TestWindow w;
    IsbnListPage* page = Open(w);
    WriteFile(w.dir.File("in.iso"), ThreeRecords());
    page->edtMarcFile->setText(QString::fromStdString(w.dir.File("in.iso")));
    page->edtIsbnFile->setText(QString::fromStdString(w.dir.File("no/such/dir/out.txt")));
    ModalWatcher watcher;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.seen().size(), 1);
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("Lumarin3.0"));
    QVERIFY(watcher.seen()[0].text.startsWith(QStringLiteral("无法创建文件")));
    QVERIFY(w.window->shell().IsIdle());
    QVERIFY(!w.window->prgBar->isVisible());
  }
};

LUMARIN_GUI_TEST_MAIN(TestIsbnListPage)
#include "test_isbn_list_page.moc"
