#include "ui/build_date.h"

#include <gtest/gtest.h>

#include "build_info.h"

TEST(BuildDate, StampedDatesBecomeDottedNumbers) {
    struct Case {
        const char* stamped;
        const char* shown;
    } cases[] = {
        {"Mar 28 2003", "03.28.2003"},
        {"Mar  8 2003", "03.8.2003"},  // single-digit day loses its space, stays one digit
        {"Jan  1 2026", "01.1.2026"},
        {"Feb 14 2026", "02.14.2026"},
        {"Apr 30 2026", "04.30.2026"},
        {"May 31 2026", "05.31.2026"},
        {"Jun 15 2026", "06.15.2026"},
        {"Jul  4 2026", "07.4.2026"},
        {"Aug 20 2026", "08.20.2026"},
        {"Sep  9 2026", "09.9.2026"},
        {"Oct 10 2026", "10.10.2026"},
        {"Nov 11 2026", "11.11.2026"},
        {"Dec 25 2026", "12.25.2026"},
        {"DEC 25 2026", "12.25.2026"},
        {"03.28.2003", "03.28.2003"},    // already dotted: kept as it is
        {"Mar 28.2003", "Mar 28.2003"},  // any dot keeps the whole text
        {"Mar   8 2003", "03..8.2003"},  // three spaces: one pass halves only the first pair
        {"", ""},
        {"December 1 2026", "12ember.1.2026"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatBuildDate(c.stamped), c.shown) << c.stamped;
}

TEST(BuildDate, LineShowsThisBuildsDate) {
    EXPECT_EQ(BuildDateLine(), "Build Date: " + FormatBuildDate(QUORVIX_BUILD_DATE));
    const std::string line = BuildDateLine();
    // Month number, day and year only: no month word or space left.
    EXPECT_EQ(line.find_first_not_of("0123456789.", 12), std::string::npos) << line;
}
