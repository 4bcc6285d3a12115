#include "features/dup_index.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/errors.h"
#include "core/marc_reader.h"
#include "core/marc_record.h"
#include "core/text.h"

namespace {

constexpr uint64_t kIdentitySeed = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kIsbnSeed = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t kElementSeed = 0x165667B19E3779F9ull;

uint64_t Mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDull;
  x ^= x >> 33;
  x *= 0xC4CEB9FE1A85EC53ull;
  x ^= x >> 33;
  return x;
}

}  // namespace

uint64_t HashBytes(std::string_view data, uint64_t seed) {
  uint64_t h = Mix(seed ^ (data.size() * 0x9E3779B97F4A7C15ull));
  const char* p = data.data();
  size_t n = data.size();
  while (n >= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    h = (h ^ Mix(w)) * 0x9FB21C651E98DF25ull;
    h = (h << 29) | (h >> 35);
    p += 8;
    n -= 8;
  }
  uint64_t tail = 0;
  std::memcpy(&tail, p, n);
  h ^= Mix(tail ^ (static_cast<uint64_t>(n) << 56));
  return Mix(h);
}

bool IsDuplicateUnder(const DupRule& rule, std::string_view first, std::string_view second) {
  return IsDuplicateRecord(first, second, static_cast<int>(rule.mode), rule.minimum, rule.fieldSpecList);
}

// An open-addressing table from a 64-bit hash to a 32-bit value.
struct DupIndex::Slots {
  std::vector<uint64_t> keys;
  std::vector<uint32_t> values;
  size_t used = 0;

  Slots() : keys(1024, 0), values(1024, 0) {}
  static uint64_t Key(uint64_t h) { return h == 0 ? 1 : h; }
  // The value slot of the key, or null.
  uint32_t* Find(uint64_t h) {
    const uint64_t k = Key(h);
    for (size_t i = k & (keys.size() - 1);; i = (i + 1) & (keys.size() - 1)) {
      if (keys[i] == k) return &values[i];
      if (keys[i] == 0) return nullptr;
    }
  }
  // The value slot of the key, created with `fresh` when missing.
  uint32_t* Insert(uint64_t h, uint32_t fresh, bool* created) {
    if ((used + 1) * 2 > keys.size()) Grow();
    const uint64_t k = Key(h);
    size_t i = k & (keys.size() - 1);
    while (keys[i] != 0 && keys[i] != k) i = (i + 1) & (keys.size() - 1);
    *created = keys[i] == 0;
    if (*created) {
      keys[i] = k;
      values[i] = fresh;
      ++used;
    }
    return &values[i];
  }
  void Grow() {
    std::vector<uint64_t> oldKeys(keys.size() * 2, 0);
    std::vector<uint32_t> oldValues(values.size() * 2, 0);
    oldKeys.swap(keys);
    oldValues.swap(values);
    for (size_t j = 0; j < oldKeys.size(); ++j) {
      if (oldKeys[j] == 0) continue;
      size_t i = oldKeys[j] & (keys.size() - 1);
      while (keys[i] != 0) i = (i + 1) & (keys.size() - 1);
      keys[i] = oldKeys[j];
      values[i] = oldValues[j];
    }
  }
};

DupIndex::DupIndex(DupRule rule) : rule_(std::move(rule)), identSlots_(new Slots), termSlots_(new Slots) {
  if (rule_.mode == MatchMode::Fields) {
    needed_ = rule_.minimum;
    for (std::string_view e : SplitFieldSpecList(rule_.fieldSpecList)) {
      if (e.size() != 3 && e.size() != 4) continue;  // such an element never agrees
      auto it = std::find(elements_.begin(), elements_.end(), e);
      if (it == elements_.end()) {
        elements_.emplace_back(e);
        multiplicity_.push_back(1);
      } else {
        ++multiplicity_[static_cast<size_t>(it - elements_.begin())];
      }
    }
  } else if (rule_.mode == MatchMode::Isbn) {
    needed_ = 1;
  }
  firstPosting_.push_back(0);
}

DupIndex::~DupIndex() {
  delete identSlots_;
  delete termSlots_;
}

void DupIndex::ComputeKeys(std::string_view record, DupKeys* keys) const {
  keys->identity = HashBytes(record, kIdentitySeed);
  keys->query.clear();
  keys->indexed.clear();
  if (rule_.mode == MatchMode::Isbn) {
    bool has010 = false;
    const uint64_t h = HashBytes(IsbnMatchKey(record, &has010), kIsbnSeed);
    keys->query.push_back({h, 1});
    if (has010) keys->indexed.push_back({h, 1});
    return;
  }
  if (rule_.mode != MatchMode::Fields || elements_.empty()) return;
  // As the second record: every field with an element's tag counts. As the
  // first: the last field with the tag gives the value; none gives "".
  for (size_t k = 0; k < elements_.size(); ++k)
    keys->query.push_back({HashBytes({}, kElementSeed + k), multiplicity_[k]});
  RawDirectory dir(record);
  RawField f;
  while (dir.Next(&f)) {
    if (f.tag.size() != 3) continue;
    for (size_t k = 0; k < elements_.size(); ++k) {
      const std::string& e = elements_[k];
      if (std::string_view(e).substr(0, 3) != f.tag) continue;
      const uint64_t h = e.size() == 3 ? HashBytes(f.text, kElementSeed + k)
                                       : HashBytes(GetSubfield(std::string_view(e).substr(3, 1), f.text), kElementSeed + k);
      keys->query[k].hash = h;
      auto same = std::find_if(keys->indexed.begin(), keys->indexed.end(), [h](const DupTerm& t) { return t.hash == h; });
      if (same == keys->indexed.end()) {
        keys->indexed.push_back({h, 1});
      } else {
        ++same->weight;
      }
    }
  }
}

void DupIndex::Add(std::string_view record) {
  ComputeKeys(record, &keys_);
  Add(keys_);
}

void DupIndex::Add(const DupKeys& keys) {
  const uint32_t id = size();
  bool created = false;
  uint32_t* head = identSlots_->Insert(keys.identity, 0, &created);
  identNext_.push_back(created ? -1 : static_cast<int32_t>(*head));
  *head = id;
  identHash_.push_back(keys.identity);
  if (stamp_.size() < identHash_.size()) stamp_.push_back(0);

  for (const DupTerm& t : keys.indexed) {
    uint32_t* slot = termSlots_->Insert(t.hash, static_cast<uint32_t>(terms_.size()), &created);
    if (created) terms_.push_back({-1, 0, 0});
    TermInfo& info = terms_[*slot];
    postings_.push_back({t.hash, id, t.weight, info.head});
    info.head = static_cast<int32_t>(postings_.size() - 1);
    ++info.length;
    info.maxWeight = std::max(info.maxWeight, t.weight);
  }
  firstPosting_.push_back(static_cast<uint32_t>(postings_.size()));
}

void DupIndex::TruncateTo(uint32_t n) {
  while (size() > n) {
    const uint32_t id = size() - 1;
    for (uint32_t p = firstPosting_[id + 1]; p-- > firstPosting_[id];) {
      TermInfo& info = terms_[*termSlots_->Find(postings_[p].term)];
      info.head = postings_[p].next;
      --info.length;  // maxWeight stays: an upper bound is all it must be
    }
    postings_.resize(firstPosting_[id]);
    firstPosting_.pop_back();
    uint32_t* head = identSlots_->Find(identHash_[id]);
    // An emptied chain keeps a head of -1 (as uint32), which Candidates skips.
    *head = static_cast<uint32_t>(identNext_[id]);
    identHash_.pop_back();
    identNext_.pop_back();
  }
}

uint64_t DupIndex::ForwardWeight(uint32_t id, uint64_t term) const {
  for (uint32_t p = firstPosting_[id]; p < firstPosting_[id + 1]; ++p)
    if (postings_[p].term == term) return postings_[p].weight;
  return 0;
}

// Ids whose term counts can reach the minimum. Lists are walked shortest
// first, and only as long as the lists not yet walked could still lift a
// record that none of the walked ones holds to the minimum; every record
// found is then counted exactly (up to hash collisions) from its own terms.
void DupIndex::TermCandidates(const std::vector<DupTerm>& query, std::vector<uint32_t>* out) {
  struct List {
    const TermInfo* info;
    uint64_t weight;
  };
  std::vector<List> lists;
  for (const DupTerm& q : query)
    if (uint32_t* slot = termSlots_->Find(q.hash); slot && terms_[*slot].length > 0)
      lists.push_back({&terms_[*slot], q.weight});
  std::sort(lists.begin(), lists.end(), [](const List& a, const List& b) { return a.info->length < b.info->length; });
  std::vector<uint64_t> reach(lists.size() + 1, 0);
  for (size_t i = lists.size(); i-- > 0;) reach[i] = reach[i + 1] + lists[i].weight * lists[i].info->maxWeight;

  ++stampNow_;
  scratchIds_.clear();
  for (size_t i = 0; i < lists.size() && static_cast<long long>(reach[i]) >= needed_; ++i)
    for (int32_t p = lists[i].info->head; p >= 0; p = postings_[p].next) {
      uint32_t id = postings_[p].id;
      if (stamp_[id] == stampNow_) continue;
      stamp_[id] = stampNow_;
      scratchIds_.push_back(id);
    }
  for (uint32_t id : scratchIds_) {
    long long count = 0;
    for (const DupTerm& q : query) count += static_cast<long long>(q.weight * ForwardWeight(id, q.hash));
    if (count >= needed_) out->push_back(id);
  }
}

void DupIndex::Candidates(std::string_view record, std::vector<uint32_t>* out) {
  ComputeKeys(record, &keys_);
  Candidates(keys_, out);
}

void DupIndex::Candidates(const DupKeys& keys, std::vector<uint32_t>* out) {
  out->clear();
  if (rule_.mode == MatchMode::Fields && needed_ <= 0) {
    // Every record reaches a minimum of 0 or less.
    for (uint32_t id = 0; id < size(); ++id) out->push_back(id);
    return;
  }
  if (uint32_t* head = identSlots_->Find(keys.identity))
    for (int32_t id = static_cast<int32_t>(*head); id >= 0; id = identNext_[id]) out->push_back(id);
  if (needed_ > 0) TermCandidates(keys.query, out);
  std::sort(out->begin(), out->end());
  out->erase(std::unique(out->begin(), out->end()), out->end());
}

RecordStore::RecordStore(std::string recordFile) : path_(std::move(recordFile)) {}

RecordStore::RecordStore() : spill_(true) {
  std::FILE* f = std::tmpfile();
  if (!f) throw EInOutError(FileErrorMessage(Gbk("无法创建临时文件"), "tmpfile", errno));
  fd_ = dup(fileno(f));
  std::fclose(f);
  if (fd_ < 0) throw EInOutError(FileErrorMessage(Gbk("无法创建临时文件"), "tmpfile", errno));
}

RecordStore::~RecordStore() {
  if (fd_ >= 0) close(fd_);
}

void RecordStore::Open() {
  if (fd_ >= 0) return;
  fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw EInOutError(FileErrorMessage(Gbk("无法打开文件"), path_, errno));
}

void RecordStore::AddPlace(int64_t offset, size_t length) {
  offsets_.push_back(offset);
  lengths_.push_back(static_cast<uint32_t>(length));
}

void RecordStore::AddText(std::string_view text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t w = pwrite(fd_, text.data() + done, text.size() - done, spillEnd_ + static_cast<int64_t>(done));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) throw EInOutError(FileErrorMessage(Gbk("无法写入临时文件"), "tmpfile", errno ? errno : EIO));
    done += static_cast<size_t>(w);
  }
  AddPlace(spillEnd_, text.size());
  spillEnd_ += static_cast<int64_t>(text.size());
}

void RecordStore::TruncateTo(uint32_t n) {
  if (n >= size()) return;
  offsets_.resize(n);
  lengths_.resize(n);
}

std::string RecordStore::Read(uint32_t id) {
  Open();
  if (!spill_) return ReadRecordText(fd_, path_, offsets_[id], lengths_[id]);
  std::string text(lengths_[id], '\0');
  size_t got = 0;
  while (got < text.size()) {
    ssize_t r = pread(fd_, text.data() + got, text.size() - got, offsets_[id] + static_cast<int64_t>(got));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) throw EInOutError(FileErrorMessage(Gbk("无法读取临时文件"), "tmpfile", errno ? errno : EIO));
    got += static_cast<size_t>(r);
  }
  return text;
}
