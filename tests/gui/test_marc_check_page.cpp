// The page "利用双方MARC数据自动匹配查重" driven in the real window.
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/pages/MarcCheckPage.h"
#include "app/pages/MatchRuleBox.h"
#include "app/qt_shell.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "gui_support.h"
#include "support/marc_builder.h"

class TestMarcCheckPage : public QObject {
  Q_OBJECT

  MarcCheckPage* Open(TestWindow& w) {
    w.window->activateWindow();
    QTest::qWaitForWindowActive(w.window.get());
    w.window->Navigate(w.window->NavItem(QStringLiteral("利用双方MARC数据自动匹配查重")));
    return qobject_cast<MarcCheckPage*>(w.window->Page(QStringLiteral("利用双方MARC数据自动匹配查重")));
  }
  static QString Q(const std::string& path) { return QString::fromStdString(path); }
  static std::string Book(const std::string& title, const std::string& isbn) {
    return MakeRecord({{"010", "  " + Sf('a', isbn)}, {"200", "1 " + Sf('a', Gbk(title))}});
  }

 private slots:
  void startsWithThePagesDefaultsAndEnablesByChoice() {
    TestWindow w;
    MarcCheckPage* page = Open(w);
    QVERIFY(page);
    QCOMPARE(page->radBuyer->checkedId(), -1);  // no buyer source chosen
    QVERIFY(!page->edtBuyer->isEnabled() && !page->btnBuyerBrowse->isEnabled());
    QCOMPARE(page->rule->radMode->checkedId(), 0);
    QCOMPARE(page->rule->edtFields->text(), QStringLiteral("200a,010a,010d"));
    QCOMPARE(page->rule->speMin->value(), 3);
    QCOMPARE(page->rule->speMin->minimum(), 1);
    QCOMPARE(page->rule->speMin->maximum(), 10);
    QCOMPARE(page->radSide->checkedId(), 0);
    QCOMPARE(page->radSide->button(0)->text(), QStringLiteral("以采购方为准"));
    QCOMPARE(page->btnStart->text(), QStringLiteral("开  始"));
    QVERIFY(!page->rule->edtFields->isEnabled() && !page->rule->speMin->isEnabled());
    QVERIFY(!page->rule->lblComma->isEnabled() && !page->rule->lblMatch->isEnabled());
    page->rule->radMode->button(1)->click();
    QVERIFY(page->rule->edtFields->isEnabled() && page->rule->speMin->isEnabled() && page->rule->lblHave->isEnabled());
    page->rule->radMode->button(2)->click();
    QVERIFY(!page->rule->edtFields->isEnabled());
    page->radBuyer->button(1)->click();
    QVERIFY(page->edtBuyer->isEnabled() && page->btnBuyerBrowse->isEnabled());
  }

  void theSpecBoxTakesOnlyDigitsLowerCaseLettersAndCommas() {
    TestWindow w;
    MarcCheckPage* page = Open(w);
    page->rule->radMode->button(1)->click();
    page->rule->edtFields->clear();
    QTest::keyClicks(page->rule->edtFields, "2A0;0a, 0-1d");
    QCOMPARE(page->rule->edtFields->text(), QStringLiteral("200a,01d"));
    QTest::keyClick(page->rule->edtFields, Qt::Key_Backspace);
    QCOMPARE(page->rule->edtFields->text(), QStringLiteral("200a,01"));
  }

  void anEmptyBuyerTableSwitchesBackToTheFileSource() {
    TestWindow w;
    MarcCheckPage* page = Open(w);
    ModalWatcher watcher;
    page->radBuyer->button(0)->click();
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("“现场采购”模块中并没有导入采购方MARC数据。")});
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("提示信息"));
    QCOMPARE(page->radBuyer->checkedId(), 1);
    QVERIFY(page->edtBuyer->isEnabled());

    MainData(w.window->context()).AppendRecordRow("", "", 1, Book("围城", "1"));
    page->radBuyer->button(0)->click();
    QCOMPARE(watcher.seen().size(), 1);  // no message this time
    QCOMPARE(page->radBuyer->checkedId(), 0);
    QVERIFY(!page->edtBuyer->isEnabled() && !page->btnBuyerBrowse->isEnabled());
  }

  void inputsAreCheckedInPageOrderAndTheSpecIsShownBack() {
    TestWindow w;
    MarcCheckPage* page = Open(w);
    ModalWatcher watcher;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定采购方数据源。"));
    WriteFile(w.dir.File("b.iso"), Book("围城", "1"));
    page->radBuyer->button(1)->click();
    page->edtBuyer->setText(Q(w.dir.File("b.iso")));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定供应商方数据源。"));
    page->edtSupplier->setText(Q(w.dir.File("b.iso")));
    page->rule->radMode->button(1)->click();
    page->rule->edtFields->setText(QStringLiteral(" ,200a,20a, "));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("查重字段书写错误!\n\n请参考例子或说明"));
    QCOMPARE(page->rule->edtFields->text(), QStringLiteral("200a,20a"));
    w.window->activateWindow();  // back from the message box
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    QVERIFY(page->rule->edtFields->hasFocus());
    page->rule->edtFields->setText(QStringLiteral(",200a,010a,"));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("最少需要指定一个输出文件。"));
    QCOMPARE(page->rule->edtFields->text(), QStringLiteral("200a,010a"));
    QCOMPARE(watcher.seen().size(), 4);
  }

  void writesBothOutputsAndReports() {
    TestWindow w;
    MarcCheckPage* page = Open(w);
    const std::string a = Book("围城", "7-5006-3772-1"), b = Book("活着", "7-02-000220-7");
    const std::string b2 = Book("活着（新版）", "7-02-000220-7"), c = Book("边城", "9");
    WriteFile(w.dir.File("s.iso"), a + "\r\n" + b + "\r\n" + c + "\r\n");
    WriteFile(w.dir.File("b.iso"), b2 + "\r\n" + a + "\r\n");
    page->edtSupplier->setText(Q(w.dir.File("s.iso")));
    page->radBuyer->button(1)->click();
    page->edtBuyer->setText(Q(w.dir.File("b.iso")));
    page->rule->radMode->button(2)->click();
    page->edtNew->setText(Q(w.dir.File("new.iso")));
    page->edtCommon->setText(Q(w.dir.File("common.iso")));
    ModalWatcher watcher;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("common.iso")), a + "\r\n" + b2 + "\r\n");
    QCOMPARE(ReadFile(w.dir.File("new.iso")), c + "\r\n");
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY(watcher.seen()[0].text.startsWith(QStringLiteral("利用双方MARC数据自动匹配查重完成!")));
    QVERIFY(w.window->shell().IsIdle());
    QVERIFY(!w.window->prgBar->isVisible());

    page->radSide->button(1)->click();  // 以供应方为准
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("common.iso")), a + "\r\n" + b + "\r\n");
  }
};

LUMARIN_GUI_TEST_MAIN(TestMarcCheckPage)
#include "test_marc_check_page.moc"
