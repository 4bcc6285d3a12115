#include "cli/command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

#include "cli/terminal_shell.h"
#include "core/clock.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/paths.h"

namespace {

std::vector<CommandFactory>& Registry() {
  static std::vector<CommandFactory> factories;
  return factories;
}

// The options every command takes, before or after the command name.
struct CommonOptions {
  std::string db;
  std::string errorLog;
  std::string onError = "continue";

  void AddTo(CLI::App& app) {
    app.add_option("--db", db, "本地数据库文件 (lumdata.mdb)；默认与桌面程序相同");
    app.add_option("--error-log", errorLog, "记录出错时写入的日志文件；默认与桌面程序相同");
    app.add_option("--on-error", onError, "记录出错时的回答：continue 或 cancel")
        ->check(CLI::IsMember({"continue", "cancel"}));
  }
};

}  // namespace

void RegisterCommand(CommandFactory factory) { Registry().push_back(std::move(factory)); }

std::vector<std::unique_ptr<Command>> CreateCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  for (const auto& f : Registry()) commands.push_back(f());
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a->Name() < b->Name(); });
  return commands;
}

int RunCli(int argc, const char* const* argv, CliStreams& io) {
  CLI::App app{"Lumarin 3.0 采访查重工具的命令行版本。每个命令与桌面程序中的同名页面做同一件事。", "lumarin-cli"};
  app.fallthrough();
  app.require_subcommand(1);
  CommonOptions common;
  common.AddTo(app);

  std::vector<std::unique_ptr<Command>> commands = CreateCommands();
  std::vector<CLI::App*> subs;
  for (auto& cmd : commands) {
    CLI::App* sub = app.add_subcommand(cmd->Name(), cmd->Description());
    cmd->Setup(*sub);
    subs.push_back(sub);
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    io.out << app.help();
    return 0;
  } catch (const CLI::CallForAllHelp&) {
    io.out << app.help("", CLI::AppFormatMode::All);
    return 0;
  } catch (const CLI::ParseError& e) {
    io.err << "lumarin-cli: " << e.what() << "\n" << "Run with --help for more information.\n";
    return 2;
  }

  TerminalShell shell(io.in, io.out, io.err, io.errIsTerminal);
  shell.SetContinueOnRecordError(common.onError != "cancel");
  SystemClock clock;
  Context ctx{shell, clock, common.errorLog.empty() ? DefaultErrorLogPath() : common.errorLog,
              common.db.empty() ? DefaultDatabasePath() : common.db};
  CliRun run{ctx, shell, io};

  for (size_t i = 0; i < commands.size(); ++i) {
    if (!subs[i]->parsed()) continue;
    try {
      return commands[i]->Execute(run);
    } catch (const std::exception& e) {
      shell.HideProgress();
      io.err << TerminalShell::ForTerminal(ErrorDisplayText(e.what())) << "\n";
      return 1;
    }
  }
  return 2;
}
