// Line files, output files, text conversion and the error display text.
#include <gtest/gtest.h>

#include "core/commonUnit.h"
#include "support/temp_dir.h"

TEST(LineFile, CountLines) {
  TempDir dir;
  struct {
    const char* name;
    std::string bytes;
    int64_t lines;
  } cases[] = {{"empty", "", 0},        {"a CRLF b", "a\r\nb", 2},     {"a CRLF b CRLF", "a\r\nb\r\n", 2},
               {"blank line", "\r\n", 1}, {"lone LF and CR", "a\nb\rc", 3}, {"CR at end", "a\r", 1}};
  for (const auto& c : cases) {
    WriteFile(dir.File("f.txt"), c.bytes);
    EXPECT_EQ(CountLines(dir.File("f.txt")), c.lines) << c.name;
  }
  EXPECT_EQ(CountLines(dir.File("missing.txt")), 0);
}

TEST(LineFile, FileHasLineComparesWholeLinesExactly) {
  TempDir dir;
  WriteFile(dir.File("f.txt"), "7-5006-3772-1\r\n7500637721 \r\nX");
  EXPECT_TRUE(FileHasLine(dir.File("f.txt"), "7-5006-3772-1"));
  EXPECT_TRUE(FileHasLine(dir.File("f.txt"), "X"));
  EXPECT_FALSE(FileHasLine(dir.File("f.txt"), "7500637721"));
  EXPECT_FALSE(FileHasLine(dir.File("f.txt"), "x"));
  EXPECT_FALSE(FileHasLine(dir.File("missing.txt"), "X"));
}

TEST(LineFile, AppendLineCreatesAndNeverGluesOntoAnUnendedLine) {
  TempDir dir;
  std::string f = dir.File("f.txt");
  AppendLine(f, "a");
  EXPECT_EQ(ReadFile(f), "a\r\n");
  WriteFile(f, "a\r\nb");
  AppendLine(f, "c");
  EXPECT_EQ(ReadFile(f), "a\r\nb\r\nc\r\n");
  EXPECT_THROW(AppendLine(dir.File("no/such/f.txt"), "x"), EInOutError);
}

TEST(LineFile, LineReaderHandlesLinesAcrossItsBuffer) {
  TempDir dir;
  std::string big(3 << 20, 'x');
  WriteFile(dir.File("f.txt"), "a\r\n" + big + "\r\nb\r");
  LineReader reader(dir.File("f.txt"));
  std::string line;
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "a");
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, big);
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "b");
  EXPECT_FALSE(reader.Next(&line));
}

TEST(OutputFileTest, ReplacesTheTargetOnlyOnCommit) {
  TempDir dir;
  std::string f = dir.File("out.txt");
  WriteFile(f, "old");
  {
    OutputFile out(f);
    out.WriteLine("new");
  }  // no commit: the job failed
  EXPECT_EQ(ReadFile(f), "old");
  {
    OutputFile out(f);
    out.WriteLine("new");
    out.Commit();
  }
  EXPECT_EQ(ReadFile(f), "new\r\n");
  EXPECT_THROW(OutputFile(dir.File("no/such/out.txt")), EInOutError);
  EXPECT_THROW(OutputFile(dir.path()), EInOutError);
}

TEST(Text, GbkRoundTripAndBadBytes) {
  std::string gbk = Gbk("中文■ISBN");
  EXPECT_EQ(gbk.size(), 10u);
  EXPECT_EQ(gbk.substr(4, 2), "\xA1\xF6");
  EXPECT_EQ(GbkToUtf8(gbk), "中文■ISBN");
  EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf8ToGbk("a\xE2\x82"), "a?");
}

TEST(Text, GeneralErrorDisplayAppendsAFullStopAfterCharactersThatSortAfterIt) {
  struct {
    std::string in, out;
  } cases[] = {{"Disk full", "Disk full."},
               {"Disk full.", "Disk full."},
               {"Error!", "Error!"},
               {"", ""},
               {Gbk("文件不存在"), Gbk("文件不存在") + "."},
               {Gbk("完成。"), Gbk("完成。") + "."}};
  for (const auto& c : cases) EXPECT_EQ(ErrorDisplayText(c.in), c.out) << c.in;
}
