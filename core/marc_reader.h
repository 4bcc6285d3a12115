// The tolerant record-file reader: the only way a feature reads a record file.
//
// ScanMarcFile streams the file through a large buffer (constant memory
// whatever the file size) and hands one record text at a time to a
// callback. Between records it skips any run of NUL, LF, CR and 0x1D; after
// damage it resynchronises on the next leader-like 8 bytes. When the
// callback fails, the record goes to the error log and the user is asked
// whether to go on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct Context;

// Called once per record, in file order: the record number (1, 2, 3 ...),
// the record text (NUL bytes turned into blanks; valid only during the
// call) and the continue flag, true on entry; clear it to stop the scan
// after this record. An exception thrown here takes the error path.
using RecordCallback = std::function<void(int64_t recordNo, const std::string& record, bool& goOn)>;

// Reads the record file and calls back once per record; returns the number
// of records handed to the callback (a record whose callback failed counts).
//
// A missing file (or a folder) gives 0 without a call and without a
// message. A file that cannot be opened or read raises EInOutError. The
// window's pending events run through ctx.shell at most every 50 ms.
//
// Error path: when the callback throws on record n, an entry is appended to
// ctx.errorLogPath (see ErrorLogEntry; a log that cannot be written is passed
// over) and ctx.shell.AskContinueAfterRecordError decides whether the scan
// goes on. The error is not passed on.
int64_t ScanMarcFile(Context& ctx, const std::string& fileName, const RecordCallback& callback);

// The text of one error-log entry (without the final CR LF that AppendLine
// adds): "//" time "-------------" CR LF "文件：" name CR LF "记录：" n CR LF
// "MARC：" CR LF record CR LF "//\\\----------------". The file name is
// converted to GBK.
std::string ErrorLogEntry(const std::string& logTime, const std::string& fileName, int64_t recordNo,
                          const std::string& record);

namespace reader_internal {
// ScanMarcFile with the read buffer and the carry-text trimming threshold
// given, so that tests can reach the buffer and trimming boundaries with
// small files. REQUIRES: bufferSize >= 1.
int64_t ScanMarcFileTuned(Context& ctx, const std::string& fileName, const RecordCallback& callback,
                          size_t bufferSize, size_t carryTrim);
}  // namespace reader_internal

// Counts the records of a file (a scan with a callback that does nothing).
int64_t CountMarcRecords(Context& ctx, const std::string& fileName);

// ---- record positions ---------------------------------------------------
//
// For engines that index a file and read single records back later (the
// duplicate checks). A record text handed on by the reader is always the
// `record.size()` file bytes starting at its leader's offset, with NUL bytes
// turned into blanks and, when the file ended first, blanks for the missing
// tail; ReadRecordText below rebuilds exactly that text from the offset.

// As RecordCallback, with the byte offset of the record's leader in the file.
using PositionedRecordCallback =
    std::function<void(int64_t recordNo, const std::string& record, int64_t offset, bool& goOn)>;

// The same scan as ScanMarcFile (the same records, the same error path, the
// same result), handing each record's offset on as well. With startOffset 0
// it is ScanMarcFile; with another offset the scan starts there as if the
// file began at that byte (record numbers start at 1 again). A scan started
// at the offset of a record that a full scan handed on hands on the same
// records from there as the full scan does.
int64_t ScanMarcFileFrom(Context& ctx, const std::string& fileName, int64_t startOffset,
                         const PositionedRecordCallback& callback);

// The text the reader hands on for a record of `length` bytes at `offset` of
// the open file `fd`: the bytes there, NUL turned into blanks, padded with
// blanks where the file ends. Throws EInOutError (naming fileName) when the
// file cannot be read.
std::string ReadRecordText(int fd, const std::string& fileName, int64_t offset, size_t length);

// The reader's error path for a record on which the work failed, for engines
// that stand in for a scan through an index: appends the entry to
// ctx.errorLogPath (a log that cannot be written is passed over) and asks
// the user. Returns true for "继续", false for "取消".
bool RecordErrorPath(Context& ctx, const std::string& fileName, int64_t recordNo, const std::string& record);
