// lumarin-cli extract --supplier FILE --isbns FILE --out FILE [--order marc|isbn]
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "features/supplier_extract.h"

namespace {

class ExtractCommand : public Command {
 public:
  std::string Name() const override { return "extract"; }
  std::string Description() const override {
    return "利用ISBN输出供应商MARC数据：把供应商MARC文件中 010$a 在ISBN文件里的记录追加到输出文件";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("--supplier", s_.supplierFile, "供应商的MARC文件");
    sub.add_option("--isbns", s_.isbnFile, "要采购的ISBN文件（每行一个，与 010$a 逐字节相同才算匹配）");
    sub.add_option("--out", s_.outputFile, "要输出的MARC文件（追加，不清空）");
    sub.add_option("--order", order_, "输出顺序：marc = 按MARC文件顺序（默认），isbn = 按ISBN文件顺序")
        ->check(CLI::IsMember({"marc", "isbn"}));
  }
  int Execute(CliRun& run) override {
    s_.order = order_ == "isbn" ? 1 : 0;
    return ExitCodeOf(RunSupplierExtract(run.ctx, s_));
  }

 private:
  SupplierExtractSettings s_;
  std::string order_ = "marc";
};

}  // namespace

LUMARIN_REGISTER_COMMAND(ExtractCommand)
