// The way from a field table back to a record text, and the field-level
// subfield insertion the writing features share.
//
// A feature that writes new or changed records holds each record as a
// MarcFieldTable (core/marc_record.h) while it works, then:
//   MarcFlatText flat = FlattenFieldTable(table);
//   std::string record = BuildMarcRecord(flat, ctx.clock);
//   out.Write(record + "\r\n");
//
// MarcFlatText layout (an intermediate byte string):
//   leader | SEP | entry | SEP | entry | SEP ...      SEP = 0x11 0x40
//   entry  = tag (3) + [indicators (2), for tags 010 and up] + raw data
//            (subfield delimiter 0x1F) + field terminator 0x1E
// Anything after the last separator belongs to no entry.
#pragma once

#include <string>
#include <string_view>

#include "core/errors.h"

class Clock;
struct LocalDateTime;
struct MarcFieldTable;

// The separator between the entries of a MarcFlatText.
inline constexpr std::string_view kFlatSeparator = "\x11\x40";

// One record as a flat list of entries (see the layout above).
using MarcFlatText = std::string;

// ISO 2709 writes a field length as four digits and the record length (and
// so every starting position) as five.
inline constexpr size_t kMaxFieldLength = 9999;
inline constexpr size_t kMaxRecordLength = 99999;

// A record that the record layout cannot express: a field (data plus
// terminator) over 9999 bytes or a record over 99999 bytes. The message
// names the record, the field and the length.
class ERecordTooLong : public LumarinError {
 public:
  using LumarinError::LumarinError;
};

// Flattens a field table. Rows are taken ordered by Code (bytewise), then by
// SeqNo; rows without a SeqNo (0: fields a feature added) come before the
// rows of their tag that have one, in the order they were added.
//   - The leader row (the first row, empty Code) gives the leader: its Data
//     with trailing blanks and control bytes removed (leading bytes are kept,
//     since leader positions count from the first byte) and "■" -> 0x1F.
//     A table without a leader row gets an empty leader (all blanks once
//     built); an empty table gives an empty text.
//   - Every other row gives an entry: Code; when Code reads as a decimal
//     number above 9 (tags 010 and up; "-01" and other non-numbers do not),
//     Denote padded with blanks and cut to exactly 2 bytes; Data trimmed of
//     blanks and control bytes at both ends with "■" -> 0x1F; 0x1E.
// Throws EConvertError when a field row's Code is not 3 bytes (it could not
// be written as a directory tag).
MarcFlatText FlattenFieldTable(const MarcFieldTable& table);

// Builds a record text from a flat text:
//   - the leader is the text before the first separator, padded with blanks
//     to 24 bytes; its bytes 1-5 and 13-17 are replaced by the record length
//     and the base address, the rest is kept (bytes after the 24th dropped);
//   - each entry becomes one field, in the given order (no sorting, no
//     merging): tag = its first 3 bytes, field = the rest as it stands;
//   - a 005 field, whatever it held, becomes the clock's local time
//     "yyyyMMddhhnnss" + ".0" + 0x1E (the clock is read once per record);
//     a record without 005 gets none;
//   - directory entries: tag, field length (4 digits), start (5 digits,
//     first field at 0); the directory and the field area end with 0x1E
//     and 0x1D.
// `recordName` names the record in error messages (for instance "第5行");
// when empty, the record is named by its 001 field.
// Throws ERecordTooLong for a field over 9999 bytes or a record over 99999
// bytes (nothing is written with a wrapped length), EConvertError for an
// entry too short to hold a tag.
std::string BuildMarcRecord(std::string_view flat, const Clock& clock, std::string_view recordName = {});

// The 005 time stamp body "yyyyMMddhhnnss": four-digit year, then two
// digits each of month, day, 24-hour hour, minute, second
// (2006-12-31 23:59:59 -> "20061231235959").
std::string FormatTransactionTime(const LocalDateTime& t);

// Inserts a subfield into field data, both in display form ("■" + code +
// value). The new subfield goes before the first existing subfield whose
// mark-and-code is not below its own (byte order: digits before letters, "a"
// before "b", and before an existing subfield with the same code); if there
// is none, it is appended. The walk goes character by character, so a "■"
// is never seen across two GBK characters.
// A new subfield that does not begin with "■" or has fewer than 3 bytes is
// ignored: the data comes back unchanged. Never throws.
std::string InsertSubfield(std::string_view fieldData, std::string_view newSubfield);
