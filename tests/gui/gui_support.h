// Helpers for driving the real window in Qt Test: a main window with its
// own error log and database, and a watcher that answers modal dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "app/frmMainUnit.h"
#include "support/temp_dir.h"

class QTimer;

// One answered modal dialog.
struct SeenDialog {
  QString title;
  QString text;
  QString className;
  int icon = 0;  // QMessageBox::Icon for message boxes
};

// Answers every modal dialog that opens while it lives: message boxes get
// the button given by NextAnswer (OK / Yes by default), the record reader's
// dialog gets "继续" or "取消" from its script. Every dialog is recorded.
class ModalWatcher {
 public:
  ModalWatcher();
  ~ModalWatcher();
  // Answers for questions (true = Yes) and the error dialog (true = 继续), in order.
  void ScriptAnswers(std::initializer_list<bool> answers);
  const QList<SeenDialog>& seen() const { return seen_; }
  QStringList Texts() const;

 private:
  void Poll();
  QTimer* timer_;
  QList<SeenDialog> seen_;
  QList<bool> answers_;
};

// A main window over a scratch folder (error log and database in it).
struct TestWindow {
  TestWindow();
  TempDir dir;
  std::unique_ptr<TfrmMain> window;
};

// A QApplication with the font of the program, for tests' main().
int RunGuiTests(int argc, char** argv, QObject* testObject);

#define LUMARIN_GUI_TEST_MAIN(TestClass)   \
  int main(int argc, char** argv) {        \
    TestClass tc;                          \
    return RunGuiTests(argc, argv, &tc);   \
  }
