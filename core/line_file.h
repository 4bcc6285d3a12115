// Line files (ISBN lists, the error log) and the output files every feature
// writes.
//
// A line ends at CR LF, at a lone CR or at a lone LF; a last line without an
// ending still counts. Lines are compared byte for byte, never trimmed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Appends `text` and CR LF to the file, creating it empty first if it does
// not exist. When the file's last line has no ending, that line is ended with
// CR LF first, so the new line never glues onto it. Throws EInOutError.
void AppendLine(const std::string& path, const std::string& text);

// True when the file exists, is not empty, and its last byte is neither
// CR nor LF: a line appended to it must end that line first.
bool LastLineUnended(const std::string& path);

// True as soon as a line equal to `text` is read; false at the end of the
// file or when the file does not exist.
bool FileHasLine(const std::string& path, const std::string& text);

// The number of lines in the file; 0 when it does not exist or is empty.
int64_t CountLines(const std::string& path);

// Reads a file line by line through a large buffer.
class LineReader {
 public:
  // Opens the file; throws EInOutError when it cannot be read.
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Reads the next line without its ending into *line; false at the end.
  bool Next(std::string* line);

 private:
  bool Fill();
  std::FILE* f_ = nullptr;
  std::string path_;
  std::vector<char> buf_;
  size_t pos_ = 0, len_ = 0;
  bool eof_ = false;
};

// Reads a whole line file into memory (for the short lists some pages load).
std::vector<std::string> ReadAllLines(const std::string& path);

// An output file that is written whole. The bytes go to a temporary file
// beside the target, which replaces the target only on Commit(); a job that
// fails part way leaves whatever was there before untouched.
class OutputFile {
 public:
  // Creates the temporary file; throws EInOutError (with the message
  // "无法创建文件“path”：reason") when the target's folder cannot take it.
  explicit OutputFile(const std::string& path);
  // Removes the temporary file unless Commit() succeeded.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const std::string& bytes);
  // Writes the text followed by CR LF.
  void WriteLine(const std::string& text);
  // Pushes what was written so far into the temporary file, so that a
  // failure shows at the write it belongs to. Throws EInOutError.
  void Flush();
  // Flushes, closes and renames into place. Throws EInOutError.
  void Commit();

  const std::string& path() const { return path_; }

 private:
  void Fail(const char* gbkAction, int err);
  std::string path_, temp_;
  std::FILE* f_ = nullptr;
  bool committed_ = false;
};

// A file that a job appends to record by record (by design, such as the
// de-duplicated output). Opened in append mode, created if missing.
class AppendFile {
 public:
  explicit AppendFile(const std::string& path);
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  void Write(const std::string& bytes);
  void WriteLine(const std::string& text);
  // Flushes what was written so far (so that a reader of the file sees it).
  void Flush();
  void Close();

 private:
  std::string path_;
  std::FILE* f_ = nullptr;
};

// Appends lines the way AppendLine does (an unended last line of the file
// is ended first), keeping the file open for the run. Jobs that append
// record by record use it; Flush after each record makes a write failure
// belong to that record.
class LineAppender {
 public:
  explicit LineAppender(std::string path) : path_(std::move(path)) {}
  // Appends text + CR LF; returns the offset of the text in the file.
  // Throws EInOutError.
  int64_t Append(const std::string& text);
  void Flush();
  // After a failure: the next append looks at the file afresh.
  void Reset();
  void Close();

 private:
  std::string path_;
  std::unique_ptr<AppendFile> file_;
  int64_t end_ = 0;
  bool dirty_ = false;
};
