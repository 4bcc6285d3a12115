// The rule choice shared by "利用双方MARC数据自动匹配查重" and the MARC part
// of "数据去重": identical records, at least n agreeing spec elements, or
// equal ISBN. The spec box and the minimum are enabled for the second item
// only; the spec box takes only digits, lower-case letters and the comma as
// typed keys.
#pragma once

#include <QWidget>
#include <string>

#include "features/dup_rules.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QSpinBox;

class MatchRuleBox : public QWidget {
  Q_OBJECT
 public:
  explicit MatchRuleBox(QWidget* parent);

  MatchMode mode() const;
  std::string fieldSpecList() const;  // GBK
  int minimum() const;
  // Shows the spec as the engine normalised it.
  void ShowFieldSpecList(const std::string& gbk);

  QButtonGroup* radMode = nullptr;  // items 0, 1, 2
  QLineEdit* edtFields = nullptr;   // the spec list, default "200a,010a,010d"
  QSpinBox* speMin = nullptr;       // 1-10, default 3
  QLabel* lblComma = nullptr;       // "(逗号分割)，中"
  QLabel* lblHave = nullptr;        // "有"
  QLabel* lblMatch = nullptr;       // "个字段匹配即认为重复"

 private:
  void UpdateEnabled();
};

// True for the keys the spec box takes: digits, lower-case letters, comma.
bool IsFieldSpecKey(QChar c);
