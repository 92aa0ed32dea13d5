// The build date as the About box shows it.
#pragma once

#include <string>
#include <string_view>

// "Mar 28 2003" -> "03.28.2003", "Mar  8 2003" -> "03.8.2003": lowered, double spaces made single,
// spaces made dots, month abbreviations made numbers. A text that already holds a "." is kept.
std::string FormatBuildDate(std::string_view stamped);

// "Build Date: %s" with the formatted date stamped into this build.
std::string BuildDateLine();
