// lumarin-cli extract
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "core/commonUnit.h"
#include "support/marc_builder.h"
#include "support/temp_dir.h"

TEST(ExtractCommand, BothOrdersAndTheChecks) {
  TempDir dir;
  std::string a = MakeRecord({{"010", "  " + Sf('a', "7-1")}}), b = MakeRecord({{"010", "  " + Sf('a', "7-2")}});
  WriteFile(dir.File("s.iso"), a + "\r\n" + b + "\r\n");
  WriteFile(dir.File("l.txt"), "7-2\r\n7-1\r\n");
  std::vector<std::string> common = {"--supplier", dir.File("s.iso"), "--isbns", dir.File("l.txt"), "--error-log",
                                     dir.File("log.txt")};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> args = {"extract"};
    args.insert(args.end(), common.begin(), common.end());
    args.insert(args.end(), more.begin(), more.end());
    return RunCliWith(args);
  };
  CliResult marc = with({"--out", dir.File("m.iso")});
  EXPECT_EQ(marc.code, 0) << marc.err;
  EXPECT_EQ(ReadFile(dir.File("m.iso")), a + "\r\n" + b + "\r\n");
  EXPECT_NE(marc.out.find("共输出2条记录"), std::string::npos);
  EXPECT_EQ(with({"--out", dir.File("i.iso"), "--order", "isbn"}).code, 0);
  EXPECT_EQ(ReadFile(dir.File("i.iso")), b + "\r\n" + a + "\r\n");

  CliResult noOut = with({});
  EXPECT_EQ(noOut.code, 1);
  EXPECT_EQ(noOut.err, "请指定你要输出的ISBN文件的文件名和路径！\n");
  CliResult noList = RunCliWith({"extract", "--supplier", dir.File("s.iso"), "--out", dir.File("x.iso")});
  EXPECT_EQ(noList.code, 1);
  EXPECT_EQ(noList.err, "请指定要采购的ISBN文件！\n");
  EXPECT_EQ(with({"--out", dir.File("x.iso"), "--order", "random"}).code, 2);
}
