// Sorting the list by a column of the main list: ascending and stable, the order that repeated
// passes of neighbour exchanges give, reached here by one stable sort.
#include <algorithm>
#include <cmath>

#include "domains/domain_array.h"
#include "framework/text.h"

namespace {

enum SortColumn {
    COLUMN_DOMAIN = 1,
    COLUMN_STATUS = 2,
    COLUMN_CREATED = 3,
    COLUMN_EXPIRES = 4,
    COLUMN_UPDATED = 5,
    COLUMN_CHECKED = 6,
    COLUMN_WHOIS_SERVER = 7,
    COLUMN_REGISTRAR = 8,
};

using Record = std::unique_ptr<CDomainData>;

const std::string* TextField(const CDomainData& r, int column) {
    switch (column) {
        case COLUMN_DOMAIN:
            return &r.m_strName;
        case COLUMN_STATUS:
            return &r.m_strStatus;
        case COLUMN_WHOIS_SERVER:
            return &r.m_strWhoisServer;
        case COLUMN_REGISTRAR:
            return &r.m_strRegistrar;
        default:
            return nullptr;
    }
}

const CDateTime* DateField(const CDomainData& r, int column) {
    switch (column) {
        case COLUMN_CREATED:
            return &r.m_dtCreated;
        case COLUMN_EXPIRES:
            return &r.m_dtExpires;
        case COLUMN_UPDATED:
            return &r.m_dtUpdated;
        case COLUMN_CHECKED:
            return &r.m_dtChecked;
        default:
            return nullptr;
    }
}

// A day count before 30 December 1899 holds its time of day as a positive fraction below a
// negative day; mirroring the fraction gives one continuous time scale.
double ContinuousDays(double d) {
    if (d >= 0)
        return d;
    const double c = std::ceil(d);
    return c - (d - c);
}

// A sort key of a date column: dated records first, by time; a value that is not valid, or whose
// day count yields no number (a damaged file can hold NaN or -infinity), goes after them all.
struct DateKey {
    bool dated;
    double days;
};

DateKey MakeDateKey(const CDateTime& dt) {
    if (!dt.IsValid())
        return {false, 0};
    const double days = ContinuousDays(dt.GetDays());
    if (std::isnan(days))
        return {false, 0};
    return {true, days};
}

}  // namespace

void CDomainArray::SortByColumn(int column, const std::function<void()>& repaint) {
    if (m_records.size() >= 2) {
        if (TextField(*m_records.front(), column)) {
            std::stable_sort(
                m_records.begin(), m_records.end(), [column](const Record& a, const Record& b) {
                    return CompareNoCase(*TextField(*a, column), *TextField(*b, column)) < 0;
                });
        } else if (DateField(*m_records.front(), column)) {
            // Keys once per record, not per comparison.
            std::vector<std::pair<DateKey, Record>> keyed;
            keyed.reserve(m_records.size());
            for (Record& r : m_records) {
                keyed.emplace_back(MakeDateKey(*DateField(*r, column)), std::move(r));
            }
            std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
                if (a.first.dated != b.first.dated)
                    return a.first.dated;
                return a.first.dated && a.first.days < b.first.days;
            });
            for (size_t i = 0; i < keyed.size(); ++i) m_records[i] = std::move(keyed[i].second);
        }
    }
    if (repaint)
        repaint();
}
