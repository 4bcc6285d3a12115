// Leaders, directory entries, subfields, the field table and GetValue.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/commonUnit.h"
#include "support/marc_builder.h"

TEST(MarcRecord, IsMarcLeader) {
  struct {
    const char* text;
    bool leader;
  } cases[] = {
      {"00714nam", true},   {"01234cjm", true},   {"00714nvm", true},  {"00714zrs", true},
      {"00714nhm", false},  {"0071Anam", false},  {"00714Nam", false}, {"00714nab", false},
      {"00714na", false},   {" 0714nam", false},  {"00714nsm", false}, {"00714nwc", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsMarcLeader(c.text), c.leader) << c.text;
}

TEST(MarcRecord, IsDirectoryEntry) {
  EXPECT_TRUE(IsDirectoryEntry("010002400000"));
  EXPECT_TRUE(IsDirectoryEntry("ABC002400000"));  // the tag is not looked at
  EXPECT_FALSE(IsDirectoryEntry("01000240000"));  // 11 bytes
  EXPECT_FALSE(IsDirectoryEntry("0100024 0000"));
}

TEST(MarcRecord, GetSubfield) {
  const std::string field = "  \x1F" "a7-5006-3772-1\x1F" "dCNY20.00\x1E";
  struct {
    const char* code;
    std::string data;
    std::string value;
  } cases[] = {
      {"a", field, "7-5006-3772-1"},
      {"d", field, "CNY20.00"},
      {"b", field, ""},
      {"a", "\x1F" "abc\x1E" "def\x1F" "b", "bc"},  // a field terminator ends the value first
      {"a", "\x1F" "a", ""},
      {"a", "\x1F" "b1\x1F" "a2\x1F" "a3", "2"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetSubfield(c.code, c.data), c.value) << c.code;
}

namespace {

std::string TwoIsbnRecord(bool firstHasA) {
  return MakeRecord({{"001", "x1"},
                     {"010", "  " + (firstHasA ? Sf('a', "7-111") : Sf('b', "pbk")) + Sf('d', "CNY1")},
                     {"010", "  " + Sf('a', "7-222")},
                     {"200", "1 " + Sf('a', Gbk("书名")) + Sf('f', Gbk("作者"))}});
}

}  // namespace

TEST(MarcRecord, GetValueUsesOnlyTheFirstFieldWithTheTag) {
  TMarcRecord rec(TwoIsbnRecord(true));
  EXPECT_EQ(rec.GetValue("010a"), "7-111");
  EXPECT_EQ(rec.GetValue("010"), "\x1F" "a7-111\x1F" "dCNY1");
  EXPECT_EQ(rec.GetValue("001"), "x1");
  EXPECT_EQ(rec.GetValue("200a"), Gbk("书名"));
  EXPECT_EQ(rec.GetValue("300"), "");
  EXPECT_EQ(TMarcRecord(TwoIsbnRecord(false)).GetValue("010a"), "");
  for (const char* bad : {"10a", "010ab", "010A", "0a0a", ""}) EXPECT_EQ(rec.GetValue(bad), "") << bad;
  EXPECT_EQ(TMarcRecord("").GetValue("010a"), "");
}

TEST(MarcRecord, ParseBuildsTheTableInCodeSeqNoOrder) {
  std::string rec = MakeRecord({{"200", "1 " + Sf('a', "T") + "  "},
                                {"001", "id"},
                                {"010", "  " + Sf('a', "7-1")},
                                {"010", "01" + Sf('a', "7-2")}});
  MarcFieldTable t = ParseMarcRecord(rec);
  ASSERT_EQ(t.rows.size(), 5u);
  EXPECT_EQ(t.rows[0].Code, "");
  EXPECT_EQ(t.rows[0].Data, rec.substr(0, 24));
  EXPECT_EQ(t.rows[0].SeqNo, 0);
  struct {
    const char* code;
    const char* denote;
    std::string data;
    int seq;
  } expect[] = {{"001", "", "id", 2},
                {"010", "  ", "\xA1\xF6" "a7-1", 3},
                {"010", "01", "\xA1\xF6" "a7-2", 4},
                {"200", "1 ", "\xA1\xF6" "aT", 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(t.rows[i + 1].Code, expect[i].code);
    EXPECT_EQ(t.rows[i + 1].Denote, expect[i].denote);
    EXPECT_EQ(t.rows[i + 1].Data, expect[i].data);  // trailing blanks and terminator gone
    EXPECT_EQ(t.rows[i + 1].SeqNo, expect[i].seq);
  }
  EXPECT_TRUE(ParseMarcRecord("").rows.empty());
}

TEST(MarcRecord, DirectoryIsFoundDespiteAWrongBaseAddressOrAnExtraLeaderByte) {
  std::string good = MakeRecord({{"001", "id"}, {"010", "  " + Sf('a', "7-5006")}});
  std::string wrongBase = good;
  wrongBase.replace(12, 5, "00099");  // beyond the first terminator, no entry before it
  std::string longLeader = good.substr(0, 24) + "x" + good.substr(24);
  longLeader.replace(12, 5, "00050");  // one more byte before the directory
  for (const std::string& rec : {good, wrongBase, longLeader}) EXPECT_EQ(TMarcRecord(rec).GetValue("010a"), "7-5006");
}

TEST(MarcRecord, DirectoryStopsAtTheFirstEntryThatIsNoEntry) {
  std::string rec = MakeRecord({{"001", "id"}, {"010", "  " + Sf('a', "7-1")}, {"200", "  " + Sf('a', "T")}});
  rec[24 + 12 + 5] = 'x';  // the 010 entry's length
  MarcFieldTable t = ParseMarcRecord(rec);
  ASSERT_EQ(t.rows.size(), 2u);
  EXPECT_EQ(t.rows[1].Code, "001");
}

TEST(MarcRecord, BaseAddressThatIsNoNumberIsAConversionError) {
  std::string rec = MakeRecord({{"001", "id"}});
  rec.replace(12, 5, "0a041");
  EXPECT_THROW(ParseMarcRecord(rec), EConvertError);
  EXPECT_THROW(TMarcRecord{rec}, EConvertError);
}

TEST(MarcRecord, LiteralSubfieldMarkInDataReadsBackAsDelimiter) {
  std::string rec = MakeRecord({{"300", "  " + Sf('a', "x\xA1\xF6" "by")}});
  EXPECT_EQ(TMarcRecord(rec).GetValue("300a"), "x");
  EXPECT_EQ(TMarcRecord(rec).GetValue("300b"), "y");
}

// GetValue walks the directory directly; it must answer what the first row
// of the field table with the tag holds, on damaged records too.
TEST(MarcRecord, GetValueAgreesWithTheFieldTableOnDamagedRecords) {
  const uint32_t seed = std::random_device{}();
  std::mt19937 rng(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  const std::string alphabet = std::string("0123456789 abc\x1E\x1F\x1D\xA1\xF6", 19);
  for (int round = 0; round < 3000; ++round) {
    std::string rec = MakeRecord({{"001", "id"},
                                  {"010", "  " + Sf('a', "7-5006") + Sf('d', "CNY1") + "  "},
                                  {"010", "  " + Sf('a', "second")},
                                  {"200", "1 " + Sf('a', "T\xA1\xF6" "x") + Sf('b', "")}});
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) rec[rng() % rec.size()] = alphabet[rng() % alphabet.size()];
    MarcFieldTable table;
    try {
      table = ParseMarcRecord(rec);
    } catch (const EConvertError&) {
      EXPECT_THROW(TMarcRecord{rec}, EConvertError);
      continue;
    }
    TMarcRecord r(rec);
    for (const char* spec : {"001", "010", "010a", "010d", "200a", "200b", "200", "999a"}) {
      std::string expected;
      for (const auto& row : table.rows) {
        if (row.Code != std::string(spec, 3)) continue;
        std::string raw = FromDisplayForm(row.Data);
        expected = std::strlen(spec) == 3 ? raw : GetSubfield(std::string(1, spec[3]), raw);
        break;
      }
      ASSERT_EQ(r.GetValue(spec), expected) << "round " << round << " spec " << spec;
    }
  }
}
