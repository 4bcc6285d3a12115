// The frame of lumarin-cli: one small class per command, found through one
// registry, sharing the common options and the terminal shell.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/job.h"

namespace CLI {
class App;
}
struct Context;
class TerminalShell;

// The streams a run of lumarin-cli talks to (the process's own, or buffers
// in the tests).
struct CliStreams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;
};

// What a command's Execute gets: the engine context (terminal shell, clock,
// error log, database) and the streams.
struct CliRun {
  Context& ctx;
  TerminalShell& shell;
  CliStreams& io;
};

class Command {
 public:
  virtual ~Command() = default;
  virtual std::string Name() const = 0;
  virtual std::string Description() const = 0;
  // Declares the command's arguments and options on its subcommand.
  virtual void Setup(CLI::App& sub) = 0;
  // Runs the command; returns the exit code (0 done, 1 refused or failed).
  // Errors thrown here become the general error display's text and exit 1.
  virtual int Execute(CliRun& run) = 0;
};

using CommandFactory = std::function<std::unique_ptr<Command>()>;

// Registers a command class; use LUMARIN_REGISTER_COMMAND in its source file.
void RegisterCommand(CommandFactory factory);
// New instances of every registered command, sorted by name.
std::vector<std::unique_ptr<Command>> CreateCommands();

template <typename T>
struct CommandRegistrar {
  CommandRegistrar() {
    RegisterCommand([] { return std::make_unique<T>(); });
  }
};
#define LUMARIN_REGISTER_COMMAND(Class) static const CommandRegistrar<Class> registrar_##Class;

// The exit code for a finished engine job.
inline int ExitCodeOf(JobOutcome outcome) { return outcome == JobOutcome::Done ? 0 : 1; }

// Parses the command line and runs the chosen command. Returns the exit
// code: 0 done, 1 refused or failed, 2 a wrong command line.
int RunCli(int argc, const char* const* argv, CliStreams& io);
