#include "ui/build_date.h"

#include "build_info.h"
#include "framework/text.h"

std::string FormatBuildDate(std::string_view stamped) {
    std::string s(stamped);
    if (s.find('.') != std::string::npos)
        return s;
    s = ToLower(s);
    ReplaceAll(s, "  ", " ");
    ReplaceAll(s, " ", ".");
    static const char* const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int m = 0; m < 12; ++m) ReplaceAll(s, months[m], FormatText("%02d", m + 1));
    return s;
}

std::string BuildDateLine() {
    return "Build Date: " + FormatBuildDate(QUORVIX_BUILD_DATE);
}
