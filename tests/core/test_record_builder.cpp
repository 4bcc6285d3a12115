// Record building: flattening a field table, building the record text with
// its directory, lengths and 005 stamp, the length limits, and subfield
// insertion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/clock.h"
#include "core/errors.h"
#include "core/marc_record.h"
#include "core/record_builder.h"
#include "core/text.h"
#include "support/marc_builder.h"

namespace {

const std::string kSep = "\x11\x40";
const std::string kMark = "\xA1\xF6";  // "■"

std::string Display(const std::string& utf8) { return ReplaceAll(Gbk(utf8), Gbk("■"), kMark); }

// The fields of a record text by plain directory arithmetic, asserting the
// layout on the way: leader lengths, cumulative starts, terminators.
std::vector<TestField> FieldsByArithmetic(const std::string& record) {
  std::vector<TestField> fields;
  EXPECT_GE(record.size(), 26u);
  EXPECT_EQ(std::stoul(record.substr(0, 5)), record.size());
  const size_t base = std::stoul(record.substr(12, 5));
  EXPECT_EQ(record[base - 1], '\x1E');
  EXPECT_EQ(record.back(), '\x1D');
  size_t expectedStart = 0;
  for (size_t p = 24; p + 1 < base; p += 12) {
    const size_t length = std::stoul(record.substr(p + 3, 4));
    const size_t start = std::stoul(record.substr(p + 7, 5));
    EXPECT_EQ(start, expectedStart);
    expectedStart += length;
    std::string field = record.substr(base + start, length);
    EXPECT_EQ(field.back(), '\x1E');
    fields.push_back({record.substr(p, 3), field.substr(0, field.size() - 1)});
  }
  EXPECT_EQ(base + expectedStart + 1, record.size());
  return fields;
}

TEST(BuildMarcRecord, DirectoryLengthsAndBaseAddress) {
  const std::string leader = "99999nam0 2299999   450 ";
  const std::string flat = leader + kSep + "00112345\x1E" + kSep + "2001 \x1F" "aT\x1E" + kSep;
  FixedClock clock({2026, 3, 4, 5, 6, 7});
  const std::string record = BuildMarcRecord(flat, clock);
  EXPECT_EQ(record, "00062nam0 2200049   450 001000600000200000600006\x1E" "12345\x1E" "1 \x1F" "aT\x1E\x1D");
  std::vector<TestField> fields = FieldsByArithmetic(record);
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[1].data, "1 \x1F" "aT");
}

TEST(BuildMarcRecord, Stamps005WithTheClockAndAddsNoneWhereThereIsNone) {
  FixedClock clock({2006, 12, 31, 23, 59, 59});
  const std::string leader(24, ' ');
  const std::string with005 = leader + kSep + "001R1\x1E" + kSep + "005old data of any length\x1E" + kSep;
  const std::string record = BuildMarcRecord(with005, clock);
  std::vector<TestField> fields = FieldsByArithmetic(record);
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[1].tag, "005");
  EXPECT_EQ(fields[1].data, "20061231235959.0");

  const std::string without = BuildMarcRecord(leader + kSep + "001R1\x1E" + kSep, clock);
  EXPECT_EQ(without.find("005"), std::string::npos);
  EXPECT_EQ(without.find("2006"), std::string::npos);
}

TEST(BuildMarcRecord, LeaderIsPaddedAndItsLengthsAreRecomputed) {
  FixedClock clock({2026, 1, 1, 0, 0, 0});
  const std::string entry = "001A\x1E" + kSep;
  struct {
    std::string leader;
    std::string want;
  } cases[] = {
      {"12345abcdefg67890hijklmn", "00040abcdefg00037hijklmn"},
      {"12345abcdefg67890hijklmnEXTRA", "00040abcdefg00037hijklmn"},
      {"xxxxxab", "00040ab     00037       "},
      {"", "00040       00037       "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.leader);
    EXPECT_EQ(BuildMarcRecord(c.leader + kSep + entry, clock).substr(0, 24), c.want);
  }
}

TEST(BuildMarcRecord, TextAfterTheLastSeparatorIsNoEntry) {
  FixedClock clock({2026, 1, 1, 0, 0, 0});
  const std::string leader(24, ' ');
  EXPECT_EQ(BuildMarcRecord(leader + kSep + "001A\x1E" + kSep + "200stray", clock),
            BuildMarcRecord(leader + kSep + "001A\x1E" + kSep, clock));
  EXPECT_EQ(BuildMarcRecord(leader, clock), "00026       00025       \x1E\x1D");
}

// A record parsed, flattened and built again is the same record, byte for
// byte, when its fields were in tag order and 005 carried the clock's time.
TEST(BuildMarcRecord, RoundTripThroughTheFieldTable) {
  FixedClock clock({2026, 3, 1, 12, 0, 0});
  const std::string original = MakeBookRecord("012345678901", "7-5006-3772-1", "红楼梦", "曹雪芹");
  EXPECT_EQ(BuildMarcRecord(FlattenFieldTable(ParseMarcRecord(original)), clock), original);
}

// Generated records (fields not all in tag order) come back as the same
// table: same rows in tag order, directory arithmetic intact.
TEST(BuildMarcRecord, GeneratedRecordsParseBackToTheSameTable) {
  const uint32_t seed = 20260304;
  SCOPED_TRACE("seed " + std::to_string(seed));
  BookGenerator gen(seed);
  FixedClock clock({2026, 3, 1, 12, 0, 0});
  for (int n = 1; n <= 200; ++n) {
    const std::string original = gen.Next(n);
    const MarcFieldTable before = ParseMarcRecord(original);
    const std::string rebuilt = BuildMarcRecord(FlattenFieldTable(before), clock);
    FieldsByArithmetic(rebuilt);
    const MarcFieldTable after = ParseMarcRecord(rebuilt);
    ASSERT_EQ(after.rows.size(), before.rows.size()) << n;
    EXPECT_EQ(after.rows[0].Data.substr(5, 7), before.rows[0].Data.substr(5, 7));
    for (size_t i = 1; i < before.rows.size(); ++i) {
      EXPECT_EQ(after.rows[i].Code, before.rows[i].Code) << n;
      EXPECT_EQ(after.rows[i].Denote, before.rows[i].Denote) << n;
      EXPECT_EQ(after.rows[i].Data, before.rows[i].Data) << n;
    }
  }
}

// A flat text with a 001 and the given field sizes (each including 0x1E).
std::string FlatWithFields(const std::vector<size_t>& sizes) {
  std::string flat = std::string(24, ' ') + kSep + "001R1\x1E" + kSep;
  for (size_t size : sizes) flat += "330  " + std::string(size - 3, 'x') + "\x1E" + kSep;
  return flat;
}

TEST(BuildMarcRecord, FieldLengthLimitIs9999Bytes) {
  FixedClock clock({2026, 1, 1, 0, 0, 0});
  std::vector<TestField> fields = FieldsByArithmetic(BuildMarcRecord(FlatWithFields({9999}), clock));
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[1].data.size(), 9998u);
  try {
    BuildMarcRecord(FlatWithFields({10000}), clock);
    ADD_FAILURE() << "no error";
  } catch (const ERecordTooLong& e) {
    const std::string message = GbkToUtf8(e.what());
    EXPECT_EQ(message, "001为“R1”的记录的330字段长10000字节，超过了ISO 2709允许的9999字节，无法写出。");
  }
}

TEST(BuildMarcRecord, RecordLengthLimitIs99999Bytes) {
  FixedClock clock({2026, 1, 1, 0, 0, 0});
  // 11 entries: base 24 + 133 = 157; 157 + 3 (001) + 9 * 9999 + 9847 + 1 = 99999.
  std::vector<size_t> sizes(9, 9999);
  sizes.push_back(9847);
  const std::string record = BuildMarcRecord(FlatWithFields(sizes), clock);
  EXPECT_EQ(record.size(), 99999u);
  EXPECT_EQ(FieldsByArithmetic(record).size(), 11u);
  EXPECT_EQ(ParseMarcRecord(record).rows.size(), 12u);

  sizes.back() += 1;
  try {
    BuildMarcRecord(FlatWithFields(sizes), clock, Gbk("第7行"));
    ADD_FAILURE() << "no error";
  } catch (const ERecordTooLong& e) {
    EXPECT_EQ(GbkToUtf8(e.what()), "第7行长100000字节，超过了ISO 2709允许的99999字节，无法写出。");
  }
  // No 001 to name the record by.
  try {
    BuildMarcRecord(std::string(24, ' ') + kSep + "330  " + std::string(20000, 'x') + "\x1E" + kSep, clock);
    ADD_FAILURE() << "no error";
  } catch (const ERecordTooLong& e) {
    EXPECT_EQ(GbkToUtf8(e.what()).rfind("没有001字段的记录的330字段长20003字节", 0), 0u) << GbkToUtf8(e.what());
  }
}

TEST(BuildMarcRecord, EntryWithoutATagIsRefused) {
  FixedClock clock({2026, 1, 1, 0, 0, 0});
  EXPECT_THROW(BuildMarcRecord(std::string(24, ' ') + kSep + "00" + kSep, clock), EConvertError);
}

TEST(FlattenFieldTable, OrderIndicatorsTrimmingAndDisplayMarks) {
  MarcFieldTable table;
  table.rows = {
      {"", "", "00062nam0 2200049   450  \r\n", 0},
      {"200", "1", Display(" ■a红楼梦■f曹雪芹 "), 4},
      {"010", "", Display("■a7-5006-3772-1"), 2},
      {"200", "0", Display("■a新加的一"), 0},        // added: before the parsed 200
      {"001", "xx", "  R1  ", 1},                      // control field: no indicators
      {"200", "123", Display("■a新加的二"), 0},      // added second: after the first added
      {"-01", "1 ", "local", 5},                       // non-numeric tag: no indicators
      {"101", " 0", Display("■achi"), 3},
  };
  const std::string want = std::string("00062nam0 2200049   450") + kSep +                         //
                           "-01local\x1E" + kSep +                                                   //
                           "001R1\x1E" + kSep +                                                      //
                           "010  \x1F" "a7-5006-3772-1\x1E" + kSep +                                 //
                           "101 0\x1F" "achi\x1E" + kSep +                                           //
                           "2000 \x1F" "a" + Gbk("新加的一") + "\x1E" + kSep +                       //
                           "20012\x1F" "a" + Gbk("新加的二") + "\x1E" + kSep +                       //
                           "2001 \x1F" "a" + Gbk("红楼梦") + "\x1F" "f" + Gbk("曹雪芹") + "\x1E" + kSep;
  EXPECT_EQ(FlattenFieldTable(table), want);
}

TEST(FlattenFieldTable, LeaderKeepsItsLeadingBytes) {
  MarcFieldTable table;
  table.rows = {{"", "", "     nam0 22     1  450 ", 0}, {"001", "", "R1", 1}};
  FixedClock clock({2026, 1, 1, 0, 0, 0});
  const std::string record = BuildMarcRecord(FlattenFieldTable(table), clock);
  EXPECT_EQ(record.substr(0, 24), "00041nam0 22000371  450 ");
}

TEST(FlattenFieldTable, EdgeTables) {
  EXPECT_EQ(FlattenFieldTable(MarcFieldTable{}), "");
  MarcFieldTable noLeader;
  noLeader.rows = {{"001", "", "R1", 1}};
  EXPECT_EQ(FlattenFieldTable(noLeader), kSep + "001R1\x1E" + kSep);
  MarcFieldTable badTag;
  badTag.rows = {{"", "", std::string(24, ' '), 0}, {"20", "", "x", 0}};
  EXPECT_THROW(FlattenFieldTable(badTag), EConvertError);
}

TEST(FormatTransactionTime, FourteenDigits) {
  EXPECT_EQ(FormatTransactionTime({2006, 12, 31, 23, 59, 59}), "20061231235959");
  EXPECT_EQ(FormatTransactionTime({2026, 1, 2, 3, 4, 5}), "20260102030405");
}

TEST(InsertSubfield, KeepsCodeOrder) {
  const struct {
    const char* name;
    std::string data, sub, want;
  } cases[] = {
      {"before a later code", Display("■aT■eS"), Display("■d12.00"), Display("■aT■d12.00■eS")},
      {"appended after the last", Display("■aT"), Display("■d12.00"), Display("■aT■d12.00")},
      {"without the mark: unchanged", Display("■aT■eS"), "d12.00", Display("■aT■eS")},
      {"before the same code", Display("■aT■dOld"), Display("■dNew"), Display("■aT■dNew■dOld")},
      {"digits before letters", Display("■aT"), Display("■1x"), Display("■1x■aT")},
      {"into empty data", "", Display("■ax"), Display("■ax")},
      {"mark alone: unchanged", Display("■a"), kMark, Display("■a")},
      {"mark and code without value", Display("■a"), Display("■b"), Display("■a■b")},
      {"data not starting with a mark", Display("xyz■c1"), Display("■b2"), Display("xyz■b2■c1")},
      // 0xA1 0xF6 across two GBK characters is not a mark.
      {"no mark across characters", kMark + "a\xB0\xA1\xF6z" + kMark + "cZ", Display("■b1"),
       kMark + "a\xB0\xA1\xF6z" + kMark + "b1" + kMark + "cZ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InsertSubfield(c.data, c.sub), c.want);
  }
}

}  // namespace
