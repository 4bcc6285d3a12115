// lumarin-cli import-buyer, export-isbn, tally and buyer: the same engine as
// the pages, the database named by --db and opened only when needed.
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "support/marc_builder.h"
#include "support/temp_dir.h"

namespace {

class PurchaseDataCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(marc, MakeRecord({{"010", "  " + Sf('a', "7-5006-3772-1")}, {"200", "1 " + Sf('a', Gbk("围城"))},
                                {"905", "  " + Sf('f', "3")}}) +
                        "\r\n" + MakeRecord({{"200", "1 " + Sf('a', Gbk("无号"))}}) + "\r\n");
  }
  CliResult Run(std::vector<std::string> args) {
    args.insert(args.end(), {"--db", db, "--error-log", dir.File("ErrorLog.txt")});
    return RunCliWith(args);
  }
  TempDir dir;
  std::string marc = dir.File("buyer.iso"), db = dir.File("lumdata.mdb");
};

TEST_F(PurchaseDataCommandTest, ImportAsksBeforeAddingToRowsAndYesAppends) {
  CliResult r = Run({"import-buyer", marc, "--copies-field", "905f"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "采购方MARC数据导入完成！\n\n共导入 2 条记录\n");
  r = Run({"import-buyer", marc});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "已存在采购方MARC数据  2条\n\n本次将导入2条数据\n\n\n是否继续导入？\n-> no\n");
  r = Run({"import-buyer", marc, "--copies", "-3", "--yes"});
  EXPECT_EQ(r.code, 0) << r.err;
  r = Run({"buyer", "list"});
  EXPECT_EQ(r.out,
            "序号\t书名\tISBN\t复本\n"
            "1\t围城\t7-5006-3772-1\t3\n"
            "2\t无号\t\t1\n"
            "3\t围城\t7-5006-3772-1\t-3\n"
            "4\t无号\t\t-3\n");
  EXPECT_EQ(Run({"import-buyer", marc, "--copies", "2", "--copies-field", "905f"}).code, 2);
}

TEST_F(PurchaseDataCommandTest, ExportIsbnFromTheFileThenFromTheTable) {
  const std::string out = dir.File("isbn.txt");
  EXPECT_EQ(Run({"export-isbn", out}).err, "请指定MARC数据文件\n");
  CliResult r = Run({"export-isbn", out, "--marc", marc});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(out), "7-5006-3772-1\r\n\r\n");
  Run({"import-buyer", marc});
  Run({"buyer", "set", "4"});
  r = Run({"export-isbn", out});
  EXPECT_EQ(r.out, "将本系统数据库中的ISBN导出完成!\n");
  EXPECT_EQ(ReadFile(out), "7-5006-3772-1\r\n\r\n");
}

TEST_F(PurchaseDataCommandTest, AnEmptyTallyWritesNothing) {
  EXPECT_EQ(Run({"tally", "list"}).out, "序号\tISBN\t采购数量\t时间\n");
  EXPECT_EQ(Run({"tally", "export-text", dir.File("t.txt")}).out, "");  // the page does nothing then
  EXPECT_FALSE(FileExists(dir.File("t.txt")));
  EXPECT_EQ(Run({"tally", "export", dir.File("e.txt")}).out, "导出完成!\n");
  EXPECT_FALSE(FileExists(dir.File("e.txt")));
  EXPECT_EQ(Run({"tally", "clear"}).out, "");  // an empty table is not cleared, no box
}

TEST_F(PurchaseDataCommandTest, TallyMaintenanceAndExports) {
  {
    // Rows as the scanning page leaves them.
    FixedClock clock({2026, 3, 4, 5, 6, 7});
    TMainData data(db, clock);
    for (const char* isbn : {"7-5006-3772-1", "7500637721", "9787020002207"}) data.AddToTally(isbn, 1);
  }
  EXPECT_EQ(Run({"tally", "adjust", "-1"}).code, 0);
  EXPECT_EQ(Run({"tally", "set", "2"}).code, 0);
  EXPECT_EQ(Run({"tally", "delete", "2"}).code, 0);
  CliResult r = Run({"tally", "delete", "2"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "没有序号为2的现采数据\n");
  EXPECT_EQ(Run({"tally", "list"}).out,
            "序号\tISBN\t采购数量\t时间\n"
            "1\t7-5006-3772-1\t2\t2026-03-04 05:06:07\n"
            "3\t9787020002207\t2\t2026-03-04 05:06:07\n");
  EXPECT_EQ(Run({"tally", "export", dir.File("a.txt"), "--with-copies"}).out, "导出完成!\n");
  EXPECT_EQ(ReadFile(dir.File("a.txt")), "7-5006-3772-1 2\r\n9787020002207 2\r\n");
  EXPECT_EQ(Run({"tally", "export-text", dir.File("b.txt")}).code, 0);
  EXPECT_EQ(ReadFile(dir.File("b.txt")), "7-5006-3772-1  2\r\n9787020002207  2\r\n");
  EXPECT_EQ(Run({"tally", "adjust", "-2"}).code, 0);
  EXPECT_EQ(Run({"tally", "delete-zero"}).code, 0);
  EXPECT_EQ(Run({"tally", "clear"}).out, "");
  EXPECT_EQ(Run({"tally", "set", "99999999999"}).code, 1);
}

TEST_F(PurchaseDataCommandTest, ACommandWithoutTheDatabaseNeverCreatesIt) {
  CliResult r = Run({"isbn-list", marc, dir.File("list.txt")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_FALSE(FileExists(db));
  EXPECT_EQ(Run({"buyer", "list"}).code, 0);
  EXPECT_TRUE(FileExists(db));
}

}  // namespace
