// The ISBN conversion: the rule for one code, the leading-code split, and the
// text-file conversion end to end through a recording shell.
#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "features/isbn_convert.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

using F = IsbnTargetForm;

TEST(ConvertIsbnCode, EveryFormOfEveryKnownCode) {
  const struct {
    std::string code, hyphenated, plain, ean13;
  } cases[] = {
      {"7500637721", "7-5006-3772-1", "7500637721", "9787500637721"},
      {"7-5006-3772-1", "7-5006-3772-1", "7500637721", "9787500637721"},
      {"9787500637721", "7-5006-3772-1", "7500637721", "9787500637721"},
      {"9787500637720", "7-5006-3772-1", "7500637721", "9787500637721"},  // EAN check rebuilt
      {"700000004x", "7-00-000004-X", "700000004X", "9787000000049"},
      {"0201633612", "0201633612", "0201633612", "9780201633610"},     // other groups: no hyphens
      {"12345679", "1234-5679", "12345679", "9771234567003"},
      {"1234-5679", "1234-5679", "12345679", "9771234567003"},
      {"9771234567003", "1234-5679", "12345679", "9771234567003"},
      // not valid: copied unchanged under every form
      {"7500637722", "7500637722", "7500637722", "7500637722"},     // wrong check character
      {"7-5006-3772-2", "7-5006-3772-2", "7-5006-3772-2", "7-5006-3772-2"},
      {"12345670", "12345670", "12345670", "12345670"},
      {"9791234567896", "9791234567896", "9791234567896", "9791234567896"},
      {"750063772", "750063772", "750063772", "750063772"},
      {"75006X7721", "75006X7721", "75006X7721", "75006X7721"},     // non-digit: no error
      {"978750063X721", "978750063X721", "978750063X721", "978750063X721"},
      {"XXXXXXX0", "XXXXXXX0", "XXXXXXX0", "XXXXXXX0"},             // no EAN form
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(ConvertIsbnCode(c.code, F::Hyphenated), c.hyphenated);
    EXPECT_EQ(ConvertIsbnCode(c.code, F::Plain), c.plain);
    EXPECT_EQ(ConvertIsbnCode(c.code, F::Ean13), c.ean13);
  }
}

TEST(LeadingCodeLength, LongestRunOfCodeCharacters) {
  const std::pair<std::string, size_t> cases[] = {
      {"7500637721 book A", 10}, {"7-5006-3772-1", 13}, {"700000004x\t1", 10}, {"1234-5679X.", 10},
      {" 7500637721", 0},        {"ISBN 7500637721", 0}, {"", 0},             {"\xCA\xE9 7500637721", 0},
  };
  for (const auto& [line, n] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(LeadingCodeLength(line), n);
  }
}

class IsbnTextConversion : public ::testing::Test {
 protected:
  IsbnTextConversion() : t(dir.path()) {
    settings.sourceFile = dir.File("in.txt");
    settings.targetFile = dir.File("out.txt");
  }
  TempDir dir;
  TestContext t;
  IsbnTextConvertSettings settings;
};

const std::string kSource = std::string("7500637721 book A\r\n") +  //
                            "9787500637721\r\n" +                    //
                            "1234-5679\t" + Gbk("期刊") + "\r\n" +    //
                            "7500637722 wrong check\r\n" +           //
                            " 7500637721 leading blank\r\n" +        //
                            Gbk("书名") + " 7500637721\r\n" +         //
                            "\r\n" +                                 //
                            "75006A7721 letter inside\n" +           //
                            "12345679";                              // no line end

TEST_F(IsbnTextConversion, ConvertsTheLeadingCodeAndKeepsTheRest) {
  const struct {
    F form;
    std::string want;
  } cases[] = {
      {F::Hyphenated, "7-5006-3772-1 book A\r\n7-5006-3772-1\r\n1234-5679\t" + Gbk("期刊") + "\r\n"},
      {F::Plain, "7500637721 book A\r\n7500637721\r\n12345679\t" + Gbk("期刊") + "\r\n"},
      {F::Ean13, "9787500637721 book A\r\n9787500637721\r\n9771234567003\t" + Gbk("期刊") + "\r\n"},
  };
  const std::string unchanged = std::string("7500637722 wrong check\r\n") + " 7500637721 leading blank\r\n" +
                                Gbk("书名") + " 7500637721\r\n" + "\r\n" + "75006A7721 letter inside\r\n";
  const std::string lastLine[] = {"1234-5679\r\n", "12345679\r\n", "9771234567003\r\n"};
  WriteFile(settings.sourceFile, kSource);
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.form));
    settings.form = c.form;
    t.shell.messages.clear();
    IsbnTextConvertReport report;
    ASSERT_EQ(RunIsbnTextConversion(t.ctx, settings, &report), JobOutcome::Done);
    EXPECT_EQ(ReadFile(settings.targetFile), c.want + unchanged + lastLine[static_cast<int>(c.form)]);
    EXPECT_EQ(report.lineCount, 9);
    ASSERT_EQ(t.shell.messages.size(), 1u);
    EXPECT_TRUE(t.shell.messages[0].result);
    EXPECT_EQ(t.shell.messages[0].style, MessageStyle::Information);
    EXPECT_EQ(t.shell.LastText(), "转换完成!");
    EXPECT_EQ(t.shell.busyDepth, 0);
    EXPECT_FALSE(t.shell.progressVisible);
    EXPECT_EQ(t.shell.progressTotal, 9);
    EXPECT_EQ(t.shell.progressPosition, 9);
  }
  EXPECT_EQ(ReadFile(settings.sourceFile), kSource);
}

TEST_F(IsbnTextConversion, EmptySourceGivesEmptyTarget) {
  WriteFile(settings.sourceFile, "");
  WriteFile(settings.targetFile, "old content\r\n");
  ASSERT_EQ(RunIsbnTextConversion(t.ctx, settings), JobOutcome::Done);
  EXPECT_EQ(ReadFile(settings.targetFile), "");
  EXPECT_EQ(t.shell.LastText(), "转换完成!");
}

TEST_F(IsbnTextConversion, InputChecksInPageOrder) {
  const struct {
    const char* name;
    bool sourceExists;
    std::string target;
    const char* message;
  } cases[] = {
      {"no source, no target", false, "", "请指定原始ISBN文件。"},
      {"source is a folder", false, "out.txt", "请指定原始ISBN文件。"},
      {"blank target", true, "   ", "请指定转换后的ISBN文件。"},
      {"target is the source", true, "in.txt", "转换后的ISBN文件不能与原始ISBN文件相同，请另选一个文件。"},
      {"target is the source by another path", true, "./in.txt", "转换后的ISBN文件不能与原始ISBN文件相同，请另选一个文件。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir d;
    TestContext tc(d.path());
    IsbnTextConvertSettings s;
    s.sourceFile = std::string(c.name) == std::string("source is a folder") ? d.path() : d.File("in.txt");
    if (c.sourceExists) WriteFile(d.File("in.txt"), "7500637721\r\n");
    s.targetFile = c.target.empty() || c.target == "   " ? c.target : d.File(c.target);
    EXPECT_EQ(RunIsbnTextConversion(tc.ctx, s), JobOutcome::Refused);
    ASSERT_EQ(tc.shell.messages.size(), 1u);
    EXPECT_EQ(tc.shell.LastText(), c.message);
    EXPECT_EQ(tc.shell.messages[0].style, MessageStyle::Information);
    EXPECT_FALSE(tc.shell.messages[0].result);
    EXPECT_EQ(tc.shell.busyEntered, 0);
    if (c.sourceExists) EXPECT_EQ(ReadFile(d.File("in.txt")), "7500637721\r\n");
  }
}

TEST_F(IsbnTextConversion, UnwritableTargetFailsAndLeavesTheBusyState) {
  WriteFile(settings.sourceFile, "7500637721\r\n");
  settings.targetFile = dir.File("no-such-folder/out.txt");
  EXPECT_THROW(RunIsbnTextConversion(t.ctx, settings), EInOutError);
  EXPECT_EQ(t.shell.busyDepth, 0);
  EXPECT_FALSE(t.shell.progressVisible);
  EXPECT_TRUE(t.shell.messages.empty());
}

// Many lines: every line converted independently, line endings normalised.
TEST_F(IsbnTextConversion, LongFileMatchesLineByLineConversion) {
  std::string source, want;
  for (int i = 0; i < 20000; ++i) {
    std::string body = std::to_string(750000000 + i * 7);
    std::string code = "978" + body + "0";  // any EAN check digit
    std::string ending = i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n";
    source += code + " #" + std::to_string(i) + ending;
    want += ConvertIsbnCode(code, F::Hyphenated) + " #" + std::to_string(i) + "\r\n";
  }
  WriteFile(settings.sourceFile, source);
  IsbnTextConvertReport report;
  ASSERT_EQ(RunIsbnTextConversion(t.ctx, settings, &report), JobOutcome::Done);
  EXPECT_EQ(ReadFile(settings.targetFile), want);
  EXPECT_EQ(report.lineCount, 20000);
  EXPECT_EQ(t.shell.progressTotal, 20000);
}

}  // namespace
