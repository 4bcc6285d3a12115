// "数据去重": removing repeated records from a MARC file and repeated lines
// from an ISBN list.
//
// Both parts append to their output file and compare every candidate with
// what the output already holds, so the output is the set of records (lines)
// kept so far; an output that exists when the run starts is never emptied,
// and its records take part. A MARC record is kept when no record that the
// record reader reads from the output is a duplicate of it
// (IsDuplicateRecord, the new record first).
//
// The output is indexed as it grows instead of being read again for every
// input record. The index follows what the reader would read back from the
// output, not the texts appended: where the output's existing tail is
// damaged (a record cut short, bytes the reader skips), appending changes
// what it reads there, and that part is read again after each append.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"
#include "features/dup_rules.h"

struct Context;

struct MarcDedupSettings {
  std::string inputFile;   // "原始MARC文件："
  std::string outputFile;  // "去重后MARC文件："
  MatchMode mode = MatchMode::Identical;
  // The spec box; in mode Fields RunMarcDedup replaces it by its normalised
  // form, which the page shows back.
  FieldSpecList fieldSpecList = FieldSpecList(kDefaultFieldSpecList);
  int minimum = kDefaultMinimumMatches;  // 1-10
};

struct MarcDedupReport {
  bool focusFieldSpec = false;  // the spec check refused
  int64_t records = 0;          // input records (counting pass)
  int64_t appended = 0;         // records appended to the output
};

// "开  始" of the MARC part. Checks in page order: the input exists
// ("请指定原始MARC文件。"); mode Fields: the normalised spec is valid
// ("重复字段书写错误!" CR CR "请参考例子或说明", focusFieldSpec); the output
// is named ("请指定去重后的MARC文件。"); the output is not the input. Then
// appends every record of the input that has no duplicate in the output
// (record text, CR LF) and shows the completion message. A failure to
// append takes the record reader's error path for that input record.
JobOutcome RunMarcDedup(Context& ctx, MarcDedupSettings& settings, MarcDedupReport* report = nullptr);

struct IsbnDedupSettings {
  std::string inputFile;   // "原始ISBN文件："
  std::string outputFile;  // "去重后ISBN文件："
};

struct IsbnDedupReport {
  bool hintAndClearInput = false;  // show the input box's hint "请指定原始ISBN文件" and empty it
  int64_t lines = 0;               // input lines read
  int64_t appended = 0;            // lines appended to the output
};

// "开  始" of the ISBN part. Checks: the input exists ("请指定原始ISBN文件。",
// hintAndClearInput); the output is named ("请指定去重后的ISBN文件。"); the
// output is not the input. Then appends (with AppendLine's rules) every
// input line that the output does not hold yet, compared byte for byte,
// and shows "ISBN文件去重完成!". Throws EInOutError on I/O failures.
JobOutcome RunIsbnDedup(Context& ctx, const IsbnDedupSettings& settings, IsbnDedupReport* report = nullptr);
