// "导入采购方MARC数据": loading the buyer's MARC file into table buyer, and
// the ISBN list of the imported holdings (or of the MARC file while the
// table is empty).
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"

struct Context;
class PageProgress;
class TMainData;
class TMarcRecord;

struct BuyerImportSettings {
  std::string marcFile;             // "采购方MARC" (edtFileName_Pn1_MARC); empty
  bool initialCopiesOn = false;     // "初始复本数：", unticked
  std::string initialCopies;        // its number field; empty
  bool copiesFieldOn = false;       // "指定复本字段：", unticked
  std::string copiesField = "905f"; // its spec field
  std::string isbnFile;             // "输出ISBN" (edtFileName_Pn1_ISBN); empty
};

// The copies of one imported record: the initial count when that option is
// ticked, else the value of the copies field (GetValue of the spec) when
// that one is, else 1. A text that is not a whole 32-bit number (optional
// blanks and sign, then digits only), or an empty one, gives 1.
int32_t CopiesFor(const BuyerImportSettings& settings, const TMarcRecord& record);

// The per-record step of the import: one buyer row with title = 200a,
// isbn = 010a (uncleaned, from the first field with the tag), the copies
// above and the record text. Throws EConvertError for a record whose base
// address is not a number, EDatabaseError when the row cannot be written.
void ImportBuyerRecord(TMainData& db, const BuyerImportSettings& settings, const std::string& record);

// The count label shown after browsing: "本系统数据库中已存 N 条记录".
std::string StoredRowsText(int64_t rows);

// The question asked before importing into a non-empty table; line breaks
// are single CR characters.
std::string ImportQuestion(int64_t rows, int64_t records);

// "导  入": refuses a missing MARC file ("指定的文件不存在！", plain box);
// counts the records; when buyer has rows asks ImportQuestion (No: Refused,
// nothing changed); then imports every record through the record reader in
// batched transactions (rows keep the file's order after the existing ones)
// and reports how many rows were added. *added (may be null) receives that
// number. Throws EInOutError / EDatabaseError.
JobOutcome ImportBuyerData(Context& ctx, const BuyerImportSettings& settings, int64_t* added = nullptr);

// "导  出": refuses a blank ISBN file name (plain box "请指定你要输出的ISBN文件
// 的文件名和路径！"). With buyer rows it writes the isbn of every row in recno
// order ("将本系统数据库中的ISBN导出完成!"); with none it needs the MARC file
// ("请指定MARC数据文件") and writes the 010a of each of its records (a missing
// file gives an empty list). One value per line, CR LF, bytes unchanged.
// The list never replaces its own input or the database file. Progress goes
// to `progress` (the page's label and bar), or to the shell's bar when null.
JobOutcome ExportBuyerIsbns(Context& ctx, const BuyerImportSettings& settings, PageProgress* progress = nullptr);
