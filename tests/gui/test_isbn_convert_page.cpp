// The page "对ISBN列格式进行转换" (text panel) driven in the real window.
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidgetItem>

#include "app/pages/IsbnConvertPage.h"
#include "app/qt_shell.h"
#include "core/commonUnit.h"
#include "gui_support.h"

class TestIsbnConvertPage : public QObject {
  Q_OBJECT

  static QString Caption() { return QStringLiteral("对ISBN列格式进行转换"); }

  IsbnConvertPage* Open(TestWindow& w) {
    w.window->Navigate(w.window->NavItem(Caption()));
    return qobject_cast<IsbnConvertPage*>(w.window->Page(Caption()));
  }

 private slots:
  void appearsInTheNavigationBarWithItsTextPanel() {
    TestWindow w;
    QTreeWidgetItem* item = w.window->NavItem(Caption());
    QVERIFY(item);
    QCOMPARE(item->parent()->text(0), QStringLiteral("常用数据处理"));
    IsbnConvertPage* page = Open(w);
    QVERIFY(page);
    QCOMPARE(w.window->CurrentCaption(), Caption());
    auto* panel = page->findChild<QGroupBox*>("grpTxt");
    QVERIFY(panel);
    QCOMPARE(panel->title(), QStringLiteral("对ISBN文件进行格式转换："));
    QCOMPARE(page->radTxtForm->checkedId(), 0);
    QVERIFY(page->radTxtForm->button(0)->text().startsWith(QStringLiteral("转换为ISBN/ISSN带")));
    QCOMPARE(page->radTxtForm->button(1)->text(), QStringLiteral("转换为ISBN（10位）/ISSN（8位）"));
    QCOMPARE(page->radTxtForm->button(2)->text(), QStringLiteral("转换为13位EAN条形码"));
    QCOMPARE(page->btnTxtBrowse->text(), QStringLiteral("浏览..."));
    QCOMPARE(page->btnTxtSaveAs->text(), QStringLiteral("存为..."));
    QCOMPARE(page->btnTxtStart->text(), QStringLiteral("开  始"));
  }

  void inputsAreCheckedInPageOrder() {
    TestWindow w;
    IsbnConvertPage* page = Open(w);
    ModalWatcher watcher;
    page->edtTxtSource->setText(QString::fromStdString(w.dir.File("missing.txt")));
    QTest::mouseClick(page->btnTxtStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("请指定原始ISBN文件。")});
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("提示信息"));
    QCOMPARE(watcher.seen()[0].icon, int(QMessageBox::Information));
    QVERIFY(page->edtTxtSource->text().isEmpty());  // the field is cleared

    WriteFile(w.dir.File("in.txt"), "7500637721\r\n");
    page->edtTxtSource->setText(QString::fromStdString(w.dir.File("in.txt")));
    page->edtTxtTarget->setText("  ");
    QTest::mouseClick(page->btnTxtStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("请指定转换后的ISBN文件。"));
    QVERIFY(!page->edtTxtSource->text().isEmpty());

    page->edtTxtTarget->setText(page->edtTxtSource->text());
    QTest::mouseClick(page->btnTxtStart, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("转换后的ISBN文件不能与原始ISBN文件相同，请另选一个文件。"));
    QCOMPARE(ReadFile(w.dir.File("in.txt")), std::string("7500637721\r\n"));
    QCOMPARE(watcher.seen().size(), 3);
  }

  void convertsUnderTheChosenForm() {
    TestWindow w;
    IsbnConvertPage* page = Open(w);
    WriteFile(w.dir.File("in.txt"), "7500637721 book A\r\n1234-5679\r\n" + Gbk("书名") + "\r\n\r\n");
    page->edtTxtSource->setText(QString::fromStdString(w.dir.File("in.txt")));
    page->edtTxtTarget->setText(QString::fromStdString(w.dir.File("out.txt")));
    const std::string wants[] = {
        "7-5006-3772-1 book A\r\n1234-5679\r\n" + Gbk("书名") + "\r\n\r\n",
        "7500637721 book A\r\n12345679\r\n" + Gbk("书名") + "\r\n\r\n",
        "9787500637721 book A\r\n9771234567003\r\n" + Gbk("书名") + "\r\n\r\n",
    };
    for (int item = 0; item < 3; ++item) {
      page->radTxtForm->button(item)->setChecked(true);
      ModalWatcher watcher;
      QTest::mouseClick(page->btnTxtStart, Qt::LeftButton);
      QCOMPARE(ReadFile(w.dir.File("out.txt")), wants[item]);
      QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("转换完成!")});
      QCOMPARE(watcher.seen()[0].title, QStringLiteral("提示信息"));
      QVERIFY(w.window->shell().IsIdle());
      QVERIFY(!w.window->prgBar->isVisible());
    }
  }

  void anOutputThatCannotBeCreatedGoesToTheGeneralErrorDisplay() {
    TestWindow w;
    IsbnConvertPage* page = Open(w);
    WriteFile(w.dir.File("in.txt"), "7500637721\r\n");
    page->edtTxtSource->setText(QString::fromStdString(w.dir.File("in.txt")));
    page->edtTxtTarget->setText(QString::fromStdString(w.dir.File("no/such/dir/out.txt")));
    ModalWatcher watcher;
    QTest::mouseClick(page->btnTxtStart, Qt::LeftButton);
    QCOMPARE(watcher.seen().size(), 1);
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("Lumarin3.0"));
    QVERIFY(watcher.seen()[0].text.startsWith(QStringLiteral("无法创建文件")));
    QVERIFY(w.window->shell().IsIdle());
    QVERIFY(!w.window->prgBar->isVisible());
  }
};

LUMARIN_GUI_TEST_MAIN(TestIsbnConvertPage)
#include "test_isbn_convert_page.moc"
