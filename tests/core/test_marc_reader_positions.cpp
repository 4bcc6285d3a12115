// Record offsets for the indexing engines: ScanMarcFileFrom hands on the
// same records as ScanMarcFile with their offsets, ReadRecordText rebuilds
// each text from its offset, and a scan started at a record's offset reads
// on as the full scan does.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/commonUnit.h"
#include "dup_test_data.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

struct Seen {
  std::string text;
  int64_t offset;
};

std::vector<Seen> ScanWithOffsets(Context& ctx, const std::string& file, int64_t from) {
  std::vector<Seen> seen;
  ScanMarcFileFrom(ctx, file, from, [&](int64_t, const std::string& r, int64_t offset, bool&) {
    seen.push_back({r, offset});
  });
  return seen;
}

void ExpectPositionsHold(Context& ctx, const std::string& file) {
  std::vector<std::string> plain;
  ScanMarcFile(ctx, file, [&](int64_t, const std::string& r, bool&) { plain.push_back(r); });
  std::vector<Seen> seen = ScanWithOffsets(ctx, file, 0);
  ASSERT_EQ(seen.size(), plain.size());
  int fd = open(file.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].text, plain[i]) << "record " << i + 1;
    EXPECT_EQ(ReadRecordText(fd, file, seen[i].offset, seen[i].text.size()), plain[i]) << "record " << i + 1;
  }
  close(fd);
  // From the offset of any record on, the same records as the full scan.
  for (size_t i = 0; i < seen.size(); i += 7) {
    std::vector<Seen> tail = ScanWithOffsets(ctx, file, seen[i].offset);
    ASSERT_EQ(tail.size(), seen.size() - i) << "from record " << i + 1;
    for (size_t j = 0; j < tail.size(); ++j) {
      EXPECT_EQ(tail[j].text, seen[i + j].text);
      EXPECT_EQ(tail[j].offset, seen[i + j].offset);
    }
  }
}

}  // namespace

TEST(ReaderPositions, OffsetsRebuildEveryRecordOfDamagedFiles) {
  TempDir dir;
  TestContext t(dir.path());
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    DupDataGenerator g(seed);
    std::string bytes = g.File(120);
    bytes += g.Record().substr(0, 50);  // the last record cut short by the end of the file
    WriteFile(dir.File("f.iso"), bytes);
    ExpectPositionsHold(t.ctx, dir.File("f.iso"));
  }
}

TEST(ReaderPositions, OffsetsRebuildEveryRecordOfTheRealFiles) {
  TempDir dir;
  TestContext t(dir.path());
  for (const char* name : {"broken_pride_prejudice_many_errors.mrc", "broken_reclen_over_99999.mrc",
                           "isis_unimarc_cp850_hashsep_wrapped.iso", "broken_filler_between_records.usmarc",
                           "broken_shifted_leader.marc", "broken_wrong_leader_length.mrc"}) {
    SCOPED_TRACE(name);
    if (FileExists(RealDataFile(name))) ExpectPositionsHold(t.ctx, RealDataFile(name));
  }
}
