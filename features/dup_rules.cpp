#include "features/dup_rules.h"

#include "core/marc_record.h"
#include "core/text.h"

namespace {

constexpr long long kFallbackBase = 36;
constexpr size_t kIsbnKeyLength = 13;

long long NumberOr(std::string_view text, long long fallback) {
  long long v = 0;
  return ParseDecimal(text, &v) ? v : fallback;
}

std::string_view Slice(std::string_view s, size_t pos, size_t n) {
  if (pos >= s.size()) return {};
  return s.substr(pos, n);
}

// Whether a spec element concerns a field with this tag.
bool ElementApplies(std::string_view element, std::string_view tag) {
  return (element.size() == 3 || element.size() == 4) && element.substr(0, 3) == tag;
}

// The value an element takes from a raw field.
std::string ElementValue(std::string_view element, std::string_view fieldText) {
  if (element.size() == 3) return std::string(fieldText);
  return GetSubfield(element.substr(3, 1), fieldText);
}

bool FieldsAgree(std::string_view first, std::string_view second, int minimum, std::string_view list) {
  const std::vector<std::string_view> elements = SplitFieldSpecList(list);
  std::vector<std::string> collected(elements.size());
  RawDirectory a(first);
  RawField f;
  while (a.Next(&f))
    for (size_t i = 0; i < elements.size(); ++i)
      if (ElementApplies(elements[i], f.tag)) collected[i] = ElementValue(elements[i], f.text);
  long long count = 0;
  RawDirectory b(second);
  while (b.Next(&f))
    for (size_t i = 0; i < elements.size(); ++i)
      if (ElementApplies(elements[i], f.tag) && collected[i] == ElementValue(elements[i], f.text)) ++count;
  return count >= minimum;
}

}  // namespace

bool IsFieldSpecElement(std::string_view e) {
  if (e.size() != 3 && e.size() != 4) return false;
  for (size_t i = 0; i < 3; ++i)
    if (!((e[i] >= '0' && e[i] <= '9') || e[i] == '-')) return false;
  return e.size() == 3 || (e[3] >= 'a' && e[3] <= 'z');
}

std::vector<std::string_view> SplitFieldSpecList(std::string_view list) {
  std::vector<std::string_view> out;
  if (list.empty()) return out;
  size_t start = 0;
  while (true) {
    size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) {
      out.push_back(list.substr(start));
      return out;
    }
    out.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string NormalizeFieldSpecList(std::string_view text) {
  std::string_view s = TrimControls(text);
  if (!s.empty() && s.front() == ',') s.remove_prefix(1);
  if (!s.empty() && s.back() == ',') s.remove_suffix(1);
  return std::string(s);
}

bool IsValidFieldSpecList(std::string_view list) {
  for (std::string_view e : SplitFieldSpecList(list))
    if (!IsFieldSpecElement(e)) return false;
  return true;
}

RawDirectory::RawDirectory(std::string_view record) : record_(record) {
  base_ = NumberOr(Slice(record, 12, 5), kFallbackBase);
  const long long dirLength = base_ - 23;
  if (dirLength <= 0 || record.size() <= kLeaderLength) return;
  const size_t available = record.size() - kLeaderLength;
  const size_t bytes = std::min(static_cast<size_t>(dirLength), available);
  entryPos_ = kLeaderLength;
  entriesLeft_ = bytes / kDirectoryEntryLength;
}

bool RawDirectory::Next(RawField* field) {
  if (entriesLeft_ == 0) return false;
  --entriesLeft_;
  std::string_view entry = TrimControls(record_.substr(entryPos_, kDirectoryEntryLength));
  entryPos_ += kDirectoryEntryLength;
  field->tag = entry.substr(0, std::min<size_t>(3, entry.size()));
  const long long length = NumberOr(Slice(entry, 3, 4), 0);
  const long long start = NumberOr(Slice(entry, 7, 5), 0);
  long long at = base_ + start;
  if (at < 0) at = 0;  // a position before the record counts from its first byte
  if (length <= 0 || at >= static_cast<long long>(record_.size())) {
    field->text = {};
  } else {
    field->text = record_.substr(static_cast<size_t>(at), static_cast<size_t>(length));
  }
  return true;
}

std::string IsbnMatchKey(std::string_view record, bool* has010) {
  RawDirectory dir(record);
  RawField f;
  while (dir.Next(&f)) {
    if (f.tag != "010") continue;
    if (has010) *has010 = true;
    std::string a = GetSubfield("a", f.text);
    if (a.size() > kIsbnKeyLength) a.resize(kIsbnKeyLength);
    return a;
  }
  if (has010) *has010 = false;
  return {};
}

bool IsDuplicateRecord(std::string_view first, std::string_view second, int mode, int minimum,
                       std::string_view fieldSpecList) {
  if (first == second) return true;
  if (mode == static_cast<int>(MatchMode::Fields)) return FieldsAgree(first, second, minimum, fieldSpecList);
  if (mode == static_cast<int>(MatchMode::Isbn)) {
    const std::string key = IsbnMatchKey(first);
    bool has010 = false;
    const std::string other = IsbnMatchKey(second, &has010);
    return has010 && key == other;
  }
  return false;
}
