#include "app/pages/MatchRuleBox.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/pages/key_filters.h"
#include "app/qt_text.h"

bool IsFieldSpecKey(QChar c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == ','; }

MatchRuleBox::MatchRuleBox(QWidget* parent) : QWidget(parent) {
  radMode = new QButtonGroup(this);
  auto* identical = new QRadioButton(QStringLiteral("只有双方MARC记录完全一致才认为重复"), this);
  auto* fields = new QRadioButton(QStringLiteral("只要这些字段："), this);
  auto* isbn = new QRadioButton(QStringLiteral("只要ISBN相同就认为重复"), this);
  radMode->addButton(identical, 0);
  radMode->addButton(fields, 1);
  radMode->addButton(isbn, 2);
  identical->setChecked(true);

  edtFields = new QLineEdit(QString::fromLatin1(kDefaultFieldSpecList.data(), kDefaultFieldSpecList.size()), this);
  edtFields->setObjectName("edtFields");
  new KeyFilter(edtFields, [](QLineEdit*, QChar c) { return IsFieldSpecKey(c); });
  speMin = new QSpinBox(this);
  speMin->setObjectName("speMin");
  speMin->setRange(kMinimumMatchesLow, kMinimumMatchesHigh);
  speMin->setValue(kDefaultMinimumMatches);
  lblComma = new QLabel(QStringLiteral("(逗号分割)，中"), this);
  lblHave = new QLabel(QStringLiteral("有"), this);
  lblMatch = new QLabel(QStringLiteral("个字段匹配即认为重复"), this);

  // "只要这些字段：[spec](逗号分割)，中" on one line, "有 [n] 个字段匹配即认为重复"
  // under it, so that the whole default spec stays readable.
  auto* fieldsRow = new QHBoxLayout;
  fieldsRow->addWidget(fields);
  fieldsRow->addWidget(edtFields, 1);
  fieldsRow->addWidget(lblComma);
  auto* minimumRow = new QHBoxLayout;
  minimumRow->addSpacing(fields->sizeHint().width());
  minimumRow->addWidget(lblHave);
  minimumRow->addWidget(speMin);
  minimumRow->addWidget(lblMatch);
  minimumRow->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(identical);
  layout->addLayout(fieldsRow);
  layout->addLayout(minimumRow);
  layout->addWidget(isbn);

  connect(radMode, &QButtonGroup::idToggled, this, [this](int, bool) { UpdateEnabled(); });
  UpdateEnabled();
}

void MatchRuleBox::UpdateEnabled() {
  const bool on = radMode->checkedId() == 1;
  for (QWidget* w : {static_cast<QWidget*>(edtFields), static_cast<QWidget*>(speMin),
                     static_cast<QWidget*>(lblComma), static_cast<QWidget*>(lblHave), static_cast<QWidget*>(lblMatch)})
    w->setEnabled(on);
}

MatchMode MatchRuleBox::mode() const {
  switch (radMode->checkedId()) {
    case 1: return MatchMode::Fields;
    case 2: return MatchMode::Isbn;
    default: return MatchMode::Identical;
  }
}

std::string MatchRuleBox::fieldSpecList() const { return FromQ(edtFields->text()); }

int MatchRuleBox::minimum() const { return speMin->value(); }

void MatchRuleBox::ShowFieldSpecList(const std::string& gbk) { edtFields->setText(ToQ(gbk)); }
