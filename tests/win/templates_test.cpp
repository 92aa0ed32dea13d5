// The dialog templates, menus, icons and strings embedded in the program: every control with the
// right id, class, text, position and the styles the code relies on.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app_win.h"
#include "framework/dialog_win.h"
#include "framework/menu_win.h"
#include "framework/text.h"
#include "framework/window_win.h"
#include "res/resource.h"

namespace {

struct WantedControl {
    int id;  // IDC_STATIC (-1) for controls found by text
    const char* className;
    const char* text;  // nullptr: not checked (icons)
    int x, y, w, h;    // dialog units
    bool checkSize;
};

struct WantedTemplate {
    UINT templateId;
    const char* caption;
    std::vector<WantedControl> controls;
};

// A dialog from a template and nothing else, shown without being run.
class CPlainDialog : public CModelessDialog {
public:
    using CModelessDialog::CModelessDialog;
};

const std::vector<WantedTemplate>& Templates() {
    static const std::vector<WantedTemplate> wanted = {
        {IDD_CHECKER_DIALOG,
         "Quorvix (for global top level domains)",
         {
             {IDC_NEW, "Button", "&New", 8, 9, 28, 14, true},
             {IDC_ADD, "Button", "&Add...", 39, 9, 33, 14, true},
             {IDC_DELETE, "Button", "&Delete", 77, 9, 38, 14, true},
             {IDC_LOOKUP, "Button", "&Lookup", 118, 9, 38, 14, true},
             {IDC_LOOKUP_ALL, "Button", "&Lookup All", 160, 9, 44, 14, true},
             {IDC_RESET, "Button", "&Reset", 208, 9, 35, 14, true},
             {IDC_STOP, "Button", "&Stop!", 246, 9, 35, 14, true},
             {IDC_EXPORT, "Button", "&Export...", 285, 9, 34, 14, true},
             {IDC_ABOUT, "Button", "&About...", 8, 30, 48, 14, true},
             {IDC_CONFIGURE, "Button", "&Configure...", 64, 30, 57, 14, true},
             {IDC_MAKER, "Button", "&Corvane Technologies", 129, 30, 100, 14, true},
             {IDOK, "Button", "&Close", 271, 30, 48, 14, true},
             {IDC_DOMAIN_LIST, WC_LISTVIEWA, "", 3, 53, 357, 110, true},
             {IDC_QUEUE_STATUS, "Static", "", 4, 179, 329, 10, true},
             {IDC_BADGE_ICON, "Static", nullptr, 340, 169, 20, 20, false},
             {IDC_BUTTON_FRAME, "Button", "", 3, 0, 357, 49, true},
             {IDC_APP_ICON, "Static", nullptr, 333, 10, 20, 20, false},
         }},
        {IDD_ADD_NAMES,
         "Add Domain Names",
         {
             {IDC_BANNER, "Static",
              "This software supports only Com, Net, Org, Edu, Info, Biz Domains. Country code "
              "domains are not supported.",
              8, 2, 248, 15, true},
             {IDC_STATIC, "Static",
              "Please type in (or paste from clipboard) the domain names into the box below. The "
              "names may be separated by space, comma or newline.",
              8, 22, 248, 20, true},
             {IDC_NAMES_EDIT, "Edit", "", 8, 47, 248, 111, true},
             {IDC_IMPORT_FILE, "Button", "Import Names From a Text File...", 8, 171, 119, 14, true},
             {IDOK, "Button", "OK", 141, 171, 50, 14, true},
             {IDCANCEL, "Button", "Cancel", 206, 171, 50, 14, true},
         }},
        {IDD_CONFIGURE,
         "Configure",
         {
             {IDOK, "Button", "Close", 197, 161, 50, 14, true},
             {IDC_EXTENSION_LIST, "ListBox", "", 7, 23, 63, 106, true},
             {IDC_STATIC, "Static", "Domain Extension", 7, 9, 63, 8, true},
             {IDC_SERVER, "Edit", "", 133, 24, 114, 12, true},
             {IDC_STATIC, "Static", "Whois Server:", 77, 25, 49, 8, true},
             {IDC_STATIC, "Static", "Text Present in whois output when domain is free", 79, 68, 168,
              8, true},
             {IDC_AVAILABLE_TOKEN, "Edit", "", 79, 80, 168, 12, true},
             {IDC_QUERY_PREFIX, "Edit", "", 133, 46, 114, 12, true},
             {IDC_STATIC, "Static", "Query Prefix:", 77, 47, 49, 8, true},
             {IDC_STATIC, "Static", "Maximum number of simultaneous connections", 94, 100, 112, 17,
              true},
             {IDC_MAX_CONNECTIONS, "Edit", "", 212, 103, 35, 12, true},
             {IDC_STATIC, "Static", "Minimum Interval between two connections (in seconds)", 93,
              124, 112, 17, true},
             {IDC_INTERVAL, "Edit", "", 212, 127, 35, 12, true},
             {IDC_STATIC, "Static",
              "Please select a domain extension from the list and then edit the corresponding "
              "parameters.",
              7, 160, 179, 17, true},
             {IDC_NEW_EXTENSION, "Edit", "", 7, 135, 44, 12, true},
             {IDC_ADD_EXTENSION, "Button", "+", 55, 135, 15, 12, true},
         }},
        {IDD_IMPORT_PROGRESS,
         "",
         {
             {IDC_PROGRESS_STATUS, "Static", "", 13, 7, 158, 8, true},
             {IDC_PROGRESS_PERCENT, "Static", " 0 %", 85, 23, 18, 8, true},
             {IDC_PROGRESS_BAR, PROGRESS_CLASSA, "", 15, 34, 154, 13, true},
             {IDCANCEL, "Button", "Cancel", 67, 58, 50, 14, true},
         }},
        {IDD_ABOUTBOX,
         "About",
         {
             {IDC_STATIC, "Static", "<Product Name>", 49, 13, 187, 12, true},
             {IDC_STATIC, "Static", "<Copyright>", 49, 32, 187, 18, true},
             {IDC_STATIC, "Static", "Brought to you by", 49, 70, 187, 9, true},
             {IDC_STATIC, "Static", "<Co-brand Name>", 49, 80, 187, 13, true},
             {IDC_STATIC, "Static", "<Version Date>", 9, 171, 76, 8, true},
             {IDOK, "Button", "OK", 181, 166, 61, 18, true},
         }},
    };
    return wanted;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND h = ::GetWindow(dialog, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    return children;
}

RECT ChildRectInDialogClient(HWND dialog, HWND child) {
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Where the dialog manager puts a control: origin and size are converted separately.
RECT DialogUnitsToPixels(HWND dialog, const WantedControl& c) {
    RECT origin = {c.x, c.y, 0, 0};
    RECT size = {0, 0, c.w, c.h};
    ::MapDialogRect(dialog, &origin);
    ::MapDialogRect(dialog, &size);
    return {origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
}

HWND FindControl(HWND dialog, const WantedControl& c) {
    if (c.id != IDC_STATIC)
        return ::GetDlgItem(dialog, c.id);
    for (HWND h : Children(dialog)) {
        if (::GetDlgCtrlID(h) == IDC_STATIC && GetWindowTextString(h) == c.text)
            return h;
    }
    return nullptr;
}

TEST(DialogTemplates, EveryControlHasItsIdClassTextAndPlace) {
    for (const WantedTemplate& t : Templates()) {
        SCOPED_TRACE("template " + std::to_string(t.templateId));
        CPlainDialog dlg(t.templateId);
        ASSERT_TRUE(dlg.Create());
        EXPECT_EQ(dlg.GetText(), t.caption);
        for (const WantedControl& c : t.controls) {
            SCOPED_TRACE("control " + std::to_string(c.id) + " " + (c.text ? c.text : ""));
            HWND h = FindControl(dlg.GetHandle(), c);
            ASSERT_NE(h, nullptr);
            EXPECT_TRUE(EqualsNoCase(GetClassNameString(h), c.className)) << GetClassNameString(h);
            if (c.text != nullptr)
                EXPECT_EQ(GetWindowTextString(h), c.text);
            const RECT want = DialogUnitsToPixels(dlg.GetHandle(), c);
            const RECT got = ChildRectInDialogClient(dlg.GetHandle(), h);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            if (c.checkSize) {
                EXPECT_EQ(got.right, want.right);
                EXPECT_EQ(got.bottom, want.bottom);
            }
        }
    }
}

TEST(DialogTemplates, NoControlBeyondTheTables) {
    // The About box's group boxes, icon and the Configure dialog's etched line are the only
    // controls the tables give without id or text.
    const struct {
        UINT templateId;
        size_t extra;
    } cases[] = {{IDD_CHECKER_DIALOG, 0},
                 {IDD_ADD_NAMES, 0},
                 {IDD_CONFIGURE, 1},
                 {IDD_IMPORT_PROGRESS, 0},
                 {IDD_ABOUTBOX, 3}};
    for (const auto& c : cases) {
        for (const WantedTemplate& t : Templates()) {
            if (t.templateId != c.templateId)
                continue;
            CPlainDialog dlg(t.templateId);
            ASSERT_TRUE(dlg.Create());
            EXPECT_EQ(Children(dlg.GetHandle()).size(), t.controls.size() + c.extra)
                << t.templateId;
        }
    }
}

LONG StyleOf(HWND h) {
    return ::GetWindowLongA(h, GWL_STYLE);
}

TEST(DialogTemplates, StylesTheCodeDependsOn) {
    struct StyleCase {
        UINT templateId;
        int id;  // 0: the dialog itself
        DWORD required;
        DWORD forbidden;
    };
    const StyleCase cases[] = {
        {IDD_CHECKER_DIALOG, 0,
         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0},
        {IDD_CHECKER_DIALOG, IDC_DOMAIN_LIST,
         LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | WS_TABSTOP,
         LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_SINGLESEL},
        {IDD_CHECKER_DIALOG, IDC_QUEUE_STATUS, SS_SUNKEN | SS_CENTERIMAGE, 0},
        {IDD_CHECKER_DIALOG, IDC_BADGE_ICON, SS_ICON | SS_REALSIZEIMAGE, 0},
        {IDD_CHECKER_DIALOG, IDC_APP_ICON, SS_ICON, 0},
        {IDD_CHECKER_DIALOG, IDC_BUTTON_FRAME, BS_GROUPBOX, 0},
        // No default button on the main window: Enter reaches IDOK only through the dialog.
        {IDD_CHECKER_DIALOG, IDOK, 0, BS_DEFPUSHBUTTON},
        {IDD_CHECKER_DIALOG, IDC_NEW, WS_TABSTOP, BS_DEFPUSHBUTTON},
        {IDD_ADD_NAMES, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_THICKFRAME},
        {IDD_ADD_NAMES, IDC_NAMES_EDIT, ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL, 0},
        {IDD_ADD_NAMES, IDOK, BS_DEFPUSHBUTTON, 0},
        {IDD_CONFIGURE, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_THICKFRAME},
        // The list box drops WS_VSCROLL while it has nothing to scroll, so it is not checked.
        {IDD_CONFIGURE, IDC_EXTENSION_LIST, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, LBS_SORT},
        {IDD_CONFIGURE, IDC_SERVER, ES_AUTOHSCROLL, ES_MULTILINE},
        {IDD_CONFIGURE, IDC_MAX_CONNECTIONS, ES_AUTOHSCROLL, ES_MULTILINE | ES_NUMBER},
        {IDD_CONFIGURE, IDC_INTERVAL, ES_AUTOHSCROLL, ES_MULTILINE | ES_NUMBER},
        {IDD_CONFIGURE, IDOK, BS_DEFPUSHBUTTON, 0},
        {IDD_IMPORT_PROGRESS, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0},
        {IDD_IMPORT_PROGRESS, IDCANCEL, BS_DEFPUSHBUTTON, 0},
        {IDD_ABOUTBOX, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_THICKFRAME},
        {IDD_ABOUTBOX, IDOK, BS_DEFPUSHBUTTON, 0},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.templateId) + "/" + std::to_string(c.id));
        CPlainDialog dlg(c.templateId);
        ASSERT_TRUE(dlg.Create());
        HWND h = c.id == 0 ? dlg.GetHandle() : ::GetDlgItem(dlg.GetHandle(), c.id);
        ASSERT_NE(h, nullptr);
        const DWORD style = StyleOf(h);
        if (c.id == IDOK || c.id == IDC_NEW || c.id == IDCANCEL) {
            // Button kinds are a number in the low nibble, not bits.
            const DWORD kind = style & BS_TYPEMASK;
            if (c.required & BS_DEFPUSHBUTTON)
                EXPECT_EQ(kind, BS_DEFPUSHBUTTON);
            if (c.forbidden & BS_DEFPUSHBUTTON)
                EXPECT_EQ(kind, BS_PUSHBUTTON);
            EXPECT_EQ(style & (c.required & ~BS_TYPEMASK), c.required & ~BS_TYPEMASK);
            continue;
        }
        if (c.id == IDC_BADGE_ICON || c.id == IDC_APP_ICON) {
            EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
            EXPECT_EQ(style & (c.required & ~SS_TYPEMASK), c.required & ~SS_TYPEMASK);
            continue;
        }
        if (c.id == IDC_BUTTON_FRAME) {
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
            continue;
        }
        EXPECT_EQ(style & c.required, c.required) << std::hex << style;
        EXPECT_EQ(style & c.forbidden, 0u) << std::hex << style;
    }
}

TEST(DialogTemplates, MainWindowIsShownInTheTaskBarAndVisible) {
    CPlainDialog dlg(IDD_CHECKER_DIALOG);
    ASSERT_TRUE(dlg.Create());
    EXPECT_NE(::GetWindowLongA(dlg.GetHandle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_TRUE(dlg.IsVisible());
    // The progress window is visible by itself as well; the others wait for DoModal.
    CPlainDialog progress(IDD_IMPORT_PROGRESS);
    ASSERT_TRUE(progress.Create());
    EXPECT_TRUE(progress.IsVisible());
    CPlainDialog about(IDD_ABOUTBOX);
    ASSERT_TRUE(about.Create());
    EXPECT_FALSE(about.IsVisible());
}

TEST(DialogTemplates, DialogFontIsMsSansSerifEight) {
    // The dialog's font is what the template names, after Wine's substitution; what matters is
    // that dialog units are computed from an 8-point font: MapDialogRect of 4x8 units gives the
    // font's average character width and height.
    for (UINT id :
         {IDD_CHECKER_DIALOG, IDD_ADD_NAMES, IDD_CONFIGURE, IDD_IMPORT_PROGRESS, IDD_ABOUTBOX}) {
        CPlainDialog dlg(id);
        ASSERT_TRUE(dlg.Create());
        HFONT font = dlg.GetFont();
        ASSERT_NE(font, nullptr) << id;
        LOGFONTA lf = {};
        ASSERT_EQ(::GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        HDC screen = ::GetDC(nullptr);
        const int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        EXPECT_EQ(-lf.lfHeight, ::MulDiv(8, pixelsPerInch, 72)) << id;
        EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif") << id;
    }
}

struct WantedMenuItem {
    UINT id;  // 0 for a separator
    const char* text;
};

std::vector<WantedMenuItem> ReadPopup(HMENU popup) {
    std::vector<WantedMenuItem> items;
    static std::vector<std::string> texts;  // keeps the texts alive for the comparison
    texts.clear();
    texts.reserve(32);
    const int n = ::GetMenuItemCount(popup);
    for (int i = 0; i < n; ++i) {
        char buffer[128] = {};
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
        mii.dwTypeData = buffer;
        mii.cch = sizeof buffer;
        ::GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &mii);
        texts.emplace_back((mii.fType & MFT_SEPARATOR) ? "" : buffer);
        items.push_back({(mii.fType & MFT_SEPARATOR) ? 0u : mii.wID, texts.back().c_str()});
        if ((mii.fType & MFT_SEPARATOR) == 0) {
            EXPECT_EQ(mii.fState & (MFS_GRAYED | MFS_DISABLED), 0u) << buffer;
        }
    }
    return items;
}

TEST(Menus, ItemsInOrderWithIdsAndTexts) {
    struct WantedMenu {
        UINT menuId;
        std::vector<WantedMenuItem> items;
    };
    const WantedMenu menus[] = {
        {IDM_EXPORT_MENU,
         {{ID_EXPORT_ALL, "&All Entries"}, {ID_EXPORT_SELECTED, "&Selected Entries"}}},
        {IDM_LIST_CONTEXT,
         {{ID_COPY_ALL, "Copy &All Entries"},
          {ID_COPY_SELECTED, "Copy &Selected Entries"},
          {ID_COPY_NAMES, "Copy All Names"},
          {0, ""},
          {IDC_DELETE, "&Delete Selected"},
          {0, ""},
          {IDC_RESET, "&Reset Selected"},
          {0, ""},
          {ID_BROWSE_WEBSITE, "&Browse website..."}}},
    };
    for (const WantedMenu& m : menus) {
        SCOPED_TRACE(m.menuId);
        CMenuHandle menu = CMenuHandle::Load(m.menuId);
        ASSERT_TRUE(menu);
        EXPECT_EQ(::GetMenuItemCount(menu.Get()), 1);  // one popup
        HMENU popup = menu.GetSubMenu(0);
        ASSERT_NE(popup, nullptr);
        const std::vector<WantedMenuItem> got = ReadPopup(popup);
        ASSERT_EQ(got.size(), m.items.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].id, m.items[i].id) << i;
            EXPECT_STREQ(got[i].text, m.items[i].text) << i;
        }
    }
    char popupText[32] = {};
    CMenuHandle exportMenu = CMenuHandle::Load(IDM_EXPORT_MENU);
    ::GetMenuStringA(exportMenu.Get(), 0, popupText, sizeof popupText, MF_BYPOSITION);
    EXPECT_STREQ(popupText, "Export");
}

TEST(Resources, StringsAndIconsLoad) {
    EXPECT_EQ(LoadResourceString(IDS_ABOUTBOX), "&About Quorvix...");
    EXPECT_EQ(LoadResourceString(4711), "");
    for (UINT id : {IDI_MAINFRAME, IDI_BADGE}) {
        HICON icon = ::LoadIconA(GetResourceInstance(), MAKEINTRESOURCEA(id));
        EXPECT_NE(icon, nullptr) << id;
        HICON small = static_cast<HICON>(::LoadImageA(GetResourceInstance(), MAKEINTRESOURCEA(id),
                                                      IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        EXPECT_NE(small, nullptr) << id;
        if (small != nullptr)
            ::DestroyIcon(small);
    }
    EXPECT_FALSE(CMenuHandle::Load(4711));
}

TEST(Resources, IconControlsShowTheirIcons) {
    CPlainDialog dlg(IDD_CHECKER_DIALOG);
    ASSERT_TRUE(dlg.Create());
    for (int id : {IDC_APP_ICON, IDC_BADGE_ICON}) {
        EXPECT_NE(::SendDlgItemMessageA(dlg.GetHandle(), id, STM_GETICON, 0, 0), 0) << id;
    }
}

TEST(Resources, VersionNamesTheProduct) {
    const std::string exe = GetModulePath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoA(exe.c_str(), 0, size, data.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductName",
                                 reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "Quorvix");
}

}  // namespace
