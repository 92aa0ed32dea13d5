#include "domains/ser_string_array.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "framework/archive.h"
#include "tests/domains/record_bytes.h"

namespace {

std::vector<std::string> Strings(const CSerStringArray& a) {
    std::vector<std::string> out;
    for (int i = 0; i < a.GetSize(); ++i) out.push_back(a.GetString(i));
    return out;
}

int g_reports = 0;
void CountReport(const char*) {
    ++g_reports;
}

class CReporterScope {
public:
    CReporterScope() {
        g_reports = 0;
        SetArchiveErrorReporter(&CountReport);
    }
    ~CReporterScope() { SetArchiveErrorReporter(nullptr); }
};

}  // namespace

TEST(SerStringArray, UniqueAddRefusesAStringPresentInOtherCase) {
    CSerStringArray a;
    EXPECT_TRUE(a.m_bUnique);
    EXPECT_EQ(a.m_nCurrent, -1);
    EXPECT_TRUE(a.Add("abc.com"));
    EXPECT_FALSE(a.Add("ABC.com"));
    EXPECT_FALSE(a.Add("abc.com"));
    EXPECT_TRUE(a.Add("abc.co"));
    EXPECT_EQ(Strings(a), (std::vector<std::string>{"abc.com", "abc.co"}));

    a.m_bUnique = false;
    EXPECT_TRUE(a.Add("ABC.COM"));
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a.Find("abc.COM"), 0) << "the first match from the front";
    EXPECT_EQ(a.Find("abc.c"), -1);
    EXPECT_EQ(a.Find(""), -1);
}

TEST(SerStringArray, GetStringOutsideTheArrayIsEmpty) {
    CSerStringArray a;
    a.Add("one");
    a.Add("two");
    const int indices[] = {-1, 2, 3, INT_MIN, INT_MAX};
    for (int i : indices) EXPECT_EQ(a.GetString(i), "") << i;
    EXPECT_EQ(a.GetString(1), "two");
}

TEST(SerStringArray, StoresCountCurrentIndexThenStrings) {
    CSerStringArray a;
    a.Add("com");
    a.Add(std::string(300, 'n'));
    a.m_nCurrent = 1;
    CArchive out;
    a.Serialize(out);
    const std::string expect = CBytes().U32(2).U32(1).Str("com").Str(std::string(300, 'n'));
    EXPECT_EQ(out.Bytes(), expect);
}

TEST(SerStringArray, LoadReplacesContentsAndChecksTheCurrentIndex) {
    struct Case {
        const char* what;
        std::string bytes;
        bool unique;
        std::vector<std::string> strings;
        int current;
    } cases[] = {
        {"index in range",
         CBytes().U32(3).U32(2).Str("a").Str("b").Str("c"),
         true,
         {"a", "b", "c"},
         2},
        {"index -1", CBytes().U32(1).U32(0xFFFFFFFF).Str("a"), true, {"a"}, -1},
        {"index at count", CBytes().U32(2).U32(2).Str("a").Str("b"), true, {"a", "b"}, -1},
        {"index negative", CBytes().U32(1).U32(0x80000000).Str("a"), true, {"a"}, -1},
        // With a repeat dropped only two strings remain; index 2 would point past them.
        {"repeat dropped", CBytes().U32(3).U32(2).Str("a").Str("A").Str("b"), true, {"a", "b"}, -1},
        {"repeat kept when not unique",
         CBytes().U32(3).U32(2).Str("a").Str("A").Str("b"),
         false,
         {"a", "A", "b"},
         2},
        {"empty array", CBytes().U32(0).U32(0), true, {}, -1},
    };
    for (const Case& c : cases) {
        CSerStringArray a;
        a.m_bUnique = c.unique;
        a.m_bQuiet = true;
        a.Add("stale");
        a.m_nCurrent = 0;
        CArchive in{std::string_view(c.bytes)};
        a.Serialize(in);
        EXPECT_EQ(Strings(a), c.strings) << c.what;
        EXPECT_EQ(a.m_nCurrent, c.current) << c.what;
    }
}

TEST(SerStringArray, CutDataKeepsWhatWasReadAndReportsUnlessQuiet) {
    const std::string whole = CBytes().U32(3).U32(1).Str("alpha").Str("beta").Str("gamma");
    const std::vector<std::string> all = {"alpha", "beta", "gamma"};
    for (size_t len = 0; len <= whole.size(); ++len) {
        for (bool quiet : {false, true}) {
            CReporterScope reporter;
            CSerStringArray a;
            a.m_bQuiet = quiet;
            a.Add("stale");
            CArchive in{std::string_view(whole).substr(0, len)};
            a.Serialize(in);
            const std::vector<std::string> got = Strings(a);
            ASSERT_LE(got.size(), all.size()) << len;
            for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], all[i]) << len;
            const bool complete = len == whole.size();
            EXPECT_EQ(got.size() == all.size(), complete) << len;
            EXPECT_EQ(g_reports, (complete || quiet) ? 0 : 1) << len << " quiet " << quiet;
            EXPECT_TRUE(a.m_nCurrent == -1 || a.m_nCurrent < a.GetSize()) << len;
        }
    }
}

TEST(SerStringArray, HugeCountWithLittleDataStopsAtTheEnd) {
    const std::string bytes = CBytes().U32(0xFFFFFFFF).U32(0).Str("only");
    CSerStringArray a;
    a.m_bQuiet = true;
    CArchive in{std::string_view(bytes)};
    a.Serialize(in);
    EXPECT_EQ(Strings(a), std::vector<std::string>{"only"});
    EXPECT_EQ(a.m_nCurrent, 0);
}

TEST(SerStringArray, RoundTripKeepsOrderAndIndex) {
    CSerStringArray a;
    for (const char* s : {"com", "net", "org", "edu", "biz", "info"}) a.Add(s);
    a.m_nCurrent = 4;
    CArchive out;
    a.Serialize(out);
    CSerStringArray b;
    CArchive in{std::string_view(out.Bytes())};
    b.Serialize(in);
    EXPECT_EQ(Strings(b), Strings(a));
    EXPECT_EQ(b.m_nCurrent, 4);
    EXPECT_EQ(in.Remaining(), 0u);
}
