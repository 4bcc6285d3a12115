#include "core/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v && *v) ? std::string(v) : fallback;
}

}  // namespace

std::string UserDataDir() {
  std::string base = EnvOr("XDG_DATA_HOME", "");
  if (base.empty()) base = EnvOr("HOME", "/tmp") + "/.local/share";
  return base + "/lumarin";
}

std::string ExecutableDir() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string exe(buf, static_cast<size_t>(n));
  size_t slash = exe.rfind('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

std::string DefaultErrorLogPath() {
  std::string dir = ExecutableDir();
  if (!dir.empty() && access(dir.c_str(), W_OK) == 0) return dir + "/ErrorLog.txt";
  std::string data = UserDataDir();
  MakeDirs(data);
  return data + "/ErrorLog.txt";
}

std::string DefaultDatabasePath() {
  std::string data = UserDataDir();
  MakeDirs(data);
  return data + "/lumdata.mdb";
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool MakeDirs(const std::string& path) {
  if (path.empty()) return false;
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0) MakeDirs(path.substr(0, slash));
  return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}
