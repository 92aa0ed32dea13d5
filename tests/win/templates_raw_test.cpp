// The dialog templates as stored in the executable, read field by field: exact window styles,
// extended styles, font and item order. What the dialog manager later changes at run time (scroll
// bars shown on demand, frames turned into edges) cannot hide a wrong template here.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "framework/app_win.h"
#include "res/resource.h"

namespace {

struct RawItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::string className;  // "#128" style for the predefined ordinals
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct RawTemplate {
    bool ok = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    int pointSize = 0;
    std::string face;
    std::vector<RawItem> items;
};

// Reads DLGTEMPLATEEX with bounds checks; ok stays false for anything it cannot follow.
class CTemplateReader {
public:
    CTemplateReader(const BYTE* data, size_t size) : m_p(data), m_end(data + size) {}

    bool Word(WORD& w) { return Take(&w, 2); }
    bool DWord(DWORD& d) { return Take(&d, 4); }
    bool Short(short& s) { return Take(&s, 2); }
    bool Align4(const BYTE* base) {
        while (((m_p - base) & 3) != 0) {
            if (m_p >= m_end)
                return false;
            ++m_p;
        }
        return true;
    }
    // sz_Or_Ord: nothing, an ordinal ("#n") or a zero-terminated UTF-16 string (ASCII kept).
    bool SzOrOrd(std::string& out) {
        WORD w = 0;
        if (!Word(w))
            return false;
        out.clear();
        if (w == 0)
            return true;
        if (w == 0xFFFF) {
            WORD ord = 0;
            if (!Word(ord))
                return false;
            out = "#" + std::to_string(ord);
            return true;
        }
        for (;;) {
            out += static_cast<char>(w < 0x80 ? w : '?');
            if (!Word(w))
                return false;
            if (w == 0)
                return true;
        }
    }
    bool Skip(size_t n) {
        if (static_cast<size_t>(m_end - m_p) < n)
            return false;
        m_p += n;
        return true;
    }

private:
    bool Take(void* out, size_t n) {
        if (static_cast<size_t>(m_end - m_p) < n)
            return false;
        std::memcpy(out, m_p, n);
        m_p += n;
        return true;
    }
    const BYTE* m_p;
    const BYTE* m_end;
};

RawTemplate ReadTemplate(UINT id) {
    RawTemplate t;
    HRSRC res = ::FindResourceA(GetResourceInstance(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (res == nullptr)
        return t;
    HGLOBAL mem = ::LoadResource(GetResourceInstance(), res);
    const BYTE* base = static_cast<const BYTE*>(::LockResource(mem));
    const size_t size = ::SizeofResource(GetResourceInstance(), res);
    if (base == nullptr)
        return t;
    CTemplateReader r(base, size);
    WORD version = 0, signature = 0, count = 0, weight = 0;
    DWORD help = 0;
    short x, y, cx, cy;
    std::string menu, cls, title;
    if (!r.Word(version) || !r.Word(signature) || version != 1 || signature != 0xFFFF)
        return t;
    if (!r.DWord(help) || !r.DWord(t.exStyle) || !r.DWord(t.style) || !r.Word(count))
        return t;
    if (!r.Short(x) || !r.Short(y) || !r.Short(cx) || !r.Short(cy))
        return t;
    if (!r.SzOrOrd(menu) || !r.SzOrOrd(cls) || !r.SzOrOrd(title))
        return t;
    if (t.style & DS_SETFONT) {
        WORD points = 0;
        if (!r.Word(points) || !r.Word(weight) || !r.Skip(2) || !r.SzOrOrd(t.face))
            return t;
        t.pointSize = points;
    }
    for (WORD i = 0; i < count; ++i) {
        RawItem item;
        DWORD itemId = 0;
        WORD extra = 0;
        std::string text;
        if (!r.Align4(base) || !r.DWord(help) || !r.DWord(item.exStyle) || !r.DWord(item.style))
            return t;
        if (!r.Short(item.x) || !r.Short(item.y) || !r.Short(item.cx) || !r.Short(item.cy))
            return t;
        if (!r.DWord(itemId) || !r.SzOrOrd(item.className) || !r.SzOrOrd(text) || !r.Word(extra))
            return t;
        if (!r.Skip(extra))
            return t;
        item.id = static_cast<int>(itemId);
        t.items.push_back(item);
    }
    t.ok = true;
    return t;
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefPush = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kText = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
const char* const kButton = "#128";
const char* const kEditClass = "#129";
const char* const kStatic = "#130";
const char* const kListBox = "#131";

struct WantedItem {
    int id;
    const char* className;
    DWORD style;
};

struct WantedTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    std::vector<WantedItem> items;  // in template order
};

TEST(RawTemplates, StylesFontAndOrderAreExactlyAsDesigned) {
    const DWORD modal = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    const WantedTemplate wanted[] = {
        {IDD_CHECKER_DIALOG,
         WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
             WS_MAXIMIZEBOX | DS_SETFONT,
         WS_EX_APPWINDOW,
         {
             {IDC_NEW, kButton, kPush},
             {IDC_ADD, kButton, kPush},
             {IDC_DELETE, kButton, kPush},
             {IDC_LOOKUP, kButton, kPush},
             {IDC_LOOKUP_ALL, kButton, kPush},
             {IDC_RESET, kButton, kPush},
             {IDC_STOP, kButton, kPush},
             {IDC_EXPORT, kButton, kPush},
             {IDC_ABOUT, kButton, kPush},
             {IDC_CONFIGURE, kButton, kPush},
             {IDC_MAKER, kButton, kPush},
             {IDOK, kButton, kPush},
             {IDC_DOMAIN_LIST, "SysListView32",
              kChild | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS |
                  WS_TABSTOP},
             {IDC_QUEUE_STATUS, kStatic, kText | SS_SUNKEN | SS_CENTERIMAGE},
             {IDC_BADGE_ICON, "Static", kChild | SS_ICON | SS_REALSIZEIMAGE},
             {IDC_BUTTON_FRAME, kButton, kGroup},
             {IDC_APP_ICON, "Static", kChild | SS_ICON},
         }},
        {IDD_ADD_NAMES,
         modal,
         0,
         {
             {IDC_BANNER, kStatic, kText},
             {IDC_STATIC, kStatic, kText},
             {IDC_NAMES_EDIT, kEditClass,
              kEdit | ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL},
             {IDC_IMPORT_FILE, kButton, kPush},
             {IDOK, kButton, kDefPush},
             {IDCANCEL, kButton, kPush},
         }},
        {IDD_CONFIGURE,
         modal,
         0,
         {
             {IDOK, kButton, kDefPush},
             {IDC_EXTENSION_LIST, kListBox,
              kChild | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP},
             {IDC_STATIC, kStatic, kText},
             {IDC_SERVER, kEditClass, kEdit | ES_AUTOHSCROLL},
             {IDC_STATIC, kStatic, kText},
             {IDC_STATIC, kStatic, kText},
             {IDC_AVAILABLE_TOKEN, kEditClass, kEdit | ES_AUTOHSCROLL},
             {IDC_QUERY_PREFIX, kEditClass, kEdit | ES_AUTOHSCROLL},
             {IDC_STATIC, kStatic, kText},
             {IDC_STATIC, kStatic, kText},
             {IDC_MAX_CONNECTIONS, kEditClass, kEdit | ES_AUTOHSCROLL},
             {IDC_STATIC, kStatic, kText},
             {IDC_INTERVAL, kEditClass, kEdit | ES_AUTOHSCROLL},
             {IDC_STATIC, "Static", kChild | SS_ETCHEDHORZ},
             {IDC_STATIC, kStatic, kText},
             {IDC_NEW_EXTENSION, kEditClass, kEdit | ES_AUTOHSCROLL},
             {IDC_ADD_EXTENSION, kButton, kPush},
         }},
        {IDD_IMPORT_PROGRESS,
         modal | WS_VISIBLE,
         0,
         {
             {IDC_PROGRESS_STATUS, kStatic, kText},
             {IDC_PROGRESS_PERCENT, kStatic, kText},
             {IDC_PROGRESS_BAR, "msctls_progress32", kChild | WS_BORDER},
             {IDCANCEL, kButton, kDefPush},
         }},
        {IDD_ABOUTBOX,
         modal,
         0,
         {
             {IDC_STATIC, kButton, kGroup},
             {IDC_STATIC, "Static", kChild | SS_ICON},
             {IDC_STATIC, kStatic, kText | SS_CENTERIMAGE},
             {IDC_STATIC, kStatic, kText},
             {IDC_STATIC, kButton, kGroup},
             {IDC_STATIC, kStatic, kText},
             {IDC_STATIC, kStatic, kText},
             {IDC_STATIC, kStatic, kText},
             {IDOK, kButton, kDefPush},
         }},
    };
    for (const WantedTemplate& s : wanted) {
        SCOPED_TRACE(s.id);
        const RawTemplate t = ReadTemplate(s.id);
        ASSERT_TRUE(t.ok);
        EXPECT_EQ(t.style, s.style) << std::hex << t.style;
        EXPECT_EQ(t.exStyle, s.exStyle) << std::hex << t.exStyle;
        EXPECT_EQ(t.pointSize, 8);
        EXPECT_EQ(t.face, "MS Sans Serif");
        ASSERT_EQ(t.items.size(), s.items.size());
        for (size_t i = 0; i < t.items.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(t.items[i].id, s.items[i].id);
            EXPECT_EQ(_stricmp(t.items[i].className.c_str(), s.items[i].className), 0)
                << t.items[i].className;
            EXPECT_EQ(t.items[i].style, s.items[i].style)
                << std::hex << t.items[i].style << " vs " << s.items[i].style;
            EXPECT_EQ(t.items[i].exStyle, 0u);
        }
    }
}

TEST(RawTemplates, SizesInDialogUnits) {
    struct Case {
        UINT id;
        short cx, cy;
    };
    const Case cases[] = {{IDD_CHECKER_DIALOG, 364, 195},
                          {IDD_ADD_NAMES, 268, 195},
                          {IDD_CONFIGURE, 259, 182},
                          {IDD_IMPORT_PROGRESS, 186, 79},
                          {IDD_ABOUTBOX, 251, 190}};
    for (const Case& c : cases) {
        HRSRC res =
            ::FindResourceA(GetResourceInstance(), MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(5));
        ASSERT_NE(res, nullptr);
        const BYTE* p =
            static_cast<const BYTE*>(::LockResource(::LoadResource(GetResourceInstance(), res)));
        ASSERT_NE(p, nullptr);
        // DLGTEMPLATEEX: version, signature, help id, ex-style, style, count, x, y, cx, cy.
        short cx = 0, cy = 0;
        std::memcpy(&cx, p + 22, 2);
        std::memcpy(&cy, p + 24, 2);
        EXPECT_EQ(cx, c.cx) << c.id;
        EXPECT_EQ(cy, c.cy) << c.id;
    }
}

TEST(RawTemplates, DamagedTemplateDataIsRefusedNotOverrun) {
    // The reader itself must stop at the end of short or broken data.
    const BYTE truncated[] = {1, 0, 0xFF, 0xFF, 0, 0};
    CTemplateReader r(truncated, sizeof truncated);
    WORD w = 0;
    DWORD d = 0;
    EXPECT_TRUE(r.Word(w));
    EXPECT_TRUE(r.Word(w));
    EXPECT_FALSE(r.DWord(d));
    const BYTE unterminated[] = {'a', 0, 'b', 0};
    CTemplateReader s(unterminated, sizeof unterminated);
    std::string text;
    EXPECT_FALSE(s.SzOrOrd(text));
}

}  // namespace
