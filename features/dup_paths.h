// Telling whether two file names lead to the same file, for the checks that
// keep a job's output from landing on one of its inputs or on its other output.
#pragma once

#include <string>

// True when both names lead to the same file: the same existing file, or the
// same place once made absolute and cleaned of "." and ".." (for a file that
// does not exist yet). Empty names are never the same as anything.
bool SamePath(const std::string& a, const std::string& b);
