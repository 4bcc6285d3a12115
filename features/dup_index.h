// The index behind the duplicate checks and the de-duplication: it answers
// "which of the records added so far can be a duplicate of this one?" under
// the matching rule (IsDuplicateRecord) without comparing every pair.
//
// The index keeps, per record, 64-bit hashes of what the rule looks at (the
// whole text; the 13-byte ISBN key; each spec element's values with their
// occurrence counts), never record texts. Candidates are a superset of the
// true duplicates (a hash collision can only add some); the engines confirm
// each candidate with IsDuplicateRecord on the record text read back from
// its file (RecordStore), so their results are exact.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "features/dup_rules.h"

// The matching rule as the engines pass it around.
struct DupRule {
  MatchMode mode = MatchMode::Identical;
  int minimum = kDefaultMinimumMatches;  // used in mode Fields only
  FieldSpecList fieldSpecList = FieldSpecList(kDefaultFieldSpecList);
};

// True when IsDuplicateRecord(first, second, rule) holds.
bool IsDuplicateUnder(const DupRule& rule, std::string_view first, std::string_view second);

// A hash of what the rule compares, with a weight: on the indexed side the
// number of fields giving that value, on the query side how often the spec
// element occurs in the list.
struct DupTerm {
  uint64_t hash;
  uint32_t weight;
};

// What the rule looks at in one record, computed once (ComputeKeys) for a
// query and a following Add of the same record.
struct DupKeys {
  uint64_t identity = 0;
  std::vector<DupTerm> query;    // the record as the first argument of the rule
  std::vector<DupTerm> indexed;  // the record as the second argument
};

class DupIndex {
 public:
  explicit DupIndex(DupRule rule);
  ~DupIndex();
  DupIndex(const DupIndex&) = delete;
  DupIndex& operator=(const DupIndex&) = delete;

  const DupRule& rule() const { return rule_; }
  // Number of records added (their ids are 0 .. size()-1, in order of adding).
  uint32_t size() const { return static_cast<uint32_t>(identHash_.size()); }

  // The keys of a record under this index's rule (one directory walk).
  void ComputeKeys(std::string_view record, DupKeys* keys) const;

  // Adds a record (as the second argument of the rule) under the next id.
  void Add(std::string_view record);
  void Add(const DupKeys& keys);
  // Forgets the records with ids n and above (the newest ones).
  void TruncateTo(uint32_t n);

  // The ids, ascending, of the records that may be duplicates of `record`
  // (as the first argument of the rule): every true duplicate is among them.
  void Candidates(std::string_view record, std::vector<uint32_t>* out);
  void Candidates(const DupKeys& keys, std::vector<uint32_t>* out);

 private:
  struct Slots;
  struct TermInfo {
    int32_t head;
    uint32_t length;
    uint32_t maxWeight;
  };
  struct Posting {
    uint64_t term;
    uint32_t id;
    uint32_t weight;
    int32_t next;
  };
  uint64_t ForwardWeight(uint32_t id, uint64_t term) const;
  void TermCandidates(const std::vector<DupTerm>& query, std::vector<uint32_t>* out);

  DupRule rule_;
  long long needed_ = 0;  // the count a candidate must reach
  // The distinct spec elements and how often each occurs in the list.
  std::vector<std::string> elements_;
  std::vector<uint32_t> multiplicity_;

  Slots* identSlots_;  // whole-text hash -> newest id with it
  std::vector<uint64_t> identHash_;
  std::vector<int32_t> identNext_;
  Slots* termSlots_;  // term hash -> index into terms_
  std::vector<TermInfo> terms_;
  std::vector<Posting> postings_;  // each record's postings together, in id order
  std::vector<uint32_t> firstPosting_;
  std::vector<uint32_t> stamp_;
  uint32_t stampNow_ = 0;
  DupKeys keys_;
  std::vector<uint32_t> scratchIds_;
};

// Record texts read back by id from a file: either a record file written
// or read by the record reader (the text is rebuilt as the reader hands it
// on, see ReadRecordText), or a spill file of raw texts that the store
// writes itself (for records that come from the database).
class RecordStore {
 public:
  // A store over an existing record file; opened on first read.
  explicit RecordStore(std::string recordFile);
  // A store over a fresh anonymous spill file (AddText fills it).
  RecordStore();
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // Notes the next record's place in the record file.
  void AddPlace(int64_t offset, size_t length);
  // Spill store: appends the text to the spill file. Throws EInOutError.
  void AddText(std::string_view text);
  void TruncateTo(uint32_t n);
  uint32_t size() const { return static_cast<uint32_t>(offsets_.size()); }
  // Where record `id` lies in its file, and its length.
  int64_t OffsetOf(uint32_t id) const { return offsets_[id]; }
  size_t LengthOf(uint32_t id) const { return lengths_[id]; }

  // The text of record `id`. Throws EInOutError when it cannot be read.
  std::string Read(uint32_t id);

 private:
  void Open();
  std::string path_;
  bool spill_ = false;
  int fd_ = -1;
  int64_t spillEnd_ = 0;
  std::vector<int64_t> offsets_;
  std::vector<uint32_t> lengths_;
};

// A fast 64-bit hash of a byte string (not cryptographic).
uint64_t HashBytes(std::string_view data, uint64_t seed);
