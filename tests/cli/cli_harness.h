// Runs lumarin-cli in-process with string streams for stdin, stdout, stderr.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

struct CliResult {
  int code = -1;
  std::string out;  // UTF-8, as the terminal gets it
  std::string err;
};

inline CliResult RunCliWith(std::vector<std::string> args, const std::string& input = "") {
  args.insert(args.begin(), "lumarin-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::istringstream in(input);
  std::ostringstream out, err;
  CliStreams io{in, out, err, false};
  CliResult r;
  r.code = RunCli(static_cast<int>(argv.size()), argv.data(), io);
  r.out = out.str();
  r.err = err.str();
  return r;
}
