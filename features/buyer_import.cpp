#include "features/buyer_import.h"

#include <chrono>

#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "features/page_progress.h"
#include "features/whole_number.h"

namespace {

int32_t CopiesOrOne(std::string_view text) {
  int32_t n = 1;
  return ParseWholeNumber(text, &n) == WholeNumber::Valid ? n : 1;
}

// An ISBN list must not replace the file it is read from, nor the database.
bool RefuseOwnInput(Context& ctx, const std::string& out, const std::string& input) {
  if (!input.empty() && SameFile(out, input)) {
    ctx.shell.ShowMessage(MessageStyle::Information, Gbk("ISBN文件不能与MARC文件相同，请另选一个文件。"));
    return true;
  }
  if (SameFile(out, ctx.databasePath)) {
    ctx.shell.ShowMessage(MessageStyle::Information, Gbk("ISBN文件不能是本系统的数据库文件，请另选一个文件。"));
    return true;
  }
  return false;
}

}  // namespace

int32_t CopiesFor(const BuyerImportSettings& s, const TMarcRecord& record) {
  if (s.initialCopiesOn) return CopiesOrOne(s.initialCopies);
  if (s.copiesFieldOn) return CopiesOrOne(record.GetValue(s.copiesField));
  return 1;
}

void ImportBuyerRecord(TMainData& db, const BuyerImportSettings& settings, const std::string& record) {
  TMarcRecord rec(record);
  db.AppendRecordRow(rec.GetValue("200a"), rec.GetValue("010a"), CopiesFor(settings, rec), record);
}

std::string StoredRowsText(int64_t rows) {
  return Gbk("本系统数据库中已存 ") + ToDecimal(rows) + Gbk(" 条记录");
}

std::string ImportQuestion(int64_t rows, int64_t records) {
  return Gbk("已存在采购方MARC数据  ") + ToDecimal(rows) + Gbk("条") + "\r\r" + Gbk("本次将导入") +
         ToDecimal(records) + Gbk("条数据") + "\r\r\r" + Gbk("是否继续导入？");
}

JobOutcome ImportBuyerData(Context& ctx, const BuyerImportSettings& s, int64_t* added) {
  Shell& shell = ctx.shell;
  if (!FileExists(s.marcFile)) {
    shell.ShowMessage(MessageStyle::Plain, Gbk("指定的文件不存在！"));
    return JobOutcome::Refused;
  }
  TMainData& db = MainData(ctx);
  const int64_t before = db.RowCount(MainTable::Buyer);
  int64_t total = 0;
  {
    BusyGuard busy(shell);
    total = CountMarcRecords(ctx, s.marcFile);
  }
  if (before > 0 && !shell.Ask(ImportQuestion(before, total), Gbk("提示信息"))) return JobOutcome::Refused;

  int64_t after = 0;
  {
    BusyGuard busy(shell);
    shell.SetProgressTotal(total);
    shell.SetProgressPosition(0);
    shell.ShowProgress();
    TMainData::BulkAppend bulk(db);
    ScanMarcFile(ctx, s.marcFile, [&](int64_t recordNo, const std::string& record, bool&) {
      shell.SetProgressPosition(recordNo);
      ImportBuyerRecord(db, s, record);
    });
    bulk.Commit();
    after = db.RowCount(MainTable::Buyer);
  }
  if (added) *added = after - before;
  shell.ShowResult(MessageStyle::Information,
                   Gbk("采购方MARC数据导入完成！") + "\r\r" + Gbk("共导入 ") + ToDecimal(after - before) + Gbk(" 条记录"));
  return JobOutcome::Done;
}

namespace {

void WriteTableIsbns(Context& ctx, TMainData& db, int64_t rows, const std::string& path, PageProgress* progress) {
  PageProgressGuard bar(ctx.shell, progress, rows);
  OutputFile out(path);
  EventPump pump(ctx.shell);
  int64_t n = 0;
  db.ForEachBuyerRow([&](const BuyerRow& row) {
    out.WriteLine(row.isbn);
    bar.SetPosition(++n);
    pump.Tick();
  });
  out.Commit();
}

void WriteFileIsbns(Context& ctx, const std::string& marcFile, const std::string& path, PageProgress* progress) {
  PageProgressGuard bar(ctx.shell, progress, CountMarcRecords(ctx, marcFile));
  OutputFile out(path);
  ScanMarcFile(ctx, marcFile, [&](int64_t recordNo, const std::string& record, bool&) {
    out.WriteLine(TMarcRecord(record).GetValue("010a"));
    bar.SetPosition(recordNo);
  });
  out.Commit();
}

}  // namespace

JobOutcome ExportBuyerIsbns(Context& ctx, const BuyerImportSettings& s, PageProgress* progress) {
  Shell& shell = ctx.shell;
  if (TrimBlanks(s.isbnFile).empty()) {
    shell.ShowMessage(MessageStyle::Plain, Gbk("请指定你要输出的ISBN文件的文件名和路径！"));
    return JobOutcome::Refused;
  }
  TMainData& db = MainData(ctx);
  int64_t rows = 0;
  {
    BusyGuard busy(shell);
    rows = db.RowCount(MainTable::Buyer);
    if (rows == 0 && TrimBlanks(s.marcFile).empty()) {
      shell.ShowMessage(MessageStyle::Information, Gbk("请指定MARC数据文件"));
      return JobOutcome::Refused;
    }
    if (RefuseOwnInput(ctx, s.isbnFile, rows > 0 ? std::string() : s.marcFile)) return JobOutcome::Refused;
    if (rows > 0)
      WriteTableIsbns(ctx, db, rows, s.isbnFile, progress);
    else
      WriteFileIsbns(ctx, s.marcFile, s.isbnFile, progress);
  }
  shell.ShowResult(MessageStyle::Information, rows > 0 ? Gbk("将本系统数据库中的ISBN导出完成!")
                                                       : Gbk("将MARC文件中的ISBN导出完成!"));
  return JobOutcome::Done;
}
