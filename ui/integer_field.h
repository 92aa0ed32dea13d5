// The acceptance rule of the Configure dialog's number fields.
#pragma once

#include <string_view>

// Only this many leading characters of a field are read.
constexpr size_t INTEGER_FIELD_MAX_CHARS = 31;

extern const char INTEGER_FIELD_REFUSED[];  // "Please enter an integer."

// Reads the first 31 characters: optional blanks or tabs, a decimal integer with an optional sign,
// optional blanks or tabs, nothing else. Zero is accepted only when the number begins with the
// digit 0 ("0" and "00" pass, "-0" and "+0" do not). Beyond the range of int the value is clamped
// to INT_MAX or INT_MIN. False (and `value` untouched) when the text is refused.
bool ParseIntegerField(std::string_view text, int& value);
