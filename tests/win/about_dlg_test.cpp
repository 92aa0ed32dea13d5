// The About box: placeholder texts replaced at initialisation, title font on two of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "build_info.h"
#include "framework/gdi_win.h"
#include "framework/window_win.h"
#include "tests/win/modal_driver.h"
#include "ui/about_dlg_win.h"
#include "ui/build_date.h"

namespace {

struct StaticText {
    std::string text;
    HFONT font;
};

std::vector<StaticText> StaticTexts(HWND dialog) {
    std::vector<StaticText> out;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (GetClassNameString(child) == "Static")
            out.push_back({GetWindowTextString(child),
                           reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0))});
    }
    return out;
}

}  // namespace

TEST(AboutDlg, PlaceholdersAreReplacedAndTitlesGetTheTitleFont) {
    CAboutDlg dlg;
    std::vector<StaticText> texts;
    CModalDriver driver("About", [&](HWND h) {
        texts = StaticTexts(h);
        CModalDriver::Click(h, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_TRUE(driver.Ran());
    std::map<std::string, HFONT> byText;
    for (const StaticText& t : texts) byText[t.text] = t.font;
    const std::string date = "Build Date: " + FormatBuildDate(QUORVIX_BUILD_DATE);
    for (const char* expected : {"Quorvix", "Copyright (C) 2026 Corvane Technologies",
                                 "Brought to you by", "Corvane Technologies", date.c_str()}) {
        EXPECT_EQ(byText.count(expected), 1u) << expected;
    }
    for (const StaticText& t : texts) EXPECT_EQ(t.text.find('<'), std::string::npos) << t.text;
    EXPECT_EQ(byText["Quorvix"], dlg.GetTitleFont());
    EXPECT_EQ(byText["Corvane Technologies"], dlg.GetTitleFont());
    EXPECT_NE(byText["Brought to you by"], dlg.GetTitleFont());
    EXPECT_NE(byText[date], dlg.GetTitleFont());
}

TEST(AboutDlg, TitleFontIsBoldArialTwenty) {
    CAboutDlg dlg;
    LOGFONTA lf = {};
    ASSERT_TRUE(GetFontDescription(dlg.GetTitleFont(), lf));
    EXPECT_EQ(lf.lfHeight, 20);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(lf.lfPitchAndFamily, 16);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
}

TEST(AboutDlg, OnlyExactPlaceholdersInStaticControlsAreReplaced) {
    struct Case {
        const char* className;
        const char* text;
        bool replaced;
        const char* after;
    } cases[] = {
        {"STATIC", "<Copyright>", true, "Copyright (C) 2026 Corvane Technologies"},
        {"static", "<Product Name>", true, "Quorvix"},
        {"STATIC", "<PRODUCT NAME>", false, "<PRODUCT NAME>"},
        {"STATIC", "<Copyright> ", false, "<Copyright> "},
        {"STATIC", "Brought to you by", false, "Brought to you by"},
        {"BUTTON", "<Copyright>", false, "<Copyright>"},
        {"EDIT", "<Co-brand Name>", false, "<Co-brand Name>"},
    };
    CAboutDlg dlg;
    for (const Case& c : cases) {
        HWND w = ::CreateWindowExA(0, c.className, c.text, WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(w, nullptr) << c.className;
        EXPECT_EQ(dlg.ReplacePlaceholder(w), c.replaced) << c.className << " " << c.text;
        EXPECT_EQ(GetWindowTextString(w), c.after) << c.className << " " << c.text;
        ::DestroyWindow(w);
    }
}
