// The local database: lookups and their sentinels, the tally rules, clearing,
// bulk appends, limits, and a purchase surviving a killed process.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "core/clock.h"
#include "core/paths.h"
#include "core/errors.h"
#include "core/text.h"
#include "data/MainDataUnit.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

class MainDataTest : public ::testing::Test {
 protected:
  TempDir dir;
  TestContext tc{dir.path()};
  TMainData& db() { return MainData(tc.ctx); }

  // Runs one statement on the file through a connection of its own.
  void Sql(const std::string& sql) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(tc.ctx.databasePath.c_str(), &raw), SQLITE_OK);
    sqlite3_busy_timeout(raw, 2000);
    char* err = nullptr;
    int rc = sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &err);
    sqlite3_close(raw);
    ASSERT_EQ(rc, SQLITE_OK) << (err ? err : "");
  }
  bool SchemaHas(const std::string& name) {
    bool found = false;
    db().ForEachBuyerRow([](const BuyerRow&) {});
    sqlite3* raw = nullptr;
    sqlite3_open(tc.ctx.databasePath.c_str(), &raw);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw, "SELECT 1 FROM sqlite_master WHERE name = ?1", -1, &s, nullptr);
    sqlite3_bind_text(s, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    found = sqlite3_step(s) == SQLITE_ROW;
    sqlite3_finalize(s);
    sqlite3_close(raw);
    return found;
  }
};

TEST_F(MainDataTest, NewFileHoldsBothTablesAndTheIndexAndAnswersNothing) {
  EXPECT_FALSE(FileExists(tc.ctx.databasePath));
  EXPECT_EQ(db().GetHeldCopies("7-5006-3772-1"), 0);
  EXPECT_EQ(db().GetHeldTitle("7-5006-3772-1"), "");
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 0);
  EXPECT_TRUE(FileExists(tc.ctx.databasePath));
  EXPECT_TRUE(SchemaHas("buyer"));
  EXPECT_TRUE(SchemaHas("locale"));
  EXPECT_TRUE(SchemaHas("indexisbn"));
}

TEST_F(MainDataTest, AddToTallyUpdatesBeforeItInserts) {
  tc.clock.Set({2026, 3, 4, 5, 6, 7});
  EXPECT_EQ(db().AddToTally("7-5006-3772-1", 2), 2);
  tc.clock.Set({2026, 3, 4, 9, 10, 11});
  EXPECT_EQ(db().AddToTally("7-5006-3772-1", 3), 3);  // its own quantity, not the total
  std::vector<TallyRow> rows = db().TallyRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].isbn, "7-5006-3772-1");
  EXPECT_EQ(rows[0].rsnumber, 5);
  EXPECT_EQ(rows[0].indate, "2026-03-04 09:10:11");
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 5);
}

TEST_F(MainDataTest, TallyKeysAndCounts) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, int>> adds;
    std::string key;
    int bought;
    size_t rows;
  };
  const Case cases[] = {
      {"negative on a new key makes a negative row", {{"7500637721", -2}}, "7500637721", -2, 1},
      {"negative lowers an existing count", {{"7500637721", 3}, {"7500637721", -5}}, "7500637721", -2, 1},
      {"hyphenated and bare forms are two keys", {{"7-5006-3772-1", 1}, {"7500637721", 4}}, "7500637721", 4, 2},
      {"the check character X matches either case", {{"7-5006-3772-x", 1}, {"7-5006-3772-X", 1}}, "7-5006-3772-X",
       2, 1},
      {"keys are not trimmed", {{"7500637721 ", 1}}, "7500637721", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    db().ClearLocaleTable(tc.shell);
    for (const auto& [key, q] : c.adds) db().AddToTally(key, q);
    EXPECT_EQ(db().GetBoughtCopies(c.key), c.bought);
    EXPECT_EQ(db().TallyRows().size(), c.rows);
  }
}

TEST_F(MainDataTest, TwoBuyerRowsWithOneIsbnAnswerTheFirstRowNotTheSum) {
  db().AppendRecordRow(Gbk("红楼梦"), "7-02-000220-X", 2, "rec1");
  db().AppendRecordRow(Gbk("红楼梦（第二版）"), "7-02-000220-X", 5, "rec2");
  db().AppendRecordRow("", "7-5006-3772-1", 1, "rec3");
  EXPECT_EQ(db().GetHeldCopies("7-02-000220-X"), 2);
  EXPECT_EQ(db().GetHeldTitle("7-02-000220-X"), Gbk("红楼梦"));
  // An empty title reads like a title not held.
  EXPECT_EQ(db().GetHeldTitle("7-5006-3772-1"), "");
  EXPECT_EQ(db().GetHeldCopies("7-5006-3772-1"), 1);
  EXPECT_EQ(db().GetHeldCopies("7020002201"), 0);
}

TEST_F(MainDataTest, RowsKeepTheirBytesAndLongValuesAreStoredWhole) {
  const std::string title = Gbk(std::string(30, 'a') + "一个很长很长很长的书名超过五十个字节");  // > 50 bytes
  const std::string isbn = "978-7-5006-3772-1-extra-text";                                 // > 20 bytes
  const std::string record = std::string("00026nam0 22000250  450 \x1E\x1D\0\xFF", 30);
  db().AppendRecordRow(title, isbn, 7, record);
  std::vector<BuyerRow> rows = db().BuyerRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].title, title);
  EXPECT_EQ(rows[0].isbn, isbn);
  EXPECT_EQ(rows[0].rsnumber, 7);
  std::string stored;
  db().ForEachBuyerRecord([&](int64_t, std::string_view data) { stored = std::string(data); });
  EXPECT_EQ(stored, record);
  db().AddToTally(isbn, 1);
  EXPECT_EQ(db().GetBoughtCopies(isbn), 1);
}

TEST_F(MainDataTest, RemoveFromTallyDeletesEveryRowOfTheKeyAndNoneIsNoError) {
  db().AddToTally("A", 1);
  db().AddToTally("B", 1);
  // An edit in the grid may give a second row the same key.
  TallyRow second = db().TallyRows()[1];
  second.isbn = "A";
  db().UpdateTallyRow(second);
  EXPECT_EQ(db().RemoveFromTally("nothing"), 0);
  EXPECT_EQ(db().RowCount(MainTable::Locale), 2);
  EXPECT_EQ(db().RemoveFromTally("A"), 0);
  EXPECT_EQ(db().RowCount(MainTable::Locale), 0);
}

TEST_F(MainDataTest, FailingLookupsAnswerTheirSentinels) {
  db().AppendRecordRow("t", "k", 1, "r");
  Sql("DROP TABLE buyer; DROP TABLE locale;");
  EXPECT_EQ(db().GetHeldCopies("k"), -1);
  EXPECT_EQ(db().GetHeldTitle("k"), "");
  EXPECT_EQ(db().GetBoughtCopies("k"), -1);
  EXPECT_THROW(db().AddToTally("k", 1), EDatabaseError);
}

TEST_F(MainDataTest, ClearingRecreatesTheTablesShowsTheBoxAndRestartsRecno) {
  db().AppendRecordRow("t", "k", 1, "r");
  db().AppendRecordRow("t", "k", 1, "r");
  Sql("DROP TABLE buyer;");  // a missing table is simply created
  db().ClearBuyerTable(tc.shell);
  EXPECT_TRUE(SchemaHas("indexisbn"));
  db().AppendRecordRow("t", "k", 1, "r");
  EXPECT_EQ(db().Recnos(MainTable::Buyer), std::vector<int64_t>{1});
  db().AddToTally("k", 1);
  db().ClearLocaleTable(tc.shell);
  EXPECT_EQ(db().RowCount(MainTable::Locale), 0);
  EXPECT_EQ(tc.shell.Texts(), (std::vector<std::string>{"完成清空采购方数据库!", "完成清空本次现采数据库!"}));
  EXPECT_EQ(tc.shell.messages[0].style, MessageStyle::Information);
}

TEST_F(MainDataTest, ACountOutsideThirtyTwoBitsIsRefusedAndChangesNothing) {
  db().AddToTally("A", 1);
  db().AddToTally("B", 2147483647);
  EXPECT_THROW(db().AdjustAllCopies(MainTable::Locale, 1), EDatabaseError);
  EXPECT_EQ(db().GetBoughtCopies("A"), 1);
  EXPECT_THROW(db().AddToTally("B", 1), EDatabaseError);
  EXPECT_EQ(db().GetBoughtCopies("B"), 2147483647);
  db().AdjustAllCopies(MainTable::Locale, -1);
  EXPECT_EQ(db().GetBoughtCopies("A"), 0);
  EXPECT_EQ(db().DeleteZeroTallyRows(), 1);
}

TEST_F(MainDataTest, BulkAppendKeepsOrderAndKeepsRowsWhenLeftByAnError) {
  try {
    TMainData::BulkAppend bulk(db(), 10000);  // two commits, then an open batch
    for (int i = 0; i < 25000; ++i) db().AppendRecordRow("t", std::to_string(i), 1, "r");
    throw std::runtime_error("stopped");
  } catch (const std::runtime_error&) {
  }
  std::vector<int64_t> recnos = db().Recnos(MainTable::Buyer);
  ASSERT_EQ(recnos.size(), 25000u);
  EXPECT_TRUE(std::is_sorted(recnos.begin(), recnos.end()));
  EXPECT_EQ(db().BuyerRows(25000, 25000)[0].isbn, "24999");
  // Another connection sees them: they were committed.
  TMainData other(tc.ctx.databasePath, tc.clock);
  EXPECT_EQ(other.RowCount(MainTable::Buyer), 25000);
  // With the file shared, a bulk append stays in WAL and works the same.
  {
    TMainData::BulkAppend bulk(db());
    db().AppendRecordRow("t", "last", 1, "r");
    bulk.Commit();
  }
  EXPECT_EQ(other.GetHeldCopies("last"), 1);
  other.AddToTally("last", 1);
  EXPECT_EQ(db().GetBoughtCopies("last"), 1);
  EXPECT_TRUE(FileExists(tc.ctx.databasePath + "-wal"));
}

TEST_F(MainDataTest, AFileThatIsNotADatabaseIsRefusedClearly) {
  WriteFile(tc.ctx.databasePath, std::string(4096, 'x'));
  try {
    MainData(tc.ctx);
    FAIL() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(GbkToUtf8(e.what()).find("不是本系统的数据库文件"), std::string::npos) << GbkToUtf8(e.what());
  }
}

TEST_F(MainDataTest, APurchaseSurvivesTheProcessBeingKilledRightAfterTheAnswer) {
  db().AddToTally("7-5006-3772-1", 1);
  tc.ctx.data.reset();
  for (int how = 0; how < 2; ++how) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      FixedClock clock({2026, 5, 6, 7, 8, 9});
      TMainData child(tc.ctx.databasePath, clock);
      child.AddToTally("7-5006-3772-1", 2);
      if (how == 0) _exit(0);  // no destructor, no close
      raise(SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
  }
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 5);
  EXPECT_EQ(db().TallyRows()[0].indate, "2026-05-06 07:08:09");
}

}  // namespace
