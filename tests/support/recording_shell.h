// A shell for tests: keeps every message and answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/context.h"
#include "core/shell.h"

struct RecordedMessage {
  MessageStyle style;
  std::string text;     // GBK, as the engine gave it
  std::string caption;  // GBK; empty for the style's own
  bool result = false;  // true for the completion message (ShowResult)
};

struct RecordedRecordError {
  std::string fileName;
  int64_t recordNo = 0;
  std::string recordText;
};

class RecordingShell : public Shell {
 public:
  void ShowMessage(MessageStyle style, const std::string& text, const std::string& caption) override {
    messages.push_back({style, text, caption, false});
  }
  void ShowResult(MessageStyle style, const std::string& text, const std::string& caption) override {
    messages.push_back({style, text, caption, true});
  }
  bool Ask(const std::string& text, const std::string& caption) override {
    questions.push_back(text + (caption.empty() ? "" : "|" + caption));
    return Next(questionAnswers, defaultQuestionAnswer);
  }
  void EnterBusy() override {
    ++busyDepth;
    ++busyEntered;
  }
  void LeaveBusy() override { --busyDepth; }
  void SetProgressTotal(int64_t total) override { progressTotal = total; }
  void SetProgressPosition(int64_t position) override { progressPosition = position; }
  void ShowProgress() override { progressVisible = true; }
  void HideProgress() override { progressVisible = false; }
  void ProcessEvents() override { ++eventsProcessed; }
  bool AskContinueAfterRecordError(const std::string& fileName, int64_t recordNo,
                                   const std::string& recordText) override {
    recordErrors.push_back({fileName, recordNo, recordText});
    return Next(recordErrorAnswers, defaultRecordErrorAnswer);
  }

  // The texts of all messages so far, converted to UTF-8 for readable asserts.
  std::vector<std::string> Texts() const;
  // The last message's text in UTF-8 (empty when none).
  std::string LastText() const;

  std::vector<RecordedMessage> messages;
  std::vector<std::string> questions;
  std::vector<RecordedRecordError> recordErrors;
  std::deque<bool> questionAnswers, recordErrorAnswers;
  bool defaultQuestionAnswer = false;
  bool defaultRecordErrorAnswer = true;
  int busyDepth = 0, busyEntered = 0, eventsProcessed = 0;
  int64_t progressTotal = 0, progressPosition = 0;
  bool progressVisible = false;

 private:
  static bool Next(std::deque<bool>& script, bool fallback) {
    if (script.empty()) return fallback;
    bool v = script.front();
    script.pop_front();
    return v;
  }
};

// A context over a recording shell and a fixed clock (2026-03-04 05:06:07),
// with the error log and the database in the given folder.
struct TestContext {
  explicit TestContext(const std::string& dir);
  RecordingShell shell;
  FixedClock clock{LocalDateTime{2026, 3, 4, 5, 6, 7}};
  Context ctx;
};
