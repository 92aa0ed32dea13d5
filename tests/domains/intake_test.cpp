#include "domains/intake.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "domains/domain_array.h"

namespace {

std::vector<std::string> Names(const CDomainArray& domains) {
    std::vector<std::string> out;
    for (int i = 0; i < domains.GetCount(); ++i) out.push_back(domains.GetRecord(i)->m_strName);
    return out;
}

// Records what the intake shows and presses Cancel before the poll numbered `cancelAtPoll`.
class CFakeProgress : public IImportProgress {
public:
    explicit CFakeProgress(int cancelAtPoll = 0) : m_nCancelAtPoll(cancelAtPoll) {}
    void ShowStatus(const std::string& text) override { m_statuses.push_back(text); }
    bool PollCancel() override { return ++m_nPolls == m_nCancelAtPoll; }

    int m_nCancelAtPoll;
    int m_nPolls = 0;
    std::vector<std::string> m_statuses;
};

void FillTo(CDomainArray& domains, int count) {
    for (int i = domains.GetCount(); i < count; ++i) {
        ASSERT_TRUE(domains.AddName("filler" + std::to_string(i) + ".com"));
    }
}

}  // namespace

TEST(Intake, SeparatorSetIsExactlyTheThirtyFourBytes) {
    const std::string expected = " #;:,!^*/={}()+&%$@~\"'<>_?|\\`[]\r\n\t";
    ASSERT_EQ(NAME_SEPARATORS.size(), 34u);
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        EXPECT_EQ(IsNameSeparator(c), expected.find(c) != std::string::npos) << "byte " << b;
    }
}

TEST(Intake, EverySeparatorSplitsAndNoOtherByteDoes) {
    for (int b = 1; b < 256; ++b) {
        const char c = static_cast<char>(b);
        CDomainArray domains;
        const std::string text = std::string("first.com") + c + "second.com";
        const int added = ImportNames(domains, text, nullptr);
        if (IsNameSeparator(c)) {
            EXPECT_EQ(Names(domains), (std::vector<std::string>{"first.com", "second.com"}))
                << "byte " << b;
        } else {
            // One token: accepted whole since its last dot still leads to "com".
            ASSERT_EQ(added, 1) << "byte " << b;
            EXPECT_EQ(domains.GetRecord(0)->m_strName.size(), text.size()) << "byte " << b;
        }
    }
}

TEST(Intake, TextsYieldTheExpectedRecords) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;
    } cases[] = {
        {"comma, semicolon and space split; capitals lowered",
         "Alpha.COM,beta.net;Gamma.org delta.info",
         {"alpha.com", "beta.net", "gamma.org", "delta.info"}},
        {"web address keeps the name, the page is refused",
         "http://www.example.com/index.html",
         {"example.com"}},
        {"prefix removal happens after lowering", "HTTP://WWW.Upper.Com/", {"upper.com"}},
        {"plain scheme prefix removed", "http://plain.org", {"plain.org"}},
        {"secure scheme word stays as a name of its own (the colon splits it off)",
         "https://www.secure.com/",
         {"https", "www.secure.com"}},
        {"file-transfer scheme word stays too", "ftp://files.net", {"ftp", "files.net"}},
        {"www. alone is kept", "www.example.com", {"www.example.com"}},
        {"underscore splits", "my_site.com", {"my", "site.com"}},
        {"country codes refused, a dotless word accepted",
         "example.co.uk example.de word",
         {"word"}},
        {"same name twice gives two records", "dup.com dup.com", {"dup.com", "dup.com"}},
        {"a name ending in a dot is refused", "trailing.com.", {}},
        {"empty text", "", {}},
        {"only separators", " ,;\r\n\t_||[]", {}},
        {"www prefix removal runs once, then the plain prefix",
         "http://http://www.x.com",
         {"x.com"}},
        {"text joined by a removal is not searched again in that pass",
         "http://whttp://www.ww.x.com",
         {"www.x.com"}},
        {"prefixes are removed anywhere, not only at token starts", "ahttp://b.com", {"ab.com"}},
        {"supported extensions in capitals", "A.EDU B.BIZ C.INFO", {"a.edu", "b.biz", "c.info"}},
        {"text ends at a zero byte", std::string("a.com\0b.com", 11), {"a.com"}},
        {"high bytes belong to names", "caf\xc9.com", {"caf\xc9.com"}},
    };
    for (const Case& c : cases) {
        CDomainArray domains;
        CFakeProgress progress;
        const int added = ImportNames(domains, c.text, &progress);
        EXPECT_EQ(Names(domains), c.names) << c.what;
        EXPECT_EQ(added, static_cast<int>(c.names.size())) << c.what;
    }
}

TEST(Intake, NamesAlreadyInTheListAreAddedAgain) {
    CDomainArray domains;
    ASSERT_TRUE(domains.AddName("kept.com"));
    EXPECT_EQ(ImportNames(domains, "kept.com", nullptr), 1);
    EXPECT_EQ(Names(domains), (std::vector<std::string>{"kept.com", "kept.com"}));
}

TEST(Intake, StopsWhenTheListFillsUp) {
    CDomainArray domains;
    FillTo(domains, MAX_DOMAINS - 1);
    CFakeProgress progress;
    EXPECT_EQ(ImportNames(domains, "one.com two.com three.com", &progress), 1);
    EXPECT_EQ(domains.GetCount(), MAX_DOMAINS);
    EXPECT_EQ(domains.GetRecord(MAX_DOMAINS - 1)->m_strName, "one.com");
    EXPECT_EQ(progress.m_nPolls, 1);  // the remaining tokens are not examined
    EXPECT_EQ(progress.m_statuses.back(), "1 names imported");
}

TEST(Intake, FullListAddsNothing) {
    CDomainArray domains;
    FillTo(domains, MAX_DOMAINS);
    CFakeProgress progress;
    EXPECT_EQ(ImportNames(domains, "one.com two.com", &progress), 0);
    EXPECT_EQ(domains.GetCount(), MAX_DOMAINS);
    EXPECT_EQ(progress.m_nPolls, 1);
}

TEST(Intake, CancelStopsAtOnceAndKeepsWhatWasAdded) {
    struct Case {
        int cancelAtPoll;
        int added;
        std::string lastStatus;
    } cases[] = {
        {1, 1, "Importing Domain Names"},  // cancelled before any count was shown
        {2, 2, "1 names imported"},
        {3, 3, "2 names imported"},
        {0, 4, "4 names imported"},  // never cancelled
    };
    for (const Case& c : cases) {
        CDomainArray domains;
        CFakeProgress progress(c.cancelAtPoll);
        EXPECT_EQ(ImportNames(domains, "a.com b.com c.com d.com", &progress), c.added)
            << "cancel at poll " << c.cancelAtPoll;
        EXPECT_EQ(domains.GetCount(), c.added);
        EXPECT_EQ(progress.m_statuses.back(), c.lastStatus);
    }
}

TEST(Intake, StatusAfterTheFirstTokenShowsItsCount) {
    struct Case {
        const char* text;
        const char* status;
    } cases[] = {
        {"good.com", "1 names imported"},
        {"bad.co.uk", "0 names imported"},
    };
    for (const Case& c : cases) {
        CDomainArray domains;
        CFakeProgress progress;
        ImportNames(domains, c.text, &progress);
        EXPECT_EQ(progress.m_statuses,
                  (std::vector<std::string>{"Importing Domain Names", c.status}))
            << c.text;
    }
}

TEST(Intake, EmptyTextShowsOnlyTheStartStatusAndNeverPolls) {
    CDomainArray domains;
    CFakeProgress progress;
    EXPECT_EQ(ImportNames(domains, " \r\n ", &progress), 0);
    EXPECT_EQ(progress.m_statuses, (std::vector<std::string>{"Importing Domain Names"}));
    EXPECT_EQ(progress.m_nPolls, 0);
}

TEST(Intake, StatusFollowsTheCountAcrossRefusedTokens) {
    CDomainArray domains;
    CFakeProgress progress;
    ImportNames(domains, "a.com bad.de b.net bad.uk", &progress);
    EXPECT_EQ(progress.m_statuses,
              (std::vector<std::string>{"Importing Domain Names", "1 names imported",
                                        "2 names imported"}));
    EXPECT_EQ(progress.m_nPolls, 4);
}

TEST(Intake, BinaryGarbageNeverYieldsSeparatorsOrEmptyNames) {
    std::mt19937 rng(20260);
    std::string text(1 << 20, '\0');
    for (char& c : text) c = static_cast<char>(1 + rng() % 255);  // no zero byte: read it all
    CDomainArray domains;
    const int added = ImportNames(domains, text, nullptr);
    EXPECT_EQ(added, domains.GetCount());
    EXPECT_LE(added, MAX_DOMAINS);
    for (int i = 0; i < domains.GetCount(); ++i) {
        const std::string& name = domains.GetRecord(i)->m_strName;
        ASSERT_FALSE(name.empty());
        for (char c : name) {
            ASSERT_FALSE(IsNameSeparator(c));
            ASSERT_FALSE(c >= 'A' && c <= 'Z');
        }
    }
}

TEST(Intake, TokenizerSkipsRunsOfSeparatorsAndStopsWhenAsked) {
    std::vector<std::string> seen;
    EXPECT_TRUE(ForEachNameToken(",,a,,b,,", [&](std::string_view t) {
        seen.emplace_back(t);
        return true;
    }));
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
    seen.clear();
    EXPECT_FALSE(ForEachNameToken("a b c", [&](std::string_view t) {
        seen.emplace_back(t);
        return seen.size() < 2;
    }));
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
}
