#include <unistd.h>

#include <iostream>

#include "cli/command.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  CliStreams io{std::cin, std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
  int code = RunCli(argc, argv, io);
  std::cout.flush();
  return code;
}
