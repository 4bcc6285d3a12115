#include "features/marc_check.h"

#include <memory>
#include <vector>

#include "core/commonUnit.h"
#include "data/MainDataUnit.h"
#include "features/dup_index.h"
#include "features/dup_paths.h"

namespace {

// The buyer records, indexed once, readable again by their place.
struct BuyerSide {
  explicit BuyerSide(const DupRule& rule, const std::string& file)
      : index(rule), store(file), fileName(file), fromFile(true) {}
  explicit BuyerSide(const DupRule& rule) : index(rule), fromFile(false) {}
  DupIndex index;
  RecordStore store;
  std::string fileName;
  bool fromFile;
};

std::unique_ptr<BuyerSide> LoadBuyerSide(Context& ctx, const MarcCheckSettings& s, const DupRule& rule) {
  std::unique_ptr<BuyerSide> side;
  if (s.buyerSource == BuyerSource::File) {
    side = std::make_unique<BuyerSide>(rule, s.buyerFile);
    ScanMarcFileFrom(ctx, s.buyerFile, 0, [&](int64_t, const std::string& record, int64_t offset, bool&) {
      side->index.Add(record);
      side->store.AddPlace(offset, record.size());
    });
  } else {
    side = std::make_unique<BuyerSide>(rule);
    MainData(ctx).ForEachBuyerRecord([&](int64_t, std::string_view marcdata) {
      side->index.Add(marcdata);
      side->store.AddText(marcdata);
    });
  }
  return side;
}

// Each record is flushed as it is written, so that a failure belongs to the
// record whose write failed (and takes that record's error path).
void WriteRecord(OutputFile& out, const std::string& record) {
  out.WriteLine(record);
  out.Flush();
}

JobOutcome Refuse(Shell& shell, const char* utf8) {
  shell.ShowMessage(MessageStyle::Information, Gbk(utf8));
  return JobOutcome::Refused;
}

// The input checks of "开  始", in page order.
JobOutcome CheckInputs(Context& ctx, MarcCheckSettings& s, MarcCheckReport& report) {
  Shell& shell = ctx.shell;
  if (s.buyerSource == BuyerSource::None || (s.buyerSource == BuyerSource::File && !FileExists(s.buyerFile)))
    return Refuse(shell, "请指定采购方数据源。");
  if (!FileExists(s.supplierFile)) return Refuse(shell, "请指定供应商方数据源。");
  if (s.mode == MatchMode::Fields) {
    s.fieldSpecList = NormalizeFieldSpecList(s.fieldSpecList);
    if (!IsValidFieldSpecList(s.fieldSpecList)) {
      report.focusFieldSpec = true;
      return Refuse(shell, "查重字段书写错误!\r\r请参考例子或说明");
    }
  }
  const std::string newName(TrimControls(s.newTitlesFile)), commonName(TrimControls(s.commonTitlesFile));
  if (newName.empty() && commonName.empty()) return Refuse(shell, "最少需要指定一个输出文件。");
  // Writing an output over an input would empty it before it is read.
  for (const std::string* out : {&newName, &commonName}) {
    if (out->empty()) continue;
    if (SamePath(*out, s.supplierFile) || (s.buyerSource == BuyerSource::File && SamePath(*out, s.buyerFile)))
      return Refuse(shell, "输出文件不能与供应商或采购方的MARC文件相同，请另选一个文件。");
  }
  if (!newName.empty() && !commonName.empty() && SamePath(newName, commonName))
    return Refuse(shell, "两个输出文件不能是同一个文件，请另选一个文件。");
  return JobOutcome::Done;
}

// The run after the checks: buyer index, then one pass over the supplier file.
void RunCheck(Context& ctx, const MarcCheckSettings& s, MarcCheckReport& report) {
  Shell& shell = ctx.shell;
  const DupRule rule{s.mode, s.minimum, s.fieldSpecList};
  report.supplierRecords = CountMarcRecords(ctx, s.supplierFile);
  shell.SetProgressTotal(report.supplierRecords);
  shell.SetProgressPosition(0);
  shell.ShowProgress();
  const std::string newName(TrimControls(s.newTitlesFile)), commonName(TrimControls(s.commonTitlesFile));
  std::unique_ptr<OutputFile> newOut, commonOut;
  if (!newName.empty()) newOut = std::make_unique<OutputFile>(newName);
  if (!commonName.empty()) commonOut = std::make_unique<OutputFile>(commonName);

  std::unique_ptr<BuyerSide> buyer = LoadBuyerSide(ctx, s, rule);
  // Past the first duplicate nothing more would be written.
  const bool firstOnly = s.commonSide == CommonSide::Supplier || s.mode == MatchMode::Identical;
  std::vector<uint32_t> candidates;
  ScanMarcFile(ctx, s.supplierFile, [&](int64_t recordNo, const std::string& supplier, bool&) {
    bool found = false;
    buyer->index.Candidates(supplier, &candidates);
    for (uint32_t id : candidates) {
      const std::string record = buyer->store.Read(id);
      if (!IsDuplicateUnder(rule, supplier, record)) continue;
      found = true;
      if (commonOut) {
        const std::string& written = s.commonSide == CommonSide::Buyer ? record : supplier;
        if (!buyer->fromFile) {
          WriteRecord(*commonOut, written);  // a failure here belongs to the supplier record
        } else {
          try {
            WriteRecord(*commonOut, written);
          } catch (const std::exception&) {
            // The buyer scan's error path; "继续" goes on with the next buyer record.
            if (!RecordErrorPath(ctx, buyer->fileName, static_cast<int64_t>(id) + 1, record)) break;
            continue;
          }
        }
      }
      if (firstOnly) break;
    }
    if (found) {
      ++report.duplicated;
    } else {
      ++report.newTitles;
      if (newOut) WriteRecord(*newOut, supplier);
    }
    shell.SetProgressPosition(recordNo);
  });
  if (newOut) newOut->Commit();
  if (commonOut) commonOut->Commit();
}

}  // namespace

BuyerSource ConfirmBuyerSource(Context& ctx, BuyerSource chosen) {
  if (chosen != BuyerSource::Database) return chosen;
  if (MainData(ctx).RowCount(MainTable::Buyer) > 0) return chosen;
  ctx.shell.ShowMessage(MessageStyle::Information, Gbk("“现场采购”模块中并没有导入采购方MARC数据。"));
  return BuyerSource::File;
}

JobOutcome RunMarcCheck(Context& ctx, MarcCheckSettings& s, MarcCheckReport* reportOut) {
  MarcCheckReport report;
  JobOutcome checked = CheckInputs(ctx, s, report);
  if (checked == JobOutcome::Refused) {
    if (reportOut) *reportOut = report;
    return checked;
  }
  {
    BusyGuard busy(ctx.shell);
    RunCheck(ctx, s, report);
  }
  if (reportOut) *reportOut = report;
  ctx.shell.ShowResult(MessageStyle::Information,
                       Gbk("利用双方MARC数据自动匹配查重完成!\r\r供应商记录共") + ToDecimal(report.supplierRecords) +
                           Gbk("条：采购方没有的") + ToDecimal(report.newTitles) + Gbk("条，双方都有的") +
                           ToDecimal(report.duplicated) + Gbk("条。"));
  return JobOutcome::Done;
}
