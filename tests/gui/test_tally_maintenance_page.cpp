// The page "现场采购数据维护" driven in the real window.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "app/pages/DbGridModel.h"
#include "app/pages/TallyMaintenancePage.h"
#include "app/qt_shell.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "gui_support.h"

class TestTallyMaintenancePage : public QObject {
  Q_OBJECT

  // Fills the tables, then enters the page (which reads both grids).
  TallyMaintenancePage* Open(TestWindow& w, const std::vector<std::pair<std::string, int>>& tally) {
    TMainData& db = MainData(w.window->context());
    for (const auto& [isbn, n] : tally) db.AddToTally(isbn, n);
    db.AppendRecordRow(Gbk("围城"), "7-5006-3772-1", 2, "r1");
    db.AppendRecordRow(Gbk("红楼梦"), "7-02-000220-X", 1, "r2");
    w.window->Navigate(w.window->NavItem(QStringLiteral("现场采购数据维护")));
    return qobject_cast<TallyMaintenancePage*>(w.window->Page(QStringLiteral("现场采购数据维护")));
  }
  static QStringList Column(QTableView* grid, int column) {
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r) out << grid->model()->index(r, column).data().toString();
    return out;
  }
  static QStringList Titles(QTableView* grid) {
    QStringList out;
    for (int c = 0; c < 4; ++c) out << grid->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return out;
  }

 private slots:
  void showsBothTabsWithTheirColumns() {
    TestWindow w;
    TallyMaintenancePage* page = Open(w, {{"7500637721", 2}});
    QVERIFY(page);
    QCOMPARE(page->tabs->tabText(0), QStringLiteral("浏览采购方数据"));
    QCOMPARE(page->tabs->tabText(1), QStringLiteral("浏览现采数据"));
    QCOMPARE(page->tabs->currentIndex(), 1);
    QCOMPARE(Titles(page->grdBuyer), (QStringList{"序号", "书名", "ISBN", "复本"}));
    QCOMPARE(Titles(page->grdLocale), (QStringList{"序号", "ISBN", "采购数量", "时间"}));
    const int buyerWidths[] = {36, 132, 75, 48}, localeWidths[] = {36, 85, -1, 108};
    for (int c = 0; c < 4; ++c) {
      QCOMPARE(page->grdBuyer->columnWidth(c), buyerWidths[c]);
      if (localeWidths[c] > 0) QCOMPARE(page->grdLocale->columnWidth(c), localeWidths[c]);
    }
    QCOMPARE(Column(page->grdBuyer, 1), (QStringList{"围城", "红楼梦"}));
    QCOMPARE(Column(page->grdLocale, 1), QStringList{"7500637721"});
    auto editable = [](QTableView* g, int c) { return bool(g->model()->flags(g->model()->index(0, c)) & Qt::ItemIsEditable); };
    QCOMPARE((QList<bool>{editable(page->grdBuyer, 0), editable(page->grdBuyer, 1), editable(page->grdBuyer, 2),
                          editable(page->grdBuyer, 3)}),
             (QList<bool>{false, false, false, true}));
    QCOMPARE((QList<bool>{editable(page->grdLocale, 0), editable(page->grdLocale, 1), editable(page->grdLocale, 2),
                          editable(page->grdLocale, 3)}),
             (QList<bool>{false, true, true, true}));
    QCOMPARE(page->grdLocale->horizontalHeader()->defaultAlignment(), Qt::Alignment(Qt::AlignCenter));
    QStringList buttons;
    for (QPushButton* b : {page->btnBuyerSet, page->btnBuyerAdjust, page->btnBuyerClear, page->btnLocaleSet,
                           page->btnLocaleAdjust, page->btnDeleteRow, page->btnDeleteZero, page->btnLocaleClear,
                           page->btnExportText})
      buttons << b->text();
    QCOMPARE(buttons, (QStringList{"设置", "增减", "清空所有采购方数据", "设置", "增减", "<<删除当前行",
                                   "删除所有数量为零的行", "*清空所有现采数据", "导出文本 >>>"}));
    QStringList captions;
    for (QLabel* l : page->findChildren<QLabel*>()) captions << l->text();
    for (const char* c : {"将采购方复本重新设为：", "将采购方复本统一增减：", "将采购数量重新设为：", "将采购数量统一增减：", "本"})
      QVERIFY2(captions.contains(QString::fromUtf8(c)), c);

    // Entering the page again shows what changed meanwhile.
    MainData(w.window->context()).AddToTally("NEW", 1);
    w.window->Navigate(w.window->NavItem(QStringLiteral("首页")));
    w.window->Navigate(w.window->NavItem(QStringLiteral("现场采购数据维护")));
    QCOMPARE(Column(page->grdLocale, 1), (QStringList{"7500637721", "NEW"}));
  }

  void anEditIsWrittenWhenTheRowIsLeft() {
    TestWindow w;
    TallyMaintenancePage* page = Open(w, {{"A", 1}, {"B", 1}});
    TMainData& db = MainData(w.window->context());
    page->grdLocale->setCurrentIndex(page->localeModel->index(0, 2));
    QVERIFY(page->localeModel->setData(page->localeModel->index(0, 2), 7, Qt::EditRole));
    QVERIFY(page->localeModel->setData(page->localeModel->index(0, 1), "A2", Qt::EditRole));
    QCOMPARE(page->localeModel->index(0, 2).data().toInt(), 7);
    QCOMPARE(db.GetBoughtCopies("A"), 1);  // not yet written
    page->grdLocale->setCurrentIndex(page->localeModel->index(1, 2));
    QCOMPARE(db.GetBoughtCopies("A2"), 7);
    QCOMPARE(db.RowCount(MainTable::Locale), 2);
  }

  void bulkChangesAndDeletions() {
    TestWindow w;
    TallyMaintenancePage* page = Open(w, {{"A", 1}, {"B", 1}, {"C", 3}, {"D", 1}});
    ModalWatcher watcher;
    QTest::keyClicks(page->edtLocaleAdjust, "x-1");
    QCOMPARE(page->edtLocaleAdjust->text(), QStringLiteral("-1"));
    QTest::mouseClick(page->btnLocaleAdjust, Qt::LeftButton);
    QCOMPARE(Column(page->grdLocale, 2), (QStringList{"0", "0", "2", "0"}));
    page->grdLocale->setCurrentIndex(page->localeModel->index(1, 0));
    QTest::mouseClick(page->btnDeleteRow, Qt::LeftButton);
    QCOMPARE(Column(page->grdLocale, 1), (QStringList{"A", "C", "D"}));
    QTest::mouseClick(page->btnDeleteZero, Qt::LeftButton);
    QCOMPARE(Column(page->grdLocale, 1), QStringList{"C"});
    page->tabs->setCurrentIndex(0);
    QTest::mouseClick(page->btnBuyerSet, Qt::LeftButton);  // empty field: every count 0
    QCOMPARE(Column(page->grdBuyer, 3), (QStringList{"0", "0"}));
    QVERIFY(watcher.seen().isEmpty());  // none of these asks or reports

    page->tabs->setCurrentIndex(1);
    QTest::mouseClick(page->btnLocaleClear, Qt::LeftButton);
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("完成清空本次现采数据库!")});
    QCOMPARE(page->localeModel->rowCount(), 0);
    QTest::mouseClick(page->btnLocaleClear, Qt::LeftButton);  // already empty: no box
    QCOMPARE(watcher.seen().size(), 1);
    page->tabs->setCurrentIndex(0);
    QTest::mouseClick(page->btnBuyerClear, Qt::LeftButton);
    QCOMPARE(watcher.Texts().last(), QStringLiteral("完成清空采购方数据库!"));
    QCOMPARE(watcher.seen().last().title, QStringLiteral("提示信息"));
  }

  void exportsTheTallyAsText() {
    TestWindow w;
    TallyMaintenancePage* page = Open(w, {{"7-5006-3772-1", 2}, {"7500637721", -1}});
    const QString target = QString::fromStdString(w.dir.File("tally.txt"));
    int asked = 0;
    page->chooseTextFile = [&] {
      ++asked;
      return target;
    };
    ModalWatcher watcher;
    QTest::mouseClick(page->btnExportText, Qt::LeftButton);
    QCOMPARE(ReadFile(w.dir.File("tally.txt")), std::string("7-5006-3772-1  2\r\n7500637721  -1\r\n"));
    QCOMPARE(watcher.Texts(), QStringList{QStringLiteral("导出完成!")});
    // An empty tally: no file box, nothing at all.
    MainData(w.window->context()).ClearLocaleTable(w.window->shell());
    QTest::mouseClick(page->btnExportText, Qt::LeftButton);
    QCOMPARE(asked, 1);
    QCOMPARE(watcher.seen().size(), 2);  // only the clearing box
  }
};

LUMARIN_GUI_TEST_MAIN(TestTallyMaintenancePage)
#include "test_tally_maintenance_page.moc"
