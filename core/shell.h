// The port through which an engine reaches the user.
//
// The desktop program implements it with Qt widgets, lumarin-cli with stderr
// and a terminal progress bar, the tests with a recorder that scripts the
// answers and keeps every message. All texts are GBK.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// The five message-box styles of the shell. The first four are titled
// "提示信息"; Plain carries the application title and no icon.
enum class MessageStyle { Information, Warning, Error, Question, Plain };

class Shell {
 public:
  virtual ~Shell() = default;

  // An input check's refusal or another notice during a job. An empty
  // caption means the style's own ("提示信息", or the application title).
  virtual void ShowMessage(MessageStyle style, const std::string& text, const std::string& caption = {}) = 0;

  // The message that reports a finished job ("共N条" and the like).
  virtual void ShowResult(MessageStyle style, const std::string& text, const std::string& caption = {}) = 0;

  // A Yes/No question in the question style; true for Yes.
  virtual bool Ask(const std::string& text, const std::string& caption = {}) = 0;

  // Busy state: hourglass cursor, navigation refused. Calls nest.
  virtual void EnterBusy() = 0;
  virtual void LeaveBusy() = 0;

  // The shared progress bar. SetProgressPosition is called once per record
  // and must be cheap; the display follows at the next ProcessEvents.
  virtual void SetProgressTotal(int64_t total) = 0;
  virtual void SetProgressPosition(int64_t position) = 0;
  virtual void ShowProgress() = 0;
  virtual void HideProgress() = 0;

  // Lets pending window events run (repaint, progress). The record reader
  // calls it at most every 50 ms or so.
  virtual void ProcessEvents() = 0;

  // The record reader's question "出错了，是否继续处理？" for a record on which
  // the work failed: true for "继续", false for "取消".
  virtual bool AskContinueAfterRecordError(const std::string& fileName, int64_t recordNo,
                                           const std::string& recordText) = 0;
};

// Holds the busy state for a job and leaves it (hiding the progress bar) on
// every way out.
class BusyGuard {
 public:
  explicit BusyGuard(Shell& shell) : shell_(shell) { shell_.EnterBusy(); }
  ~BusyGuard() {
    shell_.HideProgress();
    shell_.LeaveBusy();
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  Shell& shell_;
};

// Lets the window's events run during a long loop, at most every 50 ms:
// call Tick() once per step (a record, a line, a row). The clock is read
// only every 16th step, so a tick costs next to nothing.
class EventPump {
 public:
  explicit EventPump(Shell& shell) : shell_(shell), last_(std::chrono::steady_clock::now()) {}
  void Tick() {
    if (++calls_ % 16 != 0) return;
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(50)) return;
    shell_.ProcessEvents();
    last_ = std::chrono::steady_clock::now();
  }

 private:
  Shell& shell_;
  std::chrono::steady_clock::time_point last_;
  unsigned calls_ = 0;
};
