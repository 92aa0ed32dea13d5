#include "ui/window_placement.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/settings_store.h"

namespace {

const CPlacementRecord kSample{2, 3, -1, -1, -8, -31, 120, 80, 900, 700};

TEST(WindowPlacement, FormatWritesTenCommaSeparatedNumbers) {
    EXPECT_EQ(FormatPlacement(kSample), "2,3,-1,-1,-8,-31,120,80,900,700");
    CPlacementRecord big;
    big.m_nFlags = 4294967295u;
    big.m_nLeft = -2147483647 - 1;
    big.m_nBottom = 2147483647;
    EXPECT_EQ(FormatPlacement(big), "4294967295,0,0,0,0,0,-2147483648,0,0,2147483647");
}

TEST(WindowPlacement, ParseAcceptsExactlyTenNumbers) {
    struct Case {
        const char* text;
        bool ok;
    } cases[] = {
        {"2,3,-1,-1,-8,-31,120,80,900,700", true},
        {"2,3,-1,-1,-8,-31,120,80,900,700,55", true},  // after the tenth: ignored
        {"2,3,-1,-1,-8,-31,120,80,900,700xyz", true},
        {"2,3,-1,-1,-8,-31,120,80,900,700 trailing", true},
        {" 2, 3,-1,-1,-8,-31,+120,80,900,700", true},  // blanks before a number, plus sign
        {"2,3,-1,-1,-8,-31,120,80,900", false},        // nine numbers
        {"2,3,-1,-1,-8,-31,120,80,900,", false},
        {"2,3,-1,-1,-8,-31,120,80,x,700", false},  // a letter
        {"2,3,-1,-1,-8,-31,120,80,900,x", false},
        {"2;3;-1;-1;-8;-31;120;80;900;700", false},
        {"2 ,3,-1,-1,-8,-31,120,80,900,700", false},  // blank before a comma
        {"", false},
        {",,,,,,,,,", false},
        {"-2,3,-1,-1,-8,-31,120,80,900,700", false},  // sign on the unsigned flags
        {"2,-3,-1,-1,-8,-31,120,80,900,700", false},
        {"4294967296,3,-1,-1,-8,-31,120,80,900,700", false},  // beyond unsigned
        {"2,3,-1,-1,-8,-31,2147483648,80,900,700", false},    // beyond int
        {"2,3,-1,-1,-8,-31,-2147483649,80,900,700", false},
        {"2,3,-1,-1,-8,-31,-2147483648,80,900,2147483647", true},
        {"2,3,-1,-1,-8,-31,99999999999999999999999999,80,900,700", false},
        {"2,3,-,-1,-8,-31,120,80,900,700", false},
        {"2,3,--1,-1,-8,-31,120,80,900,700", false},
    };
    for (const Case& c : cases) {
        CPlacementRecord out = kSample;
        out.m_nFlags = 77;
        const CPlacementRecord before = out;
        EXPECT_EQ(ParsePlacement(c.text, out), c.ok) << '"' << c.text << '"';
        if (!c.ok) {
            EXPECT_TRUE(out == before) << "refused text changed the record: " << c.text;
        }
    }
    CPlacementRecord out;
    ASSERT_TRUE(ParsePlacement("2,3,-1,-1,-8,-31,120,80,900,700,55", out));
    EXPECT_TRUE(out == kSample);
    ASSERT_TRUE(ParsePlacement(FormatPlacement(kSample), out));
    EXPECT_TRUE(out == kSample);
}

TEST(WindowPlacement, SaveRulesForFlagsAndShowState) {
    struct Case {
        const char* name;
        unsigned flags, show;
        bool maximized, minimized;
        unsigned savedFlags, savedShow;
    } cases[] = {
        {"NormalClearsFlags", 1, 1, false, false, 0, 1},
        {"MaximizedRestoresMaximized", 0, 3, true, false, 2, 3},
        {"MaximizedDropsOtherFlags", 5, 3, true, false, 2, 3},
        {"MinimizedLosesBitTwo", 0, 2, false, true, 0, 0},
        {"MinimizedShowSevenBecomesFive", 0, 7, false, true, 0, 5},
        {"MinimizedShowSixKeepsOtherBits", 0, 6, false, true, 0, 4},
        {"NotMinimizedKeepsShowTwo", 0, 2, false, false, 0, 2},
    };
    for (const Case& c : cases) {
        CPlacementRecord p = kSample;
        p.m_nFlags = c.flags;
        p.m_nShowCmd = c.show;
        const CPlacementRecord saved = PlacementForSave(p, c.maximized, c.minimized);
        EXPECT_EQ(saved.m_nFlags, c.savedFlags) << c.name;
        EXPECT_EQ(saved.m_nShowCmd, c.savedShow) << c.name;
        EXPECT_EQ(saved.m_nLeft, kSample.m_nLeft) << c.name;
        EXPECT_EQ(saved.m_nBottom, kSample.m_nBottom) << c.name;
    }
}

TEST(WindowPlacement, StoreRoundTripAndOddStoredValues) {
    CMemorySettingsStore store;
    CPlacementRecord out;
    EXPECT_FALSE(LoadWindowPlacement(store, out));  // nothing stored

    ASSERT_TRUE(SaveWindowPlacement(store, kSample, true, false));
    EXPECT_EQ(store.GetString("Settings", "WindowPos"), "2,3,-1,-1,-8,-31,120,80,900,700");
    ASSERT_TRUE(LoadWindowPlacement(store, out));
    EXPECT_TRUE(out == kSample);

    const std::string odd[] = {"", "1,2,3,4,5,6,7,8,9", "garbage", std::string(100000, '9'),
                               std::string("1,2,3,4,5,6,7,8,9\0,10", 20)};
    for (const std::string& text : odd) {
        store.WriteString("Settings", "WindowPos", text);
        CPlacementRecord untouched = kSample;
        EXPECT_FALSE(LoadWindowPlacement(store, untouched)) << text.substr(0, 20);
        EXPECT_TRUE(untouched == kSample);
    }
    // A number where text belongs reads as absent.
    store.WriteInt("Settings", "WindowPos", 5);
    EXPECT_FALSE(LoadWindowPlacement(store, out));
}

}  // namespace
