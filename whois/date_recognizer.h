// Turns the free-form date text that follows a WHOIS date label into a calendar date.
#pragma once

#include <string>
#include <string_view>

#include "framework/date_time.h"

// True when a valid date (at 00:00:00) was stored in `out`; on false `out` must not be used.
// `answer` is the whole WHOIS answer, searched for a few registrar marker texts.
bool RecognizeDate(std::string_view answer, std::string_view dateText, CDateTime& out);
// The word-based fallback, on an already cleaned text.
bool RecognizeDateByWords(std::string_view cleaned, CDateTime& out);
int CountChar(std::string_view text, char c);
