// The shell on a terminal: messages on stderr (the completion message on
// stdout), converted from GBK to UTF-8, a progress bar on stderr when it is
// a terminal, and the record reader's question answered by --on-error.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "core/shell.h"

class TerminalShell : public Shell {
 public:
  TerminalShell(std::istream& in, std::ostream& out, std::ostream& err, bool errIsTerminal);

  // The answer to "出错了，是否继续处理？" (--on-error); default: continue.
  void SetContinueOnRecordError(bool goOn) { continueOnError_ = goOn; }
  // The answer to Yes/No questions (--yes); default: No.
  void SetQuestionAnswer(bool yes) { answer_ = yes; }

  void ShowMessage(MessageStyle style, const std::string& text, const std::string& caption) override;
  void ShowResult(MessageStyle style, const std::string& text, const std::string& caption) override;
  bool Ask(const std::string& text, const std::string& caption) override;
  void EnterBusy() override { ++busy_; }
  void LeaveBusy() override {
    if (busy_ > 0) --busy_;
  }
  void SetProgressTotal(int64_t total) override { total_ = total; }
  void SetProgressPosition(int64_t position) override { position_ = position; }
  void ShowProgress() override;
  void HideProgress() override;
  void ProcessEvents() override;
  bool AskContinueAfterRecordError(const std::string& fileName, int64_t recordNo,
                                   const std::string& recordText) override;

  // GBK text as the terminal shows it: UTF-8, CR LF and lone CR as LF.
  static std::string ForTerminal(const std::string& gbk);

 private:
  void DrawProgress();
  void ClearProgressLine();
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool errIsTerminal_;
  bool continueOnError_ = true;
  bool answer_ = false;
  int busy_ = 0;
  bool progressShown_ = false;
  bool progressDrawn_ = false;
  int64_t total_ = 0, position_ = 0;
};
