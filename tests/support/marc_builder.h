// Builds record texts for tests, independently of the program's own writer:
// the plain ISO 2709 arithmetic, so tests can also build damaged records.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

struct TestField {
  std::string tag;   // 3 bytes
  std::string data;  // raw: indicators and 0x1F-delimited subfields, no terminator
};

// "\x1F" + code + value
std::string Sf(char code, const std::string& value);

// A well-formed record: the leader (length and base address computed,
// leaderTail = leader positions 6-12 then 18-24), directory, fields each
// ending in 0x1E, then 0x1D.
std::string MakeRecord(const std::vector<TestField>& fields, const std::string& leaderTail = "nam0 22   450 ");

// A realistic CNMARC book record in GBK: 001, 005, 010 $a ISBN $d price,
// 100, 101, 200 $a title $f author, 210, 215, 690, 701, 905.
// Title and author are given in UTF-8 and stored as GBK.
std::string MakeBookRecord(const std::string& id, const std::string& isbn, const std::string& titleUtf8,
                           const std::string& authorUtf8);

// A generator of realistic GBK book records of about `approxBytes` bytes.
class BookGenerator {
 public:
  explicit BookGenerator(uint32_t seed) : rng_(seed) {}
  // Record number n (for the 001 and a varied ISBN).
  std::string Next(int64_t n);
  std::string IsbnFor(int64_t n) const;

 private:
  std::mt19937 rng_;
};
