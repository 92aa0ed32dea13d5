// The date part of a date cell in the user's short date format, by the OLE date conversion.
#pragma once

#include <string>

#include "framework/date_time.h"

// Empty unless the value is valid; falls back to the numeric form when the conversion refuses
// the day count (outside the years 100..9999 that OLE dates cover).
std::string FormatShortDate(const CDateTime& dt);
