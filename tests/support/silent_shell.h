// A shell that says nothing and answers every question with yes and every
// record error with "继续": for benchmarks and fuzzing, where no one watches.
#pragma once

#include "core/shell.h"

class SilentShell : public Shell {
 public:
  void ShowMessage(MessageStyle, const std::string&, const std::string&) override {}
  void ShowResult(MessageStyle, const std::string&, const std::string&) override {}
  bool Ask(const std::string&, const std::string&) override { return true; }
  void EnterBusy() override {}
  void LeaveBusy() override {}
  void SetProgressTotal(int64_t) override {}
  void SetProgressPosition(int64_t) override {}
  void ShowProgress() override {}
  void HideProgress() override {}
  void ProcessEvents() override { ++events; }
  bool AskContinueAfterRecordError(const std::string&, int64_t, const std::string&) override { return true; }
  long events = 0;
};
