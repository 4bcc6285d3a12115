#include "app/page.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMap>

#include "app/qt_shell.h"
#include "app/qt_text.h"

namespace {

QMap<QString, PageFactory>& Pages() {
  static QMap<QString, PageFactory> pages;
  return pages;
}

}  // namespace

void RegisterPage(const QString& caption, PageFactory factory) { Pages().insert(caption, std::move(factory)); }

PageFactory FindPage(const QString& caption) { return Pages().value(caption); }

QString ToQtFilter(const QString& filter) {
  QStringList parts = filter.split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    out << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + pattern + ")");
  }
  if (out.isEmpty()) out << filter;
  return out.join(";;");
}

void LumarinPage::RunGuarded(const std::function<void()>& job) {
  try {
    job();
  } catch (const std::exception& e) {
    env_.shell.ShowGeneralError(e.what());
  }
}

void LumarinPage::PickOpenFile(QLineEdit* target, const QString& initialName, const QString& filter) {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(ToQtFilter(filter));
  dialog.selectFile(target->text().isEmpty() ? initialName : target->text());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    target->setText(dialog.selectedFiles().first());
}

void LumarinPage::PickSaveFile(QLineEdit* target, const QString& initialName, const QString& filter,
                               const QString& defaultExtension) {
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilter(ToQtFilter(filter));
  if (!defaultExtension.isEmpty()) dialog.setDefaultSuffix(defaultExtension);
  dialog.selectFile(target->text().isEmpty() ? initialName : target->text());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    target->setText(dialog.selectedFiles().first());
}
