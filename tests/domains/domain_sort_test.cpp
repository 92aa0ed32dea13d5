#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "framework/text.h"

namespace {

// The neighbour-exchange sort the order is defined by, written out literally: passes over the
// whole array until one swaps nothing, each text comparison on copies of the two texts.
// With `nanIsUndated` a valid date whose continuous day count is NaN counts as not valid;
// without it NaN compares neither before nor after any date and blocks records from passing.
bool MustComeAfter(const CDomainData& a, const CDomainData& b, int column, bool nanIsUndated) {
    auto text = [&](const CDomainData& r) -> std::string {
        switch (column) {
            case 1:
                return r.m_strName;
            case 2:
                return r.m_strStatus;
            case 7:
                return r.m_strWhoisServer;
            default:
                return r.m_strRegistrar;
        }
    };
    auto date = [&](const CDomainData& r) -> const CDateTime& {
        switch (column) {
            case 3:
                return r.m_dtCreated;
            case 4:
                return r.m_dtExpires;
            case 5:
                return r.m_dtUpdated;
            default:
                return r.m_dtChecked;
        }
    };
    auto days = [](const CDateTime& dt) {
        double d = dt.GetDays();
        if (d < 0) {
            const double c = std::ceil(d);
            d = c - (d - c);
        }
        return d;
    };
    auto valid = [&](const CDateTime& dt) {
        return dt.IsValid() && !(nanIsUndated && std::isnan(days(dt)));
    };
    if (column == 1 || column == 2 || column == 7 || column == 8) {
        const std::string ta = text(a), tb = text(b);
        return CompareNoCase(ta, tb) > 0;
    }
    if (column >= 3 && column <= 6) {
        const CDateTime &da = date(a), &db = date(b);
        if (valid(da) && valid(db))
            return days(da) > days(db);
        return !valid(da) && valid(db);
    }
    return false;
}

void ExchangeSort(std::vector<const CDomainData*>& v, int column, bool nanIsUndated) {
    if (v.size() < 2)
        return;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i + 1 < v.size(); ++i) {
            if (MustComeAfter(*v[i], *v[i + 1], column, nanIsUndated)) {
                std::swap(v[i], v[i + 1]);
                swapped = true;
            }
        }
    }
}

std::vector<const CDomainData*> Order(const CDomainArray& domains) {
    std::vector<const CDomainData*> out;
    for (int i = 0; i < domains.GetCount(); ++i) out.push_back(domains.GetRecord(i));
    return out;
}

std::vector<std::string> Names(const CDomainArray& domains) {
    std::vector<std::string> out;
    for (int i = 0; i < domains.GetCount(); ++i) out.push_back(domains.GetRecord(i)->m_strName);
    return out;
}

CDateTime Valid(double d) {
    return CDateTime(d, CDateTime::valid);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::unique_ptr<CDomainData> Record(const std::string& name, CDateTime created = CDateTime()) {
    auto r = std::make_unique<CDomainData>(name);
    r->m_dtCreated = created;
    return r;
}

// Few distinct keys so that equal keys, case-only differences and empty texts are common.
std::string RandomText(std::mt19937& rng) {
    static const char* const pool[] = {"",   "",  "a", "A",     "ab",  "aB", "Ab", "b",
                                       "_x", "z", "Z", "\xe9t", "a b", "ok", "OK", "ok."};
    return pool[rng() % (sizeof pool / sizeof pool[0])];
}

CDateTime RandomDate(std::mt19937& rng, bool withNaN) {
    static const double days[] = {0.0,   0.5,   -0.5,     -0.75,    -1.25, -1.75, -2.0,
                                  -2.25, 37000, 37000.25, 37000.75, 1.0,   -1.0};
    switch (rng() % (withNaN ? 8 : 6)) {
        case 0:
            return CDateTime();
        case 1:
            return CDateTime(days[rng() % 13], CDateTime::invalid);
        case 6:
            return Valid(kNaN);
        case 7:
            return Valid(rng() % 2 ? -kInf : kInf);
        default:
            return Valid(days[rng() % 13]);
    }
}

void FillRandom(CDomainArray& domains, std::mt19937& rng, size_t count, bool withNaN) {
    for (size_t i = 0; i < count; ++i) {
        auto r = std::make_unique<CDomainData>(RandomText(rng));
        r->m_strStatus = RandomText(rng);
        r->m_strWhoisServer = RandomText(rng);
        r->m_strRegistrar = RandomText(rng);
        r->m_dtCreated = RandomDate(rng, withNaN);
        r->m_dtExpires = RandomDate(rng, withNaN);
        r->m_dtUpdated = RandomDate(rng, withNaN);
        r->m_dtChecked = RandomDate(rng, withNaN);
        ASSERT_TRUE(domains.Append(std::move(r)));
    }
}

}  // namespace

TEST(DomainSort, SameOrderAsTheExchangeSortOverRandomLists) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        std::mt19937 rng(seed);
        for (int column = -1; column <= 9; ++column) {
            CDomainArray domains;
            FillRandom(domains, rng, rng() % 48, false);
            std::vector<const CDomainData*> expected = Order(domains);
            ExchangeSort(expected, column, false);
            domains.SortByColumn(column, nullptr);
            ASSERT_EQ(Order(domains), expected) << "seed " << seed << " column " << column;
        }
    }
}

TEST(DomainSort, NaNDaysSortLikeUndatedRecordsOverRandomLists) {
    for (unsigned seed = 1; seed <= 100; ++seed) {
        std::mt19937 rng(seed);
        for (int column = 3; column <= 6; ++column) {
            CDomainArray domains;
            FillRandom(domains, rng, rng() % 40, true);
            std::vector<const CDomainData*> expected = Order(domains);
            ExchangeSort(expected, column, true);
            domains.SortByColumn(column, nullptr);
            ASSERT_EQ(Order(domains), expected) << "seed " << seed << " column " << column;
        }
    }
}

TEST(DomainSort, ValidNaNDateDoesNotBlockDatedRecords) {
    struct Case {
        const char* what;
        double days;
    } cases[] = {{"NaN day count", kNaN}, {"minus infinity maps to NaN", -kInf}};
    for (const Case& c : cases) {
        CDomainArray domains;
        domains.Append(Record("late.com", Valid(40000)));
        domains.Append(Record("damaged.com", Valid(c.days)));
        domains.Append(Record("early.com", Valid(30000)));
        domains.Append(Record("none.com"));
        domains.SortByColumn(3, nullptr);
        EXPECT_EQ(Names(domains),
                  (std::vector<std::string>{"early.com", "late.com", "damaged.com", "none.com"}))
            << c.what;
    }
}

TEST(DomainSort, DatesBeforeEighteenNinetyNineSortOnAContinuousScale) {
    struct Case {
        double first, second;  // stored order
        bool swapped;
    } cases[] = {
        {-1.75, -1.25, true},                         // 29 Dec 18:00 is later than 29 Dec 06:00
        {-1.25, -1.75, false}, {-0.5, 0.5, false},    // both noon on 30 December 1899: equal, kept
        {0.5, -0.5, false},    {-2.0, -1.75, false},  // 28 Dec midnight is before 29 Dec 18:00
        {-0.75, -1.0, true},                          // 30 Dec 18:00 after 29 Dec midnight
        {1.0, -kInf, false},                          // -infinity is not a date: stays behind
        {kInf, 1.0, true},
    };
    for (const Case& c : cases) {
        CDomainArray domains;
        domains.Append(Record("first.com", Valid(c.first)));
        domains.Append(Record("second.com", Valid(c.second)));
        domains.SortByColumn(3, nullptr);
        EXPECT_EQ(domains.GetRecord(0)->m_strName, c.swapped ? "second.com" : "first.com")
            << c.first << " then " << c.second;
    }
}

TEST(DomainSort, TextColumnsIgnoreCaseAndPutEmptyFirst) {
    CDomainArray domains;
    for (const char* n : {"b.com", "A.com", "", "a.com", "_.com", "\xe9.com", "B.com"}) {
        domains.Append(std::make_unique<CDomainData>(n));
    }
    domains.SortByColumn(1, nullptr);
    EXPECT_EQ(Names(domains), (std::vector<std::string>{"", "_.com", "A.com", "a.com", "b.com",
                                                        "B.com", "\xe9.com"}));
}

TEST(DomainSort, EachColumnSortsByItsOwnField) {
    for (int column = 1; column <= 8; ++column) {
        CDomainArray domains;
        for (int i = 0; i < 3; ++i) {
            // Record i holds key 2 - i in the sorted column and key i in every other one.
            auto r = std::make_unique<CDomainData>();
            for (int c = 1; c <= 8; ++c) {
                const int key = c == column ? 2 - i : i;
                const std::string text(1, static_cast<char>('a' + key));
                const CDateTime dt = Valid(36000 + key);
                switch (c) {
                    case 1:
                        r->m_strName = text;
                        break;
                    case 2:
                        r->m_strStatus = text;
                        break;
                    case 3:
                        r->m_dtCreated = dt;
                        break;
                    case 4:
                        r->m_dtExpires = dt;
                        break;
                    case 5:
                        r->m_dtUpdated = dt;
                        break;
                    case 6:
                        r->m_dtChecked = dt;
                        break;
                    case 7:
                        r->m_strWhoisServer = text;
                        break;
                    case 8:
                        r->m_strRegistrar = text;
                        break;
                }
            }
            r->m_strWhoisText = std::to_string(i);
            domains.Append(std::move(r));
        }
        domains.SortByColumn(column, nullptr);
        std::string order;
        for (int i = 0; i < 3; ++i) order += domains.GetRecord(i)->m_strWhoisText;
        EXPECT_EQ(order, "210") << "column " << column;
    }
}

TEST(DomainSort, UndatedRecordsGatherLastInTheirPreviousOrder) {
    CDomainArray domains;
    domains.Append(Record("null1.com"));
    domains.Append(Record("late.com", Valid(40000)));
    domains.Append(Record("invalid.com", CDateTime(1.0, CDateTime::invalid)));
    domains.Append(Record("early.com", Valid(30000)));
    domains.Append(Record("null2.com"));
    domains.SortByColumn(3, nullptr);
    EXPECT_EQ(Names(domains), (std::vector<std::string>{"early.com", "late.com", "null1.com",
                                                        "invalid.com", "null2.com"}));
}

TEST(DomainSort, OrderUnchangedWhereEveryKeyIsEqual) {
    struct Case {
        const char* what;
        int column;
        std::vector<std::string> names;
    } cases[] = {
        {"names differing only in case", 1, {"Same.com", "same.com", "SAME.com"}},
        {"no status texts at all", 2, {"z.com", "a.com", "m.com"}},
        {"no creation dates", 3, {"z.com", "a.com"}},
        {"the # column", 0, {"z.com", "a.com"}},
        {"a column beyond the list", 9, {"z.com", "a.com"}},
        {"a negative column", -3, {"z.com", "a.com"}},
    };
    for (const Case& c : cases) {
        CDomainArray domains;
        for (const std::string& n : c.names) domains.Append(std::make_unique<CDomainData>(n));
        domains.SortByColumn(c.column, nullptr);
        EXPECT_EQ(Names(domains), c.names) << c.what;
    }
}

TEST(DomainSort, SortingTwiceGivesTheOrderOfSortingOnce) {
    std::mt19937 rng(7);
    for (int column = 1; column <= 8; ++column) {
        CDomainArray domains;
        FillRandom(domains, rng, 40, true);
        domains.SortByColumn(column, nullptr);
        const auto once = Order(domains);
        domains.SortByColumn(column, nullptr);
        EXPECT_EQ(Order(domains), once) << "column " << column;
    }
}

TEST(DomainSort, RepaintIsRequestedOnceAfterTheSortEvenForShortLists) {
    for (int count = 0; count <= 3; ++count) {
        CDomainArray domains;
        for (int i = count; i > 0; --i) domains.AddName("n" + std::to_string(i) + ".com");
        int calls = 0;
        std::vector<std::string> seen;
        domains.SortByColumn(1, [&] {
            ++calls;
            seen = Names(domains);
        });
        EXPECT_EQ(calls, 1) << count << " records";
        EXPECT_EQ(seen, Names(domains));
        for (size_t i = 1; i < seen.size(); ++i) EXPECT_LT(seen[i - 1], seen[i]);
    }
}

TEST(DomainSort, FullListSortsAndKeepsEveryRecord) {
    std::mt19937 rng(99);
    CDomainArray domains;
    FillRandom(domains, rng, MAX_DOMAINS, true);
    auto before = Order(domains);
    domains.SortByColumn(4, nullptr);
    auto after = Order(domains);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
}
