// What an engine needs of the world around it, handed in by the front end.
#pragma once

#include <memory>
#include <string>

class Shell;
class Clock;
class TMainData;

struct Context {
  Shell& shell;
  const Clock& clock;
  // Where the record reader appends its entries ("ErrorLog.txt").
  std::string errorLogPath;
  // The local database file ("lumdata.mdb").
  std::string databasePath;
  // The open local database. The desktop program opens it at start-up;
  // otherwise MainData(ctx) (data/MainDataUnit.h) opens it from databasePath
  // on first use, so a job that never touches the database never creates
  // the file. Shared so that a Context stays copyable.
  std::shared_ptr<TMainData> data = {};
};
