// The local database: the buyer import and the scan lookups.
//
//   bench_database DIR [N]
//
// Generates DIR/buyer-N.iso (N realistic GBK book records, default
// 1,000,000; kept between runs), imports it into a fresh database
// DIR/bench-lumdata.mdb with the page's whole job (counting pass, batched
// import) and prints records/s; then runs 5,000 scan lookup sets on the full
// table (GetHeldCopies + GetBoughtCopies + a durable AddToTally: a scan
// that buys, the costly case) and prints the latency
// percentiles. Targets: import >= 100,000 records/s; a lookup set under
// 5 ms at the 99th percentile.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench_support.h"
#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "features/buyer_import.h"
#include "support/marc_builder.h"

namespace {

void Generate(const std::string& path, int64_t n) {
  Stopwatch watch;
  OutputFile out(path);
  BookGenerator gen(20261211);
  for (int64_t i = 1; i <= n; ++i) out.WriteLine(gen.Next(i));
  out.Commit();
  std::printf("generated %lld records in %s (%.1f s)\n", static_cast<long long>(n), path.c_str(), watch.Seconds());
}

void FreshDatabase(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((path + suffix).c_str());
}

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// What one durable write costs on this disk: 4 KB overwritten, then
// fdatasync, as a WAL commit does. The scan figures cannot beat it.
void BenchDiskFlush(const std::string& dir) {
  const std::string path = dir + "/bench-flush.tmp";
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  char page[4096] = {};
  std::vector<double> ms;
  for (int i = 0; i < 300; ++i) {
    if (pwrite(fd, page, sizeof page, (i % 8) * 4096) < 0) break;
    Stopwatch watch;
    fdatasync(fd);
    ms.push_back(watch.Seconds() * 1000);
  }
  close(fd);
  unlink(path.c_str());
  if (!ms.empty())
    std::printf("disk       fdatasync of one 4 KB page: p50 %.3f ms  p99 %.3f ms (the floor of a durable change)\n",
                Percentile(ms, 0.50), Percentile(ms, 0.99));
}

void BenchImport(Context& ctx, const std::string& marc, int64_t n) {
  BuyerImportSettings s;
  s.marcFile = marc;
  Stopwatch watch;
  const double cpu0 = CpuSeconds();
  int64_t added = 0;
  ImportBuyerData(ctx, s, &added);
  const double sec = watch.Seconds(), cpu = CpuSeconds() - cpu0;
  const double rows = static_cast<double>(added);
  std::printf("import     %9lld records %7.2f s %10.0f records/s (target >= 100000)  peak RSS %.1f MB\n",
              static_cast<long long>(added), sec, rows / sec, PeakRssMb());
  std::printf("           CPU time %.2f s -> %.0f records per CPU second (the rest is waiting on the disk)\n", cpu,
              rows / cpu);
  if (added != n) std::printf("!! expected %lld rows\n", static_cast<long long>(n));
}

void BenchScans(Context& ctx, int64_t n) {
  TMainData& db = MainData(ctx);
  BookGenerator gen(1);
  std::mt19937 rng(4242);
  std::uniform_int_distribution<int64_t> pick(1, n * 11 / 10);  // about 1 in 11 not held
  std::vector<double> ms, lookups;
  const int sets = 5000;
  int64_t held = 0;
  for (int i = 0; i < sets; ++i) {
    const std::string key = gen.IsbnFor(pick(rng));
    Stopwatch watch;
    const int32_t h = db.GetHeldCopies(key);
    const int32_t b = db.GetBoughtCopies(key);
    lookups.push_back(watch.Seconds() * 1000);
    db.AddToTally(key, 1);  // every set writes: the costly case
    (void)b;
    ms.push_back(watch.Seconds() * 1000);
    held += h > 0;
  }
  std::printf("scan set   %9d sets (%lld held) p50 %.3f ms  p99 %.3f ms (target < 5)  max %.3f ms\n", sets,
              static_cast<long long>(held), Percentile(ms, 0.50), Percentile(ms, 0.99),
              *std::max_element(ms.begin(), ms.end()));
  std::printf("lookups    two lookups alone: p50 %.3f ms  p99 %.3f ms\n", Percentile(lookups, 0.50),
              Percentile(lookups, 0.99));
  std::printf("           tally rows afterwards: %lld\n", static_cast<long long>(db.RowCount(MainTable::Locale)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_database DIR [N]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int64_t n = argc > 2 ? std::atoll(argv[2]) : 1000000;
  const std::string marc = dir + "/buyer-" + std::to_string(n) + ".iso";
  const std::string dbPath = dir + "/bench-lumdata.mdb";
  if (!FileExists(marc)) Generate(marc, n);
  FreshDatabase(dbPath);

  SilentShell shell;
  SystemClock clock;
  Context ctx{shell, clock, dir + "/bench-ErrorLog.txt", dbPath};
  BenchDiskFlush(dir);
  BenchImport(ctx, marc, n);
  BenchScans(ctx, n);
  BenchDiskFlush(dir);  // again: the disk's load may have changed meanwhile
  return 0;
}
