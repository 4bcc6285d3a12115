#include "gui_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/app_setup.h"
#include "app/frmMessageBoxUnit.h"

ModalWatcher::ModalWatcher() : timer_(new QTimer) {
  timer_->setInterval(5);
  QObject::connect(timer_, &QTimer::timeout, [this] { Poll(); });
  timer_->start();
}

ModalWatcher::~ModalWatcher() { delete timer_; }

void ModalWatcher::ScriptAnswers(std::initializer_list<bool> answers) {
  for (bool a : answers) answers_.append(a);
}

QStringList ModalWatcher::Texts() const {
  QStringList out;
  for (const auto& d : seen_) out << d.text;
  return out;
}

void ModalWatcher::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) return;
  SeenDialog seen;
  seen.title = modal->windowTitle();
  seen.className = modal->metaObject()->className();
  auto answer = [this] { return answers_.isEmpty() ? true : answers_.takeFirst(); };
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen.text = box->text();
    seen.icon = box->icon();
    seen_.append(seen);
    QAbstractButton* button = box->button(QMessageBox::Ok);
    if (!button) button = box->button(answer() ? QMessageBox::Yes : QMessageBox::No);
    if (button) button->click();
    return;
  }
  if (auto* dialog = qobject_cast<TfrmMessageBox*>(modal)) {
    seen.text = dialog->edtReco->text();
    seen_.append(seen);
    (answer() ? dialog->btnContinue : dialog->btnCancel)->click();
    return;
  }
  seen_.append(seen);
  if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
}

TestWindow::TestWindow() {
  window = std::make_unique<TfrmMain>(dir.File("ErrorLog.txt"), dir.File("lumdata.mdb"));
  window->show();
}

int RunGuiTests(int argc, char** argv, QObject* testObject) {
  QApplication app(argc, argv);
  SetUpApplication(app);
  return QTest::qExec(testObject, argc, argv);
}
