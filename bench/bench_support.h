// Small helpers shared by the benchmark programs.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "support/silent_shell.h"

// Peak resident memory of this process so far, in MB.
inline double PeakRssMb() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss / 1024.0;
}

class Stopwatch {
 public:
  Stopwatch() : start_(std::chrono::steady_clock::now()) {}
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};
