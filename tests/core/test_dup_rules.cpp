// The matching rule: field-spec lists and IsDuplicateRecord.
#include <gtest/gtest.h>

#include "core/text.h"
#include "features/dup_rules.h"
#include "support/marc_builder.h"

namespace {

std::string Book(const std::string& title, const std::string& isbn, const std::string& price,
                 std::vector<TestField> more = {}) {
  std::vector<TestField> fields = {{"001", "x" + title}};
  std::string f010 = "  ";
  if (!isbn.empty()) f010 += Sf('a', isbn);
  if (!price.empty()) f010 += Sf('d', price);
  fields.push_back({"010", f010});
  fields.push_back({"200", "1 " + Sf('a', title)});
  for (auto& f : more) fields.push_back(f);
  return MakeRecord(fields);
}

bool Dup(const std::string& a, const std::string& b, int mode, int minimum = 3,
         const std::string& spec = "200a,010a,010d") {
  return IsDuplicateRecord(a, b, mode, minimum, spec);
}

}  // namespace

TEST(FieldSpec, ElementsAreThreeDigitsOrHyphensWithAnOptionalLowerCaseCode) {
  struct {
    const char* element;
    bool valid;
  } cases[] = {{"200", true}, {"200a", true}, {"-0-z", true}, {"---", true}, {"20a", false},
               {"200A", false}, {"2000", false}, {"200ab", false}, {"", false},   {"20", false},
               {" 200", false}, {"20 a", false}};
  for (const auto& c : cases) EXPECT_EQ(IsFieldSpecElement(c.element), c.valid) << c.element;
}

TEST(FieldSpec, NormalisingTrimsAndDropsOneLeadingAndOneTrailingComma) {
  struct {
    const char* text;
    const char* shown;
    bool valid;
  } cases[] = {{",200a,010a,", "200a,010a", true},   {"  200a,010d \t", "200a,010d", true},
               {",,200a,,", ",200a,", false},         {"", "", true},
               {",", "", true},                       {"200a,,010a", "200a,,010a", false},
               {"200A,010a", "200A,010a", false},     {"20a", "20a", false},
               {"200a, 010a", "200a, 010a", false}};
  for (const auto& c : cases) {
    std::string shown = NormalizeFieldSpecList(c.text);
    EXPECT_EQ(shown, c.shown) << c.text;
    EXPECT_EQ(IsValidFieldSpecList(shown), c.valid) << c.text;
  }
  EXPECT_TRUE(SplitFieldSpecList("").empty());
  EXPECT_EQ(SplitFieldSpecList("a,,b").size(), 3u);
}

TEST(IsDuplicateRecord, IdenticalTextsAreDuplicatesInEveryMode) {
  std::string a = Book("T", "7-5006-3772-1", "CNY20.00");
  std::string b = Book("T", "7-5006-3772-1", "CNY21.00");
  for (int mode : {-1, 0, 1, 2, 3}) EXPECT_TRUE(Dup(a, a, mode, 10, "")) << mode;
  EXPECT_FALSE(Dup(a, b, 0));
  EXPECT_FALSE(Dup(a, b, 3));  // another mode: identical texts only
  EXPECT_TRUE(IsDuplicateRecord("", "", 0, 3, ""));
}

TEST(IsDuplicateRecord, FieldsModeCountsAgreeingElements) {
  std::string s = Book("T", "7-5006-3772-1", "CNY20.00");
  EXPECT_TRUE(Dup(s, Book("T", "7-5006-3772-1", "CNY20.00", {{"300", "  " + Sf('a', "x")}}), 1));
  EXPECT_FALSE(Dup(s, Book("T", "7-5006-3772-1", "CNY21.00"), 1));
  EXPECT_TRUE(Dup(s, Book("T", "7-5006-3772-1", "CNY21.00"), 1, 2));
  // Neither has 010 $d: empty agrees with empty.
  EXPECT_TRUE(Dup(Book("T", "1", ""), Book("T", "1", "", {{"300", "  x"}}), 1));
  // The minimum is reached, not exceeded; a minimum of 0 takes anything.
  EXPECT_TRUE(Dup(s, Book("U", "2", "CNY20.00"), 1, 1));
  EXPECT_TRUE(Dup(s, Book("U", "2", "CNY9.00"), 1, 0));
  EXPECT_FALSE(Dup(s, Book("U", "2", "CNY9.00"), 1, 1));
}

TEST(IsDuplicateRecord, EveryOccurrenceInTheSecondRecordAndInTheListCounts) {
  std::string supplier = Book("T", "1", "", {{"606", "0 " + Sf('a', "A")}, {"606", "0 " + Sf('a', "B")}});
  std::string buyer = Book("U", "2", "", {{"606", "0 " + Sf('a', "B")}, {"606", "0 " + Sf('a', "B")}});
  // The supplier's last 606 counts (B); both buyer 606 fields equal it.
  EXPECT_TRUE(Dup(supplier, buyer, 1, 2, "606a"));
  EXPECT_FALSE(Dup(supplier, buyer, 1, 3, "606a"));
  // Swapped: the buyer's last 606 $a is B, the supplier has one B.
  EXPECT_FALSE(Dup(buyer, supplier, 1, 2, "606a"));
  // An element written twice counts twice.
  EXPECT_TRUE(Dup(Book("T", "1", ""), Book("T", "2", ""), 1, 2, "200a,200a"));
  // A last occurrence without the subfield agrees with fields lacking it.
  std::string lastEmpty = Book("T", "1", "", {{"606", "0 " + Sf('a', "A")}, {"606", "0 " + Sf('x', "y")}});
  EXPECT_TRUE(Dup(lastEmpty, Book("U", "2", "", {{"606", "0 " + Sf('x', "z")}}), 1, 1, "606a"));
  EXPECT_FALSE(Dup(lastEmpty, Book("U", "2", "", {{"606", "0 " + Sf('a', "A")}}), 1, 1, "606a"));
  // A tag the second record lacks never counts, even when the first lacks it too.
  EXPECT_FALSE(Dup(Book("T", "1", ""), Book("U", "2", ""), 1, 1, "606a"));
}

TEST(IsDuplicateRecord, AThreeByteElementComparesTheRawFieldWithIndicators) {
  std::string a = Book("T", "1", "", {{"606", "0 " + Sf('a', "A")}});
  std::string b = Book("U", "2", "", {{"606", "0 " + Sf('a', "A")}});
  std::string c = Book("U", "2", "", {{"606", "1 " + Sf('a', "A")}});
  EXPECT_TRUE(Dup(a, b, 1, 1, "606"));
  EXPECT_FALSE(Dup(a, c, 1, 1, "606"));  // indicator differs
  EXPECT_TRUE(Dup(a, c, 1, 1, "606a"));
}

TEST(IsDuplicateRecord, IsbnModeComparesTheFirst13BytesOfTheFirst010a) {
  struct {
    const char* a;
    const char* b;
    bool dup;
  } cases[] = {{"7-5006-3772-1", "7-5006-3772-1", true},
               {"7-5006-3772-1", "7500637721", false},
               {"978-7-5006-3772-1", "978-7-5006-37XX", true},
               {"9787500637721", "9787500637729", false},
               {"", "", true}};
  for (const auto& c : cases)
    EXPECT_EQ(Dup(Book("T", c.a, "CNY1.00"), Book("U", c.b, "CNY2.00"), 2), c.dup) << c.a << " " << c.b;
  std::string no010 = MakeRecord({{"200", "1 " + Sf('a', "T")}});
  std::string no010a = MakeRecord({{"010", "  " + Sf('d', "CNY1.00")}, {"200", "1 " + Sf('a', "U")}});
  EXPECT_TRUE(Dup(no010, no010a, 2));   // empty key against a first 010 without $a
  EXPECT_FALSE(Dup(no010a, no010, 2));  // the second has no 010 at all
  // Only the first 010 of each record counts.
  std::string two = MakeRecord({{"010", "  " + Sf('a', "X")}, {"010", "  " + Sf('a', "Y")}});
  EXPECT_TRUE(Dup(MakeRecord({{"010", "  " + Sf('a', "X")}}), two, 2));
  EXPECT_FALSE(Dup(MakeRecord({{"010", "  " + Sf('a', "Y")}}), two, 2));
}

TEST(IsDuplicateRecord, DamagedDirectoriesNeverFailAndAreReadWithoutRepairs) {
  std::string good = Book("T", "1", "CNY1.00");
  std::string badBase = good;
  badBase.replace(12, 5, "00x00");  // base read as 36
  std::string badEntry = good;
  badEntry.replace(24 + 12 + 3, 4, "abcd");  // 010 length not a number: an empty field
  std::string cut = good.substr(0, 40);
  for (const std::string* r : {&badBase, &badEntry, &cut})
    for (int mode : {0, 1, 2}) {
      EXPECT_NO_THROW(Dup(*r, good, mode));
      EXPECT_NO_THROW(Dup(good, *r, mode));
    }
  EXPECT_FALSE(Dup(badEntry, good, 1, 3));
  EXPECT_TRUE(Dup(badEntry, good, 1, 1));  // 200a still agrees
  bool has010 = true;
  EXPECT_EQ(IsbnMatchKey(badEntry, &has010), "");
  EXPECT_TRUE(has010);  // the entry is there; its field is empty
  EXPECT_NO_THROW(IsDuplicateRecord("x", "", 1, 1, "200a"));
  EXPECT_NO_THROW(IsDuplicateRecord(std::string(30, '9'), std::string(30, '-'), 2, 1, ""));
}

TEST(RawDirectory, ReadsEntriesFromTheLeaderBaseWithoutRepairs) {
  std::string r = MakeRecord({{"001", "id"}, {"200", "1 " + Sf('a', "T")}});
  RawDirectory dir(r);
  RawField f;
  ASSERT_TRUE(dir.Next(&f));
  EXPECT_EQ(f.tag, "001");
  EXPECT_EQ(f.text, "id\x1E");
  ASSERT_TRUE(dir.Next(&f));
  EXPECT_EQ(f.tag, "200");
  EXPECT_EQ(f.text, "1 \x1F" "aT\x1E");
  EXPECT_FALSE(dir.Next(&f));
}
