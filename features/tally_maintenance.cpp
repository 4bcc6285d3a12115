#include "features/tally_maintenance.h"

#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "features/page_progress.h"
#include "features/whole_number.h"

namespace {

// The field's whole number (0 for an empty or non-numeric text), or false
// after refusing a number too large for a count.
bool FieldNumber(Context& ctx, const std::string& text, int32_t* value) {
  *value = 0;
  int32_t n = 0;
  switch (ParseWholeNumber(text, &n)) {
    case WholeNumber::Valid:
      *value = n;
      return true;
    case WholeNumber::NotANumber:
      return true;
    case WholeNumber::OutOfRange:
      break;
  }
  ctx.shell.ShowMessage(MessageStyle::Information, Gbk("请输入-2147483648到2147483647之间的整数"));
  return false;
}

bool RefuseDatabaseAsTarget(Context& ctx, const std::string& path) {
  if (!SameFile(path, ctx.databasePath)) return false;
  ctx.shell.ShowMessage(MessageStyle::Information, Gbk("输出文件不能是本系统的数据库文件，请另选一个文件。"));
  return true;
}

void ShowExportDone(Context& ctx) { ctx.shell.ShowResult(MessageStyle::Information, Gbk("导出完成!")); }

}  // namespace

JobOutcome SetAllCounts(Context& ctx, MainTable table, const std::string& fieldText) {
  int32_t n = 0;
  if (!FieldNumber(ctx, fieldText, &n)) return JobOutcome::Refused;
  MainData(ctx).SetAllCopies(table, n);
  return JobOutcome::Done;
}

JobOutcome AdjustAllCounts(Context& ctx, MainTable table, const std::string& fieldText) {
  int32_t n = 0;
  if (!FieldNumber(ctx, fieldText, &n)) return JobOutcome::Refused;
  if (n != 0) MainData(ctx).AdjustAllCopies(table, n);
  return JobOutcome::Done;
}

bool DeleteCurrentTallyRow(Context& ctx, int64_t recno) {
  if (recno <= 0) return false;
  TMainData& db = MainData(ctx);
  const int64_t before = db.RowCount(MainTable::Locale);
  db.DeleteTallyRow(recno);
  return db.RowCount(MainTable::Locale) < before;
}

int64_t DeleteZeroCountRows(Context& ctx) { return MainData(ctx).DeleteZeroTallyRows(); }

void ClearAllRows(Context& ctx, MainTable table) {
  TMainData& db = MainData(ctx);
  if (db.RowCount(table) == 0) return;
  if (table == MainTable::Buyer)
    db.ClearBuyerTable(ctx.shell);
  else
    db.ClearLocaleTable(ctx.shell);
}

int64_t TallyRowCount(Context& ctx) { return MainData(ctx).RowCount(MainTable::Locale); }

JobOutcome ExportTallyText(Context& ctx, const std::string& path) {
  if (RefuseDatabaseAsTarget(ctx, path)) return JobOutcome::Refused;
  std::vector<TallyRow> rows = MainData(ctx).TallyRows();
  if (!rows.empty()) {
    OutputFile out(path);
    for (const TallyRow& row : rows) out.WriteLine(row.isbn + "  " + ToDecimal(row.rsnumber));
    out.Commit();
  }
  ShowExportDone(ctx);
  return JobOutcome::Done;
}

JobOutcome ExportTally(Context& ctx, const TallyExportSettings& s, PageProgress* progress) {
  if (TrimBlanks(s.isbnFile).empty()) {
    ctx.shell.ShowMessage(MessageStyle::Plain, Gbk("请指定你要输出的ISBN文件的文件名和路径！"));
    return JobOutcome::Refused;
  }
  if (RefuseDatabaseAsTarget(ctx, s.isbnFile)) return JobOutcome::Refused;
  std::vector<TallyRow> rows = MainData(ctx).TallyRows();
  if (!rows.empty()) {
    PageProgressGuard bar(ctx.shell, progress, static_cast<int64_t>(rows.size()));
    OutputFile out(s.isbnFile);
    int64_t n = 0;
    for (const TallyRow& row : rows) {
      out.WriteLine(s.withCopies ? row.isbn + " " + ToDecimal(row.rsnumber) : row.isbn);
      bar.SetPosition(++n);
    }
    out.Commit();
  }
  ShowExportDone(ctx);
  return JobOutcome::Done;
}
