// The page "导入采购方MARC数据" driven in the real window.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/pages/BuyerImportPage.h"
#include "app/qt_shell.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "gui_support.h"
#include "support/marc_builder.h"

class TestBuyerImportPage : public QObject {
  Q_OBJECT

  BuyerImportPage* Open(TestWindow& w) {
    w.window->Navigate(w.window->NavItem(QStringLiteral("导入采购方MARC数据")));
    return qobject_cast<BuyerImportPage*>(w.window->Page(QStringLiteral("导入采购方MARC数据")));
  }

  static std::string TwoRecords() {
    return MakeRecord({{"010", "  " + Sf('a', "7-5006-3772-1")}, {"200", "1 " + Sf('a', Gbk("围城"))},
                       {"905", "  " + Sf('f', "3")}}) +
           "\r\n" + MakeRecord({{"200", "1 " + Sf('a', Gbk("无号"))}}) + "\r\n";
  }

 private slots:
  void startsWithTheOptionsOffAndKeepsAtMostOneTicked() {
    TestWindow w;
    BuyerImportPage* page = Open(w);
    QVERIFY(page);
    QVERIFY(!page->lblStored->isVisible());
    QVERIFY(!page->prgExport->isVisible());
    QCOMPARE(page->btnImport->text(), QStringLiteral("导  入"));
    QCOMPARE(page->chkInitialCopies->text(), QStringLiteral("初始复本数："));
    QCOMPARE(page->edtCopiesField->text(), QStringLiteral("905f"));
    QVERIFY(!page->edtInitialCopies->isEnabled());
    QVERIFY(!page->edtCopiesField->isEnabled());
    page->chkCopiesField->setChecked(true);
    QVERIFY(page->edtCopiesField->isEnabled());
    page->chkInitialCopies->setChecked(true);
    QVERIFY(!page->chkCopiesField->isChecked());
    QVERIFY(!page->edtCopiesField->isEnabled());
    QVERIFY(page->edtInitialCopies->isEnabled());
    page->chkInitialCopies->setChecked(false);
    QVERIFY(!page->edtInitialCopies->isEnabled());
  }

  void fieldsDropKeysOutsideTheirRules() {
    TestWindow w;
    BuyerImportPage* page = Open(w);
    page->chkInitialCopies->setChecked(true);
    QTest::keyClicks(page->edtInitialCopies, "1a-2 x");
    QCOMPARE(page->edtInitialCopies->text(), QStringLiteral("1-2"));
    page->chkCopiesField->setChecked(true);
    page->edtCopiesField->selectAll();
    QTest::keyClicks(page->edtCopiesField, "9a05Ffz");
    QCOMPARE(page->edtCopiesField->text(), QStringLiteral("905f"));
    QTest::keyClick(page->edtCopiesField, Qt::Key_Backspace);
    QCOMPARE(page->edtCopiesField->text(), QStringLiteral("905"));
  }

  void importsThenAsksBeforeAddingMore() {
    TestWindow w;
    BuyerImportPage* page = Open(w);
    WriteFile(w.dir.File("buyer.iso"), TwoRecords());
    page->edtFileName_Pn1_MARC->setText(QString::fromStdString(w.dir.File("buyer.iso")));
    page->chkCopiesField->setChecked(true);
    ModalWatcher watcher;
    QTest::mouseClick(page->btnImport, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("采购方MARC数据导入完成！\n\n共导入 2 条记录")});
    TMainData& db = MainData(w.window->context());
    QCOMPARE(db.RowCount(MainTable::Buyer), 2);
    QCOMPARE(db.BuyerRows()[0].rsnumber, 3);
    QVERIFY(w.window->shell().IsIdle());
    QVERIFY(!w.window->prgBar->isVisible());

    page->ShowStoredRows();
    QCOMPARE(page->lblStored->text(), QStringLiteral("本系统数据库中已存 2 条记录"));
    QVERIFY(page->lblStored->isVisible());

    watcher.ScriptAnswers({false});
    QTest::mouseClick(page->btnImport, Qt::LeftButton);
    QCOMPARE(watcher.seen().size(), 2);  // the question and nothing after "No"
    QCOMPARE(watcher.seen()[1].title, QStringLiteral("提示信息"));
    QCOMPARE(watcher.seen()[1].text,
             QStringLiteral("已存在采购方MARC数据  2条\n\n本次将导入2条数据\n\n\n是否继续导入？"));
    QCOMPARE(db.RowCount(MainTable::Buyer), 2);

    page->edtFileName_Pn1_MARC->setText("  ");
    QVERIFY(!page->lblStored->isVisible());
  }

  void aMissingFileIsAPlainBox() {
    TestWindow w;
    BuyerImportPage* page = Open(w);
    page->edtFileName_Pn1_MARC->setText(QString::fromStdString(w.dir.File("none.iso")));
    ModalWatcher watcher;
    QTest::mouseClick(page->btnImport, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("指定的文件不存在！")});
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("Lumarin3.0"));
  }

  void exportsTheMarcFileWhileTheTableIsEmpty() {
    TestWindow w;
    BuyerImportPage* page = Open(w);
    WriteFile(w.dir.File("buyer.iso"), TwoRecords());
    page->edtFileName_Pn1_MARC->setText(QString::fromStdString(w.dir.File("buyer.iso")));
    ModalWatcher watcher;
    QTest::mouseClick(page->btnExport, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("请指定你要输出的ISBN文件的文件名和路径！")});
    page->edtFileName_Pn1_ISBN->setText(QString::fromStdString(w.dir.File("isbn.txt")));
    QTest::mouseClick(page->btnExport, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("isbn.txt")), std::string("7-5006-3772-1\r\n\r\n"));
    QCOMPARE(watcher.Texts().last(), QStringLiteral("将MARC文件中的ISBN导出完成!"));
    QVERIFY(!page->prgExport->isVisible());
    QVERIFY(!page->lblExportCount->isVisible());
  }
};

LUMARIN_GUI_TEST_MAIN(TestBuyerImportPage)
#include "test_buyer_import_page.moc"
