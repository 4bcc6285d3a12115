// Failures inside the per-record work of the MARC check: a write that fails
// takes the record reader's error path of the scan that would have read the
// record (the buyer scan for a common-titles record, the supplier scan for a
// new-titles record), and the user's answers have the same effect as in the
// plain nested loops. Writes are made to fail with a file-size limit.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "core/commonUnit.h"
#include "dup_test_data.h"
#include "features/marc_check.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

// Lets no file grow past `bytes` while it lives; writes past it fail (EFBIG).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

struct Outcome {
  bool threw = false;
  std::vector<RecordedRecordError> errors;
};

// The nested loops, writing each record as it goes.
void ModelCheck(Context& ctx, const MarcCheckSettings& s) {
  OutputFile newOut(s.newTitlesFile), commonOut(s.commonTitlesFile);
  auto write = [](OutputFile& out, const std::string& r) {
    out.WriteLine(r);
    out.Flush();
  };
  const int mode = static_cast<int>(s.mode);
  const bool bySupplier = s.commonSide == CommonSide::Supplier;
  ScanMarcFile(ctx, s.supplierFile, [&](int64_t, const std::string& supplier, bool&) {
    bool found = false;
    ScanMarcFile(ctx, s.buyerFile, [&](int64_t, const std::string& buyer, bool& goOn) {
      bool d = IsDuplicateRecord(supplier, buyer, mode, s.minimum, s.fieldSpecList);
      if (d) found = true;
      if (d) write(commonOut, bySupplier ? supplier : buyer);
      if (d && (bySupplier || mode == 0)) goOn = false;
    });
    if (!found) write(newOut, supplier);
  });
  newOut.Commit();
  commonOut.Commit();
}

template <typename Run>
Outcome RunLimited(RecordingShell& shell, std::deque<bool> answers, rlim_t limit, Run run) {
  shell.recordErrors.clear();
  shell.recordErrorAnswers = answers;
  Outcome o;
  {
    FileSizeLimit fsize(limit);
    try {
      run();
    } catch (const EInOutError&) {
      o.threw = true;
    }
  }
  o.errors = shell.recordErrors;
  return o;
}

}  // namespace

TEST(DupErrorPath, FailedWritesAskAsTheNestedLoopsWouldAndTheAnswersActAlike) {
  TempDir dir;
  TestContext t(dir.path());
  DupDataGenerator g(61);
  std::vector<std::string> pool;
  const std::string buyer = dir.File("buyer.iso"), supplier = dir.File("supplier.iso");
  WriteFile(buyer, g.File(40, &pool));
  WriteFile(supplier, g.File(40, &pool));
  const std::deque<bool> scripts[] = {{true, true, true, true, true, true, true, true},
                                      {false, true, false, true, false, false, true, false},
                                      {true, false, false, false}};
  for (MatchMode mode : {MatchMode::Identical, MatchMode::Fields, MatchMode::Isbn})
    for (CommonSide side : {CommonSide::Buyer, CommonSide::Supplier})
      for (const auto& answers : scripts)
        for (rlim_t limit : {rlim_t(900), rlim_t(2500)}) {
          SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)) + ", side " +
                       std::to_string(static_cast<int>(side)) + ", limit " + std::to_string(limit));
          MarcCheckSettings s;
          s.buyerSource = BuyerSource::File;
          s.buyerFile = buyer;
          s.supplierFile = supplier;
          s.mode = mode;
          s.fieldSpecList = "200a,010a";
          s.minimum = 1;
          s.commonSide = side;
          s.newTitlesFile = dir.File("new.iso");
          s.commonTitlesFile = dir.File("common.iso");
          Outcome engine = RunLimited(t.shell, answers, limit, [&] { RunMarcCheck(t.ctx, s); });
          s.newTitlesFile = dir.File("model-new.iso");
          s.commonTitlesFile = dir.File("model-common.iso");
          Outcome model = RunLimited(t.shell, answers, limit, [&] { ModelCheck(t.ctx, s); });
          EXPECT_EQ(engine.threw, model.threw);
          ASSERT_EQ(engine.errors.size(), model.errors.size());
          ASSERT_FALSE(engine.errors.empty());
          for (size_t i = 0; i < engine.errors.size(); ++i) {
            EXPECT_EQ(engine.errors[i].fileName, model.errors[i].fileName) << i;
            EXPECT_EQ(engine.errors[i].recordNo, model.errors[i].recordNo) << i;
            EXPECT_EQ(engine.errors[i].recordText, model.errors[i].recordText) << i;
          }
        }
}
