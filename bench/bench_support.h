// Small helpers shared by the benchmark programs.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/shell.h"

// A shell that says nothing and answers "continue".
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

// Peak resident memory of this process so far, in MB.
inline double PeakRssMb() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss / 1024.0;
}

class Stopwatch {
 public:
  Stopwatch() : start_(std::chrono::steady_clock::now()) {}
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};
