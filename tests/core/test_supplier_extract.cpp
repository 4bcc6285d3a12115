// Supplier records by ISBN: the indexed engine against the plain nested
// reading (the list re-read per record, the supplier file re-read per line).
#include <gtest/gtest.h>

#include <random>

#include "core/commonUnit.h"
#include "features/supplier_extract.h"
#include "support/marc_builder.h"
#include "support/recording_shell.h"
#include "support/temp_dir.h"

namespace {

// The plain reading, step by step.
void NestedExtract(Context& ctx, const SupplierExtractSettings& s) {
  auto key = [](const std::string& record) { return TMarcRecord(record).GetValue("010a"); };
  if (s.order == 0) {
    ScanMarcFile(ctx, s.supplierFile, [&](int64_t, const std::string& record, bool&) {
      std::string k = key(record);
      LineReader list(s.isbnFile);
      std::string line;
      while (list.Next(&line)) {
        if (line == k) {
          AppendLine(s.outputFile, record);
          break;
        }
      }
    });
    return;
  }
  for (const std::string& line : ReadAllLines(s.isbnFile)) {
    ScanMarcFile(ctx, s.supplierFile, [&](int64_t, const std::string& record, bool& goOn) {
      if (key(record) == line) {
        AppendLine(s.outputFile, record);
        goOn = false;
      }
    });
  }
}

std::string Book(const std::string& id, const std::string& tenField) {
  std::vector<TestField> fields = {{"001", id}};
  if (!tenField.empty()) fields.push_back({"010", tenField});
  fields.push_back({"200", "1 " + Sf('a', Gbk("书") + id)});
  return MakeRecord(fields);
}

struct Outcome {
  std::string output, log;
  std::vector<int64_t> asked;
};

Outcome RunOne(bool nested, const std::string& supplier, const std::string& list, const std::string& oldOutput,
           int order, const std::deque<bool>& answers) {
  TempDir dir;
  TestContext tc(dir.path());
  tc.shell.recordErrorAnswers = answers;
  SupplierExtractSettings s{dir.File("supplier.iso"), dir.File("list.txt"), order, dir.File("out.iso")};
  WriteFile(s.supplierFile, supplier);
  WriteFile(s.isbnFile, list);
  if (!oldOutput.empty()) WriteFile(s.outputFile, oldOutput);
  if (nested)
    NestedExtract(tc.ctx, s);
  else
    EXPECT_EQ(RunSupplierExtract(tc.ctx, s), JobOutcome::Done);
  Outcome r{ReadFile(s.outputFile), ReplaceAll(ReadFile(tc.ctx.errorLogPath), dir.path(), "<dir>"), {}};
  for (const auto& e : tc.shell.recordErrors) r.asked.push_back(e.recordNo);
  return r;
}

}  // namespace

TEST(SupplierExtract, MatchesTheNestedReadingOnGeneratedData) {
  const uint32_t seed = std::random_device{}();
  std::mt19937 rng(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));
  const std::vector<std::string> keys = {"7-5006-3772-1", "7500637721", "978-7-02-000220-7", "7-02-000220-X", ""};
  for (int round = 0; round < 120; ++round) {
    std::string supplier;
    int records = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < records; ++i) {
      std::string id = std::to_string(i);
      std::string rec;
      switch (rng() % 6) {
        case 0: rec = Book(id, ""); break;                               // no 010
        case 1: rec = Book(id, "  " + Sf('d', "CNY1")); break;           // 010 without $a
        case 2: rec = Book(id, "  " + Sf('a', keys[rng() % keys.size()]) + Sf('d', "CNY9")); break;
        case 3: rec = Book(id, "  " + Sf('a', keys[rng() % keys.size()])); rec.replace(12, 5, "x0000"); break;
        default: rec = Book(id, "  " + Sf('a', keys[rng() % 4])); break;
      }
      supplier += rec + (rng() % 3 ? "\r\n" : "");
    }
    std::string list;
    int lines = static_cast<int>(rng() % 7);
    for (int i = 0; i < lines; ++i) {
      switch (rng() % 5) {
        case 0: list += "\r\n"; break;                                    // empty line
        case 1: list += keys[rng() % 4] + "  2\r\n"; break;               // exported with a count
        case 2: list += "9999999999\r\n"; break;                          // no match
        default: list += keys[rng() % 4] + "\r\n"; break;
      }
    }
    std::string oldOutput = rng() % 3 == 0 ? "old record without line end" : "";
    std::deque<bool> answers;
    for (int i = 0; i < 40; ++i) answers.push_back(rng() % 3 != 0);
    for (int order : {0, 1}) {
      Outcome fast = RunOne(false, supplier, list, oldOutput, order, answers);
      Outcome plain = RunOne(true, supplier, list, oldOutput, order, answers);
      ASSERT_EQ(fast.output, plain.output) << "round " << round << " order " << order;
      ASSERT_EQ(fast.asked, plain.asked) << "round " << round << " order " << order;
      ASSERT_EQ(fast.log, plain.log) << "round " << round << " order " << order;
    }
  }
}

TEST(SupplierExtract, OrdersDifferOnRepeatedKeysAndRepeatedLines) {
  std::string a1 = Book("1", "  " + Sf('a', "7-1")), a2 = Book("2", "  " + Sf('a', "7-1")),
              b = Book("3", "  " + Sf('a', "7-2"));
  std::string supplier = a1 + "\r\n" + a2 + "\r\n" + b + "\r\n";
  std::string list = "7-2\r\n7-1\r\n7-2\r\n";
  EXPECT_EQ(RunOne(false, supplier, list, "", 0, {}).output, a1 + "\r\n" + a2 + "\r\n" + b + "\r\n");
  EXPECT_EQ(RunOne(false, supplier, list, "", 1, {}).output, b + "\r\n" + a1 + "\r\n" + b + "\r\n");
}

TEST(SupplierExtract, InputChecksInPageOrderAndOutputAppended) {
  TempDir dir;
  TestContext tc(dir.path());
  SupplierExtractSettings s{dir.File("s.iso"), dir.File("l.txt"), 0, dir.File("o.iso")};
  EXPECT_EQ(RunSupplierExtract(tc.ctx, s), JobOutcome::Refused);
  WriteFile(s.supplierFile, Book("1", "  " + Sf('a', "7-1")));
  EXPECT_EQ(RunSupplierExtract(tc.ctx, s), JobOutcome::Refused);
  WriteFile(s.isbnFile, "7-1\r\n");
  s.outputFile = " ";
  EXPECT_EQ(RunSupplierExtract(tc.ctx, s), JobOutcome::Refused);
  s.outputFile = s.isbnFile;
  EXPECT_EQ(RunSupplierExtract(tc.ctx, s), JobOutcome::Refused);
  ASSERT_EQ(tc.shell.messages.size(), 4u);
  EXPECT_EQ(tc.shell.Texts()[0], "请指定供应商MARC数据文件");
  EXPECT_EQ(tc.shell.messages[0].style, MessageStyle::Information);
  EXPECT_EQ(tc.shell.Texts()[1], "请指定要采购的ISBN文件！");
  EXPECT_EQ(tc.shell.messages[1].style, MessageStyle::Plain);
  EXPECT_EQ(tc.shell.Texts()[2], "请指定你要输出的ISBN文件的文件名和路径！");
  EXPECT_EQ(ReadFile(s.isbnFile), "7-1\r\n");

  s.outputFile = dir.File("o.iso");
  int64_t written = 0;
  for (int run = 0; run < 2; ++run) EXPECT_EQ(RunSupplierExtract(tc.ctx, s, &written), JobOutcome::Done);
  EXPECT_EQ(written, 1);
  std::string rec = Book("1", "  " + Sf('a', "7-1"));
  EXPECT_EQ(ReadFile(s.outputFile), rec + "\r\n" + rec + "\r\n");  // running twice appends twice
  EXPECT_EQ(tc.shell.busyDepth, 0);
  EXPECT_FALSE(tc.shell.progressVisible);
}
