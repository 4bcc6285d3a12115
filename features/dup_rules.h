// The record-matching rule of the duplicate checks and the de-duplication:
// field-spec lists ("200a,010a,010d") and IsDuplicateRecord.
//
// The rule reads each record's directory as it stands, without the repairs
// of the record reader (see RawDirectory), so that a damaged record never
// makes it fail: it simply yields fields that do not agree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The rule choice of the check and de-duplication pages.
enum class MatchMode {
  Identical = 0,  // "只有双方MARC记录完全一致才认为重复"
  Fields = 1,     // "只要这些字段：" — at least `minimum` spec elements agree
  Isbn = 2,       // "只要ISBN相同就认为重复" — the first 13 bytes of 010 $a agree
};

// A field-spec list: a comma-separated text of elements, each a tag (3
// bytes, the whole field) or a tag and a subfield code (4 bytes), such as
// "200a,010a,010d". Kept as the text the user typed (GBK).
using FieldSpecList = std::string;

// The spec list the pages start with: title proper, ISBN, price.
inline constexpr std::string_view kDefaultFieldSpecList = "200a,010a,010d";
// The default and the range of the "有 [n] 个字段匹配即认为重复" box.
inline constexpr int kDefaultMinimumMatches = 3;
inline constexpr int kMinimumMatchesLow = 1;
inline constexpr int kMinimumMatchesHigh = 10;

// True for a valid element of a spec list: 3 or 4 bytes, bytes 1-3 each an
// ASCII digit or '-', byte 4 (if present) a lower-case letter 'a'-'z'.
// A 3-byte element means the whole field, a 4-byte one that subfield.
bool IsFieldSpecElement(std::string_view element);

// The elements of a spec list, split at every comma. An empty list has no
// elements; "a,,b" has three (the middle one empty, and so invalid).
std::vector<std::string_view> SplitFieldSpecList(std::string_view list);

// The list as the pages show it back before checking it: blanks and control
// bytes trimmed from both ends, then one leading and one trailing comma
// removed if present (",200a,010a," becomes "200a,010a").
std::string NormalizeFieldSpecList(std::string_view text);

// True when every element of the list is valid (an empty list is valid;
// nothing can agree through it then).
bool IsValidFieldSpecList(std::string_view list);

// One field as a directory entry names it, read without repairs.
struct RawField {
  std::string_view tag;   // bytes 1-3 of the trimmed entry (shorter when the entry is)
  std::string_view text;  // the raw field: indicators, 0x1F delimiters and the closing 0x1E
};

// The directory of a record text read as it stands: base := leader positions
// 13-17 as a number, or 36 when they are not one; the directory is the
// (base - 23) bytes from position 25 (fewer if the record is shorter), taken
// as whole 12-byte entries. Each entry is trimmed of blanks and control bytes;
// its length (bytes 4-7) and start (bytes 8-12) are 0 when not numbers; the
// field is the `length` bytes from offset base + start of the record (an
// offset before the record's start counts from its start; the field is cut
// where the record ends). Entries are not validated.
// REQUIRES: `record` outlives the walker and the fields it hands out.
class RawDirectory {
 public:
  explicit RawDirectory(std::string_view record);
  // The next entry's field, or false after the last entry.
  bool Next(RawField* field);

 private:
  std::string_view record_;
  long long base_ = 36;
  size_t entryPos_ = 0;
  size_t entriesLeft_ = 0;
};

// The 13-byte ISBN key of a record: the first 13 bytes of $a of its first
// 010 field. *has010 (may be null) tells whether the record has an 010
// entry at all; the key is empty without one.
std::string IsbnMatchKey(std::string_view record, bool* has010 = nullptr);

// The matching rule. True when the texts are equal byte for byte; otherwise
// false in mode 0 (and any mode other than 1 and 2);
// mode 1: the values of the `fieldSpecList` elements are collected from
//   `first` (for each element, the value in the last field with its tag;
//   the whole raw field for a 3-byte element, the subfield for a 4-byte one;
//   empty when absent), then every field of `second` with an element's tag
//   adds 1 for each element (each occurrence in the list) whose collected
//   value equals the field's value, empty agreeing with empty; true when the
//   count reaches `minimum`;
// mode 2: true when `second` has an 010 field and its first one's key (see
//   IsbnMatchKey) equals that of `first`.
// Never throws: damaged records simply agree less.
bool IsDuplicateRecord(std::string_view first, std::string_view second, int mode, int minimum,
                       std::string_view fieldSpecList);
