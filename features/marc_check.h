// "利用双方MARC数据自动匹配查重": the supplier's MARC file checked against the
// buyer's records (a MARC file, or the holdings imported into table buyer).
//
// For every supplier record, in file order, every buyer record is looked at
// in order with IsDuplicateRecord (supplier record first). The common-titles
// file gets the buyer record of every duplicate ("以采购方为准") or the
// supplier record once ("以供应方为准"; also always in mode 0, where the search
// ends at the first duplicate); the new-titles file gets each supplier record
// that has no duplicate. Each record is written followed by CR LF.
//
// The buyer side is indexed once (see DupIndex) instead of being read again
// for every supplier record; the files written are the same, byte for byte.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"
#include "features/dup_rules.h"

struct Context;

// "指定采购方数据源": no item is chosen when the page opens.
enum class BuyerSource {
  None = -1,
  Database = 0,  // "使用“现场采购”模块导入的采购方MARC数据作为数据源" (table buyer)
  File = 1,      // "使用指定的MARC文件作为数据源"
};

// Which record of a duplicate pair goes to the common-titles file.
enum class CommonSide {
  Buyer,     // "以采购方为准" (the default)
  Supplier,  // "以供应方为准"
};

struct MarcCheckSettings {
  BuyerSource buyerSource = BuyerSource::None;
  std::string buyerFile;     // used with BuyerSource::File
  std::string supplierFile;  // "指定供应商数据源(MARC文件)"
  MatchMode mode = MatchMode::Identical;
  // "只要这些字段：" box; in mode Fields RunMarcCheck replaces it by its
  // normalised form (see NormalizeFieldSpecList), which the page shows back.
  FieldSpecList fieldSpecList = FieldSpecList(kDefaultFieldSpecList);
  int minimum = kDefaultMinimumMatches;  // "有 [n] 个字段匹配即认为重复", 1-10
  std::string newTitlesFile;     // "输出采购方没有，供应商有的图书：" (optional)
  std::string commonTitlesFile;  // "输出双方都有的图书：" (optional)
  CommonSide commonSide = CommonSide::Buyer;
};

// What a run did, for the front ends.
struct MarcCheckReport {
  bool focusFieldSpec = false;  // the spec box is to get the focus (its check refused)
  int64_t supplierRecords = 0;  // records of the counting pass
  int64_t newTitles = 0;        // supplier records without a duplicate
  int64_t duplicated = 0;       // supplier records with at least one
};

// The page's switch to buyer source item 0 (table buyer): when the table has
// no rows, shows "“现场采购”模块中并没有导入采购方MARC数据。" and answers
// BuyerSource::File (the page switches to item 1); otherwise answers the
// choice unchanged. Throws EDatabaseError when the database cannot be read.
BuyerSource ConfirmBuyerSource(Context& ctx, BuyerSource chosen);

// "开  始". Checks in page order: a buyer source is chosen (and for File the
// file exists): "请指定采购方数据源。"; the supplier file exists:
// "请指定供应商方数据源。"; mode Fields: the normalised spec list is valid:
// "查重字段书写错误!" CR CR "请参考例子或说明" (focusFieldSpec set); an output
// is named: "最少需要指定一个输出文件。"; no output is an input or the other
// output (refused with a message saying so). Then counts the supplier
// records, creates the named outputs (written whole: a run that fails leaves
// what was there), runs the check and shows the completion message.
// A failing write of a record takes the record reader's error path of the
// scan that would have read the record; "取消" there ends the search for the
// current supplier record (buyer side) or the check (supplier side).
// Throws EInOutError / EDatabaseError for failures outside that path.
JobOutcome RunMarcCheck(Context& ctx, MarcCheckSettings& settings, MarcCheckReport* report = nullptr);
