#include "app/qt_shell.h"

#include <QApplication>
#include <QMessageBox>

#include "app/frmMessageBoxUnit.h"
#include "app/qt_text.h"
#include "core/errors.h"

namespace {

QMessageBox::Icon IconOf(MessageStyle style) {
  switch (style) {
    case MessageStyle::Information: return QMessageBox::Information;
    case MessageStyle::Warning: return QMessageBox::Warning;
    case MessageStyle::Error: return QMessageBox::Critical;
    case MessageStyle::Question: return QMessageBox::Question;
    case MessageStyle::Plain: return QMessageBox::NoIcon;
  }
  return QMessageBox::NoIcon;
}

QString CaptionOf(MessageStyle style, const std::string& caption) {
  if (!caption.empty()) return ToQ(caption);
  return style == MessageStyle::Plain ? QString::fromUtf8(kAppTitle) : QStringLiteral("提示信息");
}

}  // namespace

QtShell::QtShell(QWidget* window, QProgressBar* progress) : window_(window), progress_(progress) {}

void QtShell::ShowMessage(MessageStyle style, const std::string& text, const std::string& caption) {
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  QMessageBox box(IconOf(style), CaptionOf(style, caption), ToQ(text), QMessageBox::Ok, window_);
  box.exec();
  QApplication::restoreOverrideCursor();
}

void QtShell::ShowResult(MessageStyle style, const std::string& text, const std::string& caption) {
  ShowMessage(style, text, caption);
}

bool QtShell::Ask(const std::string& text, const std::string& caption) {
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  QMessageBox box(QMessageBox::Question, CaptionOf(MessageStyle::Question, caption), ToQ(text),
                  QMessageBox::Yes | QMessageBox::No, window_);
  bool yes = box.exec() == QMessageBox::Yes;
  QApplication::restoreOverrideCursor();
  return yes;
}

void QtShell::EnterBusy() {
  if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtShell::LeaveBusy() {
  if (busyDepth_ == 0) return;
  if (--busyDepth_ == 0) QApplication::restoreOverrideCursor();
}

void QtShell::SetProgressTotal(int64_t total) {
  total_ = total;
  UpdateProgressBar();
}

void QtShell::UpdateProgressBar() {
  if (!progress_) return;
  int percent = total_ > 0 ? static_cast<int>(position_ * 100 / total_) : 0;
  progress_->setValue(percent < 0 ? 0 : percent > 100 ? 100 : percent);
}

void QtShell::ShowProgress() {
  if (!progress_) return;
  UpdateProgressBar();
  progress_->show();
}

void QtShell::HideProgress() {
  if (progress_) progress_->hide();
}

void QtShell::ProcessEvents() {
  UpdateProgressBar();
  QApplication::processEvents();
}

bool QtShell::AskContinueAfterRecordError(const std::string& fileName, int64_t recordNo,
                                          const std::string& recordText) {
  UpdateProgressBar();
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  TfrmMessageBox dialog(window_);
  dialog.Fill(QFromPath(fileName), recordNo, ToQ(recordText));
  bool goOn = dialog.exec() == QDialog::Accepted;
  QApplication::restoreOverrideCursor();
  return goOn;
}

void QtShell::ShowGeneralError(const std::string& gbkMessage) {
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kAppTitle), ToQ(ErrorDisplayText(gbkMessage)),
                  QMessageBox::Ok, window_);
  box.exec();
  QApplication::restoreOverrideCursor();
}
