// The page "现场采购" driven in the real window with key presses, as a
// barcode scanner types: each tab's fields, panels and texts, the red
// labels, the target spin box, the sound boxes and the export group.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "app/pages/OnsiteScanPage.h"
#include "core/beeper.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "gui_support.h"

namespace {

struct CountingBeeper : Beeper {
  void Tone(int hertz, int ms) override {
    ++count;
    last = {hertz, ms};
  }
  int count = 0;
  std::pair<int, int> last;
};

}  // namespace

class TestOnsiteScanPage : public QObject {
  Q_OBJECT

  OnsiteScanPage* Open(TestWindow& w) {
    w.window->Navigate(w.window->NavItem(QStringLiteral("现场采购")));
    auto* page = qobject_cast<OnsiteScanPage*>(w.window->Page(QStringLiteral("现场采购")));
    w.window->activateWindow();
    QTest::qWaitForWindowActive(w.window.get());
    return page;
  }
  static TMainData& Db(TestWindow& w) { return MainData(w.window->context()); }

  // A scan: the scanner types the code and ends it with Enter.
  static void Scan(QLineEdit* field, const QString& code) {
    field->selectAll();
    QTest::keyClicks(field, code);
    QTest::keyClick(field, Qt::Key_Return);
  }

 private slots:
  void showsEveryCaptionWithItsDefaults() {
    TestWindow w;
    OnsiteScanPage* page = Open(w);
    QVERIFY(page);
    QCOMPARE(w.window->CurrentCaption(), QStringLiteral("现场采购"));
    QStringList groups;
    for (auto* g : page->findChildren<QGroupBox*>()) groups << g->title();
    QVERIFY(groups.contains(QStringLiteral("现采参数")));
    QVERIFY(groups.contains(QStringLiteral("将现采结果输出")));
    QCOMPARE(page->radConvert->button(0)->text(), QStringLiteral("转换为ISBN/ISSN带\"-\"符号格式查重"));
    QCOMPARE(page->radConvert->button(1)->text(), QStringLiteral("按ISBN（10位）/ISSN（8位）查重"));
    QCOMPARE(page->radConvert->button(2)->text(), QStringLiteral("不作任何转换进行查重"));
    QCOMPARE(page->radConvert->checkedId(), 0);
    QCOMPARE(page->spePnl2->value(), 1);
    QCOMPARE(page->chkRepeat->text(), QStringLiteral("重复时"));
    QCOMPARE(page->chkNotRepeat->text(), QStringLiteral("不重复时"));
    QVERIFY(!page->chkRepeat->isChecked() && !page->chkNotRepeat->isChecked());
    QStringList labels;
    for (auto* l : page->findChildren<QLabel*>()) labels << l->text();
    for (const char* text : {"已有数 + 采购 =", "是否发出声音提醒：", "采购ISBN/ISSN", "剔除ISBN/ISSN", "本。", "ISBN文件"})
      QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    QCOMPARE(page->tabs->count(), 3);
    QCOMPARE(page->tabs->tabText(0), QStringLiteral("逐条确认模式"));
    QCOMPARE(page->tabs->tabText(1), QStringLiteral("连续扫描模式"));
    QCOMPARE(page->tabs->tabText(2), QStringLiteral("简单提醒模式"));
    QCOMPARE(page->tabs->currentIndex(), 0);
    for (ScanField f : {ScanField::edtZTCG, ScanField::edtZTTC, ScanField::edtLXCG, ScanField::edtLXTC,
                        ScanField::edtJD}) {
      QCOMPARE(page->InvalidLabel(f)->text(), QStringLiteral("非法ISBN/ISSN"));
      QVERIFY(page->InvalidLabel(f)->isHidden());
    }
    QCOMPARE(page->pnlZT1->text(), QStringLiteral("已有几本，已采购几本，现采购："));
    QCOMPARE(page->pnlZT1->alignment() & Qt::AlignRight, Qt::AlignRight);
    for (QWidget* panel : {static_cast<QWidget*>(page->pnlZT1), page->pnlZT2,
                           static_cast<QWidget*>(page->pnlEndingIsbn), static_cast<QWidget*>(page->pnlResult),
                           static_cast<QWidget*>(page->pnlJD)})
      QVERIFY(panel->isHidden());
    QVERIFY(page->edtZTQR->font().bold());
    QCOMPARE(page->chkPnl23->text(), QStringLiteral("带复本输出"));
    QVERIFY(!page->chkPnl23->isChecked());
    QCOMPARE(page->btnExport->text(), QStringLiteral("导出"));
    QCOMPARE(page->btnSaveAs->text(), QStringLiteral("存为..."));
    QVERIFY(page->prgExport->isHidden() && page->lblExportCount->isHidden());
    QVERIFY(page->edtZTCG->hasFocus());  // ready for the first scan
  }

  void theTargetChangesOnlyWithItsKeys() {
    TestWindow w;
    OnsiteScanPage* page = Open(w);
    QSpinBox* spin = page->spePnl2;
    struct Step {
      Qt::Key key;
      int value;
    };
    const Step steps[] = {{Qt::Key_Up, 2},        {Qt::Key_PageUp, 12},   {Qt::Key_PageDown, 2},
                          {Qt::Key_Down, 1},      {Qt::Key_Down, 1},      {Qt::Key_5, 1},
                          {Qt::Key_PageUp, 11},   {Qt::Key_Backspace, 11}, {Qt::Key_Delete, 11},
                          {Qt::Key_PageUp, 21}};
    for (const Step& s : steps) {
      QTest::keyClick(spin, s.key);
      QCOMPARE(spin->value(), s.value);
    }
    QTest::keyClicks(spin, "7x");
    QCOMPARE(spin->value(), 21);
    for (int i = 0; i < 12; ++i) QTest::keyClick(spin, Qt::Key_PageUp);
    QCOMPARE(spin->value(), 100);
  }

  void confirmTabSuggestsAndStoresOnTheQuantitysEnter() {
    TestWindow w;
    OnsiteScanPage* page = Open(w);
    Db(w).AppendRecordRow(Gbk("红楼梦"), "7-5006-3772-1", 1, "rec");
    QTest::keyClick(page->spePnl2, Qt::Key_Up);  // target 2

    Scan(page->edtZTCG, "7500637721");
    QCOMPARE(page->edtZTCG->text(), QStringLiteral("7-5006-3772-1"));
    QVERIFY(page->pnlZT1->isVisible() && page->pnlZT2->isVisible());
    QCOMPARE(page->pnlZT1->text(), QStringLiteral("已有[ 1 ]本，已采购[ 0 ]本，现采购："));
    QCOMPARE(page->edtZTQR->text(), QStringLiteral("1"));
    QVERIFY(page->edtZTQR->hasFocus());
    QCOMPARE(page->edtZTQR->selectedText(), QStringLiteral("1"));

    QTest::keyClicks(page->edtZTQR, "a-3x");  // only the digit gets in, over the selection
    QCOMPARE(page->edtZTQR->text(), QStringLiteral("3"));
    QCOMPARE(Db(w).RowCount(MainTable::Locale), 0);
    QTest::keyClick(page->edtZTQR, Qt::Key_Return);
    QCOMPARE(page->pnlZT1->text(), QStringLiteral("7-5006-3772-1  确认采购[ 3 ]本。"));
    QVERIFY(page->pnlZT2->isHidden());
    QCOMPARE(Db(w).GetBoughtCopies("7-5006-3772-1"), 3);
    QVERIFY(page->edtZTCG->hasFocus());
    QCOMPARE(page->edtZTCG->selectedText(), QStringLiteral("7-5006-3772-1"));

    // The next scan replaces the selected key; a cleared quantity buys nothing.
    QTest::keyClicks(page->edtZTCG, "7500637721");
    QTest::keyClick(page->edtZTCG, Qt::Key_Return);
    QCOMPARE(page->pnlZT1->text(), QStringLiteral("已有[ 1 ]本，已采购[ 3 ]本，现采购："));
    QCOMPARE(page->edtZTQR->text(), QStringLiteral("-2"));
    QTest::keyClick(page->edtZTQR, Qt::Key_Backspace);
    QTest::keyClick(page->edtZTQR, Qt::Key_Return);
    QCOMPARE(page->pnlZT1->text(), QStringLiteral("7-5006-3772-1  确认不采购"));
    QCOMPARE(Db(w).GetBoughtCopies("7-5006-3772-1"), 3);

    Scan(page->edtZTTC, "7500637721");
    QCOMPARE(page->pnlZT1->text(), QStringLiteral("剔除 ISBN[ 7-5006-3772-1 ] 的采购数据成功"));
    QVERIFY(page->pnlZT1->isVisible() && page->pnlZT2->isHidden());
    QVERIFY(page->edtZTTC->hasFocus());
    QCOMPARE(page->edtZTTC->selectedText(), page->edtZTTC->text());
    QCOMPARE(Db(w).GetBoughtCopies("7-5006-3772-1"), 0);
  }

  void aRefusedScanShowsTheRedLabelUntilTheNextKey() {
    TestWindow w;
    OnsiteScanPage* page = Open(w);
    Scan(page->edtZTCG, "7500637721");
    QVERIFY(page->pnlZT1->isVisible());
    Scan(page->edtZTCG, "7500637722");  // wrong check character
    QVERIFY(page->InvalidLabel(ScanField::edtZTCG)->isVisible());
    QCOMPARE(page->edtZTCG->text(), QStringLiteral("7500637722"));
    QVERIFY(!page->edtZTCG->hasSelectedText());
    QVERIFY(page->pnlZT1->isHidden() && page->pnlZT2->isHidden());
    QTest::keyClick(page->edtZTCG, Qt::Key_Backspace);
    QVERIFY(page->InvalidLabel(ScanField::edtZTCG)->isHidden());

    // Enter in a blank field does nothing at all.
    page->edtZTTC->setText("   ");
    QTest::keyClick(page->edtZTTC, Qt::Key_Return);
    QVERIFY(page->InvalidLabel(ScanField::edtZTTC)->isHidden());
    QVERIFY(page->pnlZT1->isHidden());

    // With the plain form the panels keep their answer.
    page->radConvert->button(1)->setChecked(true);
    page->tabs->setCurrentIndex(1);
    Scan(page->edtLXCG, "7500637721");
    QCOMPARE(page->pnlEndingIsbn->text(), QStringLiteral("7500637721"));
    Scan(page->edtLXCG, "75006A7721");
    QVERIFY(page->InvalidLabel(ScanField::edtLXCG)->isVisible());
    QVERIFY(page->pnlEndingIsbn->isVisible() && page->pnlResult->isVisible());
  }

  void continuousTabBuysAtOnceAndRemoves() {
    TestWindow w;
    OnsiteScanPage* page = Open(w);
    Db(w).AppendRecordRow("x", "7-5006-3772-1", 1, "rec");
    page->tabs->setCurrentIndex(1);
    QVERIFY(page->edtLXCG->hasFocus());
    QTest::keyClick(page->spePnl2, Qt::Key_Up);
    Scan(page->edtLXCG, "7500637721");
    QCOMPARE(page->pnlEndingIsbn->text(), QStringLiteral("7-5006-3772-1"));
    QCOMPARE(page->pnlResult->text(), QStringLiteral("现有[1]本，已采购[0]本，继续采购[1]本"));
    QVERIFY(page->edtLXCG->hasFocus());
    QCOMPARE(page->edtLXCG->selectedText(), QStringLiteral("7-5006-3772-1"));
    Scan(page->edtLXCG, "7500637721");
    QCOMPARE(page->pnlResult->text(), QStringLiteral("现有[1]本，已采购[1]本，不做采购"));
    QCOMPARE(Db(w).GetBoughtCopies("7-5006-3772-1"), 1);
    Scan(page->edtLXTC, "7500637721");
    QCOMPARE(page->pnlEndingIsbn->text(), QStringLiteral("7-5006-3772-1"));
    QCOMPARE(page->pnlResult->text(), QStringLiteral("剔除ISBN[7-5006-3772-1]的采购数据成功"));
    QCOMPARE(Db(w).GetBoughtCopies("7-5006-3772-1"), 0);
    // The confirm tab kept its own state.
    QVERIFY(page->pnlZT1->isHidden());
  }

  void reminderTabAndTheSoundBoxes() {
    TestWindow w;
    OnsiteScanPage* page = Open(w);
    CountingBeeper beeper;
    page->SetBeeper(&beeper);
    Db(w).AppendRecordRow(Gbk("红楼梦"), "7-5006-3772-1", 1, "rec");
    page->tabs->setCurrentIndex(2);
    Scan(page->edtJD, "7500637721");
    QCOMPARE(page->pnlJD->text(), QStringLiteral("红楼梦, 已有"));
    QCOMPARE(beeper.count, 0);
    page->chkRepeat->setChecked(true);
    Scan(page->edtJD, "7500637721");
    QCOMPARE(beeper.count, 1);
    QCOMPARE(beeper.last, (std::pair<int, int>{800, 50}));
    Scan(page->edtJD, "702000220X");
    QCOMPARE(page->pnlJD->text(), QStringLiteral("7-02-000220-X  没找到！"));
    QCOMPARE(beeper.count, 1);
    page->chkNotRepeat->setChecked(true);
    Scan(page->edtJD, "702000220X");
    QCOMPARE(beeper.count, 2);
    QCOMPARE(Db(w).RowCount(MainTable::Locale), 0);
    page->SetBeeper(nullptr);
  }

  void exportGroupWritesTheTally() {
    TestWindow w;
    OnsiteScanPage* page = Open(w);
    ModalWatcher watcher;
    QTest::mouseClick(page->btnExport, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("请指定你要输出的ISBN文件的文件名和路径！")});
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("Lumarin3.0"));

    Scan(page->edtZTCG, "7500637721");
    QTest::keyClick(page->edtZTQR, Qt::Key_2);
    QTest::keyClick(page->edtZTQR, Qt::Key_Return);
    const std::string out = w.dir.File("bought.txt");
    page->edtFileName_Pn2_ISBN->setText(QString::fromStdString(out));
    page->chkPnl23->setChecked(true);
    QTest::mouseClick(page->btnExport, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("导出完成!"));
    QCOMPARE(watcher.seen().last().title, QStringLiteral("提示信息"));
    QCOMPARE(ReadFile(out), std::string("7-5006-3772-1 2\r\n"));
    QVERIFY(page->prgExport->isHidden() && page->lblExportCount->isHidden());
    page->chkPnl23->setChecked(false);
    QTest::mouseClick(page->btnExport, Qt::LeftButton);
    QCOMPARE(ReadFile(out), std::string("7-5006-3772-1\r\n"));
  }
};

LUMARIN_GUI_TEST_MAIN(TestOnsiteScanPage)
#include "test_onsite_scan_page.moc"
