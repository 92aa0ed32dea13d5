// The texts of the main list's nine columns, read from the domain records at paint time.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "framework/date_time.h"

class CDomainArray;
class CDomainData;

constexpr int kListColumnCount = 9;
// Headings of columns 0..8; column 0 is "#".
const char* ListColumnHeading(int column);

// Formats the date part of a valid date in the user's short date format.
using DateFormatter = std::function<std::string(const CDateTime&)>;

// Fixed text for a state code; "?" for any unknown value.
const char* StateCellText(int state);
// Upper-cased status text when the record has one, else the state's text.
std::string StatusCellText(const CDomainData& record);
// Upper case in the Windows-1252 code page (ASCII and the Latin-1 letters).
std::string UpperAnsi(std::string_view text);

// The cell text of (row, column), or nothing when the list should leave its buffer untouched
// (no record at `row` for columns 2..8, or a column outside 0..8). Column 0 is row + 1 and
// column 1 is the name (empty without a record). Date cells are empty unless the date is valid.
std::optional<std::string> GetCellText(const CDomainArray& domains, int row, int column,
                                       const DateFormatter& formatDate);

// Copies at most capacity - 1 bytes and a terminating zero; returns the bytes copied before the
// zero. Nothing is written when `buffer` is null or `capacity` is 0.
size_t CopyCellText(std::string_view text, char* buffer, size_t capacity);

// Portable short date "M/D/YYYY" for builds without the OLE conversion; empty unless valid.
std::string FormatNumericDate(const CDateTime& dt);
