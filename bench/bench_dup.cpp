// bench_dup DIR [BUYERS SUPPLIERS DEDUP]
//
// The duplicate checks and the de-duplication at library scale, on
// generated realistic GBK book records of about 1 KB:
//   - "利用双方MARC数据自动匹配查重": SUPPLIERS (default 100,000) supplier
//     records against BUYERS (default 1,000,000) buyer records, in each of
//     the three modes, 以采购方为准, both outputs named;
//   - "数据去重" of a DEDUP-record file (default 1,000,000), in each mode.
// About 3% of the supplier records are duplicates of buyer records (1%
// identical copies, 1% the same title, ISBN and price in an otherwise
// different record, 1% the same ISBN at another price); the de-duplication
// input repeats about 3% of its records.
//
// For each job it prints the wall time, the records per second and the
// process's peak resident memory so far, then times the plain nested loop
// on a sample and extrapolates it to the full sizes, so the gain is a
// measured ratio. Generated files are kept in DIR between runs.
#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <unordered_map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/commonUnit.h"
#include "features/dedup.h"
#include "features/dup_rules.h"
#include "features/marc_check.h"
#include "support/marc_builder.h"

namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// Variants of a buyer record that are duplicates under one rule or another.
std::string SamePriceOtherRecord(const std::string& record) {
  std::string r = record;
  size_t at = r.find("20260301120000.0");  // the 005 stamp: same title, ISBN and price, not identical
  if (at != std::string::npos) r.replace(at, 16, "20250101000000.0");
  return r;
}

std::string OtherPrice(BookGenerator& gen, int64_t n) {
  // A fresh record for the same n: same ISBN, title and price drawn anew.
  return gen.Next(n);
}

void GenerateCheckFiles(const std::string& buyer, const std::string& supplier, int64_t buyers, int64_t suppliers) {
  Stopwatch clock;
  std::vector<std::string> sample;
  {
    OutputFile out(buyer);
    BookGenerator gen(20261211);
    for (int64_t n = 0; n < buyers; ++n) out.WriteLine(gen.Next(n));
    out.Commit();
  }
  std::mt19937 rng(7);
  std::uniform_int_distribution<int64_t> pickBuyer(0, buyers - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  // Identical copies must be the buyer's own texts: regenerate them with the
  // buyer generator's sequence by scanning the file once for the chosen ones.
  std::vector<int64_t> wanted;
  std::vector<int> kinds;
  for (int64_t i = 0; i < suppliers; ++i) {
    int p = percent(rng);
    kinds.push_back(p < 3 ? p : 3);
    wanted.push_back(p < 3 ? pickBuyer(rng) : -1);
  }
  std::vector<int64_t> sorted;
  for (int64_t w : wanted)
    if (w >= 0) sorted.push_back(w);
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::unordered_map<int64_t, std::string> texts;
  SilentShell shell;
  SystemClock sys;
  Context ctx{shell, sys, "/dev/null", ""};
  size_t next = 0;
  ScanMarcFile(ctx, buyer, [&](int64_t no, const std::string& r, bool& goOn) {
    while (next < sorted.size() && sorted[next] == no - 1) {
      texts[no - 1] = r;
      ++next;
    }
    goOn = next < sorted.size();
  });
  OutputFile out(supplier);
  BookGenerator fresh(99);
  BookGenerator again(4242);
  for (int64_t i = 0; i < suppliers; ++i) {
    switch (kinds[i]) {
      case 0: out.WriteLine(texts[wanted[i]]); break;
      case 1: out.WriteLine(SamePriceOtherRecord(texts[wanted[i]])); break;
      case 2: out.WriteLine(OtherPrice(again, wanted[i])); break;
      default: out.WriteLine(fresh.Next(buyers * 2 + i)); break;
    }
  }
  out.Commit();
  std::printf("generated %lld buyer and %lld supplier records in %.1f s\n", static_cast<long long>(buyers),
              static_cast<long long>(suppliers), clock.Seconds());
}

void GenerateDedupFile(const std::string& path, int64_t records) {
  Stopwatch clock;
  OutputFile out(path);
  BookGenerator gen(777);
  std::mt19937 rng(8);
  std::uniform_int_distribution<int> percent(0, 99);
  std::vector<std::string> recent;  // repeats are drawn from the last few thousand records
  for (int64_t n = 0; n < records; ++n) {
    if (!recent.empty() && percent(rng) < 3) {
      out.WriteLine(recent[std::uniform_int_distribution<size_t>(0, recent.size() - 1)(rng)]);
      continue;
    }
    std::string r = gen.Next(n);
    if (recent.size() < 4096) {
      recent.push_back(r);
    } else {
      recent[static_cast<size_t>(n) % recent.size()] = r;
    }
    out.WriteLine(r);
  }
  out.Commit();
  std::printf("generated the %lld-record de-duplication input in %.1f s\n", static_cast<long long>(records),
              clock.Seconds());
}

const char* ModeName(MatchMode m) {
  switch (m) {
    case MatchMode::Fields: return "fields 200a,010a,010d >= 3";
    case MatchMode::Isbn: return "ISBN (13 bytes of 010 $a)";
    default: return "identical records";
  }
}

// Seconds per supplier record of the plain nested loop: each sample record
// against every buyer record of the file, as the page describes it.
double NestedSecondsPerSupplier(Context& ctx, const std::string& supplier, const std::string& buyer, MatchMode mode,
                                int samples) {
  std::vector<std::string> picked;
  ScanMarcFile(ctx, supplier, [&](int64_t, const std::string& r, bool& goOn) {
    picked.push_back(r);
    goOn = static_cast<int>(picked.size()) < samples;
  });
  Stopwatch clock;
  int64_t compared = 0;
  for (const std::string& s : picked)
    ScanMarcFile(ctx, buyer, [&](int64_t, const std::string& b, bool& goOn) {
      ++compared;
      if (IsDuplicateRecord(s, b, static_cast<int>(mode), 3, kDefaultFieldSpecList) && mode == MatchMode::Identical)
        goOn = false;
    });
  return clock.Seconds() / static_cast<double>(picked.size());
}

void BenchCheck(Context& ctx, const std::string& dir, const std::string& buyer, const std::string& supplier,
                int64_t buyers, int64_t suppliers) {
  std::printf("\n-- 利用双方MARC数据自动匹配查重: %lld supplier records against %lld buyer records --\n",
              static_cast<long long>(suppliers), static_cast<long long>(buyers));
  for (MatchMode mode : {MatchMode::Identical, MatchMode::Fields, MatchMode::Isbn}) {
    MarcCheckSettings s;
    s.buyerSource = BuyerSource::File;
    s.buyerFile = buyer;
    s.supplierFile = supplier;
    s.mode = mode;
    s.newTitlesFile = dir + "/dup-new.iso";
    s.commonTitlesFile = dir + "/dup-common.iso";
    MarcCheckReport report;
    Stopwatch clock;
    RunMarcCheck(ctx, s, &report);
    double secs = clock.Seconds();
    double nested = NestedSecondsPerSupplier(ctx, supplier, buyer, mode, 2);
    double estimate = nested * static_cast<double>(suppliers);
    std::printf("%-28s %7.2f s  (new %lld, with duplicates %lld)  peak RSS %7.1f MB   target < 10 s, < 4096 MB\n",
                ModeName(mode), secs, static_cast<long long>(report.newTitles),
                static_cast<long long>(report.duplicated), PeakRssMb());
    std::printf("%-28s nested loop: %.2f s per supplier record (2-record sample) -> %.0f s = %.1f days for all; "
                "%.0f x faster\n",
                "", nested, estimate, estimate / 86400.0, estimate / secs);
  }
}

void BenchDedup(Context& ctx, const std::string& dir, const std::string& input, int64_t records) {
  std::printf("\n-- 数据去重 of a %lld-record file (fresh output) --\n", static_cast<long long>(records));
  double perComparison = 0;
  for (MatchMode mode : {MatchMode::Identical, MatchMode::Fields, MatchMode::Isbn}) {
    const std::string out = dir + "/dup-dedup-out.iso";
    std::remove(out.c_str());
    MarcDedupSettings s{input, out, mode, std::string(kDefaultFieldSpecList), 3};
    MarcDedupReport report;
    Stopwatch clock;
    RunMarcDedup(ctx, s, &report);
    double secs = clock.Seconds();
    std::printf("%-28s %7.2f s  (kept %lld of %lld)  peak RSS %7.1f MB   target < 5 s, < 4096 MB\n", ModeName(mode),
                secs, static_cast<long long>(report.appended), static_cast<long long>(report.records), PeakRssMb());
    if (mode == MatchMode::Identical) {
      // The nested loop reads the whole output again for every input record;
      // one such read of the final output, with a comparison per record:
      const std::string probe = "00000nam";  // matches nothing, so the read goes to the end
      Stopwatch scan;
      int64_t kept = 0;
      ScanMarcFile(ctx, out, [&](int64_t, const std::string& o, bool&) {
        kept += IsDuplicateRecord(probe, o, 0, 3, kDefaultFieldSpecList) ? 0 : 1;
      });
      perComparison = scan.Seconds() / static_cast<double>(std::max<int64_t>(kept, 1));
      double estimate = perComparison * static_cast<double>(report.appended) * static_cast<double>(report.records) / 2;
      std::printf("%-28s nested loop: one read of the %lld kept records takes %.2f s; about n*k/2 comparisons -> "
                  "%.0f s = %.1f days; %.0f x faster\n",
                  "", static_cast<long long>(kept), scan.Seconds(), estimate, estimate / 86400.0, estimate / secs);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_dup DIR [BUYERS SUPPLIERS DEDUP]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int64_t buyers = argc > 2 ? std::atoll(argv[2]) : 1000000;
  const int64_t suppliers = argc > 3 ? std::atoll(argv[3]) : 100000;
  const int64_t dedupRecords = argc > 4 ? std::atoll(argv[4]) : 1000000;
  const std::string buyer = dir + "/dup-buyer-" + std::to_string(buyers) + ".iso";
  const std::string supplier = dir + "/dup-supplier-" + std::to_string(suppliers) + "-" + std::to_string(buyers) + ".iso";
  const std::string dedupInput = dir + "/dup-dedup-" + std::to_string(dedupRecords) + ".iso";
  if (!Exists(buyer) || !Exists(supplier)) GenerateCheckFiles(buyer, supplier, buyers, suppliers);
  if (!Exists(dedupInput)) GenerateDedupFile(dedupInput, dedupRecords);

  SilentShell shell;
  SystemClock clock;
  Context ctx{shell, clock, dir + "/dup-ErrorLog.txt", dir + "/dup-lumdata.mdb"};
  std::printf("machine: %ld cores; files in %s (page cache warm after the first job)\n", sysconf(_SC_NPROCESSORS_ONLN),
              dir.c_str());
  BenchCheck(ctx, dir, buyer, supplier, buyers, suppliers);
  BenchDedup(ctx, dir, dedupInput, dedupRecords);
  return 0;
}
