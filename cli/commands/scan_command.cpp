// lumarin-cli scan [--mode confirm|continuous|reminder] [--convert hyphen|plain|none]
//                  [--target N] [--sound-held] [--sound-new]
//
// Standard input stands in for the barcode scanner: every line is one scan
// ended by Enter, in the mode's purchase field; "rm CODE" is a scan in the
// remove field. In the confirm mode the line after a purchase scan is what is
// typed into the quantity field before its Enter (an empty line accepts the
// suggestion). Every panel text the Enter sets is printed as one line.
#include <CLI/CLI.hpp>

#include <istream>
#include <ostream>

#include "cli/command.h"
#include "cli/terminal_shell.h"
#include "core/alsa_beeper.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/text.h"
#include "data/MainDataUnit.h"
#include "features/onsite_scan.h"

namespace {

// "rm CODE": the code is everything after "rm " (kept as typed).
bool IsRemoveLine(const std::string& line, std::string* code) {
  if (line == "rm") {
    code->clear();
    return true;
  }
  if (line.rfind("rm ", 0) != 0) return false;
  *code = line.substr(3);
  return true;
}

class ScanCommand : public Command {
 public:
  std::string Name() const override { return "scan"; }
  std::string Description() const override {
    return "现场采购：从标准输入逐行读入扫描的ISBN/ISSN（每行一次扫描加回车；\"rm 号码\"为扫入剔除栏；"
           "逐条确认模式下，采购扫描后的下一行为采购数量，空行即按建议数量确认），每次回答的面板文字各占一行输出";
  }
  void Setup(CLI::App& sub) override {
    sub.add_option("--mode", mode_, "confirm = 逐条确认模式（默认），continuous = 连续扫描模式，reminder = 简单提醒模式")
        ->check(CLI::IsMember({"confirm", "continuous", "reminder"}));
    sub.add_option("--convert", convert_,
                   "hyphen = 转换为ISBN/ISSN带\"-\"符号格式查重（默认），plain = 按ISBN（10位）/ISSN（8位）查重，"
                   "none = 不作任何转换进行查重")
        ->check(CLI::IsMember({"hyphen", "plain", "none"}));
    sub.add_option("--target", settings_.target, "已有数 + 采购 =（1-100，默认1）")->check(CLI::Range(1, 100));
    sub.add_flag("--sound-held", settings_.soundHeld, "重复时发出声音提醒（800 Hz，50 ms）");
    sub.add_flag("--sound-new", settings_.soundNew, "不重复时发出声音提醒");
  }

  int Execute(CliRun& run) override {
    settings_.conversion = convert_ == "plain"  ? ScanConversion::Plain
                           : convert_ == "none" ? ScanConversion::None
                                                : ScanConversion::Hyphenated;
    MainData(run.ctx);  // a database that cannot be opened ends the run before the first scan
    AlsaBeeper beeper;
    OnsiteScan scan(run.ctx, beeper);
    bool failed = false;
    std::string line;
    while (std::getline(run.io.in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!Answer(run, scan, Utf8ToGbk(line))) failed = true;
    }
    return failed ? 1 : 0;
  }

 private:
  // Hands one line to the engine and prints the answer; false when the line
  // failed (the error is on stderr).
  bool Answer(CliRun& run, OnsiteScan& scan, const std::string& line) {
    ScanField field = PurchaseField();
    std::string text = line;
    std::string code;
    if (IsRemoveLine(line, &code)) {
      if (mode_ == "reminder") {
        run.ctx.shell.ShowMessage(MessageStyle::Information, Gbk("简单提醒模式没有剔除栏，不能剔除采购数据"));
        return false;
      }
      field = mode_ == "confirm" ? ScanField::edtZTTC : ScanField::edtLXTC;
      text = code;
    } else if (scan.AwaitingQuantity()) {
      field = ScanField::edtZTQR;
      text = OnsiteScan::TypeIntoQuantity(scan.view().field(ScanField::edtZTQR), line);
    }
    bool ok = true;
    bool acted = true;
    try {
      acted = scan.Enter(settings_, field, text);
    } catch (const std::exception& e) {
      run.io.err << TerminalShell::ForTerminal(ErrorDisplayText(e.what())) << "\n";
      ok = false;
    }
    if (acted) {
      for (ScanPanel p : scan.view().updated) run.io.out << TerminalShell::ForTerminal(scan.PanelText(p)) << "\n";
      if (field != ScanField::edtZTQR && scan.view().isInvalid(field))
        run.io.out << TerminalShell::ForTerminal(OnsiteScan::InvalidLabelText()) << "\n";
    }
    run.io.out.flush();  // each answer as soon as it is known
    return ok;
  }

  ScanField PurchaseField() const {
    if (mode_ == "continuous") return ScanField::edtLXCG;
    if (mode_ == "reminder") return ScanField::edtJD;
    return ScanField::edtZTCG;
  }

  std::string mode_ = "confirm";
  std::string convert_ = "hyphen";
  OnsiteScanSettings settings_;
};

}  // namespace

LUMARIN_REGISTER_COMMAND(ScanCommand)
