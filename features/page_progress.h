// A page's own progress display (a count label "共 N 条" and a bar), used by
// the list exports whose progress is shown on the page rather than in the
// status bar.
#pragma once

#include <cstdint>

#include "core/shell.h"

class PageProgress {
 public:
  virtual ~PageProgress() = default;
  // Shows the bar with this total and the count label "共 " + total + " 条".
  virtual void Show(int64_t total) = 0;
  virtual void SetPosition(int64_t position) = 0;
  // Hides the bar and the label.
  virtual void Hide() = 0;
};

// Shows a page's progress (or, without one, the shell's progress bar) for a
// run and hides it on every way out.
class PageProgressGuard {
 public:
  PageProgressGuard(Shell& shell, PageProgress* page, int64_t total) : shell_(shell), page_(page) {
    if (page_) {
      page_->Show(total);
    } else {
      shell_.SetProgressTotal(total);
      shell_.SetProgressPosition(0);
      shell_.ShowProgress();
    }
  }
  ~PageProgressGuard() {
    if (page_)
      page_->Hide();
    else
      shell_.HideProgress();
  }
  PageProgressGuard(const PageProgressGuard&) = delete;
  PageProgressGuard& operator=(const PageProgressGuard&) = delete;
  void SetPosition(int64_t position) {
    if (page_)
      page_->SetPosition(position);
    else
      shell_.SetProgressPosition(position);
  }

 private:
  Shell& shell_;
  PageProgress* page_;
};
