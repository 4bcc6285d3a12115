// The indexed engines of the duplicate checks and the de-duplication against
// plain nested loops that do what the pages describe, record by record, on
// generated files rich in odd cases. Any difference in the files written is
// a failure; the seed is printed with it.
#include <gtest/gtest.h>

#include <memory>

#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "dup_test_data.h"
#include "features/dedup.h"
#include "features/dup_rules.h"
#include "features/isbn_check.h"
#include "features/marc_check.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

struct Rule {
  MatchMode mode;
  const char* spec;
  int minimum;
};

// Rules with every kind of agreement: whole texts, ISBN keys, repeated
// fields, elements written twice, whole raw fields, an empty list, a
// minimum that everything reaches.
const Rule kRules[] = {
    {MatchMode::Identical, "200a,010a,010d", 3}, {MatchMode::Isbn, "", 3},
    {MatchMode::Fields, "200a,010a,010d", 3},    {MatchMode::Fields, "200a,010a,010d", 1},
    {MatchMode::Fields, "606a", 2},              {MatchMode::Fields, "606,200a,200a", 2},
    {MatchMode::Fields, "010d", 1},              {MatchMode::Fields, "", 1},
    {MatchMode::Fields, "010a,---,606a,606a", 2}, {MatchMode::Fields, "300a,606a", 0},
};

std::string RuleName(const Rule& r) {
  return "mode " + std::to_string(static_cast<int>(r.mode)) + " spec \"" + r.spec + "\" min " +
         std::to_string(r.minimum);
}

// ---- the plain models --------------------------------------------------

struct CheckOutputs {
  std::string newTitles, commonTitles;
};

// Every supplier record against every buyer record, the buyer side read
// again from its start each time.
CheckOutputs ModelMarcCheck(Context& ctx, const MarcCheckSettings& s) {
  CheckOutputs out;
  const int mode = static_cast<int>(s.mode);
  const bool bySupplier = s.commonSide == CommonSide::Supplier;
  ScanMarcFile(ctx, s.supplierFile, [&](int64_t, const std::string& supplier, bool&) {
    bool found = false;
    auto visit = [&](const std::string& buyer) {
      bool d = IsDuplicateRecord(supplier, buyer, mode, s.minimum, s.fieldSpecList);
      if (d) found = true;
      if (d) out.commonTitles += (bySupplier ? supplier : buyer) + "\r\n";
      return !(d && (bySupplier || mode == 0));
    };
    if (s.buyerSource == BuyerSource::File) {
      ScanMarcFile(ctx, s.buyerFile, [&](int64_t, const std::string& buyer, bool& goOn) { goOn = visit(buyer); });
    } else {
      std::vector<std::string> rows;
      MainData(ctx).ForEachBuyerRecord([&](int64_t, std::string_view m) { rows.emplace_back(m); });
      for (const std::string& row : rows)
        if (!visit(row)) break;
    }
    if (!found) out.newTitles += supplier + "\r\n";
  });
  return out;
}

// Every input record against what the reader reads back from the output
// file at that moment; kept records are appended with AppendLine.
void ModelMarcDedup(Context& ctx, const std::string& in, const std::string& out, const Rule& r) {
  ScanMarcFile(ctx, in, [&](int64_t, const std::string& record, bool&) {
    bool found = false;
    if (FileExists(out))
      ScanMarcFile(ctx, out, [&](int64_t, const std::string& kept, bool& goOn) {
        if (IsDuplicateRecord(record, kept, static_cast<int>(r.mode), r.minimum, r.spec)) {
          found = true;
          goOn = false;
        }
      });
    if (!found) AppendLine(out, record);
  });
}

void ModelIsbnCheck(const std::string& buyer, const std::string& supplier, CheckOutputs* out) {
  for (LineReader lines(supplier); true;) {
    std::string line;
    if (!lines.Next(&line)) break;
    (FileHasLine(buyer, line) ? out->commonTitles : out->newTitles) += line + "\r\n";
  }
}

void ModelIsbnDedup(const std::string& in, const std::string& out) {
  for (LineReader lines(in); true;) {
    std::string line;
    if (!lines.Next(&line)) break;
    if (!FileHasLine(out, line)) AppendLine(out, line);
  }
}

// ---- fixtures ------------------------------------------------------------

class DupDifferential : public ::testing::Test {
 protected:
  // Check settings for a rule, writing both outputs into the scratch folder.
  MarcCheckSettings CheckSettings(const Rule& rule, CommonSide side) {
    MarcCheckSettings s;
    s.mode = rule.mode;
    s.fieldSpecList = rule.spec;
    s.minimum = rule.minimum;
    s.commonSide = side;
    s.newTitlesFile = dir.File("new.iso");
    s.commonTitlesFile = dir.File("common.iso");
    return s;
  }
  // Runs the engine, then the nested loops, and compares both outputs.
  void ExpectCheckLikeTheModel(MarcCheckSettings s) {
    ASSERT_EQ(RunMarcCheck(t.ctx, s), JobOutcome::Done);
    CheckOutputs expected = ModelMarcCheck(t.ctx, s);
    EXPECT_EQ(ReadFile(s.newTitlesFile), expected.newTitles);
    EXPECT_EQ(ReadFile(s.commonTitlesFile), expected.commonTitles);
  }

  TempDir dir;
  TestContext t{dir.path()};
};

// The record with its declared length changed by `delta`.
std::string Relength(const std::string& record, int delta) {
  char length[8];
  std::snprintf(length, sizeof length, "%05d", std::stoi(record.substr(0, 5)) + delta);
  return length + record.substr(5);
}

// Generated line lists: repeated lines, empty lines, blanks and hyphens
// that make lines differ, every kind of line ending.
std::string LineFile(DupDataGenerator& g, int lines) {
  static const char* kCodes[] = {"7500637721", "7-5006-3772-1", "", " 7500637721", "9787500637721", "x"};
  static const char* kEnds[] = {"\r\n", "\n", "\r", "\r\n"};
  std::string file;
  for (int i = 0; i < lines; ++i) file += std::string(kCodes[g.Pick(6)]) + kEnds[g.Pick(4)];
  if (g.Pick(2) == 0 && !file.empty()) file.pop_back();  // a last line without (all of) its ending
  return file;
}

}  // namespace

TEST_F(DupDifferential, MarcCheckMatchesTheNestedLoopsForEveryRuleAndSide) {
  for (uint32_t seed : {11u, 12u, 13u}) {
    DupDataGenerator g(seed);
    std::vector<std::string> pool;
    const std::string buyer = dir.File("buyer.iso"), supplier = dir.File("supplier.iso");
    WriteFile(buyer, g.File(160, &pool));
    WriteFile(supplier, g.File(120, &pool));
    for (const Rule& rule : kRules)
      for (CommonSide side : {CommonSide::Buyer, CommonSide::Supplier}) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", " + RuleName(rule) +
                     (side == CommonSide::Buyer ? ", 以采购方为准" : ", 以供应方为准"));
        MarcCheckSettings s = CheckSettings(rule, side);
        s.buyerSource = BuyerSource::File;
        s.buyerFile = buyer;
        s.supplierFile = supplier;
        ExpectCheckLikeTheModel(s);
      }
  }
  EXPECT_TRUE(t.shell.recordErrors.empty());
}

TEST_F(DupDifferential, MarcCheckFromTableBuyerMatchesTheTableWalk) {
  for (uint32_t seed : {21u, 22u}) {
    DupDataGenerator g(seed);
    std::vector<std::string> pool;
    const std::string supplier = dir.File("supplier.iso");
    std::string buyerFile = g.File(80, &pool);
    WriteFile(supplier, g.File(80, &pool));
    // The holdings as the import leaves them: one row per record, in order,
    // including texts the reader would never hand on (NULs, odd bytes).
    TMainData& db = MainData(t.ctx);
    db.ClearBuyerTable(t.shell);
    WriteFile(dir.File("buyer.iso"), buyerFile);
    ScanMarcFile(t.ctx, dir.File("buyer.iso"), [&](int64_t, const std::string& r, bool&) {
      db.AppendRecordRow("", "", 1, r);
    });
    db.AppendRecordRow("", "", 1, std::string("00050nam\0", 9));
    db.AppendRecordRow("", "", 1, "");
    for (const Rule& rule : kRules)
      for (CommonSide side : {CommonSide::Buyer, CommonSide::Supplier}) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", " + RuleName(rule));
        MarcCheckSettings s = CheckSettings(rule, side);
        s.buyerSource = BuyerSource::Database;
        s.supplierFile = supplier;
        ExpectCheckLikeTheModel(s);
      }
  }
}

TEST_F(DupDifferential, MarcDedupMatchesTheNestedLoopsWhateverTheOutputHeldBefore) {
  for (uint32_t seed : {31u, 32u}) {
    DupDataGenerator g(seed);
    std::vector<std::string> pool;
    const std::string input = dir.File("in.iso");
    WriteFile(input, g.File(140, &pool));
    const std::string someRecords = g.File(6, &pool);
    const std::string lastRecord = g.Record();
    // What the output file holds when the run starts: the reader's odd
    // cases at its end are where appending changes what it reads back.
    const std::vector<std::pair<const char*, std::string>> before = {
        {"no file", ""},
        {"empty file", ""},
        {"records", someRecords},
        {"records, no CR LF after the last", someRecords + lastRecord},
        {"last record cut short by the end", someRecords + lastRecord.substr(0, lastRecord.size() - 7)},
        {"last record declared 300 bytes too long", someRecords + Relength(lastRecord, 300)},
        {"garbage after the records", someRecords + "garbage0123"},
        {"a lone CR at the end", someRecords + "\r"},
        {"a blank line only", "\r\n"},
        {"no leader at the start", "not a record file\r\n" + someRecords},
        {"a leader-like tail", someRecords + "00999nam"},
    };
    for (const Rule& rule : kRules)
      for (const auto& [what, content] : before) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", " + RuleName(rule) + ", output before: " + what);
        const std::string engineOut = dir.File("engine.iso"), modelOut = dir.File("model.iso");
        std::remove(engineOut.c_str());
        std::remove(modelOut.c_str());
        if (std::string(what) != "no file") {
          WriteFile(engineOut, content);
          WriteFile(modelOut, content);
        }
        MarcDedupSettings s;
        s.inputFile = input;
        s.outputFile = engineOut;
        s.mode = rule.mode;
        s.fieldSpecList = rule.spec;
        s.minimum = rule.minimum;
        ASSERT_EQ(RunMarcDedup(t.ctx, s), JobOutcome::Done);
        ModelMarcDedup(t.ctx, input, modelOut, rule);
        EXPECT_EQ(ReadFile(engineOut), ReadFile(modelOut));
      }
  }
}

TEST_F(DupDifferential, IsbnCheckAndDedupMatchTheLineByLineLoops) {
  for (uint32_t seed : {41u, 42u, 43u, 44u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    DupDataGenerator g(seed);
    const std::string buyer = dir.File("buyer.txt"), supplier = dir.File("supplier.txt");
    WriteFile(buyer, LineFile(g, 40));
    WriteFile(supplier, LineFile(g, 60));
    IsbnCheckSettings s{buyer, supplier, dir.File("new.txt"), dir.File("common.txt")};
    ASSERT_EQ(RunIsbnCheck(t.ctx, s), JobOutcome::Done);
    CheckOutputs expected;
    ModelIsbnCheck(buyer, supplier, &expected);
    EXPECT_EQ(ReadFile(s.newFile), expected.newTitles);
    EXPECT_EQ(ReadFile(s.commonFile), expected.commonTitles);

    const std::string held = LineFile(g, 5);
    for (bool existing : {false, true}) {
      const std::string engineOut = dir.File("d-engine.txt"), modelOut = dir.File("d-model.txt");
      std::remove(engineOut.c_str());
      std::remove(modelOut.c_str());
      if (existing) {
        WriteFile(engineOut, held);
        WriteFile(modelOut, held);
      }
      ASSERT_EQ(RunIsbnDedup(t.ctx, {supplier, engineOut}), JobOutcome::Done);
      ModelIsbnDedup(supplier, modelOut);
      EXPECT_EQ(ReadFile(engineOut), ReadFile(modelOut)) << "existing output: " << existing;
    }
  }
}

// An output that cannot be appended to: every record takes the input scan's
// error path, just as the plain loop's AppendLine fails on each; "取消" ends
// the run at the same record.
TEST_F(DupDifferential, MarcDedupAppendFailuresTakeTheInputScansErrorPath) {
  DupDataGenerator g(51);
  const std::string input = dir.File("in.iso");
  WriteFile(input, g.File(12));
  const std::string folder = dir.File("folder.iso");
  MakeDirs(folder);
  const Rule rule{MatchMode::Identical, "", 3};

  t.shell.recordErrorAnswers = {true, true, false};
  MarcDedupSettings s{input, folder, rule.mode, rule.spec, rule.minimum};
  ASSERT_EQ(RunMarcDedup(t.ctx, s), JobOutcome::Done);
  std::vector<RecordedRecordError> engineErrors = t.shell.recordErrors;
  const std::string engineLog = ReadFile(t.ctx.errorLogPath);

  t.shell.recordErrors.clear();
  t.shell.recordErrorAnswers = {true, true, false};
  std::remove(t.ctx.errorLogPath.c_str());
  ModelMarcDedup(t.ctx, input, folder, rule);
  ASSERT_EQ(engineErrors.size(), 3u);
  ASSERT_EQ(t.shell.recordErrors.size(), engineErrors.size());
  for (size_t i = 0; i < engineErrors.size(); ++i) {
    EXPECT_EQ(engineErrors[i].fileName, input);
    EXPECT_EQ(engineErrors[i].recordNo, t.shell.recordErrors[i].recordNo);
    EXPECT_EQ(engineErrors[i].recordText, t.shell.recordErrors[i].recordText);
  }
  EXPECT_EQ(engineLog, ReadFile(t.ctx.errorLogPath));
}

// The same comparison on the shared real files, damaged ones included: each
// file checked against itself and de-duplicated.
TEST_F(DupDifferential, RealFilesCheckedAgainstThemselvesAndDeduplicated) {
  const char* kFiles[] = {"broken_reclen_over_99999.mrc",   "isis_unimarc_cp850_hashsep_wrapped.iso",
                          "cmarc_tw_proquest_ebooks_utf8.mrc", "marc21_utf8_cjk_880_rlin.marc",
                          "marc21_pymarc_batch20.dat",       "marc21_marc8_cjk_mangled.mrc",
                          "broken_filler_between_records.usmarc", "broken_badldr_extra_terminator.usmarc",
                          "broken_utf8_bad_bytes.marc",      "unimarc_ru_cp866_nodelims_badlen.marc",
                          "broken_shifted_leader.marc",      "broken_pymarc_bad_records.mrc",
                          "broken_wrong_leader_length.mrc",  "broken_baddir.usmarc",
                          "marc21_multi_isbn.dat",           "unimarc_it_sbn_embedded4xx.dat"};
  const Rule rules[] = {{MatchMode::Identical, "", 3}, {MatchMode::Isbn, "", 3}, {MatchMode::Fields, "245a,020a,010a", 1}};
  for (const char* name : kFiles) {
    const std::string file = RealDataFile(name);
    if (!FileExists(file)) continue;
    for (const Rule& rule : rules) {
      SCOPED_TRACE(std::string(name) + ", " + RuleName(rule));
      MarcCheckSettings s = CheckSettings(rule, CommonSide::Buyer);
      s.buyerSource = BuyerSource::File;
      s.buyerFile = s.supplierFile = file;
      ExpectCheckLikeTheModel(s);

      const std::string engineOut = dir.File("engine.iso"), modelOut = dir.File("model.iso");
      std::remove(engineOut.c_str());
      std::remove(modelOut.c_str());
      MarcDedupSettings d{file, engineOut, rule.mode, rule.spec, rule.minimum};
      ASSERT_EQ(RunMarcDedup(t.ctx, d), JobOutcome::Done);
      ModelMarcDedup(t.ctx, file, modelOut, rule);
      EXPECT_EQ(ReadFile(engineOut), ReadFile(modelOut));
    }
  }
}
