// The page "数据去重" driven in the real window.
#include <QButtonGroup>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/pages/DedupPage.h"
#include "app/pages/MatchRuleBox.h"
#include "app/qt_shell.h"
#include "core/commonUnit.h"
#include "gui_support.h"
#include "support/marc_builder.h"

class TestDedupPage : public QObject {
  Q_OBJECT

  DedupPage* Open(TestWindow& w) {
    w.window->activateWindow();
    QTest::qWaitForWindowActive(w.window.get());
    w.window->Navigate(w.window->NavItem(QStringLiteral("数据去重")));
    return qobject_cast<DedupPage*>(w.window->Page(QStringLiteral("数据去重")));
  }
  static QString Q(const std::string& path) { return QString::fromStdString(path); }

 private slots:
  void marcPartChecksInPageOrderAndShowsTheSpecBack() {
    TestWindow w;
    DedupPage* page = Open(w);
    QVERIFY(page);
    QCOMPARE(page->memHelp->toPlainText(),
             QStringLiteral("\n　　数据去重，即把重复多余的数据记录去掉，以确保数据文件中所有记录都是\n不重复的。"));
    QCOMPARE(page->rule->radMode->checkedId(), 0);
    QVERIFY(!page->rule->edtFields->isEnabled());
    ModalWatcher watcher;
    QTest::mouseClick(page->btnMarcStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定原始MARC文件。"));
    WriteFile(w.dir.File("in.iso"), MakeRecord({{"200", "1 " + Sf('a', "T")}}));
    page->edtMarcIn->setText(Q(w.dir.File("in.iso")));
    page->rule->radMode->button(1)->click();
    page->rule->edtFields->setText(QStringLiteral("200a,,"));
    QTest::mouseClick(page->btnMarcStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("重复字段书写错误!\n\n请参考例子或说明"));
    QCOMPARE(page->rule->edtFields->text(), QStringLiteral("200a,"));
    w.window->activateWindow();  // back from the message box
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    QVERIFY(page->rule->edtFields->hasFocus());
    page->rule->edtFields->setText(QStringLiteral("200a"));
    QTest::mouseClick(page->btnMarcStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定去重后的MARC文件。"));
  }

  void marcPartAppendsTheFirstOfEachSet() {
    TestWindow w;
    DedupPage* page = Open(w);
    const std::string a = MakeRecord({{"010", "  " + Sf('a', "978-7-5006-3772-1")}});
    const std::string a2 = MakeRecord({{"010", "  " + Sf('a', "978-7-5006-37XX")}});
    const std::string b = MakeRecord({{"010", "  " + Sf('a', "7-02-000220-7")}});
    WriteFile(w.dir.File("in.iso"), a + "\r\n" + a2 + "\r\n" + b + "\r\n");
    page->edtMarcIn->setText(Q(w.dir.File("in.iso")));
    page->edtMarcOut->setText(Q(w.dir.File("out.iso")));
    page->rule->radMode->button(2)->click();
    ModalWatcher watcher;
    QTest::mouseClick(page->btnMarcStart, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("out.iso")), a + "\r\n" + b + "\r\n");
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY(watcher.seen()[0].text.startsWith(QStringLiteral("MARC文件去重完成!")));
    QVERIFY(w.window->shell().IsIdle());
  }

  void isbnPartClearsAMissingInputAndKeepsFirstLines() {
    TestWindow w;
    DedupPage* page = Open(w);
    QCOMPARE(page->edtIsbnIn->toolTip(), QStringLiteral("请指定原始ISBN文件"));
    ModalWatcher watcher;
    page->edtIsbnIn->setText(Q(w.dir.File("missing.txt")));
    QTest::mouseClick(page->btnIsbnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定原始ISBN文件。"));
    QVERIFY(page->edtIsbnIn->text().isEmpty());
    WriteFile(w.dir.File("in.txt"), "7500637721\r\n7-5006-3772-1\r\n7500637721\r\n");
    page->edtIsbnIn->setText(Q(w.dir.File("in.txt")));
    QTest::mouseClick(page->btnIsbnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定去重后的ISBN文件。"));
    page->edtIsbnOut->setText(Q(w.dir.File("out.txt")));
    QTest::mouseClick(page->btnIsbnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("ISBN文件去重完成!"));
    QCOMPARE(ReadFile(w.dir.File("out.txt")), std::string("7500637721\r\n7-5006-3772-1\r\n"));
  }
};

LUMARIN_GUI_TEST_MAIN(TestDedupPage)
#include "test_dedup_page.moc"
