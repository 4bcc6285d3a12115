#include "features/isbn_list.h"

#include "core/commonUnit.h"

JobOutcome RunIsbnList(Context& ctx, const IsbnListSettings& s, IsbnListReport* report) {
  Shell& shell = ctx.shell;
  IsbnListReport ignored;
  if (!report) report = &ignored;
  if (!FileExists(s.marcFile)) {
    report->clearMarcFile = true;
    shell.ShowMessage(MessageStyle::Information, Gbk("请指定MARC文件。"));
    return JobOutcome::Refused;
  }
  if (TrimControls(s.isbnFile).empty()) {
    shell.ShowMessage(MessageStyle::Information, Gbk("请指定ISBN文件"));
    return JobOutcome::Refused;
  }
  // Writing the list over its own input would empty the input before it is read.
  if (SameFile(s.marcFile, s.isbnFile)) {
    shell.ShowMessage(MessageStyle::Information, Gbk("ISBN文件不能与MARC文件相同，请另选一个文件。"));
    return JobOutcome::Refused;
  }

  int64_t total = 0;
  {
    BusyGuard busy(shell);
    total = CountMarcRecords(ctx, s.marcFile);
    shell.SetProgressTotal(total);
    shell.SetProgressPosition(0);
    shell.ShowProgress();

    OutputFile out(s.isbnFile);
    const bool stripHyphens = s.outputOption == 1;
    std::string line;
    ScanMarcFile(ctx, s.marcFile, [&](int64_t recordNo, const std::string& record, bool&) {
      TMarcRecord rec(record);
      line = rec.GetValue("010a");
      if (stripHyphens) line = ReplaceAll(line, "-", "");
      out.WriteLine(line);
      shell.SetProgressPosition(recordNo);
    });
    out.Commit();
  }
  report->count = total;
  shell.ShowResult(MessageStyle::Information, Gbk("ISBN输出完成！\r\r共") + ToDecimal(total) + Gbk("条"),
                   Gbk("完成"));
  return JobOutcome::Done;
}
