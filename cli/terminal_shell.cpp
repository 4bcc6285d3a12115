#include "cli/terminal_shell.h"

#include <iostream>

#include "core/text.h"

TerminalShell::TerminalShell(std::istream& in, std::ostream& out, std::ostream& err, bool errIsTerminal)
    : in_(in), out_(out), err_(err), errIsTerminal_(errIsTerminal) {}

std::string TerminalShell::ForTerminal(const std::string& gbk) {
  std::string text = ReplaceAll(ReplaceAll(gbk, "\r\n", "\n"), "\r", "\n");
  return GbkToUtf8(text);
}

void TerminalShell::ShowMessage(MessageStyle, const std::string& text, const std::string&) {
  ClearProgressLine();
  err_ << ForTerminal(text) << '\n' << std::flush;
}

void TerminalShell::ShowResult(MessageStyle, const std::string& text, const std::string&) {
  ClearProgressLine();
  out_ << ForTerminal(text) << '\n' << std::flush;
}

bool TerminalShell::Ask(const std::string& text, const std::string&) {
  ClearProgressLine();
  err_ << ForTerminal(text) << '\n' << (answer_ ? "-> yes\n" : "-> no\n") << std::flush;
  return answer_;
}

void TerminalShell::ShowProgress() {
  progressShown_ = true;
  DrawProgress();
}

void TerminalShell::HideProgress() {
  ClearProgressLine();
  progressShown_ = false;
}

void TerminalShell::ProcessEvents() {
  if (progressShown_) DrawProgress();
}

void TerminalShell::DrawProgress() {
  if (!errIsTerminal_ || !progressShown_) return;
  int percent = total_ > 0 ? static_cast<int>(position_ * 100 / total_) : 0;
  if (percent > 100) percent = 100;
  constexpr int kWidth = 40;
  int filled = percent * kWidth / 100;
  err_ << '\r' << '[' << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << percent << "% "
       << position_ << '/' << total_ << std::flush;
  progressDrawn_ = true;
}

void TerminalShell::ClearProgressLine() {
  if (!progressDrawn_) return;
  err_ << "\r\033[K" << std::flush;
  progressDrawn_ = false;
}

bool TerminalShell::AskContinueAfterRecordError(const std::string& fileName, int64_t recordNo,
                                                const std::string&) {
  ClearProgressLine();
  err_ << ForTerminal(Gbk("出错了，是否继续处理？")) << ' ' << fileName << ' '
       << ForTerminal(Gbk("记录：")) << recordNo << " -> " << (continueOnError_ ? "continue" : "cancel") << '\n'
       << std::flush;
  return continueOnError_;
}
