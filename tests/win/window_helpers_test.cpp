// The small Win32 helpers: the application name and the message box captioned with it, the
// owners of GDI objects and menus (they release exactly once and put selections back), the
// wait cursor, and the off-screen bitmap the painting tests read.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "framework/app_win.h"
#include "framework/gdi_win.h"
#include "framework/menu_win.h"
#include "framework/window_win.h"
#include "res/resource.h"

namespace {

TEST(AppName, IsTheExecutablesBaseName) {
    const std::string path = GetModulePath();
    ASSERT_GT(path.size(), 4u);
    const std::string name = GetAppName();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_of("\\/"), std::string::npos);
    // The path ends in "\<name>.exe".
    const std::string tail = "\\" + name + ".exe";
    ASSERT_GT(path.size(), tail.size());
    EXPECT_EQ(_stricmp(path.substr(path.size() - tail.size()).c_str(), tail.c_str()), 0) << path;
}

// Answers the first message box of this process from another thread: records its caption and
// texts and presses `answer`.
class CMessageBoxAnswerer {
public:
    explicit CMessageBoxAnswerer(int answer) : m_thread([this, answer] { Run(answer); }) {}
    ~CMessageBoxAnswerer() { Join(); }
    // Waits for the other thread; what it saw may be read afterwards.
    void Join() {
        if (m_thread.joinable())
            m_thread.join();
    }
    std::string caption;
    std::vector<std::string> texts;
    bool hadIcon = false;

private:
    void Run(int answer) {
        const DWORD pid = ::GetCurrentProcessId();
        for (int i = 0; i < 500; ++i) {
            HWND box = nullptr;
            while ((box = ::FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(box, &owner);
                if (owner == pid && ::IsWindowVisible(box))
                    break;
            }
            if (box != nullptr) {
                caption = GetWindowTextString(box);
                for (HWND c = ::GetWindow(box, GW_CHILD); c != nullptr;
                     c = ::GetWindow(c, GW_HWNDNEXT)) {
                    if (GetClassNameString(c) != "Static")
                        continue;
                    if (::SendMessageA(c, STM_GETICON, 0, 0) != 0)
                        hadIcon = true;
                    const std::string t = GetWindowTextString(c);
                    if (!t.empty())
                        texts.push_back(t);
                }
                ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
                return;
            }
            ::Sleep(10);
        }
    }
    std::thread m_thread;
};

TEST(AppMessageBox, ReturnsTheButtonPressed) {
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        CMessageBoxAnswerer answerer(answer);
        EXPECT_EQ(AppMessageBox(nullptr, "Are you sure you want to quit?", MB_YESNOCANCEL), answer);
        answerer.Join();
        EXPECT_EQ(answerer.caption, GetAppName());
    }
}

TEST(AppMessageBox, ShowsTextCaptionAndExclamationIcon) {
    CMessageBoxAnswerer answerer(IDOK);
    EXPECT_EQ(AppMessageBox(nullptr, "Please enter an integer.", MB_OK), IDOK);
    answerer.Join();
    EXPECT_EQ(answerer.caption, GetAppName());
    const auto& texts = answerer.texts;
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Please enter an integer."), texts.end());
    EXPECT_TRUE(answerer.hadIcon) << "the exclamation icon is added to every box";
}

TEST(GdiObject, DeletedOnceAndMovedOwnershipTravels) {
    HFONT raw = nullptr;
    {
        CFontHandle a(
            ::CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
        ASSERT_TRUE(a);
        raw = a.Get();
        CFontHandle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), raw);
        CFontHandle c;
        c = std::move(b);
        EXPECT_EQ(c.Get(), raw);
        c = std::move(c);  // self-move keeps the object
        EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_FONT));
    }
    EXPECT_EQ(::GetObjectType(raw), 0u) << "the font was not deleted";
    CBrushHandle brush(::CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH first = brush.Get();
    brush.Reset(::CreateSolidBrush(RGB(4, 5, 6)));
    EXPECT_EQ(::GetObjectType(first), 0u);
    HBRUSH released = brush.Release();
    EXPECT_FALSE(brush);
    EXPECT_EQ(::GetObjectType(released), static_cast<DWORD>(OBJ_BRUSH));
    ::DeleteObject(released);
}

TEST(GdiObject, SelectionAndSavedStateAreRestored) {
    CClientDC screen(nullptr);
    CMemoryDC dc(screen.Get());
    ASSERT_TRUE(dc);
    HGDIOBJ before = ::GetCurrentObject(dc.Get(), OBJ_FONT);
    CFontHandle font(
        ::CreateFontA(20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    {
        CSelectObject select(dc.Get(), font.Get());
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), font.Get());
        {
            CSaveDC saved(dc.Get());
            ::SetTextColor(dc.Get(), RGB(9, 8, 7));
            ::SetBkMode(dc.Get(), TRANSPARENT);
        }
        EXPECT_NE(::GetTextColor(dc.Get()), RGB(9, 8, 7));
        EXPECT_EQ(::GetBkMode(dc.Get()), OPAQUE);
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_FONT), before);
    // Selecting nothing, or into no context, is harmless.
    CSelectObject none(dc.Get(), nullptr);
    CSelectObject nowhere(nullptr, font.Get());
}

TEST(GdiObject, FontDescriptionOfNonFontFails) {
    LOGFONTA lf = {};
    lf.lfHeight = 77;
    EXPECT_FALSE(GetFontDescription(nullptr, lf));
    CBrushHandle brush(::CreateSolidBrush(0));
    EXPECT_FALSE(GetFontDescription(reinterpret_cast<HFONT>(brush.Get()), lf));
    EXPECT_EQ(lf.lfHeight, 77) << "left untouched";
}

TEST(OffscreenBitmap, PixelsOutsideReadInvalid) {
    CClientDC screen(nullptr);
    COffscreenBitmap bmp(screen.Get(), 4, 3);
    ASSERT_TRUE(bmp);
    RECT rc = {0, 0, 4, 3};
    CBrushHandle red(::CreateSolidBrush(RGB(0xFF, 0, 0)));
    ::FillRect(bmp.GetDC(), &rc, red.Get());
    EXPECT_EQ(bmp.GetPixel(3, 2), RGB(0xFF, 0, 0));
    EXPECT_EQ(bmp.GetPixel(4, 0), CLR_INVALID);
    EXPECT_EQ(bmp.GetPixel(0, -1), CLR_INVALID);
    COffscreenBitmap empty(screen.Get(), 0, 10);
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.GetPixel(0, 0), CLR_INVALID);
}

TEST(MenuHandle, LoadsMovesAndDestroysOnce) {
    HMENU raw = nullptr;
    {
        CMenuHandle menu = CMenuHandle::Load(IDM_EXPORT_MENU);
        ASSERT_TRUE(menu);
        raw = menu.Get();
        CMenuHandle other(std::move(menu));
        EXPECT_FALSE(menu);
        EXPECT_TRUE(::IsMenu(raw));
        EXPECT_NE(other.GetSubMenu(0), nullptr);
        EXPECT_EQ(other.GetSubMenu(5), nullptr);
    }
    EXPECT_FALSE(::IsMenu(raw)) << "the menu was not destroyed";
    CMenuHandle empty;
    EXPECT_EQ(empty.GetSubMenu(0), nullptr);
    EXPECT_FALSE(TrackPopup(nullptr, 0, 0, nullptr));
}

TEST(WaitCursor, HourglassWhileAliveThenThePreviousCursor) {
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
        {
            CWaitCursor nested;
            EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
        }
        EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(::GetCursor(), arrow);
}

}  // namespace
