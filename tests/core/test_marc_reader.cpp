// The record reader: framing, resynchronisation, the error path, and a
// differential run against a plain in-memory model of the reading rules.
#include <gtest/gtest.h>

#include <random>

#include "core/commonUnit.h"
#include "support/marc_builder.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

struct Seen {
  int64_t no;
  std::string text;
  bool operator==(const Seen& o) const { return no == o.no && text == o.text; }
};

// The reading rules written out plainly over a byte string: 8 bytes, a
// length, a record or a window search over the carried text, 640 bytes at a
// time. A window found by the search that does not open a record is
// searched past.
std::vector<std::string> ModelScan(const std::string& file) {
  std::vector<std::string> out;
  const int64_t S = static_cast<int64_t>(file.size());
  int64_t P = 0;
  std::string B;
  bool pending = false;
  size_t pendingIndex = 0;
  int64_t pendingEnd = 0;
  auto read = [&](size_t n) {
    std::string r = file.substr(static_cast<size_t>(std::min(P, S)), n);
    P = std::min(P + static_cast<int64_t>(n), S);
    return r;
  };
  while (P < S) {
    std::string H = read(8);
    if (P >= S) break;
    long long L = 0;
    if (!ParseDecimal(TrimBlanks(std::string_view(H).substr(0, 5)), &L)) L = 0;
    if (L > 23 && IsMarcLeader(H)) {
      pending = false;
      std::string R = H + read(static_cast<size_t>(L - 8));
      R.resize(static_cast<size_t>(L), ' ');
      while (P < S && (file[P] == 0 || file[P] == '\n' || file[P] == '\r' || file[P] == '\x1D')) ++P;
      for (char& c : R)
        if (c == 0) c = ' ';
      out.push_back(R);
      B = R;
      if (P >= S) break;
      continue;
    }
    size_t i;
    if (pending) {
      pending = false;
      P = pendingEnd;
      i = pendingIndex + 1;
    } else {
      B += H;
      i = 5;
    }
    bool found = false, searched = B.size() > 13;
    while (true) {
      while (B.size() > i + 8) {
        if (IsMarcLeader(B.substr(i, 8))) {
          found = true;
          break;
        }
        ++i;
      }
      if (found || !searched || P >= S) break;
      B += read(640);
    }
    if (!found) break;
    pending = true;
    pendingIndex = i;
    pendingEnd = P;
    P -= static_cast<int64_t>(B.size() - i);
  }
  return out;
}

class ReaderTest : public ::testing::Test {
 protected:
  TempDir dir;
  TestContext tc{dir.path()};

  std::vector<Seen> Scan(const std::string& bytes, int64_t* result = nullptr,
                         const std::function<void(int64_t, bool&)>& hook = nullptr) {
    std::string path = dir.File("in.iso");
    WriteFile(path, bytes);
    std::vector<Seen> seen;
    int64_t n = ScanMarcFile(tc.ctx, path, [&](int64_t no, const std::string& text, bool& goOn) {
      seen.push_back({no, text});
      if (hook) hook(no, goOn);
    });
    if (result) *result = n;
    return seen;
  }
};

std::string Rec(const std::string& isbn) {
  return MakeRecord({{"001", "id" + isbn}, {"010", "  " + Sf('a', isbn)}, {"200", "1 " + Sf('a', "T")}});
}

std::string Bump(std::string record, int delta) {
  char head[8];
  std::snprintf(head, sizeof head, "%05d", std::stoi(record.substr(0, 5)) + delta);
  record.replace(0, 5, head);
  return record;
}

}  // namespace

TEST_F(ReaderTest, ThreeRecordsWithCrLfComeBackInOrderWithoutTheCrLf) {
  std::string a = Rec("1"), b = Rec("2"), c = Rec("3");
  int64_t n = 0;
  auto seen = Scan(a + "\r\n" + b + "\r\n" + c + "\r\n", &n);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(seen, (std::vector<Seen>{{1, a}, {2, b}, {3, c}}));
}

TEST_F(ReaderTest, LengthTenTooLongTakesTheNextBytesAndStillFindsTheNextRecord) {
  std::string a = Rec("1"), b = Rec("2");
  auto seen = Scan(Bump(a, 10) + "\r\n" + b + "\r\n");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, Bump(a, 10) + "\r\n" + b.substr(0, 8));
  EXPECT_EQ(seen[1].text, b);
}

TEST_F(ReaderTest, LengthTooShortIsHandedOnCutAndTheRestSkipped) {
  std::string a = Rec("1"), b = Rec("2");
  auto seen = Scan(Bump(a, -30) + "\r\n" + b + "\r\n");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].text, Bump(a, -30).substr(0, a.size() - 30));
  EXPECT_EQ(seen[1].text, b);
}

TEST_F(ReaderTest, FilesThatYieldNoRecords) {
  const std::string a = Rec("1");
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"shorter than 9 bytes", a.substr(0, 8)},
      {"blank line before the first leader", "\r\n" + a},
      {"zeros", std::string(100000, '\0')},
      {"garbage", std::string(5000, 'x')},
  };
  for (const auto& c : cases) {
    int64_t n = -1;
    EXPECT_TRUE(Scan(c.bytes, &n).empty()) << c.name;
    EXPECT_EQ(n, 0) << c.name;
  }
}

TEST_F(ReaderTest, MissingFileAndFolderGiveZeroWithoutCallback) {
  int calls = 0;
  auto cb = [&](int64_t, const std::string&, bool&) { ++calls; };
  EXPECT_EQ(ScanMarcFile(tc.ctx, dir.File("none.iso"), cb), 0);
  EXPECT_EQ(ScanMarcFile(tc.ctx, dir.path(), cb), 0);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(tc.shell.messages.empty());
}

TEST_F(ReaderTest, NulBytesReachTheCallbackAsBlanksAndSeparatorsAreSkipped) {
  std::string a = Rec("1");
  std::string withNul = a;
  withNul[30] = '\0';
  auto seen = Scan(withNul + std::string("\0\0\n\r\x1D", 5) + a);
  ASSERT_EQ(seen.size(), 2u);
  std::string expected = a;
  expected[30] = ' ';
  EXPECT_EQ(seen[0].text, expected);
  EXPECT_EQ(seen[1].text, a);
}

TEST_F(ReaderTest, GarbageBetweenRecordsIsSkipped) {
  std::string a = Rec("1"), b = Rec("2");
  auto seen = Scan(a + "\r\nsome garbage that is not a leader at all 12345xyz\r\n" + b);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].text, b);
}

TEST_F(ReaderTest, RecordCutShortByTheEndOfTheFileIsPaddedWithBlanks) {
  std::string a = Rec("1"), b = Rec("2");
  auto seen = Scan(a + "\r\n" + b.substr(0, 40));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].text, b.substr(0, 40) + std::string(b.size() - 40, ' '));
}

TEST_F(ReaderTest, ALeaderLikeWindowDeclaringTooFewBytesIsSearchedPast) {
  // "00012nam" passes the leader test but declares 12 bytes: read literally,
  // the search would find it again and again.
  std::string a = Rec("1"), b = Rec("2");
  int64_t n = 0;
  auto seen = Scan(a + "\r\nxx00012namyyyyyyyyyyyyyyyyyy" + b, &n);
  ASSERT_EQ(n, 2);
  EXPECT_EQ(seen[1].text, b);
}

TEST_F(ReaderTest, ClearingTheFlagOnRecordFiveOfTenStopsThere) {
  std::string file;
  for (int i = 0; i < 10; ++i) file += Rec(std::to_string(i)) + "\r\n";
  int64_t n = 0;
  auto seen = Scan(file, &n, [](int64_t no, bool& goOn) { goOn = no != 5; });
  EXPECT_EQ(n, 5);
  EXPECT_EQ(seen.size(), 5u);
}

TEST_F(ReaderTest, CallbackErrorIsLoggedAndTheAnswerDecides) {
  std::string file;
  for (int i = 0; i < 10; ++i) file += Rec(std::to_string(i)) + "\r\n";
  const std::string seventh = Rec("6");
  for (bool goOn : {true, false}) {
    std::remove(tc.ctx.errorLogPath.c_str());
    tc.shell.recordErrors.clear();
    tc.shell.recordErrorAnswers = {goOn};
    int64_t n = 0;
    auto seen = Scan(file, &n, [](int64_t no, bool&) {
      if (no == 7) throw EConvertError("bad");
    });
    EXPECT_EQ(n, goOn ? 10 : 7);
    EXPECT_EQ(seen.size(), goOn ? 10u : 7u);
    ASSERT_EQ(tc.shell.recordErrors.size(), 1u);
    EXPECT_EQ(tc.shell.recordErrors[0].recordNo, 7);
    EXPECT_EQ(tc.shell.recordErrors[0].recordText, seventh);
    std::string path = dir.File("in.iso");
    EXPECT_EQ(ReadFile(tc.ctx.errorLogPath),
              "//2026-03-04 05:06:07-------------\r\n" + Gbk("文件：") + path + "\r\n" + Gbk("记录：") + "7\r\n" +
                  Gbk("MARC：") + "\r\n" + seventh + "\r\n//\\\\\\----------------\r\n");
  }
}

TEST_F(ReaderTest, AnUnwritableErrorLogStillAsksTheQuestion) {
  tc.ctx.errorLogPath = dir.File("no/such/folder/ErrorLog.txt");
  int64_t n = 0;
  Scan(Rec("1") + Rec("2"), &n, [](int64_t no, bool&) {
    if (no == 1) throw EConvertError("bad");
  });
  EXPECT_EQ(n, 2);
  EXPECT_EQ(tc.shell.recordErrors.size(), 1u);
}

TEST_F(ReaderTest, LongGarbageRunsKeepFindingTheNextRecord) {
  std::string a = Rec("1"), b = Rec("2");
  std::string garbage(3 << 20, 'x');
  for (size_t i = 0; i < garbage.size(); i += 997) garbage[i] = '\0';
  auto seen = Scan(a + garbage + b);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].text, b);
}

// Damaged files of every kind, read by the reader with tiny buffers and an
// eager carry trim, must give exactly the records of the plain model.
TEST_F(ReaderTest, MatchesThePlainModelOnRandomDamagedFiles) {
  const uint32_t seed = std::random_device{}();
  std::mt19937 rng(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  const std::string path = dir.File("random.iso");
  for (int round = 0; round < 300; ++round) {
    std::string file;
    int records = 1 + static_cast<int>(rng() % 8);
    for (int r = 0; r < records; ++r) {
      std::string rec = Rec(std::to_string(rng() % 100000));
      switch (rng() % 9) {
        case 0: rec = Bump(rec, static_cast<int>(rng() % 40) + 1); break;
        case 1: rec = Bump(rec, -static_cast<int>(rng() % 40) - 1); break;
        case 2: rec = rec.substr(0, rng() % rec.size()); break;
        case 3: rec[rng() % rec.size()] = '\0'; break;
        case 4: rec.insert(rng() % rec.size(), "00012nam"); break;
        case 5: rec = "00" + std::to_string(rng() % 1000) + "cam" + rec; break;
        case 6: rec[rng() % 5] = 'x'; break;
        default: break;
      }
      file += rec;
      switch (rng() % 4) {
        case 0: file += "\r\n"; break;
        case 1: file += std::string(rng() % 5, '\0'); break;
        case 2: file += std::string(rng() % 900, static_cast<char>('a' + rng() % 26)); break;
        default: break;
      }
    }
    if (rng() % 10 == 0) file = "\r\n" + file;
    WriteFile(path, file);
    std::vector<std::string> got;
    size_t buffer = 1 + rng() % 200, trim = rng() % 50;
    reader_internal::ScanMarcFileTuned(
        tc.ctx, path, [&](int64_t, const std::string& text, bool&) { got.push_back(text); }, buffer, trim);
    ASSERT_EQ(got, ModelScan(file)) << "round " << round << " buffer " << buffer << " trim " << trim;
  }
}

TEST_F(ReaderTest, RealFilesOfEveryKindAreReadWithoutFailing) {
  const char* files[] = {"broken_baddir.usmarc",
                         "broken_badldr_extra_terminator.usmarc",
                         "broken_filler_between_records.usmarc",
                         "broken_multibyte_subfield_code.mrc",
                         "broken_pride_prejudice_many_errors.mrc",
                         "broken_pymarc_bad_records.mrc",
                         "broken_reclen_over_99999.mrc",
                         "broken_shifted_leader.marc",
                         "broken_utf8_bad_bytes.marc",
                         "broken_wrong_leader_length.mrc",
                         "cmarc_tw_proquest_ebooks_utf8.mrc",
                         "isis_unimarc_cp850_hashsep_wrapped.iso",
                         "marc21_camel10.usmarc",
                         "marc21_cp1251_cyrillic.dat",
                         "marc21_marc8_cjk_eacc.marc",
                         "marc21_marc8_cjk_mangled.mrc",
                         "marc21_multi_isbn.dat",
                         "marc21_pymarc_batch20.dat",
                         "marc21_utf8_cjk_880_rlin.marc",
                         "rusmarc_utf8_embedded461.mrc",
                         "unimarc_fr_serials_sciencespo_utf8.mrc",
                         "unimarc_it_sbn_embedded4xx.dat",
                         "unimarc_ru_cp866_nodelims_badlen.marc"};
  for (const char* name : files) {
    std::string path = RealDataFile(name);
    if (!FileExists(path)) continue;
    std::string bytes = ReadFile(path);
    std::vector<std::string> got;
    ScanMarcFile(tc.ctx, path, [&](int64_t, const std::string& text, bool&) {
      got.push_back(text);
      TMarcRecord rec(text);
      rec.GetValue("010a");
      rec.Table();
    });
    EXPECT_EQ(got, ModelScan(bytes)) << name;
  }
  // Well-formed files give every record.
  int64_t n = CountMarcRecords(tc.ctx, RealDataFile("marc21_camel10.usmarc"));
  EXPECT_EQ(n, 10);
}
