// The scanning modes of "现场采购": conversions and refusals, the confirm
// mode's two states, the continuous and reminder answers, the sound rule,
// and what a failing tally change leaves behind.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <limits>

#include "core/beeper.h"
#include "core/errors.h"
#include "core/text.h"
#include "data/MainDataUnit.h"
#include "features/onsite_scan.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

struct RecordingBeeper : Beeper {
  void Tone(int hertz, int ms) override { tones.emplace_back(hertz, ms); }
  std::vector<std::pair<int, int>> tones;
};

class OnsiteScanTest : public ::testing::Test {
 protected:
  TempDir dir;
  TestContext tc{dir.path()};
  RecordingBeeper beeper;
  OnsiteScan scan{tc.ctx, beeper};
  OnsiteScanSettings settings;

  TMainData& db() { return MainData(tc.ctx); }
  void Hold(const std::string& isbn, int copies, const std::string& titleUtf8 = "书") {
    db().AppendRecordRow(Gbk(titleUtf8), isbn, copies, "rec");
  }
  bool Enter(ScanField f, const std::string& text) { return scan.Enter(settings, f, text); }
  std::string Text(ScanPanel p) { return GbkToUtf8(scan.PanelText(p)); }
  bool Visible(ScanPanel p) { return scan.view().panel(p).visible; }
};

TEST_F(OnsiteScanTest, EachConversionMakesItsKeyOrRefusesTheEntry) {
  struct Case {
    const char* entry;
    ScanConversion conversion;
    const char* key;  // nullptr: refused with the red label
  };
  const Case cases[] = {
      {"7500637721", ScanConversion::Hyphenated, "7-5006-3772-1"},
      {"7500637721", ScanConversion::Plain, "7500637721"},
      {"7500637721", ScanConversion::None, "7500637721"},
      {"9787500637721", ScanConversion::Hyphenated, "7-5006-3772-1"},
      {"9787500637720", ScanConversion::Plain, "7500637721"},  // the EAN check digit is not examined
      {"9787500637721", ScanConversion::None, "9787500637721"},
      {"9780201633610", ScanConversion::Hyphenated, "0201633612"},  // other groups keep no hyphens
      {"7-5006-3772-1", ScanConversion::Plain, "7500637721"},
      {"12345679", ScanConversion::Hyphenated, "1234-5679"},
      {"9771234567003", ScanConversion::Hyphenated, "1234-5679"},
      {"750063772x", ScanConversion::Hyphenated, nullptr},          // wrong check character
      {"7500637722", ScanConversion::Hyphenated, nullptr},          // wrong check character
      {"7500637722", ScanConversion::Plain, nullptr},
      {"7500637722", ScanConversion::None, "7500637722"},           // no test at all
      {"75006A7721", ScanConversion::Hyphenated, nullptr},          // a letter among the digits
      {"9787A00637721", ScanConversion::Plain, nullptr},
      {"9797500637721", ScanConversion::Hyphenated, nullptr},       // prefix 979
      {"7500637721 ", ScanConversion::Hyphenated, nullptr},         // the entry is checked untrimmed
      {" 7500637721", ScanConversion::None, " 7500637721"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    settings.conversion = c.conversion;
    ASSERT_TRUE(Enter(ScanField::edtJD, c.entry));
    if (c.key) {
      EXPECT_FALSE(scan.view().isInvalid(ScanField::edtJD));
      EXPECT_EQ(scan.view().field(ScanField::edtJD), c.key);
      EXPECT_EQ(Text(ScanPanel::pnlJD), std::string(c.key) + "  没找到！");
    } else {
      EXPECT_TRUE(scan.view().isInvalid(ScanField::edtJD));
      EXPECT_EQ(scan.view().field(ScanField::edtJD), c.entry);  // the field keeps its text
      EXPECT_FALSE(scan.view().focusSelected);
      EXPECT_TRUE(scan.view().updated.empty());
    }
  }
}

TEST_F(OnsiteScanTest, RefusalsHidePanelsOnlyWithTheDisplayFormAndAKeyHidesTheLabel) {
  Enter(ScanField::edtLXCG, "7500637721");
  ASSERT_TRUE(Visible(ScanPanel::pnlResult));

  settings.conversion = ScanConversion::Plain;
  Enter(ScanField::edtLXCG, "123");
  EXPECT_TRUE(scan.view().isInvalid(ScanField::edtLXCG));
  EXPECT_TRUE(Visible(ScanPanel::pnlResult));  // the last answer stays
  EXPECT_TRUE(Visible(ScanPanel::pnlEndingIsbn));
  scan.KeyPressed(ScanField::edtLXCG);
  EXPECT_FALSE(scan.view().isInvalid(ScanField::edtLXCG));

  settings.conversion = ScanConversion::Hyphenated;
  Enter(ScanField::edtLXTC, "123");
  EXPECT_TRUE(scan.view().isInvalid(ScanField::edtLXTC));
  EXPECT_FALSE(scan.view().isInvalid(ScanField::edtLXCG));
  EXPECT_FALSE(Visible(ScanPanel::pnlResult));
  EXPECT_FALSE(Visible(ScanPanel::pnlEndingIsbn));
}

TEST_F(OnsiteScanTest, ABlankEntryDoesNothing) {
  for (const char* blank : {"", "   ", "\t"}) {
    for (ScanField f : {ScanField::edtZTCG, ScanField::edtZTTC, ScanField::edtLXCG, ScanField::edtLXTC,
                        ScanField::edtJD}) {
      EXPECT_FALSE(Enter(f, blank));
      EXPECT_FALSE(scan.view().isInvalid(f));
    }
  }
  EXPECT_FALSE(Enter(ScanField::edtZTQR, "1"));  // no suggestion waits
  EXPECT_EQ(db().RowCount(MainTable::Locale), 0);
  for (int p = 0; p < kScanPanelCount; ++p) EXPECT_FALSE(scan.view().panels[p].visible);
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "已有几本，已采购几本，现采购：");
}

TEST_F(OnsiteScanTest, ConfirmModeSuggestsWaitsForTheQuantityAndStoresOnlyOnItsEnter) {
  Hold("7-5006-3772-1", 1);
  settings.target = 2;

  ASSERT_TRUE(Enter(ScanField::edtZTCG, "7500637721"));
  EXPECT_EQ(scan.view().field(ScanField::edtZTCG), "7-5006-3772-1");
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "已有[ 1 ]本，已采购[ 0 ]本，现采购：");
  EXPECT_EQ(scan.view().field(ScanField::edtZTQR), "1");
  EXPECT_EQ(Text(ScanPanel::pnlZT2), "1本。");
  EXPECT_TRUE(Visible(ScanPanel::pnlZT1));
  EXPECT_TRUE(Visible(ScanPanel::pnlZT2));
  EXPECT_TRUE(scan.AwaitingQuantity());
  EXPECT_EQ(scan.view().focus, ScanField::edtZTQR);
  EXPECT_TRUE(scan.view().focusSelected);
  EXPECT_EQ(scan.view().updated, (std::vector<ScanPanel>{ScanPanel::pnlZT1, ScanPanel::pnlZT2}));
  EXPECT_EQ(db().RowCount(MainTable::Locale), 0);  // nothing is stored before the quantity's Enter

  // The clerk types 3 over the selected suggestion.
  ASSERT_TRUE(Enter(ScanField::edtZTQR, OnsiteScan::TypeIntoQuantity("1", "3")));
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "7-5006-3772-1  确认采购[ 3 ]本。");
  EXPECT_FALSE(Visible(ScanPanel::pnlZT2));
  EXPECT_FALSE(scan.AwaitingQuantity());
  EXPECT_EQ(scan.view().focus, ScanField::edtZTCG);
  EXPECT_TRUE(scan.view().focusSelected);
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 3);

  // Already more than the target: the suggestion is negative and its
  // confirmation buys nothing and lowers nothing.
  Enter(ScanField::edtZTCG, "7500637721");
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "已有[ 1 ]本，已采购[ 3 ]本，现采购：");
  EXPECT_EQ(scan.view().field(ScanField::edtZTQR), "-2");
  Enter(ScanField::edtZTQR, "-2");
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "7-5006-3772-1  确认不采购");
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 3);
}

TEST_F(OnsiteScanTest, ConfirmQuantitiesBelowOneOrNotANumberBuyNothing) {
  for (const char* q : {"", "0", "-1", "abc", "99999999999", "  "}) {
    SCOPED_TRACE(q);
    Enter(ScanField::edtZTCG, "7500637721");
    ASSERT_TRUE(Enter(ScanField::edtZTQR, q));
    EXPECT_EQ(Text(ScanPanel::pnlZT1), "7-5006-3772-1  确认不采购");
    EXPECT_EQ(db().RowCount(MainTable::Locale), 0);
  }
}

TEST_F(OnsiteScanTest, AScanWhileAQuantityWaitsDropsTheSuggestion) {
  Enter(ScanField::edtZTCG, "7500637721");
  ASSERT_TRUE(scan.AwaitingQuantity());
  Enter(ScanField::edtZTCG, "702000220X");
  EXPECT_EQ(scan.PendingKey(), "7-02-000220-X");
  Enter(ScanField::edtZTTC, "7500637721");
  EXPECT_FALSE(scan.AwaitingQuantity());
  EXPECT_FALSE(Visible(ScanPanel::pnlZT2));
  EXPECT_TRUE(Visible(ScanPanel::pnlZT1));
  // The same text whether or not a row existed.
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "剔除 ISBN[ 7-5006-3772-1 ] 的采购数据成功");
  EXPECT_EQ(scan.view().focus, ScanField::edtZTTC);
  EXPECT_TRUE(scan.view().focusSelected);
  EXPECT_FALSE(Enter(ScanField::edtZTQR, "1"));
  EXPECT_EQ(db().RowCount(MainTable::Locale), 0);

  // A refused scan with the display form takes the quantity panel with it;
  // with the plain form the panels, and the waiting quantity, stay.
  Enter(ScanField::edtZTCG, "7500637721");
  Enter(ScanField::edtZTCG, "bad");
  EXPECT_FALSE(scan.AwaitingQuantity());
  EXPECT_FALSE(Visible(ScanPanel::pnlZT2));
  settings.conversion = ScanConversion::Plain;
  Enter(ScanField::edtZTCG, "7500637721");
  Enter(ScanField::edtZTTC, "bad");
  EXPECT_TRUE(scan.AwaitingQuantity());
  EXPECT_TRUE(Visible(ScanPanel::pnlZT2));
  EXPECT_EQ(scan.view().focus, ScanField::edtZTTC);
  Enter(ScanField::edtZTQR, "2");
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "7500637721  确认采购[ 2 ]本。");
  EXPECT_EQ(db().GetBoughtCopies("7500637721"), 2);
}

TEST_F(OnsiteScanTest, ConfirmRemoveDeletesTheTallyOfTheKey) {
  db().AddToTally("7-5006-3772-1", 4);
  db().AddToTally("7500637721", 1);
  Enter(ScanField::edtZTTC, "7500637721");
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 0);
  EXPECT_EQ(db().GetBoughtCopies("7500637721"), 1);  // another key
}

TEST_F(OnsiteScanTest, ContinuousModeBuysTheSuggestionAtOnce) {
  struct Step {
    int target;
    const char* entry;
    const char* result;
  };
  Hold("7-5006-3772-1", 1);
  const Step steps[] = {
      {2, "7500637721", "现有[1]本，已采购[0]本，继续采购[1]本"},
      {2, "7500637721", "现有[1]本，已采购[1]本，不做采购"},
      {1, "702000220X", "现有[0]本，已采购[0]本，继续采购[1]本"},
      {1, "702000220X", "现有[0]本，已采购[1]本，不做采购"},
      {1, "9787500637721", "现有[1]本，已采购[1]本，不做采购"},
      {5, "7500637721", "现有[1]本，已采购[1]本，继续采购[3]本"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.result);
    settings.target = s.target;
    ASSERT_TRUE(Enter(ScanField::edtLXCG, s.entry));
    EXPECT_EQ(Text(ScanPanel::pnlResult), s.result);
    EXPECT_EQ(Text(ScanPanel::pnlEndingIsbn), scan.view().field(ScanField::edtLXCG));
    EXPECT_EQ(scan.view().focus, ScanField::edtLXCG);
    EXPECT_TRUE(scan.view().focusSelected);
  }
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 4);
  EXPECT_EQ(db().GetBoughtCopies("7-02-000220-X"), 1);

  // Target 1 on a title held once and never bought: no purchase.
  Hold("7-111-23456-1", 1);
  settings.target = 1;
  Enter(ScanField::edtLXCG, "7111234561");
  EXPECT_EQ(Text(ScanPanel::pnlResult), "现有[1]本，不做采购");

  Enter(ScanField::edtLXTC, "7500637721");
  EXPECT_EQ(Text(ScanPanel::pnlEndingIsbn), "7-5006-3772-1");
  EXPECT_EQ(Text(ScanPanel::pnlResult), "剔除ISBN[7-5006-3772-1]的采购数据成功");
  EXPECT_EQ(scan.view().focus, ScanField::edtLXTC);
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), 0);
}

TEST_F(OnsiteScanTest, ReminderModeTellsWhetherTheTitleIsHeldAndStoresNothing) {
  Hold("7-5006-3772-1", 1, "红楼梦");
  Hold("7-02-000220-X", 2, "");
  settings.target = 100;
  Enter(ScanField::edtJD, "7500637721");
  EXPECT_EQ(Text(ScanPanel::pnlJD), "红楼梦, 已有");
  EXPECT_TRUE(Visible(ScanPanel::pnlJD));
  EXPECT_TRUE(scan.view().focusSelected);
  Enter(ScanField::edtJD, "702000220X");  // held, but without a title
  EXPECT_EQ(Text(ScanPanel::pnlJD), "7-02-000220-X  没找到！");
  EXPECT_EQ(db().RowCount(MainTable::Locale), 0);
}

TEST_F(OnsiteScanTest, TheToneFollowsTheTwoBoxes) {
  Hold("7-5006-3772-1", 1, "红楼梦");
  struct Case {
    bool soundHeld, soundNew;
    int heldTones, newTones;
  };
  const Case cases[] = {{false, false, 0, 0}, {true, false, 1, 0}, {false, true, 0, 1}, {true, true, 1, 1}};
  for (const Case& c : cases) {
    settings.soundHeld = c.soundHeld;
    settings.soundNew = c.soundNew;
    for (ScanField f : {ScanField::edtZTCG, ScanField::edtLXCG, ScanField::edtJD}) {
      SCOPED_TRACE(static_cast<int>(f) * 10 + c.soundHeld * 2 + c.soundNew);
      beeper.tones.clear();
      Enter(f, "7500637721");
      EXPECT_EQ(beeper.tones.size(), size_t(c.heldTones));
      beeper.tones.clear();
      Enter(f, "702000220X");
      EXPECT_EQ(beeper.tones.size(), size_t(c.newTones));
      if (!beeper.tones.empty()) {
        EXPECT_EQ(beeper.tones[0], (std::pair<int, int>{800, 50}));
      }
    }
  }
  beeper.tones.clear();
  Enter(ScanField::edtZTTC, "7500637721");  // removals and refusals stay silent
  Enter(ScanField::edtJD, "bad");
  EXPECT_TRUE(beeper.tones.empty());
}

TEST_F(OnsiteScanTest, AFailedLookupCountsMinusOne) {
  // The tally table vanishes under the open database (another program): the
  // lookup answers -1, which is shown and takes part in the suggestion.
  Hold("7-5006-3772-1", 1);
  db().GetBoughtCopies("7-5006-3772-1");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(tc.ctx.databasePath.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "DROP TABLE locale", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  settings.target = 1;
  Enter(ScanField::edtZTCG, "7500637721");
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "已有[ 1 ]本，已采购[ -1 ]本，现采购：");
  EXPECT_EQ(scan.view().field(ScanField::edtZTQR), "1");
}

TEST_F(OnsiteScanTest, AFailingTallyChangeLeavesThePanelsAndReturnsToWaiting) {
  db().AddToTally("7-5006-3772-1", std::numeric_limits<int32_t>::max());
  Enter(ScanField::edtZTCG, "7500637721");
  EXPECT_THROW(Enter(ScanField::edtZTQR, "1"), EDatabaseError);
  EXPECT_EQ(Text(ScanPanel::pnlZT1), "已有[ 0 ]本，已采购[ 2147483647 ]本，现采购：");
  EXPECT_FALSE(Visible(ScanPanel::pnlZT2));
  EXPECT_FALSE(scan.AwaitingQuantity());
  EXPECT_EQ(scan.view().focus, ScanField::edtZTCG);
  EXPECT_EQ(db().GetBoughtCopies("7-5006-3772-1"), std::numeric_limits<int32_t>::max());
}

TEST(OnsiteScanQuantity, TypingReplacesTheSelectedSuggestionAndTakesOnlyDigitsAndBackspace) {
  struct Case {
    const char* current;
    const char* typed;
    const char* result;
  };
  const Case cases[] = {
      {"1", "", "1"},      {"1", "3", "3"},       {"1", "12", "12"}, {"-2", "5", "5"},
      {"1", "a", "1"},     {"1", "x4y", "4"},     {"1", "\b", ""},   {"1", "34\b", "3"},
      {"1", "-3", "3"},    {"1", " 2 ", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.current) + "|" + c.typed);
    EXPECT_EQ(OnsiteScan::TypeIntoQuantity(c.current, c.typed), c.result);
  }
}

}  // namespace
