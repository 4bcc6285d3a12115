// Key filters for the number and spec fields of the purchasing pages: keys
// that type a character are dropped unless the rule accepts them (editing
// and navigation keys pass).
#pragma once

#include <QLineEdit>
#include <QObject>
#include <functional>

// Accepts a typed character when `accept(field, ch)` says so.
class KeyFilter : public QObject {
 public:
  KeyFilter(QLineEdit* field, std::function<bool(QLineEdit*, QChar)> accept);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* field_;
  std::function<bool(QLineEdit*, QChar)> accept_;
};

// Digits and "-" only (the count fields).
void AcceptCountKeys(QLineEdit* field);
