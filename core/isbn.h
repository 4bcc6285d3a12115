// ISBN and ISSN rules: recognising what a user typed or scanned, checking
// its check character, bringing it to the comparable form, and showing it
// with hyphens the way Chinese catalogues print it.
//
// All functions are pure functions on byte strings (GBK text is safe to pass;
// only ASCII digits, 'X'/'x' and '-' mean anything to them).
//
// The comparable form used throughout Lumarin is the ten-character ISBN or
// the eight-character ISSN without hyphens, with an upper-case 'X' where the
// check value is ten. A thirteen-digit code with prefix 978 (ISBN) or 977
// (ISSN) is reduced to that form. Lumarin writes thirteen-digit codes only
// through Ean13CheckDigit.
//
// Typical use (a scanned or typed code):
//   IsbnCheckResult r = CheckIsbn(code);
//   if (r.Valid)          -> look up / store r.Isbn, show FormatIsbn(r.Isbn)
//   else if (r.Corrected) -> wrong check character; r.Isbn has the right one
//   else                  -> not an ISBN/ISSN of a known form ("非法ISBN/ISSN")
#pragma once

#include <string>
#include <string_view>

// The answer of CheckIsbn.
struct IsbnCheckResult {
  // Valid: the ten-character ISBN or eight-character ISSN, hyphen-free, with
  // the computed check character (upper-case 'X' for ten).
  // Corrected: the same, carrying the right check character.
  // Neither: the input with every '-' removed, nothing else changed.
  std::string Isbn;
  // The code is accepted: right check character, or a 978/977 thirteen-digit
  // code (whose own EAN check digit is not examined).
  bool Valid = false;
  // The input was an eight- or ten-character code whose check character was
  // wrong (or, for an ISSN, a lower-case 'x'). Never true together with Valid.
  bool Corrected = false;
};

// Recognises and checks a code. First every '-' is removed (nothing else:
// blanks stay and change the length). Then, by the remaining length:
//   8  ISSN: the check character of bytes 1-7 (a non-digit counts as 0);
//      Valid when the input equals bytes 1-7 + check character byte for byte,
//      else Corrected (so "1234567x" is Corrected to "1234567X").
//   10 ISBN-10: bytes 1-9 must be digits; Valid when the input, upper-cased,
//      equals bytes 1-9 + check character ("750063772x"-style lower-case x
//      is accepted), else Corrected.
//   13 "978" + nine digits + any byte: Valid, Isbn = the nine digits + their
//      ISBN-10 check character. "977" + seven digits + any three bytes:
//      Valid, Isbn = the seven digits + their ISSN check character.
// Anything else (other lengths, prefix 979 or another, or a non-digit where
// a 10- or 13-character code needs a digit) is neither Valid nor Corrected,
// and Isbn is the hyphen-free input.
// Never throws.
IsbnCheckResult CheckIsbn(std::string_view code);

// The display form with hyphens: blanks trimmed at both ends, ASCII letters
// upper-cased (GBK characters are left whole), then
//   - text that already contains '-' is returned as it stands;
//   - 8 bytes (an ISSN) become "1234-5679";
//   - 10 bytes beginning with '7' (Chinese group) go through
//     HyphenateGroup7Isbn;
//   - anything else is returned as it stands (other groups are not
//     hyphenated: "0201633612" stays).
// Meant for a comparable-form code (CheckIsbn(...).Isbn); never throws.
std::string FormatIsbn(std::string_view code);

// Hyphenates a ten-character ISBN of group 7 by the length of its publisher
// prefix, which the byte after the '7' decides:
//   "0" -> 2 bytes, "1"-"4" -> 3, "5"-"7" -> 4, "8" -> 5, "9" -> 6;
// the title number fills up to the check character. For example
//   7040123456 -> 7-04-012345-6      7500637721 -> 7-5006-3772-1
//   7901234567 -> 7-901234-56-7
// When that byte is not a digit there is neither prefix nor title number and
// the result is "7--" + the check character.
// REQUIRES: a ten-byte text beginning with '7'; any other text is returned
// unchanged.
std::string HyphenateGroup7Isbn(std::string_view isbn10);

// The EAN-13 check digit ("0"-"9") of the first twelve bytes; bytes after
// the twelfth are ignored. Example: "978750063772" -> "1".
// REQUIRES: at least twelve bytes, the first twelve ASCII digits.
// Throws EConvertError (naming the text) when that does not hold.
std::string Ean13CheckDigit(std::string_view digits);

// A spreadsheet range reference from cell A1 to the given row in the last
// of `columnCount` columns: (10, 3) -> "A1:C10", (5, 27) -> "A1:AA5",
// (5, 52) -> "A1:AZ5". Column letters continue past ZZ the way
// spreadsheets name them (703 -> "AAA").
// REQUIRES: columnCount >= 1; throws EConvertError otherwise.
std::string SheetRangeRef(long long row, long long columnCount);
