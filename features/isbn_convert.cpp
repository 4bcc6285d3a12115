#include "features/isbn_convert.h"

#include <chrono>

#include "core/commonUnit.h"

namespace {

bool IsCodeByte(char c) { return c == '-' || (c >= '0' && c <= '9') || c == 'X' || c == 'x'; }

JobOutcome Refuse(Shell& shell, const char* utf8Message) {
  shell.ShowMessage(MessageStyle::Information, Gbk(utf8Message));
  return JobOutcome::Refused;
}

}  // namespace

std::string ConvertIsbnCode(std::string_view code, IsbnTargetForm form) {
  const IsbnCheckResult r = CheckIsbn(code);
  // CheckIsbn counts non-digits of an eight-byte code as 0, so a few such
  // texts pass as ISSNs; they have no EAN form and are left alone.
  if (!r.Valid || !AllDigits(std::string_view(r.Isbn).substr(0, r.Isbn.size() - 1))) return std::string(code);
  switch (form) {
    case IsbnTargetForm::Hyphenated:
      return FormatIsbn(r.Isbn);
    case IsbnTargetForm::Plain:
      return r.Isbn;
    case IsbnTargetForm::Ean13: {
      std::string ean = r.Isbn.size() == 8 ? "977" + r.Isbn.substr(0, 7) + "00" : "978" + r.Isbn.substr(0, 9);
      return ean + Ean13CheckDigit(ean);
    }
  }
  return std::string(code);
}

size_t LeadingCodeLength(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && IsCodeByte(line[n])) ++n;
  return n;
}

JobOutcome RunIsbnTextConversion(Context& ctx, const IsbnTextConvertSettings& s, IsbnTextConvertReport* report) {
  Shell& shell = ctx.shell;
  IsbnTextConvertReport ignored;
  if (!report) report = &ignored;
  if (!FileExists(s.sourceFile)) {
    report->clearSourceFile = true;
    return Refuse(shell, "请指定原始ISBN文件。");
  }
  if (TrimControls(s.targetFile).empty()) return Refuse(shell, "请指定转换后的ISBN文件。");
  // The target is written whole and renamed over its old self; over its own
  // source that would throw the original list away.
  if (SameFile(s.sourceFile, s.targetFile))
    return Refuse(shell, "转换后的ISBN文件不能与原始ISBN文件相同，请另选一个文件。");

  int64_t lines = 0;
  {
    BusyGuard busy(shell);
    shell.SetProgressTotal(CountLines(s.sourceFile));
    shell.SetProgressPosition(0);
    shell.ShowProgress();

    OutputFile out(s.targetFile);
    LineReader reader(s.sourceFile);
    EventPump pump(shell);
    std::string line;
    while (reader.Next(&line)) {
      const size_t codeLength = LeadingCodeLength(line);
      out.Write(ConvertIsbnCode(std::string_view(line).substr(0, codeLength), s.form));
      out.WriteLine(line.substr(codeLength));
      shell.SetProgressPosition(++lines);
      pump.Tick();
    }
    out.Commit();
  }
  report->lineCount = lines;
  shell.ShowResult(MessageStyle::Information, Gbk("转换完成!"));
  return JobOutcome::Done;
}
