// Tab-separated text of list rows for the clipboard and the export: a tab after every cell,
// "\r\n" after every row, the "#" column left out. Cell texts keep their tags.
#pragma once

#include <string>
#include <vector>

// What the builders need to know about a list; the list control and tests implement it.
class IRowsSource {
public:
    virtual ~IRowsSource() = default;
    virtual int GetRowCount() const = 0;
    virtual int GetColumnCount() const = 0;
    // False when the heading could not be read; such a column is never skipped.
    virtual bool GetColumnHeading(int column, std::string& heading) const = 0;
    virtual std::string GetCellText(int row, int column) const = 0;
};

// Column selector meaning every column.
constexpr int kAllColumns = -1;

// Appends the text of every row; true when `text` is not empty afterwards.
bool BuildAllRowsText(const IRowsSource& source, std::string& text, int columnSelector);
// The same over the given rows (the selected ones, ascending); rows outside the list are skipped.
bool BuildRowsText(const IRowsSource& source, const std::vector<int>& rows, std::string& text,
                   int columnSelector);
// Replaces `texts` with the text of `column` in each given row; 0 (and `texts` emptied) when the
// column does not exist. Returns the number of texts.
int CollectColumnTexts(const IRowsSource& source, const std::vector<int>& rows, int column,
                       std::vector<std::string>& texts);
