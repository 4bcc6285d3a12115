#include "features/dedup.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <unordered_set>
#include <vector>

#include "core/commonUnit.h"
#include "features/dup_index.h"
#include "features/dup_paths.h"

namespace {

constexpr int64_t kLinesPerEventPump = 4096;

// Size of a regular file; -1 when there is none.
int64_t FileSize(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

// True when the file holds only separator bytes (NUL, LF, CR, 0x1D) from
// `from` to its end.
bool OnlySeparatorsFrom(const std::string& path, int64_t from) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return true;
  bool only = std::fseek(f, from, SEEK_SET) == 0;
  for (int c; only && (c = std::fgetc(f)) != EOF;)
    only = c == 0 || c == '\n' || c == '\r' || c == kRecordTerminator;
  std::fclose(f);
  return only;
}

// The records the record reader reads from the output file, indexed, kept
// true while records are appended.
//
// Clean: the reader's scan ends right after the last record it reads
// (nothing but separators follow it). Then an appended record reads back as
// exactly the text appended, followed by its CR LF, and the file stays clean.
// Unclean (a record cut short at the end, bytes the reader skips, a file too
// short for a leader): after each append the file is read again from the
// offset of the last record read, since all records before it read the same
// whatever follows. Final: the file does not begin with a record, so the
// reader reads nothing from it whatever is appended.
class OutputView {
 public:
  OutputView(Context& ctx, const std::string& path, const DupRule& rule)
      : ctx_(ctx), path_(path), rule_(rule), index_(rule), store_(path), appender_(path) {}

  void Load() { Rescan(0, 0); }

  // REQUIRES for Append: the record last asked about.
  bool HasDuplicateOf(const std::string& record) {
    index_.ComputeKeys(record, &keys_);
    index_.Candidates(keys_, &candidates_);
    if (!candidates_.empty()) appender_.Flush();
    for (uint32_t id : candidates_)
      if (IsDuplicateUnder(rule_, record, store_.Read(id))) return true;
    return false;
  }

  void Append(const std::string& record) {
    int64_t at = 0;
    try {
      at = appender_.Append(record);
    } catch (const std::exception&) {
      appender_.Reset();  // part of the text may be there: read the tail again
      Reread();
      throw;
    }
    if (state_ == State::Clean) {
      index_.Add(keys_);
      store_.AddPlace(at, record.size());
    } else if (state_ == State::Unclean) {
      appender_.Flush();
      Reread();
    }
  }

  void Close() { appender_.Close(); }

 private:
  enum class State { Clean, Unclean, Final };

  void Reread() {
    if (state_ == State::Final) return;
    const uint32_t n = store_.size();
    if (n == 0) {
      Rescan(0, 0);
    } else {
      Rescan(n - 1, store_.OffsetOf(n - 1));
    }
  }

  // Forgets the records from `keep` on and reads the file again from `from`.
  void Rescan(uint32_t keep, int64_t from) {
    index_.TruncateTo(keep);
    store_.TruncateTo(keep);
    ScanMarcFileFrom(ctx_, path_, from, [&](int64_t, const std::string& record, int64_t offset, bool&) {
      index_.Add(record);
      store_.AddPlace(offset, record.size());
    });
    state_ = StateOfFile();
  }

  State StateOfFile() const {
    const int64_t size = FileSize(path_);
    if (size <= 0) return State::Clean;
    const uint32_t n = store_.size();
    if (n == 0) return size > 8 ? State::Final : State::Unclean;
    const int64_t end = store_.OffsetOf(n - 1) + static_cast<int64_t>(store_.LengthOf(n - 1));
    return end <= size && OnlySeparatorsFrom(path_, end) ? State::Clean : State::Unclean;
  }

  Context& ctx_;
  std::string path_;
  const DupRule& rule_;
  DupIndex index_;
  RecordStore store_;
  LineAppender appender_;
  State state_ = State::Clean;
  std::vector<uint32_t> candidates_;
  DupKeys keys_;
};

JobOutcome Refuse(Shell& shell, const char* utf8) {
  shell.ShowMessage(MessageStyle::Information, Gbk(utf8));
  return JobOutcome::Refused;
}

JobOutcome CheckMarcInputs(Context& ctx, MarcDedupSettings& s, MarcDedupReport& report) {
  Shell& shell = ctx.shell;
  if (!FileExists(s.inputFile)) return Refuse(shell, "请指定原始MARC文件。");
  if (s.mode == MatchMode::Fields) {
    s.fieldSpecList = NormalizeFieldSpecList(s.fieldSpecList);
    if (!IsValidFieldSpecList(s.fieldSpecList)) {
      report.focusFieldSpec = true;
      return Refuse(shell, "重复字段书写错误!\r\r请参考例子或说明");
    }
  }
  const std::string out(TrimControls(s.outputFile));
  if (out.empty()) return Refuse(shell, "请指定去重后的MARC文件。");
  if (SamePath(out, s.inputFile)) return Refuse(shell, "去重后MARC文件不能与原始MARC文件相同，请另选一个文件。");
  return JobOutcome::Done;
}

void DedupMarc(Context& ctx, const MarcDedupSettings& s, MarcDedupReport& report) {
  Shell& shell = ctx.shell;
  report.records = CountMarcRecords(ctx, s.inputFile);
  shell.SetProgressTotal(report.records);
  shell.SetProgressPosition(0);
  shell.ShowProgress();
  const DupRule rule{s.mode, s.minimum, s.fieldSpecList};
  OutputView output(ctx, std::string(TrimControls(s.outputFile)), rule);
  output.Load();
  ScanMarcFile(ctx, s.inputFile, [&](int64_t recordNo, const std::string& record, bool&) {
    if (!output.HasDuplicateOf(record)) {
      output.Append(record);
      ++report.appended;
    }
    shell.SetProgressPosition(recordNo);
  });
  output.Close();
}

}  // namespace

JobOutcome RunMarcDedup(Context& ctx, MarcDedupSettings& s, MarcDedupReport* reportOut) {
  MarcDedupReport report;
  JobOutcome checked = CheckMarcInputs(ctx, s, report);
  if (checked == JobOutcome::Done) {
    BusyGuard busy(ctx.shell);
    DedupMarc(ctx, s, report);
  }
  if (reportOut) *reportOut = report;
  if (checked == JobOutcome::Refused) return checked;
  ctx.shell.ShowResult(MessageStyle::Information, Gbk("MARC文件去重完成!\r\r原始记录共") + ToDecimal(report.records) +
                                                      Gbk("条，写入去重后MARC文件") + ToDecimal(report.appended) +
                                                      Gbk("条。"));
  return JobOutcome::Done;
}

JobOutcome RunIsbnDedup(Context& ctx, const IsbnDedupSettings& s, IsbnDedupReport* reportOut) {
  IsbnDedupReport report;
  Shell& shell = ctx.shell;
  JobOutcome outcome = JobOutcome::Refused;
  const std::string out(TrimControls(s.outputFile));
  if (!FileExists(s.inputFile)) {
    report.hintAndClearInput = true;
    Refuse(shell, "请指定原始ISBN文件。");
  } else if (out.empty()) {
    Refuse(shell, "请指定去重后的ISBN文件。");
  } else if (SamePath(out, s.inputFile)) {
    Refuse(shell, "去重后ISBN文件不能与原始ISBN文件相同，请另选一个文件。");
  } else {
    BusyGuard busy(shell);
    shell.SetProgressTotal(CountLines(s.inputFile));
    shell.SetProgressPosition(0);
    shell.ShowProgress();
    std::unordered_set<std::string> held;
    std::string line;
    if (FileExists(out))
      for (LineReader existing(out); existing.Next(&line);) held.insert(line);
    LineAppender appender(out);
    for (LineReader input(s.inputFile); input.Next(&line);) {
      ++report.lines;
      if (held.insert(line).second) {
        appender.Append(line);
        ++report.appended;
      }
      shell.SetProgressPosition(report.lines);
      if (report.lines % kLinesPerEventPump == 0) shell.ProcessEvents();
    }
    appender.Close();
    outcome = JobOutcome::Done;
  }
  if (reportOut) *reportOut = report;
  if (outcome == JobOutcome::Done) shell.ShowResult(MessageStyle::Information, Gbk("ISBN文件去重完成!"));
  return outcome;
}
