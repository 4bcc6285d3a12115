// lumarin-cli convert-isbn IN OUT [--form hyphen|plain|ean13]
#include <CLI/CLI.hpp>

#include <map>

#include "cli/command.h"
#include "features/isbn_convert.h"

namespace {

class ConvertIsbnCommand : public Command {
 public:
  std::string Name() const override { return "convert-isbn"; }
  std::string Description() const override {
    return "对ISBN列格式进行转换（ISBN文件）：把每行开头的ISBN/ISSN转换为指定格式，行的其余部分不变";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("IN", settings_.sourceFile, "原始ISBN文件")->required();
    sub.add_option("OUT", settings_.targetFile, "转换后ISBN文件")->required();
    sub.add_option("--form", form_,
                   "hyphen = 转换为ISBN/ISSN带\"-\"（默认，例：7-5006-3772-1）；"
                   "plain = 转换为ISBN（10位）/ISSN（8位）；ean13 = 转换为13位EAN条形码")
        ->check(CLI::IsMember({"hyphen", "plain", "ean13"}));
  }
  int Execute(CliRun& run) override {
    static const std::map<std::string, IsbnTargetForm> kForms = {
        {"hyphen", IsbnTargetForm::Hyphenated}, {"plain", IsbnTargetForm::Plain}, {"ean13", IsbnTargetForm::Ean13}};
    settings_.form = kForms.at(form_);
    return ExitCodeOf(RunIsbnTextConversion(run.ctx, settings_));
  }

 private:
  IsbnTextConvertSettings settings_;
  std::string form_ = "hyphen";
};

}  // namespace

LUMARIN_REGISTER_COMMAND(ConvertIsbnCommand)
