// Whole numbers typed into the count fields of the purchasing pages.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/text.h"

enum class WholeNumber { Valid, NotANumber, OutOfRange };

// Reads an optionally signed decimal number (leading blanks allowed, nothing
// after the digits) that must fit a 32-bit count. *value is set only for
// Valid; an empty text is NotANumber.
inline WholeNumber ParseWholeNumber(std::string_view text, int32_t* value) {
  long long v = 0;
  if (!ParseDecimal(text, &v)) return WholeNumber::NotANumber;
  if (v < INT32_MIN || v > INT32_MAX) return WholeNumber::OutOfRange;
  *value = static_cast<int32_t>(v);
  return WholeNumber::Valid;
}
