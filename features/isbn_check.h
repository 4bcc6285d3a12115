// "利用双方ISBN文件自动匹配查重": two ISBN lists matched line by line.
//
// Every line of the supplier list, in order and written exactly as read, goes
// to the common output when the buyer list has the same line (byte for byte:
// blanks, hyphens and case all count) and to the new output otherwise. The
// buyer list is read once into a set instead of once per supplier line; the
// outputs are the same.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"

struct Context;

struct IsbnCheckSettings {
  std::string buyerFile;     // "指定采购方ISBN文件:"
  std::string supplierFile;  // "指定供应方ISBN文件:"
  std::string newFile;       // "输出采购方没有，供应商有的图书：" (optional)
  std::string commonFile;    // "输出双方都有的图书：" (optional)
};

struct IsbnCheckReport {
  bool clearBuyerFile = false;     // the page empties the buyer field (its check refused)
  bool clearSupplierFile = false;  // the page empties the supplier field
  int64_t supplierLines = 0;
  int64_t newLines = 0;     // supplier lines not on the buyer list
  int64_t commonLines = 0;  // supplier lines on it
};

// "开  始". Checks in page order: the buyer list exists ("请指定采购方ISBN文件。",
// clearBuyerFile), the supplier list exists ("请指定供应商方ISBN文件。",
// clearSupplierFile), an output is named ("最少需要指定一个输出文件。"), no
// output is an input or the other output. Then writes the named outputs
// (each line followed by CR LF; a named output is created even when nothing
// goes to it) and shows "利用双方ISBN文件自动匹配查重完成!". Throws EInOutError
// when a list cannot be read or an output written (outputs are written whole:
// a failed run leaves what was there).
JobOutcome RunIsbnCheck(Context& ctx, const IsbnCheckSettings& settings, IsbnCheckReport* report = nullptr);
