#include "ui/rows_text.h"

namespace {

void AppendRow(const IRowsSource& source, int row, int columns, int selector, std::string& text) {
    for (int c = 0; c < columns; ++c) {
        if (selector != kAllColumns && c != selector)
            continue;
        std::string heading;
        if (source.GetColumnHeading(c, heading) && heading == "#")
            continue;
        text += source.GetCellText(row, c);
        text += '\t';
    }
    if (columns != 0)
        text += "\r\n";
}

}  // namespace

bool BuildAllRowsText(const IRowsSource& source, std::string& text, int columnSelector) {
    const int columns = source.GetColumnCount();
    const int rows = source.GetRowCount();
    for (int row = 0; row < rows; ++row) AppendRow(source, row, columns, columnSelector, text);
    return !text.empty();
}

bool BuildRowsText(const IRowsSource& source, const std::vector<int>& rows, std::string& text,
                   int columnSelector) {
    const int columns = source.GetColumnCount();
    const int count = source.GetRowCount();
    for (int row : rows) {
        if (row < 0 || row >= count)
            continue;
        AppendRow(source, row, columns, columnSelector, text);
    }
    return !text.empty();
}

int CollectColumnTexts(const IRowsSource& source, const std::vector<int>& rows, int column,
                       std::vector<std::string>& texts) {
    texts.clear();
    if (column < 0 || column >= source.GetColumnCount())
        return 0;
    const int count = source.GetRowCount();
    for (int row : rows) {
        if (row < 0 || row >= count)
            continue;
        texts.push_back(source.GetCellText(row, column));
    }
    return static_cast<int>(texts.size());
}
