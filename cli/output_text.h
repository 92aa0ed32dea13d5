// Text conversions for the two output formats: TSV cells stay single-byte ANSI but can never
// break a line or a column; JSON needs UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "framework/date_time.h"

// Backslash, tab, carriage return and line feed as \\ \t \r \n, every other control byte (below
// 0x20, and 0x7F) as \xHH; all other bytes unchanged. A hostile WHOIS text thus stays in its cell.
std::string EscapeTsvCell(std::string_view text);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsValidUtf8(std::string_view text);
// Text as UTF-8: kept when it already is UTF-8, otherwise read as Windows-1252 (the ANSI code page
// of the records), with the five unassigned bytes taken as the C1 controls of the same value.
std::string AnsiToUtf8(std::string_view text);

// "YYYY-MM-DD" and "YYYY-MM-DDTHH:MM:SS" of a valid date-time; empty for a null or invalid value
// and for a day count outside the years 0..9999 (a damaged file can hold any bytes).
std::string FormatIsoDate(const CDateTime& dt);
std::string FormatIsoDateTime(const CDateTime& dt);
