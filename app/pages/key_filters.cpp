#include "app/pages/key_filters.h"

#include <QKeyEvent>

KeyFilter::KeyFilter(QLineEdit* field, std::function<bool(QLineEdit*, QChar)> accept)
    : QObject(field), field_(field), accept_(std::move(accept)) {
  field->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != field_ || event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  // Keys without a printable character (backspace, arrows, Enter) pass;
  // shortcuts with Ctrl pass as well.
  if (text.isEmpty() || !text[0].isPrint() || (key->modifiers() & Qt::ControlModifier)) return false;
  return !accept_(field_, text[0]);
}

void AcceptCountKeys(QLineEdit* field) {
  new KeyFilter(field, [](QLineEdit*, QChar c) { return (c >= '0' && c <= '9') || c == '-'; });
}
