// Generated record files for the duplicate-check tests: small vocabularies
// so that values collide often, and every odd case the matching rule and the
// record reader have to survive (repeated fields, absent subfields, empty
// values, identical records, damaged records, garbage between records).
#pragma once

#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "support/marc_builder.h"

class DupDataGenerator {
 public:
  explicit DupDataGenerator(uint32_t seed) : rng_(seed) {}

  // One plausible record; values drawn from small pools.
  std::string Record() {
    static const char* kTitles[] = {"红楼梦", "围城", "活着", "T", "", "边城"};
    static const char* kIsbns[] = {"7-5006-3772-1", "7500637721", "978-7-5006-3772-1", "978-7-5006-3799-9",
                                   "", "7-02-000220-7"};
    static const char* kPrices[] = {"CNY20.00", "CNY35.00", ""};
    static const char* kSubjects[] = {"小说", "诗歌", "", "历史"};
    std::vector<TestField> fields;
    fields.push_back({"001", std::to_string(Pick(4))});
    int n010 = Pick(10) == 0 ? 0 : (Pick(8) == 0 ? 2 : 1);
    for (int i = 0; i < n010; ++i) {
      std::string f = Pick(6) == 0 ? "1 " : "  ";
      if (Pick(6) != 0) f += Sf('a', kIsbns[Pick(6)]);
      if (Pick(3) != 0) f += Sf('d', Gbk(kPrices[Pick(3)]));
      fields.push_back({"010", f});
    }
    if (Pick(8) != 0) fields.push_back({"200", "1 " + Sf('a', Gbk(kTitles[Pick(6)])) + Sf('f', "x")});
    for (int i = Pick(4); i > 0; --i)
      fields.push_back({"606", (Pick(3) == 0 ? "1 " : "0 ") + (Pick(5) == 0 ? Sf('x', "y") : Sf('a', Gbk(kSubjects[Pick(4)])))});
    if (Pick(3) == 0) fields.push_back({"300", "  " + Sf('a', std::string(static_cast<size_t>(Pick(40)), 'n'))});
    return MakeRecord(fields);
  }

  // A record file: plausible records, identical copies of earlier ones,
  // damaged records and odd separators, `count` records in all.
  std::string File(int count, std::vector<std::string>* pool = nullptr) {
    std::vector<std::string> made;
    std::string file;
    for (int i = 0; i < count; ++i) {
      std::string r;
      if (!made.empty() && Pick(4) == 0) {
        r = made[static_cast<size_t>(Pick(static_cast<int>(made.size())))];
      } else if (pool && !pool->empty() && Pick(3) == 0) {
        r = (*pool)[static_cast<size_t>(Pick(static_cast<int>(pool->size())))];
      } else {
        r = Record();
      }
      made.push_back(r);
      file += Damage(r) + Separator();
    }
    if (pool) pool->insert(pool->end(), made.begin(), made.end());
    return file;
  }

  // Bytes that may follow a record in a file.
  std::string Separator() {
    switch (Pick(12)) {
      case 0: return "";
      case 1: return std::string("\x1D\n", 2);
      case 2: return std::string("\0\0\r\n", 4);
      case 3: return "xyz";  // garbage the reader skips by resynchronising
      default: return "\r\n";
    }
  }

  // Most records pass unchanged; some are damaged the ways the reader and
  // the rule must survive.
  std::string Damage(std::string r) {
    switch (Pick(30)) {
      case 0: return Relength(r, static_cast<int>(r.size()) + 1 + Pick(30));  // declared too long
      case 1: return Relength(r, std::max(24, static_cast<int>(r.size()) - 1 - Pick(30)));  // too short
      case 2: r.replace(12, 5, "0a0x0"); return r;                                           // base not a number
      case 3: r[static_cast<size_t>(30 + Pick(10))] = 'Z'; return r;                        // damaged entry
      case 4: r[static_cast<size_t>(r.size() / 2)] = '\0'; return r;                         // NUL inside
      case 5: return r.substr(0, r.size() / 2) + Record() + r.substr(r.size() / 2);          // a leader inside
      default: return r;
    }
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  static std::string Relength(std::string r, int length) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%05d", length);
    r.replace(0, 5, buf);
    return r;
  }
  std::mt19937 rng_;
};
