#include "ui/export_text.h"

#include <gtest/gtest.h>

TEST(ExportText, OnlyTheExactBlueTagIsRemoved) {
    struct Case {
        const char* what;
        std::string in, out;
    } cases[] = {
        {"taken status loses its tag", "a.com\t<#0000FF>NA\t\r\n", "a.com\tNA\t\r\n"},
        {"queued status loses its tag", "<#0000FF>?\t", "?\t"},
        {"red tag of a free name stays", "b.com\t<#FF0000>Free\t\r\n",
         "b.com\t<#FF0000>Free\t\r\n"},
        {"red tag of a failed name stays", "<#FF0000>Error", "<#FF0000>Error"},
        {"lower-case hex is another tag", "<#0000ff>NA", "<#0000ff>NA"},
        {"every occurrence", "<#0000FF>x<#0000FF><#0000FF>y", "xy"},
        {"a tag formed by a removal stays", "<#00<#0000FF>00FF>NA", "<#0000FF>NA"},
        {"an unfinished tag stays", "<#0000FF", "<#0000FF"},
        {"empty text", "", ""},
        {"bytes around the tag are kept, zero bytes too", std::string("\0<#0000FF>\xff", 11),
         std::string("\0\xff", 2)},
    };
    for (const Case& c : cases) EXPECT_EQ(RemoveBlueTags(c.in), c.out) << c.what;
}
