// The maintenance page's bulk changes, deletions, clearing, and the two
// tally exports' exact bytes.
#include <gtest/gtest.h>

#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "features/tally_maintenance.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

class TallyTest : public ::testing::Test {
 protected:
  TempDir dir;
  TestContext tc{dir.path()};
  TMainData& db() { return MainData(tc.ctx); }
  void Tally(const std::vector<std::pair<std::string, int>>& rows) {
    for (const auto& [isbn, n] : rows) db().AddToTally(isbn, n);
  }
  std::vector<int32_t> Counts(MainTable t) {
    std::vector<int32_t> out;
    if (t == MainTable::Locale)
      for (const auto& r : db().TallyRows()) out.push_back(r.rsnumber);
    else
      for (const auto& r : db().BuyerRows()) out.push_back(r.rsnumber);
    return out;
  }
};

TEST_F(TallyTest, SetAndAdjustWorkOnEveryRowOfEitherTable) {
  struct Case {
    const char* name;
    MainTable table;
    bool set;
    std::string field;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"set", MainTable::Locale, true, "3", {3, 3, 3}},
      {"set with an empty field gives 0", MainTable::Locale, true, "", {0, 0, 0}},
      {"set with a non-number gives 0", MainTable::Buyer, true, "2-", {0, 0, 0}},
      {"adjust by -1 takes 0 to -1", MainTable::Locale, false, "-1", {-1, 0, 3}},
      {"adjust with an empty field changes nothing", MainTable::Buyer, false, "", {0, 2, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    db().ClearLocaleTable(tc.shell);
    db().ClearBuyerTable(tc.shell);
    Tally({{"A", 1}, {"B", 2}, {"C", 5}});
    db().AdjustAllCopies(MainTable::Locale, -1);  // 0, 1, 4
    for (int32_t n : {0, 2, 5}) db().AppendRecordRow("t", "i", n, "r");
    tc.shell.messages.clear();
    EXPECT_EQ((c.set ? SetAllCounts : AdjustAllCounts)(tc.ctx, c.table, c.field), JobOutcome::Done);
    EXPECT_EQ(Counts(c.table), c.expected);
    EXPECT_TRUE(tc.shell.messages.empty());
  }
}

TEST_F(TallyTest, ANumberBeyondThirtyTwoBitsIsRefused) {
  Tally({{"A", 1}});
  EXPECT_EQ(SetAllCounts(tc.ctx, MainTable::Locale, "3000000000"), JobOutcome::Refused);
  EXPECT_EQ(tc.shell.LastText(), "请输入-2147483648到2147483647之间的整数");
  EXPECT_EQ(Counts(MainTable::Locale), std::vector<int32_t>{1});
}

TEST_F(TallyTest, DeleteZeroRowsKeepsPositiveAndNegativeCounts) {
  Tally({{"A", 1}, {"B", 1}, {"C", 3}, {"D", 1}, {"E", 0}});
  db().AdjustAllCopies(MainTable::Locale, -1);  // 0, 0, 2, 0, -1
  EXPECT_EQ(DeleteZeroCountRows(tc.ctx), 3);
  std::vector<TallyRow> rows = db().TallyRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].isbn, "C");
  EXPECT_EQ(rows[1].rsnumber, -1);
}

TEST_F(TallyTest, DeleteCurrentRowAndClearing) {
  Tally({{"A", 1}, {"B", 1}});
  EXPECT_FALSE(DeleteCurrentTallyRow(tc.ctx, 0));
  EXPECT_TRUE(DeleteCurrentTallyRow(tc.ctx, db().TallyRows()[0].recno));
  EXPECT_EQ(db().TallyRows()[0].isbn, "B");
  // Clearing an empty table: nothing happens, no box.
  ClearAllRows(tc.ctx, MainTable::Buyer);
  EXPECT_TRUE(tc.shell.messages.empty());
  ClearAllRows(tc.ctx, MainTable::Locale);
  EXPECT_EQ(TallyRowCount(tc.ctx), 0);
  EXPECT_EQ(tc.shell.Texts(), std::vector<std::string>{"完成清空本次现采数据库!"});
}

TEST_F(TallyTest, TheExportsDifferOnlyInTheBlanksBeforeTheCount) {
  Tally({{"7-5006-3772-1", 2}, {"7500637721", 1}, {"9787020002207", 3}});
  db().AdjustAllCopies(MainTable::Locale, -1);
  TallyExportSettings s;
  s.isbnFile = dir.File("plain.txt");
  ASSERT_EQ(ExportTally(tc.ctx, s), JobOutcome::Done);
  EXPECT_EQ(ReadFile(s.isbnFile), "7-5006-3772-1\r\n7500637721\r\n9787020002207\r\n");
  s.isbnFile = dir.File("copies.txt");
  s.withCopies = true;
  ASSERT_EQ(ExportTally(tc.ctx, s), JobOutcome::Done);
  EXPECT_EQ(ReadFile(s.isbnFile), "7-5006-3772-1 1\r\n7500637721 0\r\n9787020002207 2\r\n");
  ASSERT_EQ(ExportTallyText(tc.ctx, dir.File("text.txt")), JobOutcome::Done);
  EXPECT_EQ(ReadFile(dir.File("text.txt")), "7-5006-3772-1  1\r\n7500637721  0\r\n9787020002207  2\r\n");
  EXPECT_EQ(tc.shell.Texts(), (std::vector<std::string>{"导出完成!", "导出完成!", "导出完成!"}));
  EXPECT_FALSE(tc.shell.progressVisible);
}

TEST_F(TallyTest, ExportChecksAndTheEmptyTally) {
  TallyExportSettings s;
  s.isbnFile = " ";
  EXPECT_EQ(ExportTally(tc.ctx, s), JobOutcome::Refused);
  EXPECT_EQ(tc.shell.LastText(), "请指定你要输出的ISBN文件的文件名和路径！");
  EXPECT_EQ(tc.shell.messages.back().style, MessageStyle::Plain);
  // An empty tally: no file is created, the box comes all the same.
  s.isbnFile = dir.File("none.txt");
  EXPECT_EQ(ExportTally(tc.ctx, s), JobOutcome::Done);
  EXPECT_FALSE(FileExists(s.isbnFile));
  EXPECT_EQ(tc.shell.LastText(), "导出完成!");
  // The database itself is never the target.
  Tally({{"A", 1}});
  s.isbnFile = tc.ctx.databasePath;
  EXPECT_EQ(ExportTally(tc.ctx, s), JobOutcome::Refused);
  EXPECT_EQ(db().GetBoughtCopies("A"), 1);
}

}  // namespace
