// lumarin-cli check-marc --supplier FILE (--buyer FILE | --buyer-db) [--rule identical|fields|isbn]
//   [--fields SPEC] [--min N] [--new FILE] [--common FILE] [--common-side buyer|supplier]
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "core/text.h"
#include "features/marc_check.h"

namespace {

MatchMode ModeOf(const std::string& rule) {
  if (rule == "fields") return MatchMode::Fields;
  if (rule == "isbn") return MatchMode::Isbn;
  return MatchMode::Identical;
}

class CheckMarcCommand : public Command {
 public:
  std::string Name() const override { return "check-marc"; }
  std::string Description() const override {
    return "利用双方MARC数据自动匹配查重：供应商MARC文件与采购方数据（MARC文件或导入的采购方数据）查重";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("--supplier", s_.supplierFile, "供应商的MARC文件");
    auto* file = sub.add_option("--buyer", s_.buyerFile, "采购方的MARC文件（使用指定的MARC文件作为数据源）");
    auto* db = sub.add_flag("--buyer-db", fromDb_, "使用“现场采购”模块导入的采购方MARC数据作为数据源");
    file->excludes(db);
    sub.add_option("--rule", rule_,
                   "查重规则：identical = 记录完全一致（默认），fields = 只要这些字段（--fields, --min），isbn = ISBN相同")
        ->check(CLI::IsMember({"identical", "fields", "isbn"}));
    sub.add_option("--fields", fields_, "查重字段（逗号分割），默认 200a,010a,010d");
    sub.add_option("--min", s_.minimum, "有 N 个字段匹配即认为重复（1-10，默认 3）")->check(CLI::Range(1, 10));
    sub.add_option("--new", s_.newTitlesFile, "输出采购方没有，供应商有的图书（MARC文件）");
    sub.add_option("--common", s_.commonTitlesFile, "输出双方都有的图书（MARC文件）");
    sub.add_option("--common-side", side_, "双方都有的图书：buyer = 以采购方为准（默认），supplier = 以供应方为准")
        ->check(CLI::IsMember({"buyer", "supplier"}));
  }
  int Execute(CliRun& run) override {
    s_.mode = ModeOf(rule_);
    s_.fieldSpecList = Utf8ToGbk(fields_);
    s_.commonSide = side_ == "supplier" ? CommonSide::Supplier : CommonSide::Buyer;
    if (fromDb_) {
      s_.buyerSource = ConfirmBuyerSource(run.ctx, BuyerSource::Database);
    } else if (!s_.buyerFile.empty()) {
      s_.buyerSource = BuyerSource::File;
    }
    return ExitCodeOf(RunMarcCheck(run.ctx, s_));
  }

 private:
  MarcCheckSettings s_;
  bool fromDb_ = false;
  std::string rule_ = "identical", side_ = "buyer";
  std::string fields_ = std::string(kDefaultFieldSpecList);
};

}  // namespace

LUMARIN_REGISTER_COMMAND(CheckMarcCommand)
