// lumarin-cli import-buyer MARC [--copies N | --copies-field SPEC] [--yes]
// lumarin-cli export-isbn OUT [--marc FILE]
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "cli/terminal_shell.h"
#include "features/buyer_import.h"

namespace {

class ImportBuyerCommand : public Command {
 public:
  std::string Name() const override { return "import-buyer"; }
  std::string Description() const override { return "导入采购方MARC数据：把采购方MARC文件导入本地数据库（表 buyer）"; }
  void Setup(CLI::App& sub) override {
    sub.add_option("MARC", settings_.marcFile, "采购方MARC文件")->required();
    auto* copies = sub.add_option("--copies", copies_, "初始复本数：每条记录的复本数（非整数时为1）");
    auto* field = sub.add_option("--copies-field", field_, "指定复本字段：从该字段取复本数，如 905f");
    copies->excludes(field);
    sub.add_flag("--yes", yes_, "数据库中已有采购方数据时不询问，继续导入（追加）");
  }
  int Execute(CliRun& run) override {
    settings_.initialCopiesOn = !copies_.empty();
    settings_.initialCopies = copies_;
    settings_.copiesFieldOn = !field_.empty();
    if (!field_.empty()) settings_.copiesField = field_;
    run.shell.SetQuestionAnswer(yes_);
    return ExitCodeOf(ImportBuyerData(run.ctx, settings_));
  }

 private:
  BuyerImportSettings settings_;
  std::string copies_, field_;
  bool yes_ = false;
};

class ExportIsbnCommand : public Command {
 public:
  std::string Name() const override { return "export-isbn"; }
  std::string Description() const override {
    return "导入采购方MARC数据/导出：输出本地数据库中采购方数据的ISBN；数据库为空时输出 --marc 文件的ISBN";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("OUT", settings_.isbnFile, "输出ISBN文件")->required();
    sub.add_option("--marc", settings_.marcFile, "采购方MARC文件（数据库为空时使用）");
  }
  int Execute(CliRun& run) override { return ExitCodeOf(ExportBuyerIsbns(run.ctx, settings_)); }

 private:
  BuyerImportSettings settings_;
};

}  // namespace

LUMARIN_REGISTER_COMMAND(ImportBuyerCommand)
LUMARIN_REGISTER_COMMAND(ExportIsbnCommand)
