// "现场采购数据维护" (the buyer and tally tabs: bulk count changes, deletions,
// clearing, the text export) and the export group "将现采结果输出" of the
// purchase page. The grids read and write rows through TMainData directly.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"

struct Context;
class PageProgress;
enum class MainTable;

// "设置": sets rsnumber of every row of the tab's table to the field's whole
// number (an empty or non-numeric text counts as 0). "增减": adds it to every
// row. No question, no message. A number outside 32 bits is refused with a
// message; a result outside 32 bits changes no row and throws
// EDatabaseError.
JobOutcome SetAllCounts(Context& ctx, MainTable table, const std::string& fieldText);
JobOutcome AdjustAllCounts(Context& ctx, MainTable table, const std::string& fieldText);

// "<<删除当前行": deletes the tally row with this recno (the grid's current
// row); recno 0 (no current row) does nothing. Returns true when a row went.
bool DeleteCurrentTallyRow(Context& ctx, int64_t recno);

// "删除所有数量为零的行": deletes every tally row whose count is 0 (negative
// counts stay); returns how many went.
int64_t DeleteZeroCountRows(Context& ctx);

// "清空所有采购方数据" / "*清空所有现采数据": nothing when the table is empty;
// otherwise ClearBuyerTable / ClearLocaleTable with their boxes. No question.
void ClearAllRows(Context& ctx, MainTable table);

// The number of tally rows (the page does nothing for "导出文本 >>>" on an
// empty tally, before it shows the file box).
int64_t TallyRowCount(Context& ctx);

// "导出文本 >>>" after the file box: writes one line per tally row in recno
// order, isbn + two blanks + rsnumber + CR LF (no file when the tally is
// empty), then "导出完成!". Refuses the database file as the target.
JobOutcome ExportTallyText(Context& ctx, const std::string& path);

struct TallyExportSettings {
  std::string isbnFile;     // "ISBN文件" (edtFileName_Pn2_ISBN); empty
  bool withCopies = false;  // "带复本输出" (chkPnl23), unticked
};

// "导出" of "将现采结果输出": refuses a blank file name (plain box "请指定你要
// 输出的ISBN文件的文件名和路径！"); writes one line per tally row, isbn, or
// isbn + one blank + rsnumber with the box ticked, CR LF after each; an
// empty tally writes no file. Always ends with "导出完成!". Progress goes to
// `progress` (the group's label and bar), or the shell's bar when null.
JobOutcome ExportTally(Context& ctx, const TallyExportSettings& settings, PageProgress* progress = nullptr);
