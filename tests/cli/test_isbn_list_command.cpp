// lumarin-cli: the common rules and isbn-list.
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "core/commonUnit.h"
#include "support/marc_builder.h"
#include "support/temp_dir.h"

namespace {

class IsbnListCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(in, MakeRecord({{"010", "  " + Sf('a', "7-5006-3772-1") + Sf('d', "CNY20.00")}}) + "\r\n" +
                      MakeRecord({{"200", "1 " + Sf('a', Gbk("无号"))}}) + "\r\n" +
                      MakeRecord({{"010", "  " + Sf('a', "978-7-02-000220-7")}, {"010", "  " + Sf('a', "no")}}) +
                      "\r\n");
  }
  TempDir dir;
  std::string in = dir.File("in.iso"), out = dir.File("out.txt"), log = dir.File("ErrorLog.txt");
};

}  // namespace

TEST_F(IsbnListCommandTest, WritesOneLinePerRecordAndReportsTheCount) {
  for (bool strip : {false, true}) {
    std::vector<std::string> args = {"isbn-list", in, out, "--error-log", log};
    if (strip) args.push_back("--strip-hyphens");
    CliResult r = RunCliWith(args);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(out), strip ? "7500637721\r\n\r\n9787020002207\r\n" : "7-5006-3772-1\r\n\r\n978-7-02-000220-7\r\n");
    EXPECT_EQ(r.out, "ISBN输出完成！\n\n共3条\n");
  }
}

TEST_F(IsbnListCommandTest, InputChecksInPageOrderExitOne) {
  struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"isbn-list", dir.File("missing.iso"), out}, "请指定MARC文件。\n"},
      {{"isbn-list", dir.path(), out}, "请指定MARC文件。\n"},
      {{"isbn-list", in, "  "}, "请指定ISBN文件\n"},
      {{"isbn-list", in, in}, "ISBN文件不能与MARC文件相同，请另选一个文件。\n"},
  };
  for (const auto& c : cases) {
    CliResult r = RunCliWith(c.args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(FileExists(out));
}

TEST_F(IsbnListCommandTest, AnOutputThatCannotBeCreatedIsTheGeneralErrorAndExitOne) {
  CliResult r = RunCliWith({"isbn-list", in, dir.File("no/such/folder/out.txt")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("无法创建文件"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.back(), '\n');
}

TEST_F(IsbnListCommandTest, CommandLineErrorsExitTwo) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {}, {"no-such-command"}, {"isbn-list", in}, {"isbn-list", in, out, "--bogus"},
           {"isbn-list", in, out, "--on-error", "maybe"}}) {
    EXPECT_EQ(RunCliWith(args).code, 2);
  }
}

TEST_F(IsbnListCommandTest, HelpListsTheCommandAndCommonOptionsWorkOnEitherSide) {
  CliResult help = RunCliWith({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("isbn-list"), std::string::npos);
  EXPECT_NE(help.out.find("--on-error"), std::string::npos);
  EXPECT_EQ(RunCliWith({"--error-log", log, "isbn-list", in, out}).code, 0);
  EXPECT_EQ(RunCliWith({"isbn-list", "--error-log", log, in, out}).code, 0);
}

TEST_F(IsbnListCommandTest, OnErrorDecidesWhetherAFailingRecordEndsTheRun) {
  // The second record's base address is no number: the record reader's error path.
  std::string bad = MakeRecord({{"010", "  " + Sf('a', "2")}});
  bad.replace(12, 5, "0x041");
  WriteFile(in, MakeRecord({{"010", "  " + Sf('a', "1")}}) + bad + MakeRecord({{"010", "  " + Sf('a', "3")}}));
  CliResult go = RunCliWith({"isbn-list", in, out, "--error-log", log});
  EXPECT_EQ(go.code, 0);
  EXPECT_EQ(ReadFile(out), "1\r\n3\r\n");
  EXPECT_NE(go.err.find("记录：2 -> continue"), std::string::npos) << go.err;
  CliResult stop = RunCliWith({"isbn-list", in, out, "--error-log", log, "--on-error", "cancel"});
  EXPECT_EQ(stop.code, 0);
  EXPECT_EQ(ReadFile(out), "1\r\n");
  EXPECT_EQ(stop.out, "ISBN输出完成！\n\n共3条\n");
  EXPECT_EQ(CountLines(log), 2 * 6);  // two entries of six lines
}
