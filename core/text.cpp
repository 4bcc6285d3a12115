#include "core/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

// Converts with a fresh iconv descriptor; on an invalid or unconvertible
// sequence, writes `fallback` and skips one input byte (from GBK) or one
// UTF-8 character (to GBK).
std::string Convert(const char* to, const char* from, std::string_view in,
                    std::string_view fallback, bool skipUtf8Char) {
  std::string out;
  if (in.empty()) return out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.resize(in.size() * 3 + 16);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  size_t done = 0;
  while (srcLeft > 0) {
    char* dst = out.data() + done;
    size_t dstLeft = out.size() - done;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    done = out.size() - dstLeft;
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ or EINVAL: replace and step over the offending input.
    size_t skip = 1;
    if (skipUtf8Char) {
      unsigned char c = static_cast<unsigned char>(*src);
      skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      if (skip > srcLeft) skip = srcLeft;
    }
    src += skip;
    srcLeft -= skip;
    if (out.size() - done < fallback.size() + 16) out.resize(out.size() * 2 + fallback.size());
    std::memcpy(out.data() + done, fallback.data(), fallback.size());
    done += fallback.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  out.resize(done);
  return out;
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  return Convert("UTF-8", "CP936", gbk, "\xEF\xBF\xBD", false);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert("CP936", "UTF-8", utf8, "?", true);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string_view TrimControls(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20) --e;
  return text.substr(b, e - b);
}

std::string_view TrimBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return text.substr(b, e - b);
}

bool ParseDecimal(std::string_view text, long long* value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    if (v > 100000000000000LL) return false;  // far beyond any length in a record
    v = v * 10 + (text[i] - '0');
  }
  *value = negative ? -v : v;
  return true;
}

bool AllDigits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

size_t LastGbkCharStart(std::string_view gbk) {
  size_t i = 0, last = 0;
  while (i < gbk.size()) {
    last = i;
    unsigned char c = static_cast<unsigned char>(gbk[i]);
    i += (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
  }
  return last;
}

std::string ToDecimal(long long value) { return std::to_string(value); }
