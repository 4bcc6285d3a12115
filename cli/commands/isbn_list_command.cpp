// lumarin-cli isbn-list IN OUT [--strip-hyphens]
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "features/isbn_list.h"

namespace {

class IsbnListCommand : public Command {
 public:
  std::string Name() const override { return "isbn-list"; }
  std::string Description() const override { return "从MARC数据中输出ISBN：每条记录的 010$a 写成一行"; }
  void Setup(CLI::App& sub) override {
    sub.add_option("IN", settings_.marcFile, "MARC文件")->required();
    sub.add_option("OUT", settings_.isbnFile, "ISBN文件")->required();
    sub.add_flag("--strip-hyphens", strip_, "将\"-\"号去除后输出（例：7500637721）");
  }
  int Execute(CliRun& run) override {
    settings_.outputOption = strip_ ? 1 : 0;
    return ExitCodeOf(RunIsbnList(run.ctx, settings_));
  }

 private:
  IsbnListSettings settings_;
  bool strip_ = false;
};

}  // namespace

LUMARIN_REGISTER_COMMAND(IsbnListCommand)
