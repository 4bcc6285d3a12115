#include "core/line_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/errors.h"
#include "core/text.h"

namespace {

constexpr size_t kBufferSize = 1 << 20;

[[noreturn]] void ThrowFileError(const char* utf8Action, const std::string& path, int err) {
  throw EInOutError(FileErrorMessage(Gbk(utf8Action), path, err));
}

}  // namespace

bool LastLineUnended(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bool unended = false;
  if (std::fseek(f, -1, SEEK_END) == 0) {
    int c = std::fgetc(f);
    unended = c != EOF && c != '\n' && c != '\r';
  }
  std::fclose(f);
  return unended;
}

void AppendLine(const std::string& path, const std::string& text) {
  bool endFirst = LastLineUnended(path);
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) ThrowFileError("无法写入文件", path, errno);
  std::string bytes;
  if (endFirst) bytes += "\r\n";
  bytes += text;
  bytes += "\r\n";
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  int err = errno;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) ThrowFileError("无法写入文件", path, err ? err : EIO);
}

bool FileHasLine(const std::string& path, const std::string& text) {
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (!probe) return false;
  std::fclose(probe);
  LineReader reader(path);
  std::string line;
  while (reader.Next(&line))
    if (line == text) return true;
  return false;
}

int64_t CountLines(const std::string& path) {
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (!probe) return 0;
  std::fclose(probe);
  LineReader reader(path);
  std::string line;
  int64_t n = 0;
  while (reader.Next(&line)) ++n;
  return n;
}

LineReader::LineReader(const std::string& path) : path_(path), buf_(kBufferSize) {
  f_ = std::fopen(path.c_str(), "rb");
  if (!f_) ThrowFileError("无法打开文件", path, errno);
}

LineReader::~LineReader() {
  if (f_) std::fclose(f_);
}

bool LineReader::Fill() {
  if (eof_) return false;
  if (pos_ > 0 && pos_ < len_) std::memmove(buf_.data(), buf_.data() + pos_, len_ - pos_);
  len_ -= pos_;
  pos_ = 0;
  if (len_ == buf_.size()) buf_.resize(buf_.size() * 2);
  size_t got = std::fread(buf_.data() + len_, 1, buf_.size() - len_, f_);
  if (got == 0) {
    if (std::ferror(f_)) ThrowFileError("无法读取文件", path_, errno ? errno : EIO);
    eof_ = true;
    return false;
  }
  len_ += got;
  return true;
}

bool LineReader::Next(std::string* line) {
  size_t scanned = 0;  // bytes after pos_ known to hold no line ending
  while (true) {
    bool needMore = true;
    for (size_t i = pos_ + scanned; i < len_; ++i) {
      char c = buf_[i];
      if (c != '\r' && c != '\n') continue;
      // A CR at the end of the buffer may be the first half of CR LF.
      if (c == '\r' && i + 1 == len_ && !eof_) {
        scanned = i - pos_;
        needMore = false;
        break;
      }
      line->assign(buf_.data() + pos_, i - pos_);
      pos_ = i + 1;
      if (c == '\r' && pos_ < len_ && buf_[pos_] == '\n') ++pos_;
      return true;
    }
    if (needMore) scanned = len_ - pos_;
    if (!Fill()) {
      if (pos_ >= len_) return false;
      line->assign(buf_.data() + pos_, len_ - pos_);
      if (!line->empty() && line->back() == '\r') line->pop_back();  // a lone CR at the very end
      pos_ = len_;
      return true;
    }
  }
}

std::vector<std::string> ReadAllLines(const std::string& path) {
  std::vector<std::string> lines;
  LineReader reader(path);
  std::string line;
  while (reader.Next(&line)) lines.push_back(line);
  return lines;
}

OutputFile::OutputFile(const std::string& path) : path_(path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ThrowFileError("无法创建文件", path, EISDIR);
  temp_ = path + ".lumarin-tmp-" + std::to_string(getpid());
  f_ = std::fopen(temp_.c_str(), "wb");
  if (!f_) ThrowFileError("无法创建文件", path, errno);
  std::setvbuf(f_, nullptr, _IOFBF, kBufferSize);
}

OutputFile::~OutputFile() {
  if (f_) std::fclose(f_);
  if (!committed_) std::remove(temp_.c_str());
}

void OutputFile::Fail(const char* utf8Action, int err) {
  if (f_) std::fclose(f_);
  f_ = nullptr;
  ThrowFileError(utf8Action, path_, err ? err : EIO);
}

void OutputFile::Write(const std::string& bytes) {
  if (!f_) Fail("无法写入文件", EBADF);
  if (std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size()) Fail("无法写入文件", errno);
}

void OutputFile::WriteLine(const std::string& text) {
  Write(text);
  Write("\r\n");
}

void OutputFile::Flush() {
  if (!f_) Fail("无法写入文件", EBADF);
  if (std::fflush(f_) != 0) Fail("无法写入文件", errno);
}

void OutputFile::Commit() {
  if (!f_) Fail("无法写入文件", EBADF);
  bool ok = std::fflush(f_) == 0;
  int err = errno;
  ok = (std::fclose(f_) == 0) && ok;
  f_ = nullptr;
  if (!ok) Fail("无法写入文件", err);
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) Fail("无法创建文件", errno);
  committed_ = true;
}

AppendFile::AppendFile(const std::string& path) : path_(path) {
  f_ = std::fopen(path.c_str(), "ab");
  if (!f_) ThrowFileError("无法创建文件", path, errno);
  std::setvbuf(f_, nullptr, _IOFBF, kBufferSize);
}

AppendFile::~AppendFile() {
  if (f_) std::fclose(f_);
}

void AppendFile::Write(const std::string& bytes) {
  if (!f_ || std::fwrite(bytes.data(), 1, bytes.size(), f_) != bytes.size())
    ThrowFileError("无法写入文件", path_, errno ? errno : EIO);
}

void AppendFile::WriteLine(const std::string& text) {
  Write(text);
  Write("\r\n");
}

void AppendFile::Flush() {
  if (f_ && std::fflush(f_) != 0) ThrowFileError("无法写入文件", path_, errno ? errno : EIO);
}

void AppendFile::Close() {
  if (!f_) return;
  bool ok = std::fflush(f_) == 0;
  int err = errno;
  ok = (std::fclose(f_) == 0) && ok;
  f_ = nullptr;
  if (!ok) ThrowFileError("无法写入文件", path_, err ? err : EIO);
}

int64_t LineAppender::Append(const std::string& text) {
  if (!file_) {
    const bool endFirst = LastLineUnended(path_);
    struct stat st {};
    end_ = stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? static_cast<int64_t>(st.st_size) : 0;
    file_ = std::make_unique<AppendFile>(path_);
    if (endFirst) {
      file_->Write("\r\n");
      end_ += 2;
    }
  }
  const int64_t at = end_;
  file_->WriteLine(text);
  end_ += static_cast<int64_t>(text.size()) + 2;
  dirty_ = true;
  return at;
}

void LineAppender::Flush() {
  if (file_ && dirty_) file_->Flush();
  dirty_ = false;
}

void LineAppender::Reset() {
  file_.reset();
  dirty_ = false;
}

void LineAppender::Close() {
  if (file_) file_->Close();
  file_.reset();
}
