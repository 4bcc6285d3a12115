// What an engine needs of the world around it, handed in by the front end.
#pragma once

#include <string>

class Shell;
class Clock;

struct Context {
  Shell& shell;
  const Clock& clock;
  // Where the record reader appends its entries ("ErrorLog.txt").
  std::string errorLogPath;
  // The local database file ("lumdata.mdb").
  std::string databasePath;
};
