#include "data/MainDataUnit.h"

#include <sqlite3.h>

#include "core/clock.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/shell.h"
#include "core/text.h"

namespace {

// rsnumber is a 32-bit count; the CHECK makes the database refuse anything
// else instead of storing a value the program cannot show.
#define LUMARIN_COUNT_CHECK "CHECK (rsnumber BETWEEN -2147483648 AND 2147483647)"

const char kCreateBuyer[] =
    "CREATE TABLE IF NOT EXISTS buyer (recno INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, "
    "isbn TEXT COLLATE NOCASE, marcdata BLOB, rsnumber INTEGER " LUMARIN_COUNT_CHECK ")";
const char kCreateIndex[] = "CREATE INDEX IF NOT EXISTS indexisbn ON buyer (isbn ASC)";
// The tally's own index: not part of the stored layout the program grew up
// with, it only spares each scan a walk over the whole tally.
const char kCreateLocaleIndex[] = "CREATE INDEX IF NOT EXISTS indexlocale ON locale (isbn ASC)";
const char kCreateLocale[] =
    "CREATE TABLE IF NOT EXISTS locale (recno INTEGER PRIMARY KEY AUTOINCREMENT, "
    "isbn TEXT COLLATE NOCASE, rsnumber INTEGER " LUMARIN_COUNT_CHECK ", indate TEXT)";

const char kInsertBuyer[] = "INSERT INTO buyer (title, isbn, marcdata, rsnumber) VALUES (?1, ?2, ?3, ?4)";
const char kHeldCopies[] = "SELECT rsnumber FROM buyer WHERE isbn = ?1 ORDER BY recno LIMIT 1";
const char kHeldTitle[] = "SELECT title FROM buyer WHERE isbn = ?1 ORDER BY recno LIMIT 1";
const char kBoughtCopies[] = "SELECT rsnumber FROM locale WHERE isbn = ?1 ORDER BY recno LIMIT 1";
const char kTallyUpdate[] = "UPDATE locale SET rsnumber = rsnumber + ?1, indate = ?2 WHERE isbn = ?3";
const char kTallyInsert[] = "INSERT INTO locale (isbn, rsnumber, indate) VALUES (?1, ?2, ?3)";
const char kTallyRemove[] = "DELETE FROM locale WHERE isbn = ?1";
const char kBegin[] = "BEGIN IMMEDIATE";
const char kCommit[] = "COMMIT";
const char kRollback[] = "ROLLBACK";
const char kCountBuyer[] = "SELECT count(*) FROM buyer";
const char kCountLocale[] = "SELECT count(*) FROM locale";
const char kRecnosBuyer[] = "SELECT recno FROM buyer ORDER BY recno";
const char kRecnosLocale[] = "SELECT recno FROM locale ORDER BY recno";
const char kBuyerRows[] =
    "SELECT recno, title, isbn, rsnumber FROM buyer WHERE recno BETWEEN ?1 AND ?2 ORDER BY recno";
const char kTallyRows[] =
    "SELECT recno, isbn, rsnumber, indate FROM locale WHERE recno BETWEEN ?1 AND ?2 ORDER BY recno";
const char kBuyerRecords[] = "SELECT recno, marcdata FROM buyer ORDER BY recno";
const char kSetBuyerCopies[] = "UPDATE buyer SET rsnumber = ?2 WHERE recno = ?1";
const char kUpdateTallyRow[] = "UPDATE locale SET isbn = ?2, rsnumber = ?3, indate = ?4 WHERE recno = ?1";
const char kSetAllBuyer[] = "UPDATE buyer SET rsnumber = ?1";
const char kSetAllLocale[] = "UPDATE locale SET rsnumber = ?1";
const char kAdjustAllBuyer[] = "UPDATE buyer SET rsnumber = rsnumber + ?1";
const char kAdjustAllLocale[] = "UPDATE locale SET rsnumber = rsnumber + ?1";
const char kDeleteTallyRow[] = "DELETE FROM locale WHERE recno = ?1";
const char kDeleteZeroRows[] = "DELETE FROM locale WHERE rsnumber = 0";



std::string ColumnText(sqlite3_stmt* s, int col) {
  const void* p = sqlite3_column_blob(s, col);
  int n = sqlite3_column_bytes(s, col);
  return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
}

int32_t ColumnCount(sqlite3_stmt* s, int col) { return static_cast<int32_t>(sqlite3_column_int64(s, col)); }

void BindText(sqlite3_stmt* s, int i, std::string_view text) {
  sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

// A cached statement in use: reset (and its bindings cleared) on every way
// out, so that no statement keeps a table locked between operations.
// A statement already stepping (a lookup made from inside a walk over the
// same query) gets a fresh copy of its own instead of the cached one.
class TMainData::Statement {
 public:
  Statement(TMainData& db, const char* sql) : db_(db), s_(db.Prepare(sql)) {
    if (sqlite3_stmt_busy(s_)) {
      s_ = nullptr;
      int rc = sqlite3_prepare_v2(db.db_, sql, -1, &s_, nullptr);
      if (rc != SQLITE_OK) db.Fail(rc);
      own_ = true;
    }
  }
  ~Statement() {
    if (own_) {
      sqlite3_finalize(s_);
      return;
    }
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return s_; }
  void Text(int i, std::string_view text) { BindText(s_, i, text); }
  void Int(int i, int64_t v) { sqlite3_bind_int64(s_, i, v); }
  // One step: true for a row, false when done; throws on an error.
  bool Step() {
    int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_.Fail(rc);
  }
  // Runs a statement that returns no rows; answers the rows it changed.
  int64_t Run() {
    while (Step()) {
    }
    return sqlite3_changes64(sqlite3_db_handle(s_));
  }

 private:
  TMainData& db_;
  sqlite3_stmt* s_;
  bool own_ = false;
};

TMainData::TMainData(const std::string& path, const Clock& clock) : path_(path), clock_(clock) {
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  try {
    if (rc != SQLITE_OK) Fail(rc);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    // Another program may hold the file in the middle of a bulk import
    // (rollback journal for the while); the connection works in either mode.
    if (int wal = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        wal != SQLITE_OK && (wal & 0xFF) != SQLITE_BUSY && (wal & 0xFF) != SQLITE_LOCKED)
      Fail(wal);
    Exec("PRAGMA synchronous=FULL");
    Exec("PRAGMA cache_size=-65536");
    CreateMissingTables();
  } catch (...) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw;
  }
}

TMainData::~TMainData() {
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  if (bulkDepth_ > 0) sqlite3_exec(db_, kCommit, nullptr, nullptr, nullptr);
  sqlite3_close_v2(db_);
}

void TMainData::Fail(int rc) const {
  const std::string file = Gbk("数据库“") + Utf8ToGbk(path_) + Gbk("”");
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw EDatabaseError(file + Gbk("正被其他程序使用，请稍后再试"));
    case SQLITE_CONSTRAINT:
      throw EDatabaseError(Gbk("数量超出范围：复本数和采购数量须在-2147483648到2147483647之间"));
    case SQLITE_FULL:
      throw EDatabaseError(file + Gbk("无法写入：磁盘已满"));
    case SQLITE_READONLY:
    case SQLITE_PERM:
      throw EDatabaseError(file + Gbk("只读，无法写入"));
    case SQLITE_CANTOPEN:
      throw EDatabaseError(Gbk("无法打开或创建") + file);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      throw EDatabaseError(file + Gbk("不是本系统的数据库文件或已损坏"));
    default:
      throw EDatabaseError(Gbk("数据库操作失败：") + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc)));
  }
}

sqlite3_stmt* TMainData::Prepare(const char* sql) {
  for (auto& [key, stmt] : statements_)
    if (key == sql) return stmt;
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  if (rc != SQLITE_OK) Fail(rc);
  statements_.emplace_back(sql, stmt);
  return stmt;
}

void TMainData::Exec(const char* sql) {
  int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(rc);
}

void TMainData::CreateMissingTables() {
  Exec(kBegin);
  try {
    Exec(kCreateBuyer);
    Exec(kCreateIndex);
    Exec(kCreateLocale);
    Exec(kCreateLocaleIndex);
    Exec(kCommit);
  } catch (...) {
    sqlite3_exec(db_, kRollback, nullptr, nullptr, nullptr);
    throw;
  }
}

// ---- holdings ---------------------------------------------------------------

void TMainData::AppendRecordRow(const std::string& title, const std::string& isbn, int32_t copies,
                                std::string_view record) {
  // An I/O failure may have rolled the open batch back; start a new one so
  // that the rows after it are still grouped (the failure was reported).
  if (bulkDepth_ > 0 && sqlite3_get_autocommit(db_)) {
    Exec(kBegin);
    bulkPending_ = 0;
  }
  {
    Statement s(*this, kInsertBuyer);
    s.Text(1, title);
    s.Text(2, isbn);
    sqlite3_bind_blob(s.get(), 3, record.data(), static_cast<int>(record.size()), SQLITE_STATIC);
    s.Int(4, copies);
    s.Run();
  }
  if (bulkDepth_ > 0 && ++bulkPending_ >= bulkRowsPerCommit_) {
    Exec(kCommit);
    Exec(kBegin);
    bulkPending_ = 0;
  }
}

int32_t TMainData::LookupInt(const char* sql, const std::string& isbn) {
  try {
    Statement s(*this, sql);
    s.Text(1, isbn);
    return s.Step() ? ColumnCount(s.get(), 0) : 0;
  } catch (const std::exception&) {
    return -1;
  }
}

int32_t TMainData::GetHeldCopies(const std::string& isbn) { return LookupInt(kHeldCopies, isbn); }

int32_t TMainData::GetBoughtCopies(const std::string& isbn) { return LookupInt(kBoughtCopies, isbn); }

std::string TMainData::GetHeldTitle(const std::string& isbn) {
  try {
    Statement s(*this, kHeldTitle);
    s.Text(1, isbn);
    return s.Step() ? ColumnText(s.get(), 0) : std::string();
  } catch (const std::exception&) {
    return {};
  }
}

// ---- the tally --------------------------------------------------------------

int32_t TMainData::AddToTally(const std::string& isbn, int32_t quantity) {
  const std::string now = FormatLogTime(clock_.Now());
  // Inside a bulk import the change joins the open transaction.
  const bool own = bulkDepth_ == 0;
  if (own) Exec(kBegin);
  try {
    Statement update(*this, kTallyUpdate);
    update.Int(1, quantity);
    update.Text(2, now);
    update.Text(3, isbn);
    if (update.Run() == 0) {
      Statement insert(*this, kTallyInsert);
      insert.Text(1, isbn);
      insert.Int(2, quantity);
      insert.Text(3, now);
      insert.Run();
    }
    if (own) Exec(kCommit);
  } catch (...) {
    if (own) sqlite3_exec(db_, kRollback, nullptr, nullptr, nullptr);
    throw;
  }
  return quantity;
}

int32_t TMainData::RemoveFromTally(const std::string& isbn) {
  Statement s(*this, kTallyRemove);
  s.Text(1, isbn);
  s.Run();
  return 0;
}

// ---- clearing -----------------------------------------------------------------

void TMainData::ClearTable(MainTable table) {
  // Statements prepared on the old table would be re-prepared anyway; drop
  // them so that nothing holds the table while it goes.
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  statements_.clear();
  Exec(kBegin);
  try {
    if (table == MainTable::Buyer) {
      Exec("DROP TABLE IF EXISTS buyer");
      Exec(kCreateBuyer);
      Exec(kCreateIndex);
    } else {
      Exec("DROP TABLE IF EXISTS locale");
      Exec(kCreateLocale);
      Exec(kCreateLocaleIndex);
    }
    Exec(kCommit);
  } catch (...) {
    sqlite3_exec(db_, kRollback, nullptr, nullptr, nullptr);
    throw;
  }
}

void TMainData::ClearBuyerTable(Shell& shell) {
  ClearTable(MainTable::Buyer);
  shell.ShowResult(MessageStyle::Information, Gbk("完成清空采购方数据库!"));
}

void TMainData::ClearLocaleTable(Shell& shell) {
  ClearTable(MainTable::Locale);
  shell.ShowResult(MessageStyle::Information, Gbk("完成清空本次现采数据库!"));
}

// ---- rows ---------------------------------------------------------------------

int64_t TMainData::RowCount(MainTable table) {
  Statement s(*this, table == MainTable::Buyer ? kCountBuyer : kCountLocale);
  return s.Step() ? sqlite3_column_int64(s.get(), 0) : 0;
}

std::vector<int64_t> TMainData::Recnos(MainTable table) {
  std::vector<int64_t> out;
  Statement s(*this, table == MainTable::Buyer ? kRecnosBuyer : kRecnosLocale);
  while (s.Step()) out.push_back(sqlite3_column_int64(s.get(), 0));
  return out;
}

std::vector<BuyerRow> TMainData::BuyerRows(int64_t first, int64_t last) {
  std::vector<BuyerRow> out;
  Statement s(*this, kBuyerRows);
  s.Int(1, first);
  s.Int(2, last);
  while (s.Step())
    out.push_back({sqlite3_column_int64(s.get(), 0), ColumnText(s.get(), 1), ColumnText(s.get(), 2),
                   ColumnCount(s.get(), 3)});
  return out;
}

std::vector<TallyRow> TMainData::TallyRows(int64_t first, int64_t last) {
  std::vector<TallyRow> out;
  Statement s(*this, kTallyRows);
  s.Int(1, first);
  s.Int(2, last);
  while (s.Step())
    out.push_back({sqlite3_column_int64(s.get(), 0), ColumnText(s.get(), 1), ColumnCount(s.get(), 2),
                   ColumnText(s.get(), 3)});
  return out;
}

void TMainData::ForEachBuyerRow(const std::function<void(const BuyerRow&)>& callback) {
  Statement s(*this, kBuyerRows);
  s.Int(1, 0);
  s.Int(2, std::numeric_limits<int64_t>::max());
  BuyerRow row;
  while (s.Step()) {
    row.recno = sqlite3_column_int64(s.get(), 0);
    row.title = ColumnText(s.get(), 1);
    row.isbn = ColumnText(s.get(), 2);
    row.rsnumber = ColumnCount(s.get(), 3);
    callback(row);
  }
}

void TMainData::ForEachBuyerRecord(const std::function<void(int64_t, std::string_view)>& callback) {
  Statement s(*this, kBuyerRecords);
  while (s.Step()) {
    const void* p = sqlite3_column_blob(s.get(), 1);
    size_t n = static_cast<size_t>(sqlite3_column_bytes(s.get(), 1));
    callback(sqlite3_column_int64(s.get(), 0), p ? std::string_view(static_cast<const char*>(p), n) : std::string_view());
  }
}

void TMainData::ForEachTallyRow(const std::function<void(const TallyRow&)>& callback) {
  for (const TallyRow& row : TallyRows()) callback(row);
}

void TMainData::SetBuyerCopies(int64_t recno, int32_t copies) {
  Statement s(*this, kSetBuyerCopies);
  s.Int(1, recno);
  s.Int(2, copies);
  s.Run();
}

void TMainData::UpdateTallyRow(const TallyRow& row) {
  Statement s(*this, kUpdateTallyRow);
  s.Int(1, row.recno);
  s.Text(2, row.isbn);
  s.Int(3, row.rsnumber);
  s.Text(4, row.indate);
  s.Run();
}

void TMainData::SetAllCopies(MainTable table, int32_t copies) {
  Statement s(*this, table == MainTable::Buyer ? kSetAllBuyer : kSetAllLocale);
  s.Int(1, copies);
  s.Run();
}

void TMainData::AdjustAllCopies(MainTable table, int32_t delta) {
  Statement s(*this, table == MainTable::Buyer ? kAdjustAllBuyer : kAdjustAllLocale);
  s.Int(1, delta);
  s.Run();
}

void TMainData::DeleteTallyRow(int64_t recno) {
  Statement s(*this, kDeleteTallyRow);
  s.Int(1, recno);
  s.Run();
}

int64_t TMainData::DeleteZeroTallyRows() {
  Statement s(*this, kDeleteZeroRows);
  return s.Run();
}

// ---- bulk appends -------------------------------------------------------------

// Rows per transaction: each commit journals the index pages it touched
// (scattered, since ISBNs come in no order), so fewer, larger batches write
// much less; 100,000 rows (about 100 MB of records) keep the journal and
// what a crash can take back bounded.
void TMainData::BeginBulk(int64_t rowsPerCommit) {
  if (bulkDepth_++ == 0) {
    bulkRowsPerCommit_ = rowsPerCommit > 0 ? rowsPerCommit : BulkAppend::kRowsPerCommit;
    // Appended pages need no rollback journal, whereas WAL would write every
    // page twice (log, then checkpoint). Leaving WAL needs the file to
    // ourselves; when another program has it open the import stays in WAL.
    sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    try {
      Exec(kBegin);
    } catch (...) {
      bulkDepth_ = 0;
      throw;
    }
    bulkPending_ = 0;
  }
}

void TMainData::EndBulk(bool mayThrow) {
  if (bulkDepth_ == 0 || --bulkDepth_ > 0) return;
  if (sqlite3_get_autocommit(db_)) {  // rolled back by a failure already reported
    sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    return;
  }
  int rc = sqlite3_exec(db_, kCommit, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) sqlite3_exec(db_, kRollback, nullptr, nullptr, nullptr);
  sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK && mayThrow) Fail(rc);
}

TMainData::BulkAppend::BulkAppend(TMainData& db, int64_t rowsPerCommit) : db_(db) { db_.BeginBulk(rowsPerCommit); }

TMainData::BulkAppend::~BulkAppend() {
  if (!done_) db_.EndBulk(false);
}

void TMainData::BulkAppend::Commit() {
  if (done_) return;
  done_ = true;
  db_.EndBulk(true);
}

TMainData& MainData(Context& ctx) {
  if (!ctx.data) ctx.data = std::make_shared<TMainData>(ctx.databasePath, ctx.clock);
  return *ctx.data;
}
