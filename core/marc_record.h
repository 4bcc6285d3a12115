// One ISO 2709 record: recognising leaders and directory entries, decoding a
// record text into its field table, and answering for a field or subfield.
//
// Layout of a record text (all positions in bytes, see docs/record-format.md):
//   leader (24)  | directory: 12-byte entries, then 0x1E | fields, each ending
//   with 0x1E | 0x1D. Entry = tag (3) + field length (4) + start (5, relative
//   to the base address in leader positions 13-17).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kFieldTerminator = '\x1E';
inline constexpr char kSubfieldDelimiter = '\x1F';
inline constexpr char kRecordTerminator = '\x1D';
inline constexpr size_t kLeaderLength = 24;
inline constexpr size_t kDirectoryEntryLength = 12;
// The GBK mark "■" that stands for 0x1F wherever field data is shown or kept
// in a field table (display form).
inline constexpr std::string_view kSubfieldMark = "\xA1\xF6";

// True when the text has at least 8 bytes and they read as the start of a
// leader: five ASCII digits (the length), a status 'a'-'z', a type of record
// in a-g, i-m, r, u, v, and a bibliographic level in a, c, m, s.
bool IsMarcLeader(std::string_view text);

// True when the text has at least 12 bytes and bytes 4-12 (field length and
// starting position) are ASCII digits. The tag is not looked at.
bool IsDirectoryEntry(std::string_view text);

// Field data in display form: every 0x1F becomes "■".
std::string ToDisplayForm(std::string_view raw);
// And back: every "■" becomes 0x1F.
std::string FromDisplayForm(std::string_view display);

// The value of the first subfield `code` in raw field data: the bytes after
// 0x1F+code up to whichever comes first of the next 0x1F, the next 0x1E and
// the end of the data. Empty when there is no such subfield.
std::string GetSubfield(std::string_view code, std::string_view rawData);

// One row of a field table.
struct MarcFieldRow {
  std::string Code;    // the tag; empty for the leader row
  std::string Denote;  // the indicators (at most 2 bytes); empty when none
  std::string Data;    // leader, or field data in display form, no terminator
  int SeqNo = 0;       // 0 for the leader row, then 1, 2, 3 in directory order
};

// A record decoded into rows, the leader row first, ordered by "Code;SeqNo".
struct MarcFieldTable {
  std::vector<MarcFieldRow> rows;
  // Restores the order by Code (bytewise), then SeqNo.
  void Sort();
};

// One accepted directory entry: its tag and the field text the entry points
// at (possibly shorter than declared when the record ends first).
struct MarcDirectoryEntry {
  std::string_view tag;
  std::string_view fieldText;
};

// Walks the directory of a record text the tolerant way: the base address
// is checked against the first terminator, the entries are aligned to end
// just before the directory terminator, and the walk stops at the first
// entry that is not an entry (the rest are ignored).
class DirectoryWalker {
 public:
  // Throws EConvertError when leader positions 13-17 are not a number.
  // REQUIRES: `record` outlives the walker.
  explicit DirectoryWalker(std::string_view record);
  // The next accepted entry, or false at the end of the directory.
  bool Next(MarcDirectoryEntry* entry);

 private:
  std::string_view record_;
  long long dataPos_ = 0;     // 1-based position of the first data byte
  long long entryPos_ = 0;    // 1-based position of the next entry
  long long remaining_ = 0;   // entries left to look at
};

// Decodes one record text into its field table. An empty text yields an
// empty table (no leader row). Throws EConvertError when the base address is
// not a number.
MarcFieldTable ParseMarcRecord(std::string_view record);

// The field data of a field text as the table keeps it, in raw form: the
// indicators (bytes before the first 0x1F) dropped, trailing bytes at or
// below 0x20 removed. *indicators receives the dropped bytes (may be null).
std::string_view FieldDataOf(std::string_view fieldText, std::string_view* indicators);

// One record, answering for the value of a field or a subfield.
class TMarcRecord {
 public:
  // Throws EConvertError when the base address is not a number.
  explicit TMarcRecord(std::string text);

  // The value for a 3-byte tag spec ("010": the whole field data of the
  // first field with the tag, without indicators, 0x1F kept) or a 4-byte
  // tag-and-code spec ("010a": that field's first $a). Only the first field
  // with the tag is consulted. Empty for an invalid spec (bytes 1-3 each a
  // digit or '-', byte 4 'a'-'z'), a missing field or subfield, an empty record.
  std::string GetValue(std::string_view spec) const;

  // The full field table (decoded on first use).
  const MarcFieldTable& Table() const;

  const std::string& text() const { return text_; }

 private:
  std::string text_;
  mutable MarcFieldTable table_;
  mutable bool tableBuilt_ = false;
};

// True for a valid GetValue spec.
bool IsValidValueSpec(std::string_view spec);
