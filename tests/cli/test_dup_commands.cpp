// lumarin-cli check-marc, check-isbn, dedup-marc and dedup-isbn.
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "support/marc_builder.h"
#include "support/temp_dir.h"

namespace {

std::string Book(const std::string& title, const std::string& isbn, const std::string& price) {
  return MakeRecord({{"010", "  " + Sf('a', isbn) + (price.empty() ? "" : Sf('d', price))},
                     {"200", "1 " + Sf('a', Gbk(title))}});
}

class DupCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(supplier, a + "\r\n" + b + "\r\n" + c + "\r\n");
    WriteFile(buyer, b2 + "\r\n" + a + "\r\n" + b3 + "\r\n");
  }
  CliResult Run(std::vector<std::string> args) {
    args.insert(args.end(), {"--error-log", dir.File("ErrorLog.txt"), "--db", dir.File("lumdata.mdb")});
    return RunCliWith(args);
  }
  TempDir dir;
  std::string supplier = dir.File("supplier.iso"), buyer = dir.File("buyer.iso");
  std::string newFile = dir.File("new.iso"), common = dir.File("common.iso");
  // a is held as it stands; b is held twice under other prices (b2, b3);
  // c is new.
  std::string a = Book("围城", "7-5006-3772-1", "CNY20.00");
  std::string b = Book("活着", "7-02-000220-7", "CNY18.00");
  std::string b2 = Book("活着", "7-02-000220-7", "CNY19.00");
  std::string b3 = Book("活着", "7-02-000220-7", "CNY21.00");
  std::string c = Book("边城", "7-5366-0001-2", "CNY9.00");
};

}  // namespace

TEST_F(DupCommandsTest, CheckMarcIdenticalWritesTheHeldRecordOnceAndTheRestAsNew) {
  CliResult r = Run({"check-marc", "--supplier", supplier, "--buyer", buyer, "--new", newFile, "--common", common});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(common), a + "\r\n");
  EXPECT_EQ(ReadFile(newFile), b + "\r\n" + c + "\r\n");
  EXPECT_EQ(r.out, "利用双方MARC数据自动匹配查重完成!\n\n供应商记录共3条：采购方没有的2条，双方都有的1条。\n");
}

TEST_F(DupCommandsTest, CheckMarcBuyerSideWritesEveryMatchingBuyerRecordSupplierSideOnce) {
  struct {
    std::string side;
    std::string expected;
  } cases[] = {{"buyer", a + "\r\n" + b2 + "\r\n" + b3 + "\r\n"}, {"supplier", a + "\r\n" + b + "\r\n"}};
  for (const auto& c : cases) {
    CliResult r = Run({"check-marc", "--supplier", supplier, "--buyer", buyer, "--rule", "isbn", "--common", common,
                       "--common-side", c.side});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(common), c.expected) << c.side;
    EXPECT_FALSE(FileExists(newFile));  // only the common output was named
  }
  // Fields: title and ISBN agree, the price does not: 2 of 3.
  for (const char* min : {"2", "3"}) {
    CliResult r = Run({"check-marc", "--supplier", supplier, "--buyer", buyer, "--rule", "fields", "--fields",
                       ",200a,010a,010d,", "--min", min, "--common", common});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(common), std::string(min) == "2" ? a + "\r\n" + b2 + "\r\n" + b3 + "\r\n" : a + "\r\n");
  }
}

TEST_F(DupCommandsTest, CheckMarcInputChecksInPageOrder) {
  const std::string missing = dir.File("missing.iso");
  struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"check-marc", "--supplier", missing, "--new", newFile}, "请指定采购方数据源。\n"},
      {{"check-marc", "--supplier", missing, "--buyer", missing, "--new", newFile}, "请指定采购方数据源。\n"},
      {{"check-marc", "--supplier", missing, "--buyer", buyer, "--rule", "fields", "--fields", "200A"},
       "请指定供应商方数据源。\n"},
      {{"check-marc", "--supplier", supplier, "--buyer", buyer, "--rule", "fields", "--fields", "200a,20a"},
       "查重字段书写错误!\n\n请参考例子或说明\n"},
      {{"check-marc", "--supplier", supplier, "--buyer", buyer, "--new", " ", "--common", ""},
       "最少需要指定一个输出文件。\n"},
      {{"check-marc", "--supplier", supplier, "--buyer", buyer, "--new", buyer},
       "输出文件不能与供应商或采购方的MARC文件相同，请另选一个文件。\n"},
      {{"check-marc", "--supplier", supplier, "--buyer", buyer, "--new", newFile, "--common", newFile},
       "两个输出文件不能是同一个文件，请另选一个文件。\n"},
  };
  for (const auto& c : cases) {
    CliResult r = Run(c.args);
    EXPECT_EQ(r.code, 1) << c.message;
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(FileExists(newFile));
  // A spec that is not valid in identical mode is not looked at.
  EXPECT_EQ(Run({"check-marc", "--supplier", supplier, "--buyer", buyer, "--fields", "x", "--new", newFile}).code, 0);
}

TEST_F(DupCommandsTest, CheckMarcCommandLineErrorsExitTwo) {
  EXPECT_EQ(Run({"check-marc", "--supplier", supplier, "--buyer", buyer, "--buyer-db"}).code, 2);
  EXPECT_EQ(Run({"check-marc", "--supplier", supplier, "--buyer", buyer, "--min", "11"}).code, 2);
  EXPECT_EQ(Run({"check-marc", "--supplier", supplier, "--buyer", buyer, "--rule", "title"}).code, 2);
}

TEST_F(DupCommandsTest, CheckMarcFromTheBuyerTable) {
  CliResult empty = Run({"check-marc", "--supplier", supplier, "--buyer-db", "--new", newFile});
  EXPECT_EQ(empty.code, 1);
  EXPECT_EQ(empty.err, "“现场采购”模块中并没有导入采购方MARC数据。\n请指定采购方数据源。\n");

  FixedClock clock{LocalDateTime{2026, 3, 4, 5, 6, 7}};
  {
    TMainData db(dir.File("lumdata.mdb"), clock);
    for (const std::string* r : {&b3, &a}) db.AppendRecordRow("", "", 1, *r);
  }
  CliResult r = Run({"check-marc", "--supplier", supplier, "--buyer-db", "--rule", "isbn", "--new", newFile,
                     "--common", common});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(common), a + "\r\n" + b3 + "\r\n");
  EXPECT_EQ(ReadFile(newFile), c + "\r\n");
}

TEST_F(DupCommandsTest, CheckIsbnComparesWholeLines) {
  WriteFile(dir.File("b.txt"), "7500637721\r\n\r\n978-7-02-000220-7\r\n");
  WriteFile(dir.File("s.txt"), "7-5006-3772-1\r\n7500637721\r\n7500637721 \r\n\r\n7500637721\r\nnew\r\n");
  CliResult r = Run({"check-isbn", "--buyer", dir.File("b.txt"), "--supplier", dir.File("s.txt"), "--new",
                     dir.File("n.txt"), "--common", dir.File("c.txt")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "利用双方ISBN文件自动匹配查重完成!\n");
  EXPECT_EQ(ReadFile(dir.File("c.txt")), "7500637721\r\n\r\n7500637721\r\n");
  EXPECT_EQ(ReadFile(dir.File("n.txt")), "7-5006-3772-1\r\n7500637721 \r\nnew\r\n");
}

TEST_F(DupCommandsTest, CheckIsbnInputChecksInPageOrder) {
  WriteFile(dir.File("b.txt"), "1\r\n");
  const std::string missing = dir.File("missing.txt");
  struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"check-isbn", "--buyer", missing, "--supplier", missing}, "请指定采购方ISBN文件。\n"},
      {{"check-isbn", "--buyer", dir.File("b.txt"), "--supplier", missing}, "请指定供应商方ISBN文件。\n"},
      {{"check-isbn", "--buyer", dir.File("b.txt"), "--supplier", dir.File("b.txt")}, "最少需要指定一个输出文件。\n"},
      {{"check-isbn", "--buyer", dir.File("b.txt"), "--supplier", dir.File("b.txt"), "--new", dir.File("b.txt")},
       "输出文件不能与采购方或供应方的ISBN文件相同，请另选一个文件。\n"},
  };
  for (const auto& c : cases) {
    CliResult r = Run(c.args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.message);
  }
}

TEST_F(DupCommandsTest, DedupMarcKeepsTheFirstOfEachSetAndAppends) {
  const std::string in = dir.File("in.iso"), out = dir.File("out.iso");
  WriteFile(in, a + "\r\n" + b + "\r\n" + a + "\r\n" + c + "\r\n");
  CliResult r = Run({"dedup-marc", in, out});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(out), a + "\r\n" + b + "\r\n" + c + "\r\n");
  EXPECT_EQ(r.out, "MARC文件去重完成!\n\n原始记录共4条，写入去重后MARC文件3条。\n");
  // Again into the same output: every record is already there.
  EXPECT_EQ(Run({"dedup-marc", in, out}).code, 0);
  EXPECT_EQ(ReadFile(out), a + "\r\n" + b + "\r\n" + c + "\r\n");
  // An output that already holds unrelated records keeps them; ISBN mode.
  const std::string held = Book("家", "7-5006-3772-1X", "");
  WriteFile(out, held + "\r\n");
  EXPECT_EQ(Run({"dedup-marc", in, out, "--rule", "isbn"}).code, 0);
  EXPECT_EQ(ReadFile(out), held + "\r\n" + b + "\r\n" + c + "\r\n");
}

TEST_F(DupCommandsTest, DedupInputChecksInPageOrder) {
  const std::string in = dir.File("in.iso");
  WriteFile(in, a);
  struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"dedup-marc", dir.File("missing.iso"), " ", "--rule", "fields", "--fields", "x"}, "请指定原始MARC文件。\n"},
      {{"dedup-marc", in, " ", "--rule", "fields", "--fields", "200a,2000"}, "重复字段书写错误!\n\n请参考例子或说明\n"},
      {{"dedup-marc", in, " ", "--rule", "fields", "--fields", ",200a,"}, "请指定去重后的MARC文件。\n"},
      {{"dedup-marc", in, in}, "去重后MARC文件不能与原始MARC文件相同，请另选一个文件。\n"},
      {{"dedup-isbn", dir.File("missing.txt"), ""}, "请指定原始ISBN文件。\n"},
      {{"dedup-isbn", in, "  "}, "请指定去重后的ISBN文件。\n"},
  };
  for (const auto& c : cases) {
    CliResult r = Run(c.args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.message);
  }
  EXPECT_EQ(ReadFile(in), a);
}

TEST_F(DupCommandsTest, DedupIsbnKeepsTheFirstOfEachLineAsItStands) {
  const std::string in = dir.File("in.txt"), out = dir.File("out.txt");
  WriteFile(in, "7500637721\r\n7-5006-3772-1\r\n7500637721\r\n\r\n\r\n");
  WriteFile(out, "x");  // an unended last line is ended before appending
  CliResult r = Run({"dedup-isbn", in, out});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "ISBN文件去重完成!\n");
  EXPECT_EQ(ReadFile(out), "x\r\n7500637721\r\n7-5006-3772-1\r\n\r\n");
}
