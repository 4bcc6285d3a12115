// Byte-string helpers and the one place where text changes encoding.
//
// All record data, list lines and messages inside Lumarin are GBK bytes held
// in std::string; every length and position is in bytes. Text becomes UTF-8
// only on its way to the window or the terminal, through GbkToUtf8, and
// comes back through Utf8ToGbk. Nothing else converts.
#pragma once

#include <string>
#include <string_view>

// Decodes GBK (code page 936) into UTF-8. A byte sequence that is not GBK
// becomes U+FFFD, one per offending byte; the rest is kept. Never throws.
std::string GbkToUtf8(std::string_view gbk);

// Encodes UTF-8 as GBK. A character GBK cannot hold, or a malformed UTF-8
// sequence, becomes '?'. Never throws.
std::string Utf8ToGbk(std::string_view utf8);

// A message or caption written in the source as UTF-8, as the GBK bytes the
// program works with. Use it for the program's own texts: Gbk("请指定MARC文件。").
inline std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8); }

// Replaces every occurrence of `from` by `to`, left to right, without
// overlapping and without re-scanning replaced text. REQUIRES: from non-empty.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Removes every byte at or below 0x20 (blanks and control bytes) from both ends.
std::string_view TrimControls(std::string_view text);
// Removes blanks (0x20) only, from both ends.
std::string_view TrimBlanks(std::string_view text);

// Reads a whole text as a decimal integer the way the record rules need it:
// optional leading blanks, an optional sign, then one or more ASCII digits and
// nothing else. Returns false (and leaves *value alone) otherwise.
bool ParseDecimal(std::string_view text, long long* value);

// True when every byte is an ASCII digit (an empty text is all digits).
bool AllDigits(std::string_view text);

// The byte offset where the last character of a GBK text starts (a lead byte
// 0x81-0xFE takes the byte after it with it). Returns 0 for an empty text.
size_t LastGbkCharStart(std::string_view gbk);

// The decimal form of an integer, for messages and list lines.
std::string ToDecimal(long long value);
