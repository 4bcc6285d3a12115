// "从MARC数据中输出ISBN": the ISBN list of a record file, one line per record.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"

struct Context;

struct IsbnListSettings {
  std::string marcFile;  // "MARC文件"; empty by default
  std::string isbnFile;  // "ISBN文件"; empty by default
  // "输出选项:" (radIsbn): 0 = as in the record (7-5006-3772-1, the
  // default), 1 = with every "-" removed (7500637721).
  int outputOption = 0;
};

// What a run tells the page besides its messages.
struct IsbnListReport {
  int64_t count = 0;           // N of "共N条" (records of the counting pass)
  bool clearMarcFile = false;  // the MARC file was missing: the page empties its box
};

// "开  始": checks the inputs in page order (the MARC file must exist, the
// ISBN file box must not be blank, the two must not be the same file),
// then writes the 010 $a of the first 010 field of every record, followed
// by CR LF, into the ISBN file (an empty line for a record without it) and
// reports "共N条" with N from the counting pass. *report may be null.
// Throws EInOutError when the output cannot be written.
JobOutcome RunIsbnList(Context& ctx, const IsbnListSettings& settings, IsbnListReport* report = nullptr);
