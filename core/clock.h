// The local time, behind an interface so that tests can fix it.
#pragma once

#include <string>

struct LocalDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
};

// The machine's local time.
class SystemClock : public Clock {
 public:
  LocalDateTime Now() const override;
};

// A clock that always answers the time it was given.
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalDateTime t) : t_(t) {}
  LocalDateTime Now() const override { return t_; }
  void Set(LocalDateTime t) { t_ = t; }

 private:
  LocalDateTime t_;
};

// "yyyy-mm-dd HH:MM:ss", as the error log writes it.
std::string FormatLogTime(const LocalDateTime& t);
