// The shell of the desktop program: message boxes, the busy state, the
// status-bar progress bar and the record reader's error dialog.
#pragma once

#include <QPointer>
#include <QProgressBar>
#include <QWidget>

#include "core/shell.h"

// The application title: the plain message style and the general error
// display carry it.
inline constexpr const char* kAppTitle = "Lumarin3.0";

class QtShell : public Shell {
 public:
  // `window` parents the dialogs; `progress` is the status bar's prgBar.
  QtShell(QWidget* window, QProgressBar* progress);

  void ShowMessage(MessageStyle style, const std::string& text, const std::string& caption) override;
  void ShowResult(MessageStyle style, const std::string& text, const std::string& caption) override;
  bool Ask(const std::string& text, const std::string& caption) override;
  void EnterBusy() override;
  void LeaveBusy() override;
  void SetProgressTotal(int64_t total) override;
  void SetProgressPosition(int64_t position) override { position_ = position; }
  void ShowProgress() override;
  void HideProgress() override;
  void ProcessEvents() override;
  bool AskContinueAfterRecordError(const std::string& fileName, int64_t recordNo,
                                   const std::string& recordText) override;

  // The general error display: the error's text (with the full-stop rule)
  // in a box titled "Lumarin3.0" with an error icon.
  void ShowGeneralError(const std::string& gbkMessage);

  // True while no long operation runs.
  bool IsIdle() const { return busyDepth_ == 0; }

 private:
  void UpdateProgressBar();
  QPointer<QWidget> window_;
  QPointer<QProgressBar> progress_;
  int busyDepth_ = 0;
  int64_t total_ = 0, position_ = 0;
};
