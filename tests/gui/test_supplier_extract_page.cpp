// The page "利用ISBN输出供应商MARC数据" driven in the real window.
#include <QButtonGroup>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/pages/SupplierExtractPage.h"
#include "core/commonUnit.h"
#include "gui_support.h"
#include "support/marc_builder.h"

class TestSupplierExtractPage : public QObject {
  Q_OBJECT

  SupplierExtractPage* Open(TestWindow& w) {
    const QString caption = QStringLiteral("利用ISBN输出供应商MARC数据");
    w.window->Navigate(w.window->NavItem(caption));
    return qobject_cast<SupplierExtractPage*>(w.window->Page(caption));
  }

 private slots:
  void inputsAreCheckedInPageOrder() {
    TestWindow w;
    SupplierExtractPage* page = Open(w);
    QVERIFY(page);
    QCOMPARE(page->radOrder->checkedId(), 0);
    ModalWatcher watcher;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    WriteFile(w.dir.File("s.iso"), MakeRecord({{"010", "  " + Sf('a', "7-1")}}));
    page->edtFileName_Pn3_m1->setText(QString::fromStdString(w.dir.File("s.iso")));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    WriteFile(w.dir.File("l.txt"), "7-1\r\n");
    page->edtFileName_Pn3_isbn->setText(QString::fromStdString(w.dir.File("l.txt")));
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), (QStringList{QStringLiteral("请指定供应商MARC数据文件"), QStringLiteral("请指定要采购的ISBN文件！"),
                                           QStringLiteral("请指定你要输出的ISBN文件的文件名和路径！")}));
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("提示信息"));
    QCOMPARE(watcher.seen()[1].title, QStringLiteral("Lumarin3.0"));
    QCOMPARE(watcher.seen()[1].icon, int(QMessageBox::NoIcon));
  }

  void extractsInListOrder() {
    TestWindow w;
    SupplierExtractPage* page = Open(w);
    std::string a = MakeRecord({{"010", "  " + Sf('a', "7-1")}}), b = MakeRecord({{"010", "  " + Sf('a', "7-2")}});
    WriteFile(w.dir.File("s.iso"), a + b);
    WriteFile(w.dir.File("l.txt"), "7-2\r\n7-2\r\n");
    page->edtFileName_Pn3_m1->setText(QString::fromStdString(w.dir.File("s.iso")));
    page->edtFileName_Pn3_isbn->setText(QString::fromStdString(w.dir.File("l.txt")));
    page->edtFileName_Pn3_m2->setText(QString::fromStdString(w.dir.File("o.iso")));
    page->radOrder->button(1)->setChecked(true);
    ModalWatcher watcher;
    QTest::mouseClick(page->btnStart, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("o.iso")), b + "\r\n" + b + "\r\n");
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY(watcher.seen()[0].text.contains(QStringLiteral("共输出2条记录")));
  }
};

LUMARIN_GUI_TEST_MAIN(TestSupplierExtractPage)
#include "test_supplier_extract_page.moc"
