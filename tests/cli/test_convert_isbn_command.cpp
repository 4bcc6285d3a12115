// lumarin-cli convert-isbn: the text panel of "对ISBN列格式进行转换".
#include <gtest/gtest.h>

#include "cli_harness.h"
#include "core/commonUnit.h"
#include "support/temp_dir.h"

namespace {

class ConvertIsbnCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFile(in, "7500637721 book A\r\n1234-5679\r\n7500637722 wrong\r\n\r\n"); }
  TempDir dir;
  std::string in = dir.File("in.txt"), out = dir.File("out.txt");
};

}  // namespace

TEST_F(ConvertIsbnCommandTest, EachFormWritesTheConvertedListAndReportsCompletion) {
  const struct {
    std::vector<std::string> extra;
    std::string want;
  } cases[] = {
      {{}, "7-5006-3772-1 book A\r\n1234-5679\r\n7500637722 wrong\r\n\r\n"},
      {{"--form", "hyphen"}, "7-5006-3772-1 book A\r\n1234-5679\r\n7500637722 wrong\r\n\r\n"},
      {{"--form", "plain"}, "7500637721 book A\r\n12345679\r\n7500637722 wrong\r\n\r\n"},
      {{"--form", "ean13"}, "9787500637721 book A\r\n9771234567003\r\n7500637722 wrong\r\n\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"convert-isbn", in, out};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    CliResult r = RunCliWith(args);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(out), c.want);
    EXPECT_EQ(r.out, "转换完成!\n");
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(ConvertIsbnCommandTest, RefusalsExitOneWithThePageMessage) {
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"convert-isbn", dir.File("missing.txt"), out}, "请指定原始ISBN文件。\n"},
      {{"convert-isbn", in, " "}, "请指定转换后的ISBN文件。\n"},
      {{"convert-isbn", in, in}, "转换后的ISBN文件不能与原始ISBN文件相同，请另选一个文件。\n"},
  };
  for (const auto& c : cases) {
    CliResult r = RunCliWith(c.args);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(FileExists(out));
  EXPECT_EQ(ReadFile(in), "7500637721 book A\r\n1234-5679\r\n7500637722 wrong\r\n\r\n");
}

TEST_F(ConvertIsbnCommandTest, BadCommandLinesExitTwo) {
  for (std::vector<std::string> args : {std::vector<std::string>{"convert-isbn", in},
                                        std::vector<std::string>{"convert-isbn", in, out, "--form", "isbn13"},
                                        std::vector<std::string>{"convert-isbn", in, out, "--upper"}}) {
    CliResult r = RunCliWith(args);
    EXPECT_EQ(r.code, 2) << r.err;
  }
  EXPECT_FALSE(FileExists(out));
}

TEST_F(ConvertIsbnCommandTest, HelpListsTheForms) {
  CliResult r = RunCliWith({"convert-isbn", "--help"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("--form"), std::string::npos);
  EXPECT_NE(r.out.find("ean13"), std::string::npos);
}
