#include "core/marc_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "core/clock.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/line_file.h"
#include "core/marc_record.h"
#include "core/shell.h"
#include "core/text.h"

namespace {

constexpr size_t kReadBuffer = 4 << 20;
constexpr size_t kResyncChunk = 640;
constexpr size_t kWindowStart = 5;
// Bytes of the carry text that a long resynchronisation may drop from its
// front once the window search has passed them.
constexpr size_t kCarryTrim = 1 << 16;

bool IsSeparator(char c) { return c == '\0' || c == '\n' || c == '\r' || c == kRecordTerminator; }

// A read position over the file with a large buffer underneath; seeking
// back inside the buffer costs nothing.
class FileCursor {
 public:
  FileCursor(int fd, int64_t size, const std::string& path, size_t bufferSize)
      : fd_(fd),
        size_(size),
        path_(path),
        bufferSize_(std::max<size_t>(1, std::min<size_t>(bufferSize, static_cast<size_t>(std::max<int64_t>(size, 1))))) {}

  int64_t pos() const { return pos_; }
  int64_t size() const { return size_; }
  bool AtEnd() const { return pos_ >= size_; }
  void Seek(int64_t pos) { pos_ = pos < 0 ? 0 : pos; }

  // Appends up to n bytes from the read position to *out; returns the count.
  size_t ReadAppend(std::string* out, size_t n) {
    size_t done = 0;
    while (done < n && pos_ < size_) {
      if (!Cached(pos_) && !Load(pos_)) break;
      size_t off = static_cast<size_t>(pos_ - bufStart_);
      size_t take = std::min(n - done, bufLen_ - off);
      out->append(buf_.get() + off, take);
      pos_ += static_cast<int64_t>(take);
      done += take;
    }
    return done;
  }

  // Steps over a run of separators; stops at the first other byte or the end.
  void SkipSeparators() {
    while (pos_ < size_) {
      if (!Cached(pos_) && !Load(pos_)) return;
      size_t off = static_cast<size_t>(pos_ - bufStart_);
      while (off < bufLen_ && IsSeparator(buf_[off])) ++off;
      pos_ = bufStart_ + static_cast<int64_t>(off);
      if (off < bufLen_) return;
    }
  }

 private:
  bool Cached(int64_t p) const { return p >= bufStart_ && p < bufStart_ + static_cast<int64_t>(bufLen_); }

  bool Load(int64_t p) {
    // A small file gets a buffer of its own size.
    if (!buf_) buf_.reset(new char[bufferSize_]);
    size_t got = 0;
    while (got < bufferSize_) {
      ssize_t r = pread(fd_, buf_.get() + got, bufferSize_ - got, p + static_cast<int64_t>(got));
      if (r < 0) {
        if (errno == EINTR) continue;
        throw EInOutError(FileErrorMessage(Gbk("无法读取文件"), path_, errno));
      }
      if (r == 0) break;
      got += static_cast<size_t>(r);
    }
    bufLen_ = got;
    bufStart_ = p;
    return got > 0;
  }

  int fd_;
  int64_t size_;
  std::string path_;
  size_t bufferSize_;
  std::unique_ptr<char[]> buf_;
  size_t bufLen_ = 0;
  int64_t bufStart_ = 0;
  int64_t pos_ = 0;
};

class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() {
    if (fd_ >= 0) close(fd_);
  }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;

 private:
  int fd_;
};

int64_t ParseLength(const std::string& head) {
  long long v = 0;
  if (!ParseDecimal(TrimBlanks(std::string_view(head).substr(0, 5)), &v)) return 0;
  return v;
}

void WriteErrorLog(Context& ctx, const std::string& fileName, int64_t recordNo, const std::string& record) {
  try {
    AppendLine(ctx.errorLogPath, ErrorLogEntry(FormatLogTime(ctx.clock.Now()), fileName, recordNo, record));
  } catch (const std::exception&) {
    // The error path must never fail itself: the question still goes to the user.
  }
}

// The state of one scan. See ScanMarcFile for the rules; the carry text B
// and the window search follow them, with one difference: a window found by
// the search that does not read as a record (its declared length is 23 or
// less) is searched past, where the plain reading would find it again
// forever.
class Scanner {
 public:
  Scanner(Context& ctx, const std::string& fileName, const PositionedRecordCallback& cb, FileCursor& file,
          size_t carryTrim)
      : ctx_(ctx), fileName_(fileName), cb_(cb), file_(file), pump_(ctx.shell), carryTrim_(carryTrim) {}

  int64_t Run() {
    std::string head;
    while (!file_.AtEnd()) {
      head.clear();
      const int64_t at = file_.pos();
      file_.ReadAppend(&head, 8);
      if (file_.AtEnd()) break;
      int64_t length = ParseLength(head);
      if (length > 23 && IsMarcLeader(head)) {
        pending_ = false;
        if (!Record(head, length, at)) break;
        continue;
      }
      if (pending_) {
        // The window the search found does not open a record: go on after it.
        pending_ = false;
        file_.Seek(pendingEnd_);
        if (!Search(pendingIndex_ + 1)) break;
      } else {
        carry_ += head;
        if (!Search(kWindowStart)) break;
      }
    }
    return count_;
  }

 private:
  // Reads one record whose 8 leader bytes are in `head`; false ends the scan.
  bool Record(const std::string& head, int64_t length, int64_t offset) {
    std::string& record = record_;  // reuses its storage from record to record
    record.assign(head);
    file_.ReadAppend(&record, static_cast<size_t>(length - 8));
    record.resize(static_cast<size_t>(length), ' ');  // cut short by the end of the file
    file_.SkipSeparators();
    for (char* p = static_cast<char*>(std::memchr(record.data(), 0, record.size())); p;
         p = static_cast<char*>(std::memchr(p, 0, record.data() + record.size() - p)))
      *p = ' ';
    ++count_;
    bool goOn = true;
    try {
      cb_(count_, record, offset, goOn);
    } catch (const std::exception&) {
      goOn = ErrorPath(record);
    } catch (...) {
      goOn = ErrorPath(record);
    }
    carry_.swap(record);
    searchedAny_ = false;
    if (!goOn || file_.AtEnd()) return false;
    pump_.Tick();
    return true;
  }

  bool ErrorPath(const std::string& record) {
    WriteErrorLog(ctx_, fileName_, count_, record);
    return ctx_.shell.AskContinueAfterRecordError(fileName_, count_, record);
  }

  // Looks for a leader-like window in the carry text from offset i on,
  // reading 640 more bytes whenever it runs short. On success the read
  // position points at the window; false when the file is exhausted.
  bool Search(size_t i) {
    while (true) {
      while (carry_.size() > i + 8) {
        searchedAny_ = true;
        if (IsMarcLeader(std::string_view(carry_).substr(i, 8))) {
          pending_ = true;
          pendingIndex_ = i;
          pendingEnd_ = file_.pos();
          file_.Seek(file_.pos() - static_cast<int64_t>(carry_.size() - i));
          return true;
        }
        ++i;
      }
      if (!searchedAny_ || file_.AtEnd()) return false;
      if (i > carryTrim_) {
        carry_.erase(0, i);
        i = 0;
      }
      if (file_.ReadAppend(&carry_, kResyncChunk) == 0) return false;
      pump_.Tick();
    }
  }

  Context& ctx_;
  const std::string& fileName_;
  const PositionedRecordCallback& cb_;
  FileCursor& file_;
  EventPump pump_;
  size_t carryTrim_;
  std::string carry_;
  std::string record_;
  int64_t count_ = 0;
  bool searchedAny_ = false;
  bool pending_ = false;
  size_t pendingIndex_ = 0;
  int64_t pendingEnd_ = 0;
};

}  // namespace

std::string ErrorLogEntry(const std::string& logTime, const std::string& fileName, int64_t recordNo,
                          const std::string& record) {
  static const std::string kFile = Gbk("文件："), kRecord = Gbk("记录："), kMarc = Gbk("MARC：");
  std::string e = "//" + logTime + "-------------\r\n";
  e += kFile + Utf8ToGbk(fileName) + "\r\n";
  e += kRecord + std::to_string(recordNo) + "\r\n";
  e += kMarc + "\r\n";
  e += record + "\r\n";
  e += "//\\\\\\----------------";
  return e;
}

namespace {

int64_t ScanFrom(Context& ctx, const std::string& fileName, int64_t startOffset,
                 const PositionedRecordCallback& callback, size_t bufferSize, size_t carryTrim) {
  struct stat st {};
  if (stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EInOutError(FileErrorMessage(Gbk("无法打开文件"), fileName, errno));
  FdGuard guard(fd);
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  FileCursor cursor(fd, static_cast<int64_t>(st.st_size), fileName, bufferSize < 1 ? 1 : bufferSize);
  cursor.Seek(startOffset);
  Scanner scanner(ctx, fileName, callback, cursor, carryTrim);
  return scanner.Run();
}

}  // namespace

int64_t reader_internal::ScanMarcFileTuned(Context& ctx, const std::string& fileName,
                                           const RecordCallback& callback, size_t bufferSize, size_t carryTrim) {
  return ScanFrom(
      ctx, fileName, 0,
      [&callback](int64_t recordNo, const std::string& record, int64_t, bool& goOn) { callback(recordNo, record, goOn); },
      bufferSize, carryTrim);
}

int64_t ScanMarcFileFrom(Context& ctx, const std::string& fileName, int64_t startOffset,
                         const PositionedRecordCallback& callback) {
  return ScanFrom(ctx, fileName, startOffset, callback, kReadBuffer, kCarryTrim);
}

int64_t ScanMarcFile(Context& ctx, const std::string& fileName, const RecordCallback& callback) {
  return reader_internal::ScanMarcFileTuned(ctx, fileName, callback, kReadBuffer, kCarryTrim);
}

std::string ReadRecordText(int fd, const std::string& fileName, int64_t offset, size_t length) {
  std::string text(length, ' ');
  size_t got = 0;
  while (got < length) {
    ssize_t r = pread(fd, text.data() + got, length - got, offset + static_cast<int64_t>(got));
    if (r < 0) {
      if (errno == EINTR) continue;
      throw EInOutError(FileErrorMessage(Gbk("无法读取文件"), fileName, errno));
    }
    if (r == 0) break;
    got += static_cast<size_t>(r);
  }
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(got), text.end(), ' ');
  std::replace(text.begin(), text.end(), '\0', ' ');
  return text;
}

int64_t CountMarcRecords(Context& ctx, const std::string& fileName) {
  return ScanMarcFile(ctx, fileName, [](int64_t, const std::string&, bool&) {});
}

bool RecordErrorPath(Context& ctx, const std::string& fileName, int64_t recordNo, const std::string& record) {
  WriteErrorLog(ctx, fileName, recordNo, record);
  return ctx.shell.AskContinueAfterRecordError(fileName, recordNo, record);
}
