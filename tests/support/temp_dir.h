// Scratch folders and whole-file helpers for tests.
#pragma once

#include <string>

// A fresh folder under /tmp, removed with its contents when destroyed.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Writes bytes to a file (replacing it); aborts the test run on failure.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
// A file of the shared real-data folder (../shared/data/real/NAME).
std::string RealDataFile(const std::string& name);
