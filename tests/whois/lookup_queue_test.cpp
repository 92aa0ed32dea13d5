#include "whois/lookup_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Contents(const CLookupQueue& q) {
    std::vector<std::string> names;
    for (int i = 0; i < q.GetSize(); ++i) names.push_back(q.GetString(i));
    return names;
}

TEST(LookupQueue, DuplicatesAreRefusedWithoutRegardToCase) {
    struct Case {
        const char* name;
        bool added;
    } cases[] = {
        {"example.com", true},
        {"EXAMPLE.COM", false},
        {"Example.Com", false},
        {"example.net", true},
        {"example.com ", true},  // a blank makes another name
        {"", true},
        {"", false},
        {"caf\xe9.com", true},
        {"CAF\xc9.com", true},  // only ASCII letters fold
    };
    CLookupQueue q;
    for (const Case& c : cases) EXPECT_EQ(q.Add(c.name), c.added) << '"' << c.name << '"';
    EXPECT_EQ(q.GetSize(), 6);
    EXPECT_EQ(q.GetString(0), "example.com");  // the first spelling is kept
}

TEST(LookupQueue, FrontComesOutFirstAndMayThenBeQueuedAgain) {
    CLookupQueue q;
    q.Add("a.com");
    q.Add("b.com");
    q.Add("c.com");
    EXPECT_EQ(q.PopFront(), "a.com");
    EXPECT_FALSE(q.Contains("A.com"));
    EXPECT_TRUE(q.Add("A.COM"));  // put back: to the back
    EXPECT_EQ(Contents(q), (std::vector<std::string>{"b.com", "c.com", "A.COM"}));
    EXPECT_EQ(q.Find("a.com"), 2);
    EXPECT_EQ(q.Find("B.com"), 0);
    EXPECT_EQ(q.Find("d.com"), -1);
    q.RemoveAll();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_EQ(q.PopFront(), "");
    EXPECT_TRUE(q.Add("b.com"));  // nothing of the old index is left
}

TEST(LookupQueue, OutOfRangePositionsGiveEmptyText) {
    CLookupQueue q;
    q.Add("a.com");
    for (int i : {-1, 1, 1000, -2147483647 - 1}) EXPECT_EQ(q.GetString(i), "") << i;
}

TEST(LookupQueue, FullListQueuedKeepsEveryNameOnce) {
    CLookupQueue q;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 2500; ++i)
            q.Add("name" + std::to_string(i) + (round ? ".COM" : ".com"));
    }
    EXPECT_EQ(q.GetSize(), 2500);
    for (int i = 0; i < 2500; ++i) ASSERT_EQ(q.PopFront(), "name" + std::to_string(i) + ".com");
    EXPECT_TRUE(q.IsEmpty());
}

}  // namespace
