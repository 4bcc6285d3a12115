// lumarin-cli tally list | export OUT [--with-copies] | export-text OUT |
//                   set N | adjust N | delete-zero | delete RECNO | clear
// lumarin-cli buyer list | set N | adjust N | clear
#include <CLI/CLI.hpp>

#include <ostream>

#include "cli/command.h"
#include "cli/terminal_shell.h"
#include "core/context.h"
#include "core/shell.h"
#include "core/text.h"
#include "data/MainDataUnit.h"
#include "features/tally_maintenance.h"

namespace {

// The actions both tables offer: list, set N, adjust N, clear.
class TableCommand : public Command {
 protected:
  explicit TableCommand(MainTable table) : table_(table) {}

  void SetupCommon(CLI::App& sub) {
    sub.require_subcommand(1);
    list_ = sub.add_subcommand("list", "列出表中所有行（制表符分隔，首行为列标题）");
    set_ = sub.add_subcommand("set", "设置：把所有行的数量设为 N");
    set_->add_option("N", number_, "数量（非整数按0计）")->required();
    adjust_ = sub.add_subcommand("adjust", "增减：所有行的数量统一加上 N（可为负）");
    adjust_->add_option("N", number_, "增减的数量（非整数按0计）")->required();
    clear_ = sub.add_subcommand("clear", "清空表中所有数据");
  }

  // Runs the common action that was chosen; -1 when none was.
  int ExecuteCommon(CliRun& run) {
    if (list_->parsed()) {
      List(run);
      return 0;
    }
    if (set_->parsed()) return ExitCodeOf(SetAllCounts(run.ctx, table_, Utf8ToGbk(number_)));
    if (adjust_->parsed()) return ExitCodeOf(AdjustAllCounts(run.ctx, table_, Utf8ToGbk(number_)));
    if (clear_->parsed()) {
      ClearAllRows(run.ctx, table_);
      return 0;
    }
    return -1;
  }

  static void Line(CliRun& run, const std::string& gbk) { run.io.out << TerminalShell::ForTerminal(gbk) << '\n'; }

  void List(CliRun& run) {
    TMainData& db = MainData(run.ctx);
    if (table_ == MainTable::Buyer) {
      Line(run, Gbk("序号\t书名\tISBN\t复本"));
      db.ForEachBuyerRow([&](const BuyerRow& r) {
        Line(run, ToDecimal(r.recno) + "\t" + r.title + "\t" + r.isbn + "\t" + ToDecimal(r.rsnumber));
      });
    } else {
      Line(run, Gbk("序号\tISBN\t采购数量\t时间"));
      db.ForEachTallyRow([&](const TallyRow& r) {
        Line(run, ToDecimal(r.recno) + "\t" + r.isbn + "\t" + ToDecimal(r.rsnumber) + "\t" + r.indate);
      });
    }
  }

  MainTable table_;
  std::string number_;
  CLI::App *list_ = nullptr, *set_ = nullptr, *adjust_ = nullptr, *clear_ = nullptr;
};

class TallyCommand : public TableCommand {
 public:
  TallyCommand() : TableCommand(MainTable::Locale) {}
  std::string Name() const override { return "tally"; }
  std::string Description() const override { return "现场采购数据维护（浏览现采数据）与现采结果输出"; }
  void Setup(CLI::App& sub) override {
    SetupCommon(sub);
    export_ = sub.add_subcommand("export", "将现采结果输出：每行一个ISBN");
    export_->add_option("OUT", exportSettings_.isbnFile, "ISBN文件")->required();
    export_->add_flag("--with-copies", exportSettings_.withCopies, "带复本输出（ISBN、一个空格、采购数量）");
    exportText_ = sub.add_subcommand("export-text", "导出文本：每行 ISBN、两个空格、采购数量");
    exportText_->add_option("OUT", textFile_, "文本文件")->required();
    deleteZero_ = sub.add_subcommand("delete-zero", "删除所有数量为零的行");
    delete_ = sub.add_subcommand("delete", "删除序号为 RECNO 的行");
    delete_->add_option("RECNO", recno_, "序号")->required();
  }
  int Execute(CliRun& run) override {
    if (int rc = ExecuteCommon(run); rc >= 0) return rc;
    if (export_->parsed()) return ExitCodeOf(ExportTally(run.ctx, exportSettings_));
    if (exportText_->parsed()) {
      if (TallyRowCount(run.ctx) == 0) return 0;  // the page does nothing then
      return ExitCodeOf(ExportTallyText(run.ctx, textFile_));
    }
    if (deleteZero_->parsed()) {
      DeleteZeroCountRows(run.ctx);
      return 0;
    }
    if (delete_->parsed()) {
      if (DeleteCurrentTallyRow(run.ctx, recno_)) return 0;
      run.ctx.shell.ShowMessage(MessageStyle::Information, Gbk("没有序号为") + ToDecimal(recno_) + Gbk("的现采数据"));
      return 1;
    }
    return 2;
  }

 private:
  TallyExportSettings exportSettings_;
  std::string textFile_;
  int64_t recno_ = 0;
  CLI::App *export_ = nullptr, *exportText_ = nullptr, *deleteZero_ = nullptr, *delete_ = nullptr;
};

class BuyerCommand : public TableCommand {
 public:
  BuyerCommand() : TableCommand(MainTable::Buyer) {}
  std::string Name() const override { return "buyer"; }
  std::string Description() const override { return "现场采购数据维护（浏览采购方数据）"; }
  void Setup(CLI::App& sub) override { SetupCommon(sub); }
  int Execute(CliRun& run) override {
    int rc = ExecuteCommon(run);
    return rc >= 0 ? rc : 2;
  }
};

}  // namespace

LUMARIN_REGISTER_COMMAND(TallyCommand)
LUMARIN_REGISTER_COMMAND(BuyerCommand)
