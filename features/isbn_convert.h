// "对ISBN列格式进行转换": rewriting ISBN and ISSN codes into one chosen form.
//
// The page has a panel per kind of input, each with its own choice of form;
// both convert every code with ConvertIsbnCode. This module holds the rule
// for one code and the text-file panel ("对ISBN文件进行格式转换：").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/job.h"

struct Context;

// The target form, in the order of the panels' radio items.
enum class IsbnTargetForm {
  Hyphenated = 0,  // item 0 "转换为ISBN/ISSN带..." : 7-5006-3772-1, 1234-5679
  Plain = 1,       // item 1 "转换为ISBN（10位）/ISSN（8位）": 7500637721, 12345679
  Ean13 = 2,       // item 2 "转换为13位EAN条形码": 9787500637721, 9771234567003
};

// Converts one code. The code is checked with CheckIsbn (core/isbn.h); a
// code it does not accept as valid (not an ISBN/ISSN of a known form, or a
// wrong check character) comes back unchanged, and so does an eight-byte
// "ISSN" whose first seven bytes are not all digits (it has no EAN form).
// Otherwise, from the comparable form r.Isbn:
//   Hyphenated: FormatIsbn(r.Isbn) (only group 7 ISBNs and ISSNs get hyphens)
//   Plain:      r.Isbn (hyphens removed, check character recomputed)
//   Ean13:      "978" + the nine ISBN digits, or "977" + the seven ISSN digits
//               + "00", followed by the recomputed EAN-13 check digit.
// A 978/977 thirteen-digit input is thus accepted whatever its own check
// digit, and rebuilt with the right one. Never throws.
std::string ConvertIsbnCode(std::string_view code, IsbnTargetForm form);

// The length of a line's leading code: its longest leading run of '-',
// '0'-'9', 'X' and 'x' (possibly 0). The rest of the line follows it.
size_t LeadingCodeLength(std::string_view line);

// The text panel's fields.
struct IsbnTextConvertSettings {
  std::string sourceFile;  // "原始ISBN文件："; empty by default
  std::string targetFile;  // "转换后ISBN文件："; empty by default
  // "对ISBN文件进行格式转换：" radio group; item 0 (hyphenated) by default.
  IsbnTargetForm form = IsbnTargetForm::Hyphenated;
};

// "开  始" of the text panel. Checks in page order, each refusal an
// information message and JobOutcome::Refused:
//   no file at sourceFile     -> "请指定原始ISBN文件。" (the page clears the field)
//   targetFile blank          -> "请指定转换后的ISBN文件。"
//   both name the same file   -> refused before anything is written.
// Then, busy with a progress bar over the source's lines, writes every line
// of the source (lines end at CR LF, CR or LF) to the target as: the
// converted leading code, the rest of the line unchanged, CR LF. An empty
// line stays empty; a line not starting with a code is copied as it is.
// The target is replaced only when the whole file is written. Reports
// "转换完成!". *report (may be null) receives the number of lines and
// whether the page should empty its source box.
// Throws EInOutError when a file cannot be read or written.
struct IsbnTextConvertReport {
  int64_t lineCount = 0;
  bool clearSourceFile = false;  // the source file was missing
};
JobOutcome RunIsbnTextConversion(Context& ctx, const IsbnTextConvertSettings& settings,
                                 IsbnTextConvertReport* report = nullptr);
