// lumarin-cli check-isbn --buyer FILE --supplier FILE [--new FILE] [--common FILE]
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "features/isbn_check.h"

namespace {

class CheckIsbnCommand : public Command {
 public:
  std::string Name() const override { return "check-isbn"; }
  std::string Description() const override {
    return "利用双方ISBN文件自动匹配查重：逐行（逐字节）比较两个ISBN文件";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("--buyer", s_.buyerFile, "采购方ISBN文件");
    sub.add_option("--supplier", s_.supplierFile, "供应方ISBN文件");
    sub.add_option("--new", s_.newFile, "输出采购方没有，供应商有的图书");
    sub.add_option("--common", s_.commonFile, "输出双方都有的图书");
  }
  int Execute(CliRun& run) override { return ExitCodeOf(RunIsbnCheck(run.ctx, s_)); }

 private:
  IsbnCheckSettings s_;
};

}  // namespace

LUMARIN_REGISTER_COMMAND(CheckIsbnCommand)
