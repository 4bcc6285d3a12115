// A feature page of the main window, and the registry through which the
// pages make themselves known. A navigation item is shown only when a page
// with its caption is registered.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

struct Context;
class QtShell;
class QLineEdit;

// What a page gets from the main window.
struct PageEnv {
  Context& ctx;
  QtShell& shell;
};

class LumarinPage : public QWidget {
  Q_OBJECT
 public:
  LumarinPage(PageEnv& env, QWidget* parent) : QWidget(parent), env_(env) {}
  // Called each time the navigation bar brings the page up.
  virtual void Activated() {}

 protected:
  // Runs a button's job; an error that escapes it goes to the general error
  // display (the engine has left the busy state on its way out).
  void RunGuarded(const std::function<void()>& job);

  // The shared file pickers. The filter is a list of "description|pattern"
  // pairs separated by '|'; the chosen path goes into `target`.
  void PickOpenFile(QLineEdit* target, const QString& initialName, const QString& filter);
  void PickSaveFile(QLineEdit* target, const QString& initialName, const QString& filter,
                    const QString& defaultExtension);

  PageEnv& env_;
};

// The record-file filter and the list filters the pages use.
inline const QString kMarcFilter = QStringLiteral("marc file(*.iso)|*.iso|text file(*.txt)|*.txt");
inline const QString kIsoOnlyFilter = QStringLiteral("marc file(*.iso)|*.iso");
inline const QString kTextFilter = QStringLiteral("text file(*.txt)|*.txt");
inline const QString kTextOrMarcFilter = QStringLiteral("text file(*.txt)|*.txt|marc file(*.iso)|*.iso");
inline const QString kSheetFilter = QStringLiteral("EXCEL file(*.xls)|*.xls");

// Turns "desc|pattern|desc|pattern" into Qt's "desc (pattern);;desc (pattern)".
QString ToQtFilter(const QString& filter);

using PageFactory = std::function<LumarinPage*(PageEnv&, QWidget*)>;

// Registers the page opened by the navigation item with this caption.
void RegisterPage(const QString& caption, PageFactory factory);
// The factory for a caption, or an empty function.
PageFactory FindPage(const QString& caption);

template <typename T>
struct PageRegistrar {
  explicit PageRegistrar(const char* utf8Caption) {
    RegisterPage(QString::fromUtf8(utf8Caption),
                 [](PageEnv& env, QWidget* parent) -> LumarinPage* { return new T(env, parent); });
  }
};
#define LUMARIN_REGISTER_PAGE(Class, utf8Caption) static const PageRegistrar<Class> pageRegistrar_##Class(utf8Caption);
