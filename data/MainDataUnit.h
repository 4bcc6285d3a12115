// The local database: the buyer's holdings (table buyer) and the tally of an
// on-site purchase (table locale), kept in one SQLite file ("lumdata.mdb")
// from one run to the next.
//
// Schema (created when the file or a table is missing):
//   buyer  (recno INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, isbn TEXT,
//           marcdata BLOB, rsnumber INTEGER)   + index indexisbn on isbn
//   locale (recno INTEGER PRIMARY KEY AUTOINCREMENT, isbn TEXT,
//           rsnumber INTEGER, indate TEXT)
//
// Text columns hold the program's GBK bytes unchanged; marcdata holds the
// record text byte for byte. title is meant for up to 50 characters and the
// isbn columns for up to 20 (the widths the grids are laid out for); a longer
// value is stored whole, never cut and never refused, so no holding and no
// purchase is lost. rsnumber is a 32-bit signed count: a change that would
// leave it outside that range is refused with EDatabaseError and changes
// nothing. isbn keys compare byte for byte except that ASCII letters match
// regardless of case (the check character X is written either way).
//
// Durability: the file runs in WAL mode with synchronous=FULL, so a change is
// on disk when the call that made it returns; a tally change survives a
// process kill or a power cut right after it. While a BulkAppend runs, the
// file uses a rollback journal instead (appended pages are then written
// once, not twice) when no other program has it open; each batch is still
// committed with a full sync. Every statement is parameterised and prepared
// once per connection.
//
// indate is written as "yyyy-mm-dd hh:mm:ss" (local time, fixed width, so
// that it reads the same on every machine and sorts by time).
//
// One TMainData is used from one thread. Several processes (the desktop
// program and lumarin-cli) may have the file open at once; a writer waits up
// to 5 s for another's lock before failing.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Context;
class Clock;
class Shell;
struct sqlite3;
struct sqlite3_stmt;

// The two tables, for the operations that work on either.
enum class MainTable { Buyer, Locale };

// A row of buyer as the grid shows it (marcdata is left out; see
// ForEachBuyerRecord).
struct BuyerRow {
  int64_t recno = 0;
  std::string title;
  std::string isbn;
  int32_t rsnumber = 0;
};

// A row of locale.
struct TallyRow {
  int64_t recno = 0;
  std::string isbn;
  int32_t rsnumber = 0;
  std::string indate;
};

class TMainData {
 public:
  // Opens the database file, creating it (and any missing table or the
  // index) when needed. `clock` stamps the tally's indate and must outlive
  // this object. Throws EDatabaseError when the file cannot be opened or
  // created, or is not a database of this program.
  TMainData(const std::string& path, const Clock& clock);
  ~TMainData();
  TMainData(const TMainData&) = delete;
  TMainData& operator=(const TMainData&) = delete;

  const std::string& path() const { return path_; }

  // ---- holdings (buyer) ---------------------------------------------------

  // Appends one row to buyer: title, isbn, copies and the record text as
  // marcdata. The row is committed at once, or with its batch while a
  // BulkAppend is alive. Throws EDatabaseError.
  void AppendRecordRow(const std::string& title, const std::string& isbn, int32_t copies,
                       std::string_view record);

  // rsnumber of the first buyer row (lowest recno) with this isbn; 0 when
  // there is none; -1 when the lookup fails. Never throws.
  int32_t GetHeldCopies(const std::string& isbn);
  // title of the first buyer row with this isbn; empty when there is none or
  // the lookup fails. Never throws.
  std::string GetHeldTitle(const std::string& isbn);

  // ---- the tally (locale) --------------------------------------------------

  // rsnumber of the first tally row with this isbn; 0 when there is none; -1
  // when the lookup fails. Never throws.
  int32_t GetBoughtCopies(const std::string& isbn);
  // Adds `quantity` to every tally row of `isbn` and stamps indate with the
  // clock ("yyyy-mm-dd hh:mm:ss"); when there is no such row, inserts one
  // with rsnumber = quantity. Update and insert are one durable transaction.
  // A negative quantity lowers the count (or creates a negative row): callers
  // that must never lower the tally check the quantity first. Returns
  // `quantity` itself, not the new total. Throws EDatabaseError.
  int32_t AddToTally(const std::string& isbn, int32_t quantity);
  // Deletes every tally row of `isbn` (none is no error). Returns 0. Throws
  // EDatabaseError.
  int32_t RemoveFromTally(const std::string& isbn);

  // ---- clearing --------------------------------------------------------------

  // Drops and recreates buyer with indexisbn (a missing table is simply
  // created), then shows "完成清空采购方数据库!" as an information box. A
  // failure changes nothing, shows no box and throws EDatabaseError.
  void ClearBuyerTable(Shell& shell);
  // The same for locale, with "完成清空本次现采数据库!".
  void ClearLocaleTable(Shell& shell);

  // ---- walking and editing the rows (grids, exports) ---------------------

  // Number of rows; throws EDatabaseError.
  int64_t RowCount(MainTable table);
  // The recno of every row in ascending order (row order).
  std::vector<int64_t> Recnos(MainTable table);
  // Rows with first <= recno <= last, ascending.
  std::vector<BuyerRow> BuyerRows(int64_t first = 0, int64_t last = std::numeric_limits<int64_t>::max());
  std::vector<TallyRow> TallyRows(int64_t first = 0, int64_t last = std::numeric_limits<int64_t>::max());
  // Calls back once per buyer row in ascending recno (without marcdata). The
  // callback must not change buyer.
  void ForEachBuyerRow(const std::function<void(const BuyerRow&)>& callback);
  // Calls back once per buyer row in ascending recno with its marcdata (valid
  // only during the call). The callback must not change buyer.
  void ForEachBuyerRecord(const std::function<void(int64_t recno, std::string_view marcdata)>& callback);
  // Calls back once per tally row in ascending recno.
  void ForEachTallyRow(const std::function<void(const TallyRow&)>& callback);

  // Writes one edited row (by recno; a vanished row is no error).
  void SetBuyerCopies(int64_t recno, int32_t copies);
  void UpdateTallyRow(const TallyRow& row);
  // Sets every row's rsnumber to `copies`, or adds `delta` to it, as one
  // statement: when one row would leave the 32-bit range, nothing changes
  // and EDatabaseError is thrown.
  void SetAllCopies(MainTable table, int32_t copies);
  void AdjustAllCopies(MainTable table, int32_t delta);
  // Deletes one tally row by recno; deletes every tally row whose rsnumber
  // is 0 and returns how many went.
  void DeleteTallyRow(int64_t recno);
  int64_t DeleteZeroTallyRows();

  // Groups the appends of a bulk import into transactions of 100,000 rows
  // each, keeping their order. Commit() commits what is pending and
  // throws EDatabaseError on failure; the destructor commits what is pending
  // too (rows already appended stay when the import ends by an error), but
  // cannot report a failure. Nested groups join the outer one.
  class BulkAppend {
   public:
    static constexpr int64_t kRowsPerCommit = 100000;
    // `rowsPerCommit` applies when this is the outermost group.
    explicit BulkAppend(TMainData& db, int64_t rowsPerCommit = kRowsPerCommit);
    ~BulkAppend();
    BulkAppend(const BulkAppend&) = delete;
    BulkAppend& operator=(const BulkAppend&) = delete;
    void Commit();

   private:
    TMainData& db_;
    bool done_ = false;
  };

 private:
  class Statement;
  friend class BulkAppend;
  sqlite3_stmt* Prepare(const char* sql);
  void Exec(const char* sql);
  void CreateMissingTables();
  void ClearTable(MainTable table);
  int32_t LookupInt(const char* sql, const std::string& isbn);
  [[noreturn]] void Fail(int rc) const;
  void BeginBulk(int64_t rowsPerCommit);
  void EndBulk(bool mayThrow);

  std::string path_;
  const Clock& clock_;
  sqlite3* db_ = nullptr;
  std::vector<std::pair<const char*, sqlite3_stmt*>> statements_;
  int bulkDepth_ = 0;
  int64_t bulkPending_ = 0;
  int64_t bulkRowsPerCommit_ = 0;
};

// The database of the context, opened from ctx.databasePath on first use
// (and kept in ctx.data). Throws EDatabaseError when it cannot be opened.
TMainData& MainData(Context& ctx);
