#include "core/marc_record.h"

#include <algorithm>

#include "core/errors.h"
#include "core/text.h"

namespace {

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// Copy(s, index, count) with 1-based index: an index below 1 counts from the
// first byte; past the end gives an empty text.
std::string_view CopyAt(std::string_view s, long long index, long long count) {
  if (count <= 0) return {};
  if (index < 1) index = 1;
  if (index > static_cast<long long>(s.size())) return {};
  size_t from = static_cast<size_t>(index - 1);
  return s.substr(from, static_cast<size_t>(std::min<long long>(count, s.size() - from)));
}

long long DecimalOrThrow(std::string_view text) {
  long long v = 0;
  if (!ParseDecimal(text, &v))
    throw EConvertError(Gbk("“") + std::string(text) + Gbk("”不是有效的整数"));
  return v;
}

}  // namespace

bool IsMarcLeader(std::string_view t) {
  if (t.size() < 8) return false;
  for (int i = 0; i < 5; ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  if (!IsLower(t[5])) return false;
  char type = t[6];
  bool typeOk = (type >= 'a' && type <= 'g') || (type >= 'i' && type <= 'm') || type == 'r' || type == 'u' ||
                type == 'v';
  if (!typeOk) return false;
  char level = t[7];
  return level == 'a' || level == 'c' || level == 'm' || level == 's';
}

bool IsDirectoryEntry(std::string_view t) {
  if (t.size() < kDirectoryEntryLength) return false;
  for (size_t i = 3; i < kDirectoryEntryLength; ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

std::string ToDisplayForm(std::string_view raw) {
  return ReplaceAll(raw, std::string_view(&kSubfieldDelimiter, 1), kSubfieldMark);
}

std::string FromDisplayForm(std::string_view display) {
  return ReplaceAll(display, kSubfieldMark, std::string_view(&kSubfieldDelimiter, 1));
}

std::string GetSubfield(std::string_view code, std::string_view raw) {
  std::string key(1, kSubfieldDelimiter);
  key.append(code);
  size_t hit = raw.find(key);
  if (hit == std::string_view::npos) return {};
  size_t from = hit + key.size();
  size_t end = raw.size();
  for (size_t i = from; i < raw.size(); ++i) {
    if (raw[i] == kSubfieldDelimiter || raw[i] == kFieldTerminator) {
      end = i;
      break;
    }
  }
  return std::string(raw.substr(from, end - from));
}

void MarcFieldTable::Sort() {
  std::stable_sort(rows.begin(), rows.end(), [](const MarcFieldRow& a, const MarcFieldRow& b) {
    if (a.Code != b.Code) return a.Code < b.Code;
    return a.SeqNo < b.SeqNo;
  });
}

DirectoryWalker::DirectoryWalker(std::string_view record) : record_(record) {
  long long d = DecimalOrThrow(CopyAt(record, 13, 5)) + 1;
  size_t term = record.find(kFieldTerminator);
  long long t = term == std::string_view::npos ? 0 : static_cast<long long>(term) + 1;
  long long a = t + 1;
  // A base address beyond the first terminator is believed only when an
  // entry stands right before the terminator it implies.
  if (a < d && !IsDirectoryEntry(CopyAt(record, d - 13, 12))) d = a;
  // A base address before the first terminator gives way to the terminator
  // when an entry stands right before it.
  if (a > d && IsDirectoryEntry(CopyAt(record, t - 12, 12))) d = a;
  dataPos_ = d;
  long long dirLength = d - 24;
  long long n = dirLength / 12, k = dirLength % 12;
  // Entries are aligned so that they end just before the byte at d - 1.
  entryPos_ = (k == 2) ? 25 : 23 + k;
  remaining_ = n > 0 ? n : 0;
}

bool DirectoryWalker::Next(MarcDirectoryEntry* entry) {
  if (remaining_ <= 0) return false;
  std::string_view raw = TrimControls(CopyAt(record_, entryPos_, 12));
  entryPos_ += 12;
  --remaining_;
  if (!IsDirectoryEntry(raw)) {
    remaining_ = 0;
    return false;
  }
  long long length = DecimalOrThrow(raw.substr(3, 4));
  long long start = DecimalOrThrow(raw.substr(7, 5));
  entry->tag = raw.substr(0, 3);
  entry->fieldText = CopyAt(record_, dataPos_ + start, length);
  return true;
}

std::string_view FieldDataOf(std::string_view fieldText, std::string_view* indicators) {
  size_t p = fieldText.find(kSubfieldDelimiter);
  std::string_view data = fieldText;
  std::string_view ind;
  if (p != std::string_view::npos && p > 0) {
    ind = fieldText.substr(0, p);
    data = fieldText.substr(p);
  }
  size_t e = data.size();
  while (e > 0 && static_cast<unsigned char>(data[e - 1]) <= 0x20) --e;
  if (indicators) *indicators = ind;
  return data.substr(0, e);
}

MarcFieldTable ParseMarcRecord(std::string_view record) {
  MarcFieldTable table;
  if (record.empty()) return table;
  table.rows.push_back(MarcFieldRow{"", "", std::string(record.substr(0, kLeaderLength)), 0});
  DirectoryWalker walker(record);
  MarcDirectoryEntry entry;
  int seq = 0;
  while (walker.Next(&entry)) {
    std::string_view ind;
    std::string_view data = FieldDataOf(entry.fieldText, &ind);
    table.rows.push_back(
        MarcFieldRow{std::string(entry.tag), std::string(ind.substr(0, 2)), ToDisplayForm(data), ++seq});
  }
  table.Sort();
  return table;
}

bool IsValidValueSpec(std::string_view spec) {
  if (spec.size() != 3 && spec.size() != 4) return false;
  for (int i = 0; i < 3; ++i)
    if (!((spec[i] >= '0' && spec[i] <= '9') || spec[i] == '-')) return false;
  return spec.size() == 3 || IsLower(spec[3]);
}

TMarcRecord::TMarcRecord(std::string text) : text_(std::move(text)) {
  if (!text_.empty()) DirectoryWalker check(text_);  // raises for a base address that is no number
}

std::string TMarcRecord::GetValue(std::string_view spec) const {
  if (text_.empty() || !IsValidValueSpec(spec)) return {};
  // The first row with the tag in "Code;SeqNo" order is the first accepted
  // entry with that tag in directory order, so the directory is walked
  // directly instead of building the table.
  DirectoryWalker walker(text_);
  MarcDirectoryEntry entry;
  std::string_view tag = spec.substr(0, 3);
  while (walker.Next(&entry)) {
    if (entry.tag != tag) continue;
    // Display form and back: only a literal "■" in the data changes (to 0x1F).
    std::string raw = FromDisplayForm(FieldDataOf(entry.fieldText, nullptr));
    return spec.size() == 3 ? raw : GetSubfield(spec.substr(3, 1), raw);
  }
  return {};
}

const MarcFieldTable& TMarcRecord::Table() const {
  if (!tableBuilt_) {
    table_ = ParseMarcRecord(text_);
    tableBuilt_ = true;
  }
  return table_;
}
