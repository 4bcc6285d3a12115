// The ISBN/ISSN rules: recognition, check characters, hyphenation, EAN-13
// check digits and spreadsheet range references.
#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "core/isbn.h"
#include "core/text.h"

namespace {

struct CheckCase {
  const char* name;
  std::string code;
  std::string isbn;
  bool valid;
  bool corrected;
};

TEST(CheckIsbn, RecognisesEveryKnownFormAndRefusesTheRest) {
  const CheckCase cases[] = {
      // ISBN-10
      {"plain ISBN-10", "7500637721", "7500637721", true, false},
      {"hyphenated ISBN-10", "7-5006-3772-1", "7500637721", true, false},
      {"hyphens anywhere are removed", "75-0063-77-21-", "7500637721", true, false},
      {"wrong check digit is corrected", "7500637722", "7500637721", false, true},
      {"check value ten written X", "700000004X", "700000004X", true, false},
      {"lower-case x accepted as X", "700000004x", "700000004X", true, false},
      {"X where a digit belongs is corrected", "750063772X", "7500637721", false, true},
      {"check value eleven written 0", "0201633612", "0201633612", true, false},
      // ISBN-13 / EAN
      {"978 EAN", "9787500637721", "7500637721", true, false},
      {"978 EAN, own check digit not examined", "9787500637720", "7500637721", true, false},
      {"hyphenated 978 EAN", "978-7-5006-3772-1", "7500637721", true, false},
      {"978 EAN giving an X", "9787000000041", "700000004X", true, false},
      {"979 prefix is not an ISBN-10", "9791234567896", "9791234567896", false, false},
      {"other 13-digit prefix", "6901234567892", "6901234567892", false, false},
      // ISSN
      {"ISSN", "12345679", "12345679", true, false},
      {"hyphenated ISSN", "1234-5679", "12345679", true, false},
      {"ISSN with wrong check", "12345670", "12345679", false, true},
      {"ISSN check value ten", "0000006X", "0000006X", true, false},
      {"ISSN lower-case x is corrected", "0000006x", "0000006X", false, true},
      {"ISSN non-digits count as 0", "A0000000", "A0000000", true, false},
      {"977 EAN of an ISSN", "9771234567003", "12345679", true, false},
      {"977 EAN, last three bytes not examined", "9771234567999", "12345679", true, false},
      // not a code
      {"nine characters", "750063772", "750063772", false, false},
      {"trailing blank changes the length", "7500637721 ", "7500637721 ", false, false},
      {"leading blank changes the length", " 7500637721", " 7500637721", false, false},
      {"blank inside", "75006 37721", "75006 37721", false, false},
      {"empty", "", "", false, false},
      {"only hyphens", "---", "", false, false},
      // a non-digit where a digit is needed: simply not valid, never an error
      {"ten characters with a letter", "75006A7721", "75006A7721", false, false},
      {"ten characters with an inner X", "7X00637721", "7X00637721", false, false},
      {"ten characters of GBK text", "\xCA\xE9\xC3\xFB\xB2\xE2\xCA\xD4\xD2\xBB", "\xCA\xE9\xC3\xFB\xB2\xE2\xCA\xD4\xD2\xBB", false, false},
      {"978 with a letter", "978750063A721", "978750063A721", false, false},
      {"977 with a letter", "977123456A003", "977123456A003", false, false},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    IsbnCheckResult r;
    ASSERT_NO_THROW(r = CheckIsbn(c.code));
    EXPECT_EQ(r.Isbn, c.isbn);
    EXPECT_EQ(r.Valid, c.valid);
    EXPECT_EQ(r.Corrected, c.corrected);
    EXPECT_FALSE(r.Valid && r.Corrected);
  }
}

TEST(FormatIsbn, HyphenatesIssnsAndGroup7IsbnsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"7500637721", "7-5006-3772-1"},
      {"12345679", "1234-5679"},
      {"7-5006-3772-1", "7-5006-3772-1"},
      {"0201633612", "0201633612"},            // group 0: no hyphenation rule
      {"  7500637721  ", "7-5006-3772-1"},     // blanks trimmed first
      {"700000004x", "7-00-000004-X"},         // upper-cased
      {"0000006x", "0000-006X"},
      {"9787500637721", "9787500637721"},      // thirteen digits stay
      {"750063772", "750063772"},
      {"", ""},
      // GBK trail bytes that look like lower-case letters are left alone.
      {"\xB0\x61\xB0\x62", "\xB0\x61\xB0\x62"},
      {"abc\xB0\x61", "ABC\xB0\x61"},
  };
  for (const auto& [in, want] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(FormatIsbn(in), want);
  }
}

TEST(HyphenateGroup7Isbn, PublisherPrefixLengthsTwoToSix) {
  const std::pair<std::string, std::string> cases[] = {
      {"7040123456", "7-04-012345-6"},
      {"7111234567", "7-111-23456-7"},
      {"7412345678", "7-412-34567-8"},
      {"7500637721", "7-5006-3772-1"},
      {"7701234567", "7-7012-3456-7"},
      {"7801234567", "7-80123-456-7"},
      {"7901234567", "7-901234-56-7"},
      {"7ABCDEFGHI", "7--I"},          // no prefix rule for a non-digit
      {"750063772", "750063772"},      // not ten bytes: unchanged
      {"0201633612", "0201633612"},    // not group 7: unchanged
  };
  for (const auto& [in, want] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(HyphenateGroup7Isbn(in), want);
  }
}

TEST(Ean13CheckDigit, ComputesFromTheFirstTwelveDigits) {
  EXPECT_EQ(Ean13CheckDigit("978750063772"), "1");
  EXPECT_EQ(Ean13CheckDigit("977123456700"), "3");
  EXPECT_EQ(Ean13CheckDigit("978700000004"), "9");
  EXPECT_EQ(Ean13CheckDigit("9787500637729"), "1");  // thirteenth byte ignored
  EXPECT_EQ(Ean13CheckDigit("000000000000"), "0");   // (10 - 0) mod 10
}

TEST(Ean13CheckDigit, RefusesWhatIsNotTwelveDigits) {
  for (std::string bad : {"", "97875006377", "97875006377X", "978-75006377", "97875006377\xB0"}) {
    SCOPED_TRACE(bad);
    try {
      Ean13CheckDigit(bad);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_NE(GbkToUtf8(e.what()).find("12位数字"), std::string::npos) << GbkToUtf8(e.what());
    }
  }
}

TEST(SheetRangeRef, ColumnLettersAndRow) {
  const struct {
    long long row, columns;
    const char* want;
  } cases[] = {
      {10, 3, "A1:C10"}, {5, 1, "A1:A5"},     {5, 26, "A1:Z5"},    {5, 27, "A1:AA5"},
      {5, 52, "A1:AZ5"}, {5, 53, "A1:BA5"},   {1, 702, "A1:ZZ1"},  {1, 703, "A1:AAA1"},
      {1, 16384, "A1:XFD1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(SheetRangeRef(c.row, c.columns), c.want);
  }
  EXPECT_THROW(SheetRangeRef(5, 0), EConvertError);
}

// The column letters agree with the plain rule (one letter up to 26, then
// div/mod 26 with the Z correction) over its whole range.
TEST(SheetRangeRef, AgreesWithTheTwoLetterRuleUpToZZ) {
  for (long long n = 1; n <= 702; ++n) {
    std::string letters;
    if (n < 27) {
      letters = std::string(1, static_cast<char>(64 + n));
    } else if (n % 26 != 0) {
      letters = {static_cast<char>(64 + n / 26), static_cast<char>(64 + n % 26)};
    } else {
      letters = {static_cast<char>(63 + n / 26), 'Z'};
    }
    ASSERT_EQ(SheetRangeRef(7, n), "A1:" + letters + "7") << n;
  }
}

}  // namespace
