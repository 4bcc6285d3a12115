// Supplier records by ISBN: 10,000 listed ISBNs from a 1,000,000-record
// supplier file, in both orders, beside the nested reading on a sample.
//
//   bench_extract DIR [RECORDS] [LIST]
#include <sys/stat.h>

#include <cstdlib>

#include "bench_support.h"
#include "core/commonUnit.h"
#include "features/supplier_extract.h"
#include "support/marc_builder.h"

namespace {

void EnsureSupplier(const std::string& path, int64_t n) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return;
  OutputFile out(path);
  BookGenerator gen(7);
  for (int64_t i = 1; i <= n; ++i) out.WriteLine(gen.Next(i));
  out.Commit();
}

double RunOrder(Context& ctx, const SupplierExtractSettings& s, int64_t* written) {
  std::remove(s.outputFile.c_str());
  Stopwatch w;
  RunSupplierExtract(ctx, s, written);
  return w.Seconds();
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : "/tmp/lumarin-bench";
  int64_t records = argc > 2 ? std::atoll(argv[2]) : 1000000;
  int64_t listed = argc > 3 ? std::atoll(argv[3]) : 10000;
  MakeDirs(dir);
  std::string supplier = dir + "/supplier-" + std::to_string(records) + ".iso";
  EnsureSupplier(supplier, records);
  BookGenerator gen(7);
  {
    OutputFile list(dir + "/purchased.txt");
    for (int64_t i = 0; i < listed; ++i) {
      int64_t n = 1 + (i * 7919) % (records + records / 50);  // a few keys the supplier lacks
      list.WriteLine(gen.IsbnFor(n));
    }
    list.Commit();
  }
  SilentShell shell;
  SystemClock clock;
  Context ctx{shell, clock, dir + "/ErrorLog.txt", ""};
  SupplierExtractSettings s{supplier, dir + "/purchased.txt", 0, dir + "/extracted.iso"};
  int64_t written = 0;
  std::printf("supplier %lld records, list %lld ISBNs\n", static_cast<long long>(records),
              static_cast<long long>(listed));
  double marc = RunOrder(ctx, s, &written);
  std::printf("按MARC文件顺序  %7.2f s  %lld records written  peak RSS %.0f MB\n", marc,
              static_cast<long long>(written), PeakRssMb());
  s.order = 1;
  double isbn = RunOrder(ctx, s, &written);
  std::printf("按ISBN文件顺序  %7.2f s  %lld records written  peak RSS %.0f MB\n", isbn,
              static_cast<long long>(written), PeakRssMb());

  // The nested reading of the ISBN order: one scan from the start per line.
  const int sample = 5;
  Stopwatch w;
  std::vector<std::string> lines = ReadAllLines(s.isbnFile);
  for (int i = 0; i < sample; ++i)
    ScanMarcFile(ctx, supplier, [&](int64_t, const std::string& record, bool& goOn) {
      if (TMarcRecord(record).GetValue("010a") == lines[i * lines.size() / sample]) goOn = false;
    });
  double perLine = w.Seconds() / sample;
  std::printf("nested reading: %.3f s per list line on a sample of %d -> about %.0f s for %lld lines (%.0fx)\n",
              perLine, sample, perLine * listed, static_cast<long long>(listed), perLine * listed / isbn);
  return 0;
}
