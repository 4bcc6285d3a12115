// "利用ISBN输出供应商MARC数据": the supplier's records of a purchased ISBN list.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"

struct Context;

struct SupplierExtractSettings {
  std::string supplierFile;  // "供应商的MARC文件路径：" (edtFileName_Pn3_m1)
  std::string isbnFile;      // "要采购的ISBN文件路径：" (edtFileName_Pn3_isbn)
  // "输出：" 0 = "按MARC文件顺序" (default), 1 = "按ISBN文件顺序".
  int order = 0;
  std::string outputFile;  // "要输出的MARC文件：" (edtFileName_Pn3_m2); appended to
};

// "开  始". Checks the inputs in page order, then appends to the output file
// (created when missing, never emptied) each supplier record whose first
// 010 $a equals a whole list line, each followed by CR LF:
//  - MARC order: every such record once, in supplier-file order;
//  - ISBN order: for each list line in order, the first record with that
//    key (a line listed twice gives its record twice).
// The result is that of reading the list once per supplier record (MARC
// order) or the supplier file once per list line (ISBN order), damaged
// records and the user's answers included; it is reached through an index
// of the list or of the supplier file. *written (may be null) receives the
// number of records appended.
JobOutcome RunSupplierExtract(Context& ctx, const SupplierExtractSettings& settings, int64_t* written = nullptr);
