#include "features/isbn_check.h"

#include <memory>
#include <unordered_set>

#include "core/commonUnit.h"
#include "features/dup_paths.h"

namespace {

// Lines between two looks at the window's events.
constexpr int64_t kLinesPerEventPump = 4096;

JobOutcome Refuse(Shell& shell, const char* utf8) {
  shell.ShowMessage(MessageStyle::Information, Gbk(utf8));
  return JobOutcome::Refused;
}

JobOutcome CheckInputs(Context& ctx, const IsbnCheckSettings& s, IsbnCheckReport& report) {
  Shell& shell = ctx.shell;
  if (!FileExists(s.buyerFile)) {
    report.clearBuyerFile = true;
    return Refuse(shell, "请指定采购方ISBN文件。");
  }
  if (!FileExists(s.supplierFile)) {
    report.clearSupplierFile = true;
    return Refuse(shell, "请指定供应商方ISBN文件。");
  }
  const std::string newName(TrimControls(s.newFile)), commonName(TrimControls(s.commonFile));
  if (newName.empty() && commonName.empty()) return Refuse(shell, "最少需要指定一个输出文件。");
  for (const std::string* out : {&newName, &commonName})
    if (SamePath(*out, s.buyerFile) || SamePath(*out, s.supplierFile))
      return Refuse(shell, "输出文件不能与采购方或供应方的ISBN文件相同，请另选一个文件。");
  if (SamePath(newName, commonName)) return Refuse(shell, "两个输出文件不能是同一个文件，请另选一个文件。");
  return JobOutcome::Done;
}

void RunCheck(Context& ctx, const IsbnCheckSettings& s, IsbnCheckReport& report) {
  Shell& shell = ctx.shell;
  shell.SetProgressTotal(CountLines(s.supplierFile));
  shell.SetProgressPosition(0);
  shell.ShowProgress();
  const std::string newName(TrimControls(s.newFile)), commonName(TrimControls(s.commonFile));
  std::unique_ptr<OutputFile> newOut, commonOut;
  if (!newName.empty()) newOut = std::make_unique<OutputFile>(newName);
  if (!commonName.empty()) commonOut = std::make_unique<OutputFile>(commonName);

  std::unordered_set<std::string> held;
  {
    LineReader buyer(s.buyerFile);
    std::string line;
    while (buyer.Next(&line)) held.insert(line);
  }
  LineReader supplier(s.supplierFile);
  std::string line;
  while (supplier.Next(&line)) {
    ++report.supplierLines;
    if (held.count(line)) {
      ++report.commonLines;
      if (commonOut) commonOut->WriteLine(line);
    } else {
      ++report.newLines;
      if (newOut) newOut->WriteLine(line);
    }
    shell.SetProgressPosition(report.supplierLines);
    if (report.supplierLines % kLinesPerEventPump == 0) shell.ProcessEvents();
  }
  if (newOut) newOut->Commit();
  if (commonOut) commonOut->Commit();
}

}  // namespace

JobOutcome RunIsbnCheck(Context& ctx, const IsbnCheckSettings& s, IsbnCheckReport* reportOut) {
  IsbnCheckReport report;
  JobOutcome checked = CheckInputs(ctx, s, report);
  if (checked == JobOutcome::Done) {
    BusyGuard busy(ctx.shell);
    RunCheck(ctx, s, report);
  }
  if (reportOut) *reportOut = report;
  if (checked == JobOutcome::Refused) return checked;
  ctx.shell.ShowResult(MessageStyle::Information, Gbk("利用双方ISBN文件自动匹配查重完成!"));
  return JobOutcome::Done;
}
