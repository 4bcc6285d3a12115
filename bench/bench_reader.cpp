// The record reader's throughput and memory.
//
//   bench_reader generate FILE N     writes N realistic GBK book records (~1 KB each)
//   bench_reader scan FILE           full scan reading 010 $a of every record
//   bench_reader count FILE          full scan with a callback that does nothing
//   bench_reader isbn-list FILE OUT  the "从MARC数据中输出ISBN" job (counting pass + output pass)
//
// Each measuring mode prints one line: seconds, MB/s, records/s, peak RSS.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "bench_support.h"
#include "core/commonUnit.h"
#include "features/isbn_list.h"
#include "support/marc_builder.h"

namespace {

int64_t FileSize(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_size : 0;
}

int Generate(const std::string& path, int64_t n) {
  OutputFile out(path);
  BookGenerator gen(20261211);
  for (int64_t i = 1; i <= n; ++i) out.WriteLine(gen.Next(i));
  out.Commit();
  std::printf("generated %lld records, %.1f MB, in %s\n", static_cast<long long>(n), FileSize(path) / 1e6,
              path.c_str());
  return 0;
}

void Report(const char* what, const std::string& path, int64_t records, double seconds) {
  double mb = FileSize(path) / 1e6;
  std::printf("%-10s %8.1f MB %9lld records %7.2f s %8.0f MB/s %10.0f records/s  peak RSS %6.1f MB\n", what, mb,
              static_cast<long long>(records), seconds, mb / seconds, records / seconds, PeakRssMb());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_reader generate FILE N | scan FILE | count FILE | isbn-list FILE OUT\n");
    return 2;
  }
  std::string mode = argv[1], file = argv[2];
  if (mode == "generate") return Generate(file, argc > 3 ? std::atoll(argv[3]) : 500000);

  SilentShell shell;
  SystemClock clock;
  Context ctx{shell, clock, "/tmp/lumarin-bench-ErrorLog.txt", ""};
  Stopwatch watch;
  int64_t records = 0;
  if (mode == "scan") {
    size_t found = 0;
    records = ScanMarcFile(ctx, file, [&](int64_t, const std::string& text, bool&) {
      found += TMarcRecord(text).GetValue("010a").size();
    });
    if (found == 0) std::printf("(no 010 $a found)\n");
  } else if (mode == "count") {
    records = CountMarcRecords(ctx, file);
  } else if (mode == "isbn-list" && argc > 3) {
    IsbnListSettings s{file, argv[3], 0};
    IsbnListReport report;
    RunIsbnList(ctx, s, &report);
    records = report.count;
  } else {
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
  }
  Report(mode.c_str(), file, records, watch.Seconds());
  std::printf("           window events let through: %ld (every 50 ms at most)\n", shell.events);
  return 0;
}
