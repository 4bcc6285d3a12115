// The purchase page's scan, measured as the clerk meets it: one call of the
// scanning engine per Enter, from the scanned barcode to the panel texts,
// with the tally change durable before the call returns.
//
//   bench_scan DIR [N] [TALLY]
//
// Builds DIR/scan-lumdata.mdb with N buyer rows (default 1,000,000; realistic
// GBK records as marcdata, ISBNs stored hyphenated as CNMARC writes them;
// kept between runs), fills the tally with TALLY rows of other titles
// (default 20,000: a large fair, written in one transaction), then scans thirteen-digit barcodes
// (about one in ten not held) and prints latency percentiles per mode:
//   continuous  CheckIsbn + two lookups + AddToTally (target 100: every scan buys)
//   confirm     the purchase scan (check + two lookups), then the quantity's
//               Enter (one tally change)
//   reminder    check + one title lookup
// Target: a whole scan under 5 ms at the 99th percentile. The durable
// write's floor on the disk (one fdatasync) is printed alongside.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include <sqlite3.h>

#include "bench_support.h"
#include "core/beeper.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "features/onsite_scan.h"
#include "support/marc_builder.h"

namespace {

// The nine digits of book n (group 7, a four-digit publisher prefix).
std::string Body(int64_t n) { return "7" + std::to_string(50000000 + n); }
// As the buyer's record holds it: 7-5xxx-xxxx-c.
std::string StoredIsbn(int64_t n) { return FormatIsbn(CheckIsbn(Body(n) + "0").Isbn); }
// As the scanner delivers it: the EAN-13 barcode.
std::string Barcode(int64_t n) {
  std::string twelve = "978" + Body(n);
  return twelve + Ean13CheckDigit(twelve);
}

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

void Report(const char* what, const std::vector<double>& ms) {
  std::printf("%-22s %6zu calls  p50 %.3f ms  p99 %.3f ms  max %.3f ms%s\n", what, ms.size(), Percentile(ms, 0.50),
              Percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()),
              Percentile(ms, 0.99) < 5.0 ? "" : "   !! above the 5 ms target");
}

// What one durable write costs on this disk (4 KB rewritten, then
// fdatasync, as a WAL commit does): the floor under every buying scan.
// Probed between the scans, so that it sees the same disk they see.
class DiskProbe {
 public:
  explicit DiskProbe(const std::string& dir) : path_(dir + "/bench-scan-flush.tmp") {
    fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  }
  ~DiskProbe() {
    if (fd_ >= 0) close(fd_);
    unlink(path_.c_str());
  }
  void Probe() {
    static const char page[4096] = {};
    if (fd_ < 0 || pwrite(fd_, page, sizeof page, (ms.size() % 8) * 4096) < 0) return;
    Stopwatch watch;
    fdatasync(fd_);
    ms.push_back(watch.Seconds() * 1000);
  }
  std::vector<double> ms;

 private:
  std::string path_;
  int fd_ = -1;
};

void BuildBuyer(Context& ctx, int64_t n) {
  TMainData& db = MainData(ctx);
  if (db.RowCount(MainTable::Buyer) == n) return;
  db.ClearBuyerTable(ctx.shell);
  Stopwatch watch;
  BookGenerator gen(20261211);
  TMainData::BulkAppend bulk(db);
  for (int64_t i = 1; i <= n; ++i) {
    db.AppendRecordRow(Gbk("红楼梦（第") + std::to_string(i % 30 + 1) + Gbk("卷）"), StoredIsbn(i),
                       static_cast<int32_t>(i % 3), gen.Next(i));
  }
  bulk.Commit();
  std::printf("built %lld buyer rows in %.1f s\n", static_cast<long long>(n), watch.Seconds());
}

// The tally of a fair already well under way: rows for titles the scans
// below never hit (the engine's tally lookups walk this table).
void FillTally(Context& ctx, int64_t rows) {
  MainData(ctx).ClearLocaleTable(ctx.shell);
  ctx.data.reset();
  sqlite3* db = nullptr;
  sqlite3_open(ctx.databasePath.c_str(), &db);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO locale (isbn, rsnumber, indate) VALUES (?1, 1, '2026-03-04 05:06:07')", -1,
                     &insert, nullptr);
  for (int64_t i = 1; i <= rows; ++i) {
    const std::string isbn = StoredIsbn(40000000 + i);  // 7-9xxxxx-xx-c: never scanned below
    sqlite3_bind_text(insert, 1, isbn.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_scan DIR [N]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int64_t n = argc > 2 ? std::atoll(argv[2]) : 1000000;
  SilentShell shell;
  SystemClock clock;
  Context ctx{shell, clock, dir + "/bench-ErrorLog.txt", dir + "/scan-lumdata.mdb"};
  const int64_t tally = argc > 3 ? std::atoll(argv[3]) : 20000;
  BuildBuyer(ctx, n);
  FillTally(ctx, tally);

  SilentBeeper beeper;
  OnsiteScan scan(ctx, beeper);
  OnsiteScanSettings settings;
  settings.target = 100;
  std::mt19937 rng(4242);
  std::uniform_int_distribution<int64_t> pick(1, n * 11 / 10);  // about 1 in 11 not held
  const int scans = 5000;
  std::vector<double> continuous, purchase, quantity, pair, reminder;
  auto timed = [](std::vector<double>& into, auto&& call) {
    Stopwatch watch;
    call();
    into.push_back(watch.Seconds() * 1000);
  };
  DiskProbe disk(dir);
  for (int i = 0; i < scans; ++i) {
    disk.Probe();
    const std::string code = Barcode(pick(rng));
    timed(continuous, [&] { scan.Enter(settings, ScanField::edtLXCG, code); });
    Stopwatch both;
    timed(purchase, [&] { scan.Enter(settings, ScanField::edtZTCG, Barcode(pick(rng))); });
    timed(quantity, [&] { scan.Enter(settings, ScanField::edtZTQR, "1"); });
    pair.push_back(both.Seconds() * 1000);
    timed(reminder, [&] { scan.Enter(settings, ScanField::edtJD, Barcode(pick(rng))); });
  }
  std::printf("buyer rows %lld, tally rows %lld before the scans, %lld after\n", static_cast<long long>(n),
              static_cast<long long>(tally), static_cast<long long>(MainData(ctx).RowCount(MainTable::Locale)));
  if (!disk.ms.empty()) Report("disk: one fdatasync", disk.ms);
  Report("continuous scan", continuous);
  Report("confirm: scan", purchase);
  Report("confirm: quantity", quantity);
  Report("confirm: scan+quantity", pair);
  Report("reminder scan", reminder);
  return 0;
}
