// The report list of the main window: owner data (it knows only a row count and asks its parent
// for every cell text through LVN_GETDISPINFOA) and owner-drawn rows with stripes and colour
// markup ("<#FF0000>Free" is a red "Free"). It also paints a text while empty, opens a context
// menu on a right click and builds the tab-separated text of its rows.
//
// Bind it to a list view with LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED; the parent must be
// a CDialogBase (which reflects WM_DRAWITEM and WM_MEASUREITEM back to the control).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/subclass_win.h"
#include "ui/rows_text.h"

class CColorListCtrl : public CSubclassWindow, public IRowsSource {
public:
    CColorListCtrl() = default;

    // Set by the owner right after binding.
    int m_nRowHeightPercent = 130;                 // row height as a percentage of the font height
    COLORREF m_crOddRow = RGB(0xFF, 0xFF, 0xFF);   // rows 1, 3, 5, ...
    COLORREF m_crEvenRow = RGB(0xF0, 0xFF, 0xFF);  // rows 0, 2, 4, ...
    COLORREF m_crText = RGB(0x00, 0x00, 0x00);     // normal text and tag "#!0"
    COLORREF m_crMark1 = RGB(0xFF, 0x00, 0x00);    // tag "#!1"
    COLORREF m_crMark2 = RGB(0x80, 0x00, 0x00);    // tag "#!2"
    std::string m_strEmptyText = "The list is empty";
    UINT m_nContextMenuId = 0;  // menu whose first popup is the context menu; 0 for none

    int GetItemCount() const;
    void SetItemCount(int count) const;
    // Rows in the selected state, ascending.
    std::vector<int> GetSelectedRows() const;

    // The text of (row, column) as the parent gives it; empty when it gives none.
    std::string GetCellText(int row, int column) const override;
    int GetRowCount() const override { return GetItemCount(); }
    // Columns of the header; 0 without a header.
    int GetColumnCount() const override;
    // Up to 120 characters of the column's heading; false when the column does not exist.
    bool GetColumnHeading(int column, std::string& heading) const override;

    // Replaces `texts` with column `column` of every selected row, in row order; their number.
    int GetSelectedColumnTexts(int column, std::vector<std::string>& texts) const;
    // Appends the rows' text (a tab after each cell but "#", "\r\n" after each row); `column`
    // selects one column or -1 for all. True when `text` is not empty afterwards.
    bool GetAllRowsText(std::string& text, int column) const;
    bool GetSelectedRowsText(std::string& text, int column) const;

    // Paints one row (the reflected WM_DRAWITEM).
    virtual void DrawItem(const DRAWITEMSTRUCT& dis);
    // Row height: |font height| * m_nRowHeightPercent / 100.
    virtual void MeasureItem(MEASUREITEMSTRUCT& mis);
    // Draws `text` with its tags in `rc`, each run on one line, vertically centred, "&" as itself,
    // ending in an ellipsis where it does not fit; `justify` is DT_LEFT, DT_RIGHT or DT_CENTER.
    void DrawMarkupText(HDC dc, std::string_view text, RECT rc, UINT justify,
                        bool highlighted) const;
    // The empty-list text under the header (after the default painting).
    void PaintEmptyText(HDC dc) const;

protected:
    // A double-click on a row; does nothing here.
    virtual void OnItemDoubleClick() {}
    // After the default right-button handling: the context menu at `screen`, when the list has
    // rows and a menu is configured.
    virtual void ShowContextMenu(POINT screen);
    // Shows the popup and sends the choice to the parent; tests replace it.
    virtual void TrackContextMenu(HMENU popup, POINT screen);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int RowHeightFor(HFONT font) const;
    void RemeasureRows() const;
};
