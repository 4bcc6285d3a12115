// lumarin-cli dedup-marc IN OUT [--rule identical|fields|isbn] [--fields SPEC] [--min N]
// lumarin-cli dedup-isbn IN OUT
#include <CLI/CLI.hpp>

#include "cli/command.h"
#include "core/text.h"
#include "features/dedup.h"

namespace {

class DedupMarcCommand : public Command {
 public:
  std::string Name() const override { return "dedup-marc"; }
  std::string Description() const override {
    return "数据去重（MARC）：把原始MARC文件中不重复的记录追加到去重后MARC文件（不清空，已有记录参与比较）";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("IN", s_.inputFile, "原始MARC文件")->required();
    sub.add_option("OUT", s_.outputFile, "去重后MARC文件")->required();
    sub.add_option("--rule", rule_,
                   "去重规则：identical = 记录完全一致（默认），fields = 只要这些字段（--fields, --min），isbn = ISBN相同")
        ->check(CLI::IsMember({"identical", "fields", "isbn"}));
    sub.add_option("--fields", fields_, "查重字段（逗号分割），默认 200a,010a,010d");
    sub.add_option("--min", s_.minimum, "有 N 个字段匹配即认为重复（1-10，默认 3）")->check(CLI::Range(1, 10));
  }
  int Execute(CliRun& run) override {
    s_.mode = rule_ == "fields" ? MatchMode::Fields : rule_ == "isbn" ? MatchMode::Isbn : MatchMode::Identical;
    s_.fieldSpecList = Utf8ToGbk(fields_);
    return ExitCodeOf(RunMarcDedup(run.ctx, s_));
  }

 private:
  MarcDedupSettings s_;
  std::string rule_ = "identical";
  std::string fields_ = std::string(kDefaultFieldSpecList);
};

class DedupIsbnCommand : public Command {
 public:
  std::string Name() const override { return "dedup-isbn"; }
  std::string Description() const override {
    return "数据去重（ISBN）：把原始ISBN文件中输出文件还没有的行追加到去重后ISBN文件（逐字节比较）";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("IN", s_.inputFile, "原始ISBN文件")->required();
    sub.add_option("OUT", s_.outputFile, "去重后ISBN文件")->required();
  }
  int Execute(CliRun& run) override { return ExitCodeOf(RunIsbnDedup(run.ctx, s_)); }

 private:
  IsbnDedupSettings s_;
};

}  // namespace

LUMARIN_REGISTER_COMMAND(DedupMarcCommand)
LUMARIN_REGISTER_COMMAND(DedupIsbnCommand)
