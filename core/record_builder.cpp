#include "core/record_builder.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/clock.h"
#include "core/marc_record.h"
#include "core/text.h"

namespace {

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

std::string_view TrimTrailingControls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
  return text;
}

// Indicators are written for tags that read as a number above 9.
bool HasIndicators(const std::string& code) {
  long long number = 0;
  return ParseDecimal(code, &number) && number > 9;
}

std::string ZeroPadded(size_t value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*zu", width, value);
  return buf;
}

// The entries of a flat text after its leader; the text after the last
// separator belongs to none.
std::vector<std::string_view> SplitEntries(std::string_view flat, std::string_view* leader) {
  std::vector<std::string_view> entries;
  size_t sep = flat.find(kFlatSeparator);
  *leader = flat.substr(0, sep);
  if (sep == std::string_view::npos) return entries;
  size_t pos = sep + kFlatSeparator.size();
  while ((sep = flat.find(kFlatSeparator, pos)) != std::string_view::npos) {
    entries.push_back(flat.substr(pos, sep - pos));
    pos = sep + kFlatSeparator.size();
  }
  return entries;
}

// How error messages name the record: the caller's name, else its 001.
std::string NameOfRecord(const std::vector<std::string_view>& entries, std::string_view given) {
  if (!given.empty()) return std::string(given);
  for (std::string_view e : entries)
    if (e.substr(0, 3) == "001")
      return Gbk("001为“") + std::string(TrimTrailingControls(e.substr(3))) + Gbk("”的记录");
  return Gbk("没有001字段的记录");
}

}  // namespace

MarcFlatText FlattenFieldTable(const MarcFieldTable& table) {
  std::vector<const MarcFieldRow*> rows;
  rows.reserve(table.rows.size());
  for (const MarcFieldRow& row : table.rows) rows.push_back(&row);
  // Added rows (no SeqNo) keep the order they were added in, before the
  // parsed rows of their tag.
  std::stable_sort(rows.begin(), rows.end(), [](const MarcFieldRow* a, const MarcFieldRow* b) {
    if (a->Code != b->Code) return a->Code < b->Code;
    return std::max(a->SeqNo, 0) < std::max(b->SeqNo, 0);
  });

  MarcFlatText flat;
  if (rows.empty()) return flat;
  size_t first = 0;
  if (rows[0]->Code.empty()) {
    flat += FromDisplayForm(TrimTrailingControls(rows[0]->Data));
    first = 1;
  }
  flat += kFlatSeparator;
  for (size_t i = first; i < rows.size(); ++i) {
    const MarcFieldRow& row = *rows[i];
    if (row.Code.size() != 3)
      throw EConvertError(Gbk("字段号“") + row.Code + Gbk("”不是3个字符，无法写入记录。"));
    flat += row.Code;
    if (HasIndicators(row.Code)) {
      std::string denote = row.Denote;
      denote.resize(2, ' ');
      flat += denote;
    }
    flat += FromDisplayForm(TrimControls(row.Data));
    flat += kFieldTerminator;
    flat += kFlatSeparator;
  }
  return flat;
}

std::string BuildMarcRecord(std::string_view flat, const Clock& clock, std::string_view recordName) {
  std::string_view leaderText;
  std::vector<std::string_view> entries = SplitEntries(flat, &leaderText);
  std::string leader(leaderText.substr(0, kLeaderLength));
  leader.resize(kLeaderLength, ' ');

  std::string directory, fields, stamp;
  for (std::string_view entry : entries) {
    if (entry.size() < 3)
      throw EConvertError(NameOfRecord(entries, recordName) + Gbk("中有一个字段缺少字段号，无法写出。"));
    std::string_view tag = entry.substr(0, 3);
    std::string_view data = entry.substr(3);
    if (tag == "005") {
      if (stamp.empty()) stamp = FormatTransactionTime(clock.Now()) + ".0" + kFieldTerminator;
      data = stamp;
    }
    if (data.size() > kMaxFieldLength)
      throw ERecordTooLong(NameOfRecord(entries, recordName) + Gbk("的") + std::string(tag) + Gbk("字段长") +
                           ToDecimal(static_cast<long long>(data.size())) +
                           Gbk("字节，超过了ISO 2709允许的9999字节，无法写出。"));
    directory.append(tag);
    directory += ZeroPadded(data.size(), 4);
    directory += ZeroPadded(fields.size(), 5);
    fields.append(data);
  }
  directory += kFieldTerminator;
  fields += kRecordTerminator;

  const size_t base = kLeaderLength + directory.size();
  const size_t total = base + fields.size();
  if (total > kMaxRecordLength)
    throw ERecordTooLong(NameOfRecord(entries, recordName) + Gbk("长") +
                         ToDecimal(static_cast<long long>(total)) +
                         Gbk("字节，超过了ISO 2709允许的99999字节，无法写出。"));
  return ZeroPadded(total, 5) + leader.substr(5, 7) + ZeroPadded(base, 5) + leader.substr(17, 7) + directory +
         fields;
}

std::string FormatTransactionTime(const LocalDateTime& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return buf;
}

std::string InsertSubfield(std::string_view fieldData, std::string_view newSubfield) {
  if (newSubfield.size() < 3 || newSubfield.substr(0, 2) != kSubfieldMark) return std::string(fieldData);
  std::string_view key = newSubfield.substr(0, 3);  // mark and code
  size_t i = 0;
  while (i < fieldData.size()) {
    if (fieldData.substr(i, 2) == kSubfieldMark && !(key > fieldData.substr(i, 3))) break;
    i += (IsGbkLead(static_cast<unsigned char>(fieldData[i])) && i + 1 < fieldData.size()) ? 2 : 1;
  }
  std::string out(fieldData.substr(0, i));
  out.append(newSubfield);
  out.append(fieldData.substr(std::min(i, fieldData.size())));
  return out;
}
