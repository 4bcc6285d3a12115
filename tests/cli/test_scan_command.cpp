// lumarin-cli scan: standard input as the scanner, one printed line per
// panel text, and a purchase that survives the process being killed right
// after its answer.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "cli_harness.h"
#include "core/clock.h"
#include "core/text.h"
#include "data/MainDataUnit.h"
#include "support/temp_dir.h"

namespace {

class ScanCommandTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string db = dir.File("lumdata.mdb");
  FixedClock clock{LocalDateTime{2026, 3, 4, 5, 6, 7}};

  void Hold(const std::string& isbn, int copies, const std::string& titleUtf8) {
    TMainData data(db, clock);
    data.AppendRecordRow(Gbk(titleUtf8), isbn, copies, "rec");
  }
  int32_t Bought(const std::string& isbn) { return TMainData(db, clock).GetBoughtCopies(isbn); }
  CliResult Scan(std::vector<std::string> options, const std::string& input) {
    options.insert(options.begin(), {"--db", db, "scan"});
    return RunCliWith(options, input);
  }
};

TEST_F(ScanCommandTest, ConfirmModeReadsTheQuantityFromTheLineAfterAScan) {
  Hold("7-5006-3772-1", 1, "红楼梦");
  CliResult r = Scan({"--target", "2"},
                     "7500637721\n"   // suggestion 1
                     "\n"             // accepted
                     "7500637721\r\n" // suggestion 0
                     "x3\n"           // only the digit is typed
                     "7500637721\n"   // suggestion -3 ...
                     "\n"             // ... buys nothing
                     "   \n"          // a blank scan: nothing
                     "7500637722\n"   // refused
                     "rm 7-5006-3772-1\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "已有[ 1 ]本，已采购[ 0 ]本，现采购：\n1本。\n"
            "7-5006-3772-1  确认采购[ 1 ]本。\n"
            "已有[ 1 ]本，已采购[ 1 ]本，现采购：\n0本。\n"
            "7-5006-3772-1  确认采购[ 3 ]本。\n"
            "已有[ 1 ]本，已采购[ 4 ]本，现采购：\n-3本。\n"
            "7-5006-3772-1  确认不采购\n"
            "非法ISBN/ISSN\n"
            "剔除 ISBN[ 7-5006-3772-1 ] 的采购数据成功\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Bought("7-5006-3772-1"), 0);
}

TEST_F(ScanCommandTest, ARemoveScanDropsTheWaitingSuggestion) {
  CliResult r = Scan({}, "7500637721\nrm 702000220X\n7500637721\n5\n");
  EXPECT_EQ(r.out,
            "已有[ 0 ]本，已采购[ 0 ]本，现采购：\n1本。\n"
            "剔除 ISBN[ 7-02-000220-X ] 的采购数据成功\n"
            "已有[ 0 ]本，已采购[ 0 ]本，现采购：\n1本。\n"
            "7-5006-3772-1  确认采购[ 5 ]本。\n");
  EXPECT_EQ(Bought("7-5006-3772-1"), 5);
}

TEST_F(ScanCommandTest, ContinuousAndReminderModesWithEachConversion) {
  Hold("7500637721", 1, "红楼梦");
  CliResult r = Scan({"--mode", "continuous", "--convert", "plain", "--target", "2"},
                     "9787500637721\n7-5006-3772-1\nrm 7500637721\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out,
            "7500637721\n现有[1]本，已采购[0]本，继续采购[1]本\n"
            "7500637721\n现有[1]本，已采购[1]本，不做采购\n"
            "7500637721\n剔除ISBN[7500637721]的采购数据成功\n");

  r = Scan({"--mode", "reminder"}, "7500637721\n");  // the holding is stored without hyphens
  EXPECT_EQ(r.out, "7-5006-3772-1  没找到！\n");
  r = Scan({"--mode", "reminder", "--convert", "none"}, "7500637721\n9787500637721\nrm 7500637721\n");
  EXPECT_EQ(r.out, "红楼梦, 已有\n9787500637721  没找到！\n");
  EXPECT_EQ(r.err, "简单提醒模式没有剔除栏，不能剔除采购数据\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(TMainData(db, clock).RowCount(MainTable::Locale), 0);
}

TEST_F(ScanCommandTest, WrongOptionsAreUsageErrors) {
  for (std::vector<std::string> options : {std::vector<std::string>{"--target", "0"}, {"--target", "101"},
                                           {"--mode", "fast"}, {"--convert", "ean13"}}) {
    EXPECT_EQ(Scan(options, "").code, 2) << options[0] << " " << options[1];
  }
}

// The real program reads a scan from a pipe, prints its answer and is
// killed at once: the purchase it answered is in the database.
TEST_F(ScanCommandTest, APurchaseSurvivesTheProcessBeingKilledRightAfterTheAnswer) {
  Hold("7-5006-3772-1", 1, "红楼梦");
  int toChild[2], fromChild[2];
  ASSERT_EQ(pipe(toChild), 0);
  ASSERT_EQ(pipe(fromChild), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(toChild[0], 0);
    dup2(fromChild[1], 1);
    close(toChild[1]);
    close(fromChild[0]);
    execl(LUMARIN_CLI_EXE, LUMARIN_CLI_EXE, "--db", db.c_str(), "scan", "--mode", "continuous", "--target", "3",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  const std::string scan = "7500637721\n";
  ASSERT_EQ(write(toChild[1], scan.data(), scan.size()), static_cast<ssize_t>(scan.size()));
  // Read until the result line of the answer has arrived, then kill.
  std::string answer;
  char buf[256];
  while (answer.find("本\n") == std::string::npos) {
    ssize_t n = read(fromChild[0], buf, sizeof buf);
    ASSERT_GT(n, 0) << answer;
    answer.append(buf, static_cast<size_t>(n));
  }
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  close(toChild[1]);
  close(fromChild[0]);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(answer, "7-5006-3772-1\n现有[1]本，已采购[0]本，继续采购[2]本\n");
  EXPECT_EQ(Bought("7-5006-3772-1"), 2);
}

}  // namespace
