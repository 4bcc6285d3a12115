#include "features/supplier_extract.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/commonUnit.h"

namespace {

// The output, appended record by record; each record is flushed so that a
// write failure belongs to its own record.
class RecordAppender {
 public:
  explicit RecordAppender(const std::string& path) : out_(path) {}
  void Append(const std::string& text) {
    out_.Append(text);
    out_.Flush();
    ++count_;
  }
  void Close() { out_.Close(); }
  int64_t count() const { return count_; }

 private:
  LineAppender out_;
  int64_t count_ = 0;
};

std::string KeyOf(const std::string& record) { return TMarcRecord(record).GetValue("010a"); }

// MARC order: one pass over the supplier file against the set of list lines.
void ExtractInMarcOrder(Context& ctx, const SupplierExtractSettings& s, RecordAppender& out) {
  Shell& shell = ctx.shell;
  shell.SetProgressTotal(CountMarcRecords(ctx, s.supplierFile));
  shell.SetProgressPosition(0);
  shell.ShowProgress();
  std::unordered_set<std::string> listed;
  {
    LineReader list(s.isbnFile);
    std::string line;
    while (list.Next(&line)) listed.insert(line);
  }
  ScanMarcFile(ctx, s.supplierFile, [&](int64_t recordNo, const std::string& record, bool&) {
    if (listed.count(KeyOf(record))) out.Append(record);
    shell.SetProgressPosition(recordNo);
  });
}

// What one pass over the supplier file tells about it: for each listed key
// the records that carry it, the first one's text, and the records on which
// the key cannot be read (they take the error path in every scan that
// reaches them).
struct SupplierIndex {
  std::unordered_map<std::string, std::vector<int64_t>> recordsByKey;
  std::unordered_map<int64_t, std::string> texts;
  std::map<int64_t, std::string> damaged;
};

SupplierIndex IndexSupplier(Context& ctx, const std::string& file,
                            const std::unordered_set<std::string>& listed) {
  SupplierIndex index;
  ScanMarcFile(ctx, file, [&](int64_t recordNo, const std::string& record, bool&) {
    std::string key;
    try {
      key = KeyOf(record);
    } catch (const std::exception&) {
      index.damaged.emplace(recordNo, record);
      return;
    }
    if (!listed.count(key)) return;
    auto& records = index.recordsByKey[key];
    if (records.empty()) index.texts.emplace(recordNo, record);
    records.push_back(recordNo);
  });
  return index;
}

// The text of record n, read again (only needed after a failed write).
std::string RecordText(Context& ctx, const std::string& file, int64_t n) {
  std::string text;
  ScanMarcFile(ctx, file, [&](int64_t recordNo, const std::string& record, bool& goOn) {
    if (recordNo == n) {
      text = record;
      goOn = false;
    }
  });
  return text;
}

// One list line as a scan from the start of the supplier file would treat
// it: damaged records before the match ask the user; the first record with
// the key is appended and ends the scan; a failed write asks too, and
// "继续" looks on for the next record with the key.
void ExtractLine(Context& ctx, const SupplierExtractSettings& s, SupplierIndex& index, const std::string& line,
                 RecordAppender& out) {
  static const std::vector<int64_t> kNone;
  auto found = index.recordsByKey.find(line);
  const std::vector<int64_t>& matches = found == index.recordsByKey.end() ? kNone : found->second;
  auto bad = index.damaged.begin();
  for (size_t m = 0;; ++m) {
    int64_t next = m < matches.size() ? matches[m] : INT64_MAX;
    for (; bad != index.damaged.end() && bad->first < next; ++bad)
      if (!RecordErrorPath(ctx, s.supplierFile, bad->first, bad->second)) return;
    if (next == INT64_MAX) return;
    auto text = index.texts.find(next);
    if (text == index.texts.end()) text = index.texts.emplace(next, RecordText(ctx, s.supplierFile, next)).first;
    try {
      out.Append(text->second);
      return;
    } catch (const std::exception&) {
      if (!RecordErrorPath(ctx, s.supplierFile, next, text->second)) return;
    }
  }
}

// ISBN order: the list in order, each line answered from the index.
void ExtractInListOrder(Context& ctx, const SupplierExtractSettings& s, RecordAppender& out) {
  Shell& shell = ctx.shell;
  shell.SetProgressTotal(CountLines(s.isbnFile));
  shell.SetProgressPosition(0);
  shell.ShowProgress();
  std::vector<std::string> lines = ReadAllLines(s.isbnFile);
  std::unordered_set<std::string> listed(lines.begin(), lines.end());
  SupplierIndex index = IndexSupplier(ctx, s.supplierFile, listed);
  int64_t done = 0;
  for (const std::string& line : lines) {
    ExtractLine(ctx, s, index, line, out);
    shell.SetProgressPosition(++done);
    if (done % 256 == 0) shell.ProcessEvents();
  }
}

}  // namespace

JobOutcome RunSupplierExtract(Context& ctx, const SupplierExtractSettings& s, int64_t* written) {
  Shell& shell = ctx.shell;
  if (!FileExists(s.supplierFile)) {
    shell.ShowMessage(MessageStyle::Information, Gbk("请指定供应商MARC数据文件"));
    return JobOutcome::Refused;
  }
  if (!FileExists(s.isbnFile)) {
    shell.ShowMessage(MessageStyle::Plain, Gbk("请指定要采购的ISBN文件！"));
    return JobOutcome::Refused;
  }
  if (TrimControls(s.outputFile).empty()) {
    shell.ShowMessage(MessageStyle::Plain, Gbk("请指定你要输出的ISBN文件的文件名和路径！"));
    return JobOutcome::Refused;
  }
  // Appending to an input would change what is being read.
  if (SameFile(s.outputFile, s.supplierFile) || SameFile(s.outputFile, s.isbnFile)) {
    shell.ShowMessage(MessageStyle::Plain,
                      Gbk("要输出的MARC文件不能是供应商的MARC文件或要采购的ISBN文件，请另选一个文件。"));
    return JobOutcome::Refused;
  }
  RecordAppender out(s.outputFile);
  {
    BusyGuard busy(shell);
    if (s.order == 1)
      ExtractInListOrder(ctx, s, out);
    else
      ExtractInMarcOrder(ctx, s, out);
    out.Close();
  }
  if (written) *written = out.count();
  shell.ShowResult(MessageStyle::Information,
                   Gbk("供应商MARC数据输出完成！\r\r共输出") + ToDecimal(out.count()) + Gbk("条记录"), Gbk("完成"));
  return JobOutcome::Done;
}
