#include "ui/cell_text.h"

#include <cstring>

#include "domains/domain_array.h"
#include "framework/text.h"

const char* ListColumnHeading(int column) {
    static const char* const kHeadings[kListColumnCount] = {
        "#",       "Domain",     "Status",       "Created",  "Expires",
        "Updated", "Checked On", "Whois Server", "Registrar"};
    if (column < 0 || column >= kListColumnCount)
        return "";
    return kHeadings[column];
}

const char* StateCellText(int state) {
    switch (state) {
        case STATE_FREE:
            return "<#FF0000>Free";
        case STATE_TAKEN:
            return "<#0000FF>NA";
        case STATE_RESERVED:
        case STATE_RESOLVES:
            return "NA";
        case STATE_QUEUED:
            return "<#0000FF>?";
        case STATE_ERROR:
            return "<#FF0000>Error";
        case STATE_UNCHECKED:
        default:
            return "?";
    }
}

std::string UpperAnsi(std::string_view text) {
    std::string upper(text);
    for (char& ch : upper) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z') {
            ch = static_cast<char>(c - 0x20);
        } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {  // à..þ except ÷
            ch = static_cast<char>(c - 0x20);
        } else if (c == 0x9A || c == 0x9C || c == 0x9E) {  // š œ ž
            ch = static_cast<char>(c - 0x10);
        } else if (c == 0xFF) {  // ÿ
            ch = static_cast<char>(0x9F);
        }
    }
    return upper;
}

std::string StatusCellText(const CDomainData& record) {
    if (!record.m_strStatus.empty())
        return UpperAnsi(record.m_strStatus);
    return StateCellText(record.m_nState);
}

namespace {

std::string DateCell(const CDateTime& dt, const DateFormatter& formatDate) {
    if (!dt.IsValid() || !formatDate)
        return std::string();
    return formatDate(dt);
}

}  // namespace

std::optional<std::string> GetCellText(const CDomainArray& domains, int row, int column,
                                       const DateFormatter& formatDate) {
    if (column < 0 || column >= kListColumnCount)
        return std::nullopt;
    const CDomainData* record = domains.GetRecord(row);
    switch (column) {
        case 0:
            return FormatText("%lld", static_cast<long long>(row) + 1);
        case 1:
            return record ? record->m_strName : std::string();
        default:
            break;
    }
    if (!record)
        return std::nullopt;
    switch (column) {
        case 2:
            return StatusCellText(*record);
        case 3:
            return DateCell(record->m_dtCreated, formatDate);
        case 4:
            return DateCell(record->m_dtExpires, formatDate);
        case 5:
            return DateCell(record->m_dtUpdated, formatDate);
        case 6:
            return DateCell(record->m_dtChecked, formatDate);
        case 7:
            return record->m_strWhoisServer;
        default:
            return record->m_strRegistrar;
    }
}

size_t CopyCellText(std::string_view text, char* buffer, size_t capacity) {
    if (!buffer || capacity == 0)
        return 0;
    const size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    if (n != 0)
        std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

std::string FormatNumericDate(const CDateTime& dt) {
    int year = 0, month = 0, day = 0;
    if (!dt.GetDate(year, month, day))
        return std::string();
    return FormatText("%d/%d/%d", month, day, year);
}
