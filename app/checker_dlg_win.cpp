#include "app/checker_dlg.h"

#include <commctrl.h>

#include <array>
#include <optional>
#include <utility>

#include "app/date_format_win.h"
#include "domains/data_file.h"
#include "framework/app_win.h"
#include "framework/data_exchange_win.h"
#include "framework/menu_win.h"
#include "framework/settings_store.h"
#include "framework/text.h"
#include "res/resource.h"
#include "ui/cell_text.h"
#include "ui/list_layout.h"
#include "ui/window_placement.h"

namespace {

LOGFONTA ListFontDescription() {
    LOGFONTA lf = {};
    lf.lfHeight = 15;  // positive: cell height in logical units
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FF_ROMAN | DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, "Verdana", LF_FACESIZE);
    return lf;
}

int DefaultPrompt(HWND owner, const std::string& text, UINT type) {
    return AppMessageBox(owner, text, type);
}

constexpr int kMinTrackWidth = 556;
constexpr int kMinTrackHeight = 350;

}  // namespace

CCheckerDlg::CCheckerDlg(std::shared_ptr<ISettingsStore> store, std::string dataFilePath)
    : CDialogBase(IDD_CHECKER_DIALOG),
      m_store(std::move(store)),
      m_host(m_store),
      m_scheduler(m_domains, *m_store, SystemClock(), m_host),
      m_fontList(CreateFontFrom(ListFontDescription())),
      m_hIcon(::LoadIconA(GetResourceInstance(), MAKEINTRESOURCEA(IDI_MAINFRAME))),
      m_strDataFile(std::move(dataFilePath)),
      m_prompt(DefaultPrompt) {}

CCheckerDlg::~CCheckerDlg() {
    // A window still open when the object goes (a modeless one) is closed first, so that its last
    // messages still find the object.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    SaveDataFile();
}

std::string CCheckerDlg::GetDataFilePath() {
    return ::GetDataFilePath(GetModulePath());
}

INT_PTR CCheckerDlg::DoModal(HWND owner) {
    if (m_hWnd != nullptr)
        return -1;
    m_bModal = true;
    InitCommonControlsOnce();
    return ::DialogBoxParamA(GetResourceInstance(), MAKEINTRESOURCEA(GetTemplateId()), owner,
                             &StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

bool CCheckerDlg::CreateModeless(HWND owner) {
    if (m_hWnd != nullptr)
        return false;
    m_bModal = false;
    InitCommonControlsOnce();
    HWND h = ::CreateDialogParamA(GetResourceInstance(), MAKEINTRESOURCEA(GetTemplateId()), owner,
                                  &StaticDialogProc, reinterpret_cast<LPARAM>(this));
    return h != nullptr && m_hWnd == h;
}

void CCheckerDlg::EndWith(INT_PTR result) {
    if (m_hWnd == nullptr)
        return;
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
    else
        ::DestroyWindow(m_hWnd);
}

int CCheckerDlg::Ask(const std::string& text, UINT type) {
    return m_prompt ? m_prompt(m_hWnd, text, type) : IDCANCEL;
}

void CCheckerDlg::SetWhoisPort(int port) {
    m_host.SetPort(port);
}

// ---- creation and initialisation ----

bool CCheckerDlg::OnCreate() {
    m_scheduler.SetOwner(reinterpret_cast<uintptr_t>(m_hWnd));
    WINDOWPLACEMENT wp;
    if (LoadWindowPlacement(wp))
        ::SetWindowPlacement(m_hWnd, &wp);
    return true;
}

bool CCheckerDlg::OnInitDialog() {
    const bool wasHidden = ::IsWindowVisible(m_hWnd) == FALSE;
    CDialogBase::OnInitDialog();
    m_host.Attach(m_hWnd, m_list.GetHandle(), m_status.GetHandle());

    const std::string about = LoadResourceString(IDS_ABOUTBOX);
    if (!about.empty()) {
        HMENU sysMenu = ::GetSystemMenu(m_hWnd, FALSE);
        if (sysMenu != nullptr) {
            ::AppendMenuA(sysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(sysMenu, MF_STRING, ID_ABOUTBOX, about.c_str());
        }
    }
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // A missing or unreadable file leaves the list empty; a damaged one keeps what it could read.
    LoadDomainFile(m_strDataFile, m_domains);

    m_list.m_nContextMenuId = IDM_LIST_CONTEXT;
    m_list.m_nRowHeightPercent = 150;
    m_list.m_crEvenRow = RGB(0xF5, 0xFF, 0xFF);
    m_list.SetFont(m_fontList.Get(), false);

    for (int column = 0; column < kListColumnCount; ++column) {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = 0;
        col.pszText = const_cast<char*>(ListColumnHeading(column));
        col.iSubItem = column;
        m_list.Send(LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
    }
    UpdateRowCount();
    LayoutControls();
    ::SetTimer(m_hWnd, LOOKUP_TIMER_ID, kLookupTimerPeriodMs, nullptr);

    if (wasHidden && ::IsWindowVisible(m_hWnd) == FALSE) {
        const RECT rc = GetWindowRect();
        const int width = rc.right - rc.left;
        const int height = rc.bottom - rc.top;
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    }
    return true;  // the focus goes to the first control that takes it, "&New"
}

void CCheckerDlg::DoDataExchange(CDataExchange& dx) {
    dx.Control(IDC_APP_ICON, m_appIcon);
    dx.Control(IDC_MAKER, m_makerButton);
    dx.Control(IDC_BUTTON_FRAME, m_buttonFrame);
    dx.Control(IDC_BADGE_ICON, m_badgeIcon);
    dx.Control(IDC_QUEUE_STATUS, m_status);
    dx.Control(IDC_EXPORT, m_exportButton);
    dx.Control(IDC_DOMAIN_LIST, m_list);
    if (!dx.IsSaving())
        m_status.SetText(m_scheduler.GetQueueStatus());
}

// ---- cells and layout ----

void CCheckerDlg::GetCellText(int row, int column, char* buffer, int capacity) const {
    if (buffer == nullptr || capacity <= 0)
        return;
    const std::optional<std::string> text = ::GetCellText(m_domains, row, column, &FormatShortDate);
    if (text)
        CopyCellText(*text, buffer, static_cast<size_t>(capacity));
}

LRESULT CCheckerDlg::OnGetDispInfo(NMHDR* header) {
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
    if (info != nullptr && (info->item.mask & LVIF_TEXT) != 0)
        GetCellText(info->item.iItem, info->item.iSubItem, info->item.pszText,
                    info->item.cchTextMax);
    return 0;
}

void CCheckerDlg::LayoutControls() {
    if (!m_status.IsWindow())
        return;
    const RECT client = GetClientRect();
    const CMainLayout layout =
        ComputeMainLayout(client.right - client.left, client.bottom - client.top);
    auto move = [](const CWindow& w, const CLayoutRect& r) {
        w.Move(r.m_nX, r.m_nY, r.m_nWidth, r.m_nHeight, true);
    };
    move(m_status, layout.m_status);
    move(m_buttonFrame, layout.m_group);
    // No rows while the list moves and its columns change, so it paints them once at the end.
    m_list.SetItemCount(0);
    move(m_list, layout.m_list);
    move(m_appIcon, layout.m_makerIcon);
    move(m_badgeIcon, layout.m_cornerIcon);

    const RECT listClient = m_list.GetClientRect();
    const std::array<int, 9> widths = ComputeColumnWidths(listClient.right - listClient.left);
    for (int column = 0; column < kListColumnCount; ++column)
        m_list.Send(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(widths[column], 0));
    UpdateRowCount();
}

void CCheckerDlg::UpdateRowCount() {
    if (m_list.IsWindow())
        m_list.SetItemCount(m_domains.GetCount());
}

std::vector<std::string> CCheckerDlg::GetSelectedNames() const {
    std::vector<std::string> names;
    m_list.GetSelectedColumnTexts(1, names);
    return names;
}

// ---- placement ----

bool CCheckerDlg::LoadWindowPlacement(WINDOWPLACEMENT& wp) const {
    CPlacementRecord record;
    if (!::LoadWindowPlacement(*m_store, record))
        return false;
    wp = {};
    wp.length = sizeof(wp);
    wp.flags = record.m_nFlags;
    wp.showCmd = record.m_nShowCmd;
    wp.ptMinPosition = {record.m_nMinX, record.m_nMinY};
    wp.ptMaxPosition = {record.m_nMaxX, record.m_nMaxY};
    wp.rcNormalPosition = {record.m_nLeft, record.m_nTop, record.m_nRight, record.m_nBottom};
    return true;
}

void CCheckerDlg::SaveWindowPlacement() {
    if (m_hWnd == nullptr)
        return;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(m_hWnd, &wp))
        return;
    CPlacementRecord record;
    record.m_nFlags = wp.flags;
    record.m_nShowCmd = wp.showCmd;
    record.m_nMinX = wp.ptMinPosition.x;
    record.m_nMinY = wp.ptMinPosition.y;
    record.m_nMaxX = wp.ptMaxPosition.x;
    record.m_nMaxY = wp.ptMaxPosition.y;
    record.m_nLeft = wp.rcNormalPosition.left;
    record.m_nTop = wp.rcNormalPosition.top;
    record.m_nRight = wp.rcNormalPosition.right;
    record.m_nBottom = wp.rcNormalPosition.bottom;
    ::SaveWindowPlacement(*m_store, record, ::IsZoomed(m_hWnd) != FALSE,
                          ::IsIconic(m_hWnd) != FALSE);
}

// ---- the data file ----

bool CCheckerDlg::SaveDataFile() {
    if (m_domains.GetCount() == 0)
        return true;  // an empty list leaves the old file as it was
    for (;;) {
        if (SaveDomainFile(m_strDataFile, m_domains))
            return true;
        const std::string text = "The domain list could not be saved to\n" + m_strDataFile +
                                 "\n\nThe folder may be read-only or the file in use by another "
                                 "program. Retry to try again, or Cancel to end without saving.";
        if (Ask(text, MB_RETRYCANCEL) != IDRETRY)
            return false;
    }
}

// ---- commands ----

void CCheckerDlg::OnOK() {
    OnClose();
}

void CCheckerDlg::OnClose() {
    SaveWindowPlacement();
    EndWith(IDOK);
}

void CCheckerDlg::OnCancel() {
    if (Ask("Are you sure you want to quit?", MB_YESNOCANCEL) == IDYES)
        OnClose();
}

void CCheckerDlg::OnNew() {
    if (m_domains.GetCount() == 0)
        return;
    if (Ask("This will clear all domain names from the list.\n\nAre you sure?", MB_YESNOCANCEL) !=
        IDYES)
        return;
    m_domains.RemoveAllRecords();
    m_list.SetItemCount(0);
}

void CCheckerDlg::OnDelete() {
    for (const std::string& name : GetSelectedNames()) m_domains.RemoveName(name);
    UpdateRowCount();
}

void CCheckerDlg::OnLookup() {
    m_scheduler.Lookup(GetSelectedNames());
}

void CCheckerDlg::OnLookupAll() {
    m_scheduler.LookupAll();
}

void CCheckerDlg::OnReset() {
    m_scheduler.Reset(GetSelectedNames());
}

void CCheckerDlg::OnStop() {
    m_scheduler.Stop();
}

CMenuHandle CCheckerDlg::LoadExportMenu() const {
    CMenuHandle menu = CMenuHandle::Load(IDM_EXPORT_MENU);
    HMENU popup = menu.GetSubMenu(0);
    if (popup != nullptr && m_domains.GetCount() == 0) {
        ::EnableMenuItem(popup, ID_EXPORT_ALL, MF_BYCOMMAND | MF_GRAYED);
        ::EnableMenuItem(popup, ID_EXPORT_SELECTED, MF_BYCOMMAND | MF_GRAYED);
    }
    return menu;
}

void CCheckerDlg::OnExport() {
    CMenuHandle menu = LoadExportMenu();
    HMENU popup = menu.GetSubMenu(0);
    if (popup == nullptr)
        return;
    const RECT button = m_exportButton.GetWindowRect();
    TrackPopup(popup, button.left, button.bottom, m_hWnd, TPM_LEFTALIGN | TPM_RIGHTBUTTON);
}

// ---- window messages ----

void CCheckerDlg::OnTimer(CMessage&) {
    // Every tick, whatever its identifier, is a scheduler step.
    m_scheduler.RunLookupTick();
}

void CCheckerDlg::OnLookupDoneMessage(CMessage& m) {
    const int code = static_cast<int>(m.wParam);
    if (code == LOOKUP_REPAINT) {
        m_scheduler.OnLookupDone(LOOKUP_REPAINT, nullptr);
    } else if (code == LOOKUP_FAILED || code == LOOKUP_ANSWERED) {
        // The dialog manager's own WM_USER query (DM_GETDEFID, lParam 0) and any stray value
        // give no job and change nothing.
        if (WhoisJobPtr job = ReceiveLookupCompletion(m.lParam))
            m_scheduler.OnLookupDone(code, job);
    }
    m.handled = false;
}

void CCheckerDlg::OnSize(CMessage& m) {
    LayoutControls();
    m.handled = false;
}

void CCheckerDlg::OnGetMinMaxInfo(CMessage& m) {
    auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
    if (info != nullptr)
        info->ptMinTrackSize = {kMinTrackWidth, kMinTrackHeight};
    m.handled = false;
}

void CCheckerDlg::OnPaint(CMessage& m) {
    if (!::IsIconic(m_hWnd)) {
        m.handled = false;
        return;
    }
    CPaintDC dc(m_hWnd);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    const RECT rc = GetClientRect();
    const int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.Get(), x, y, m_hIcon);
}

void CCheckerDlg::OnQueryDragIcon(CMessage& m) {
    m.result = reinterpret_cast<LRESULT>(m_hIcon);
}

void CCheckerDlg::OnEndSession(CMessage& m) {
    // The session ends and the process may be killed without a destructor running: save now,
    // as a normal close would.
    if (m.wParam != FALSE) {
        SaveWindowPlacement();
        SaveDataFile();
    }
    m.result = 0;
}

void CCheckerDlg::OnDestroyMessage(CMessage& m) {
    // Completions already queued would never be read: release their jobs now.
    DiscardQueuedCompletions(m_hWnd);
    m.handled = false;
}

void CCheckerDlg::OnDestroyed() {
    m_host.Detach();
    m_scheduler.SetOwner(0);
}

const CMessageTable& CCheckerDlg::GetMessageTable() const {
    static const CMessageTable table(
        {
            CommandEntry(IDC_NEW, &CCheckerDlg::OnNew),
            CommandEntry(IDC_DELETE, &CCheckerDlg::OnDelete),
            CommandEntry(IDC_LOOKUP, &CCheckerDlg::OnLookup),
            CommandEntry(IDC_LOOKUP_ALL, &CCheckerDlg::OnLookupAll),
            CommandEntry(IDC_RESET, &CCheckerDlg::OnReset),
            CommandEntry(IDC_STOP, &CCheckerDlg::OnStop),
            CommandEntry(IDC_EXPORT, &CCheckerDlg::OnExport),
            NotifyEntry(IDC_DOMAIN_LIST, LVN_GETDISPINFOA, &CCheckerDlg::OnGetDispInfo),
            MessageEntry(WM_TIMER, &CCheckerDlg::OnTimer),
            MessageEntry(WM_LOOKUP_DONE, &CCheckerDlg::OnLookupDoneMessage),
            MessageEntry(WM_SIZE, &CCheckerDlg::OnSize),
            MessageEntry(WM_GETMINMAXINFO, &CCheckerDlg::OnGetMinMaxInfo),
            MessageEntry(WM_PAINT, &CCheckerDlg::OnPaint),
            MessageEntry(WM_QUERYDRAGICON, &CCheckerDlg::OnQueryDragIcon),
            MessageEntry(WM_ENDSESSION, &CCheckerDlg::OnEndSession),
            MessageEntry(WM_DESTROY, &CCheckerDlg::OnDestroyMessage),
        },
        &GetCommandTable());
    return table;
}
