#include "core/isbn.h"

#include "core/errors.h"
#include "core/text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The check character for a weighted sum taken modulo 11 (ISBN-10, ISSN):
// 11 - (s mod 11), with 11 written "0" and 10 written "X".
char Mod11CheckChar(int sum) {
  int c = 11 - sum % 11;
  if (c == 11) return '0';
  if (c == 10) return 'X';
  return static_cast<char>('0' + c);
}

// Weights n, n-1, ... 2 over the bytes; a non-digit counts as 0 (ISSN rule).
int WeightedSum(std::string_view digits) {
  int sum = 0;
  int weight = static_cast<int>(digits.size()) + 1;
  for (char c : digits) {
    if (IsDigit(c)) sum += weight * (c - '0');
    --weight;
  }
  return sum;
}

// REQUIRES: nine bytes.
std::string WithIsbn10Check(std::string_view nine) {
  return std::string(nine) + Mod11CheckChar(WeightedSum(nine));
}

// REQUIRES: seven bytes.
std::string WithIssnCheck(std::string_view seven) {
  return std::string(seven) + Mod11CheckChar(WeightedSum(seven));
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// Upper-cases ASCII letters but steps over GBK double-byte characters whole:
// their trail byte may be an ASCII letter that must not change.
std::string GbkAwareUpper(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < out.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

IsbnCheckResult NotAnIsbn(std::string plain) { return IsbnCheckResult{std::move(plain), false, false}; }

IsbnCheckResult CheckIssn8(const std::string& plain) {
  IsbnCheckResult r{WithIssnCheck(std::string_view(plain).substr(0, 7)), false, false};
  r.Valid = r.Isbn == plain;
  r.Corrected = !r.Valid;
  return r;
}

IsbnCheckResult CheckIsbn10(const std::string& plain) {
  std::string_view body = std::string_view(plain).substr(0, 9);
  if (!AllDigits(body)) return NotAnIsbn(plain);
  IsbnCheckResult r{WithIsbn10Check(body), false, false};
  r.Valid = r.Isbn == AsciiUpper(plain);
  r.Corrected = !r.Valid;
  return r;
}

IsbnCheckResult CheckEan13(const std::string& plain) {
  std::string_view code(plain);
  if (code.substr(0, 3) == "978" && AllDigits(code.substr(3, 9)))
    return IsbnCheckResult{WithIsbn10Check(code.substr(3, 9)), true, false};
  if (code.substr(0, 3) == "977" && AllDigits(code.substr(3, 7)))
    return IsbnCheckResult{WithIssnCheck(code.substr(3, 7)), true, false};
  return NotAnIsbn(plain);
}

// Column letters the way spreadsheets name columns: 1 -> A, 26 -> Z,
// 27 -> AA, 702 -> ZZ, 703 -> AAA.
std::string ColumnLetters(long long n) {
  std::string letters;
  while (n > 0) {
    long long rem = (n - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + rem));
    n = (n - 1) / 26;
  }
  return letters;
}

}  // namespace

IsbnCheckResult CheckIsbn(std::string_view code) {
  std::string plain = ReplaceAll(code, "-", "");
  switch (plain.size()) {
    case 8:
      return CheckIssn8(plain);
    case 10:
      return CheckIsbn10(plain);
    case 13:
      return CheckEan13(plain);
    default:
      return NotAnIsbn(std::move(plain));
  }
}

std::string FormatIsbn(std::string_view code) {
  std::string text = GbkAwareUpper(TrimBlanks(code));
  if (text.find('-') != std::string::npos) return text;
  if (text.size() == 8) return text.substr(0, 4) + "-" + text.substr(4);
  if (text.size() == 10 && text[0] == '7') return HyphenateGroup7Isbn(text);
  return text;
}

std::string HyphenateGroup7Isbn(std::string_view isbn10) {
  if (isbn10.size() != 10 || isbn10[0] != '7') return std::string(isbn10);
  std::string_view r = isbn10.substr(1);  // prefix, title number, check character
  size_t prefixLength = 0;
  switch (r[0]) {
    case '0': prefixLength = 2; break;
    case '1': case '2': case '3': case '4': prefixLength = 3; break;
    case '5': case '6': case '7': prefixLength = 4; break;
    case '8': prefixLength = 5; break;
    case '9': prefixLength = 6; break;
    default: break;
  }
  std::string out = "7-";
  if (prefixLength > 0) {
    out.append(r.substr(0, prefixLength));
    out += '-';
    out.append(r.substr(prefixLength, 8 - prefixLength));
  }
  out += '-';
  out += r[8];
  return out;
}

std::string Ean13CheckDigit(std::string_view digits) {
  if (digits.size() < 12 || !AllDigits(digits.substr(0, 12)))
    throw EConvertError(Gbk("EAN-13校验位需要12位数字，“") + std::string(digits) + Gbk("”不是。"));
  int sum = 0;
  for (size_t i = 0; i < 12; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
  return std::string(1, static_cast<char>('0' + (10 - sum % 10) % 10));
}

std::string SheetRangeRef(long long row, long long columnCount) {
  if (columnCount < 1)
    throw EConvertError(Gbk("表格区域至少要有一列，列数") + ToDecimal(columnCount) + Gbk("不对。"));
  return "A1:" + ColumnLetters(columnCount) + ToDecimal(row);
}
