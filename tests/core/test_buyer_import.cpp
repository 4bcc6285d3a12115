// The buyer import: copies rules, the question, what the rows hold, and the
// ISBN export's exact bytes.
#include <gtest/gtest.h>

#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "features/buyer_import.h"
#include "support/marc_builder.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

std::string Book(const std::string& isbn, const std::string& titleUtf8, const std::string& extra905 = "") {
  std::vector<TestField> fields = {{"001", "0001"}};
  if (!isbn.empty()) fields.push_back({"010", "  " + Sf('a', isbn) + Sf('d', "CNY20.00")});
  fields.push_back({"200", "1 " + Sf('a', Gbk(titleUtf8)) + Sf('f', Gbk("某人著"))});
  if (!extra905.empty()) fields.push_back({"905", "  " + extra905});
  return MakeRecord(fields);
}

class BuyerImportTest : public ::testing::Test {
 protected:
  TempDir dir;
  TestContext tc{dir.path()};
  TMainData& db() { return MainData(tc.ctx); }
  std::string WriteMarc(const std::vector<std::string>& records) {
    std::string bytes;
    for (const auto& r : records) bytes += r + "\r\n";
    std::string path = dir.File("buyer.iso");
    WriteFile(path, bytes);
    return path;
  }
};

TEST(BuyerCopies, FollowTheTickedOption) {
  struct Case {
    const char* name;
    bool initialOn;
    std::string initial;
    bool fieldOn;
    std::string field;
    std::string f905;
    int32_t copies;
  };
  const Case cases[] = {
      {"no option", false, "7", false, "905f", Sf('f', "4"), 1},
      {"initial count", true, "5", false, "905f", Sf('f', "4"), 5},
      {"initial empty", true, "", false, "905f", "", 1},
      {"initial negative", true, "-3", false, "905f", "", -3},
      {"initial not a number", true, "3a", false, "905f", "", 1},
      {"initial beyond 32 bits", true, "99999999999", false, "905f", "", 1},
      {"copies field", false, "", true, "905f", Sf('b', "L1") + Sf('f', "4"), 4},
      {"copies field without $f", false, "", true, "905f", Sf('b', "L1"), 1},
      {"copies field digits then text", false, "", true, "905f", Sf('f', "3册"), 1},
      {"another field", false, "", true, "905b", Sf('b', "12"), 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BuyerImportSettings s;
    s.initialCopiesOn = c.initialOn;
    s.initialCopies = c.initial;
    s.copiesFieldOn = c.fieldOn;
    s.copiesField = c.field;
    EXPECT_EQ(CopiesFor(s, TMarcRecord(Book("7-5006-3772-1", "书", Gbk(c.f905)))), c.copies);
  }
}

TEST_F(BuyerImportTest, RowsHoldTitleIsbnCopiesAndTheRecordInFileOrder) {
  const std::string twoIsbns = MakeRecord({{"010", "  " + Sf('a', "7-02-000220-X")},
                                           {"010", "  " + Sf('a', "7-5006-3772-1")},
                                           {"200", "1 " + Sf('a', Gbk("红楼梦"))}});
  const std::vector<std::string> records = {Book("7-5006-3772-1", "围城"), Book("", "无ISBN的书"), twoIsbns};
  BuyerImportSettings s;
  s.marcFile = WriteMarc(records);
  int64_t added = 0;
  ASSERT_EQ(ImportBuyerData(tc.ctx, s, &added), JobOutcome::Done);
  EXPECT_EQ(added, 3);
  std::vector<BuyerRow> rows = db().BuyerRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].title, Gbk("围城"));
  EXPECT_EQ(rows[0].isbn, "7-5006-3772-1");
  EXPECT_EQ(rows[1].isbn, "");  // a record without 010 is still a row
  EXPECT_EQ(rows[2].isbn, "7-02-000220-X");
  for (const auto& r : rows) EXPECT_EQ(r.rsnumber, 1);
  std::vector<std::string> stored;
  db().ForEachBuyerRecord([&](int64_t, std::string_view d) { stored.emplace_back(d); });
  EXPECT_EQ(stored, records);
  EXPECT_EQ(tc.shell.LastText(), "采购方MARC数据导入完成！\r\r共导入 3 条记录");
  EXPECT_EQ(tc.shell.busyDepth, 0);
}

TEST_F(BuyerImportTest, ANonEmptyTableAsksFirstAndNoChangesNothing) {
  BuyerImportSettings s;
  s.marcFile = WriteMarc({Book("1", "甲"), Book("2", "乙")});
  ASSERT_EQ(ImportBuyerData(tc.ctx, s), JobOutcome::Done);
  tc.shell.messages.clear();
  tc.shell.questionAnswers = {false, true};
  EXPECT_EQ(ImportBuyerData(tc.ctx, s), JobOutcome::Refused);
  EXPECT_EQ(db().RowCount(MainTable::Buyer), 2);
  EXPECT_TRUE(tc.shell.messages.empty());
  ASSERT_EQ(tc.shell.questions.size(), 1u);
  EXPECT_EQ(tc.shell.questions[0], ImportQuestion(2, 2) + "|" + Gbk("提示信息"));
  EXPECT_EQ(GbkToUtf8(ImportQuestion(2, 2)), "已存在采购方MARC数据  2条\r\r本次将导入2条数据\r\r\r是否继续导入？");
  // Yes: the same records are stored a second time, after the first ones.
  EXPECT_EQ(ImportBuyerData(tc.ctx, s), JobOutcome::Done);
  std::vector<BuyerRow> rows = db().BuyerRows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2].isbn, "1");
  EXPECT_EQ(rows[3].recno, 4);
}

TEST_F(BuyerImportTest, AMissingFileIsRefusedWithAPlainBox) {
  BuyerImportSettings s;
  s.marcFile = dir.File("none.iso");
  EXPECT_EQ(ImportBuyerData(tc.ctx, s), JobOutcome::Refused);
  ASSERT_EQ(tc.shell.messages.size(), 1u);
  EXPECT_EQ(tc.shell.messages[0].style, MessageStyle::Plain);
  EXPECT_EQ(tc.shell.LastText(), "指定的文件不存在！");
}

TEST_F(BuyerImportTest, ExportFromTheTableWritesIsbnsInRecnoOrderHyphensKept) {
  BuyerImportSettings s;
  s.marcFile = WriteMarc({Book("7-5006-3772-1", "甲"), Book("", "乙"), Book("9787020002207", "丙")});
  ImportBuyerData(tc.ctx, s);
  s.marcFile = dir.File("ignored-when-the-table-has-rows.iso");
  s.isbnFile = dir.File("out.txt");
  ASSERT_EQ(ExportBuyerIsbns(tc.ctx, s), JobOutcome::Done);
  EXPECT_EQ(ReadFile(s.isbnFile), "7-5006-3772-1\r\n\r\n9787020002207\r\n");
  EXPECT_EQ(tc.shell.LastText(), "将本系统数据库中的ISBN导出完成!");
  EXPECT_FALSE(tc.shell.progressVisible);
}

TEST_F(BuyerImportTest, ExportFromAnEmptyTableReadsTheMarcFile) {
  BuyerImportSettings s;
  s.marcFile = WriteMarc({Book("7-5006-3772-1", "甲"), Book("", "乙"), Book("7-02-000220-X", "丙")});
  s.isbnFile = dir.File("out.txt");
  ASSERT_EQ(ExportBuyerIsbns(tc.ctx, s), JobOutcome::Done);
  EXPECT_EQ(ReadFile(s.isbnFile), "7-5006-3772-1\r\n\r\n7-02-000220-X\r\n");
  // A missing MARC file gives an empty list and the closing box.
  s.marcFile = dir.File("none.iso");
  ASSERT_EQ(ExportBuyerIsbns(tc.ctx, s), JobOutcome::Done);
  EXPECT_EQ(ReadFile(s.isbnFile), "");
  EXPECT_EQ(tc.shell.LastText(), "将MARC文件中的ISBN导出完成!");
}

TEST_F(BuyerImportTest, ExportChecks) {
  struct Case {
    const char* name;
    std::string marc, isbn;
    std::string message;
    MessageStyle style;
  };
  const std::string marc = WriteMarc({Book("1", "甲")});
  const Case cases[] = {
      {"blank ISBN file", marc, "  ", "请指定你要输出的ISBN文件的文件名和路径！", MessageStyle::Plain},
      {"blank MARC file on an empty table", " ", dir.File("o.txt"), "请指定MARC数据文件", MessageStyle::Information},
      {"list over its own input", marc, marc, "ISBN文件不能与MARC文件相同，请另选一个文件。",
       MessageStyle::Information},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tc.shell.messages.clear();
    BuyerImportSettings s;
    s.marcFile = c.marc;
    s.isbnFile = c.isbn;
    EXPECT_EQ(ExportBuyerIsbns(tc.ctx, s), JobOutcome::Refused);
    ASSERT_EQ(tc.shell.messages.size(), 1u);
    EXPECT_EQ(tc.shell.LastText(), c.message);
    EXPECT_EQ(tc.shell.messages[0].style, c.style);
    EXPECT_EQ(tc.shell.busyDepth, 0);
  }
  EXPECT_NE(ReadFile(marc), "");
}

}  // namespace
