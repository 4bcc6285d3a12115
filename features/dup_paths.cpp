#include "features/dup_paths.h"

#include <filesystem>
#include <system_error>

#include "core/paths.h"

bool SamePath(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (SameFile(a, b)) return true;
  std::error_code ea, eb;
  auto ca = std::filesystem::weakly_canonical(a, ea), cb = std::filesystem::weakly_canonical(b, eb);
  return !ea && !eb && ca == cb;
}
