#include "domains/domain_array.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "framework/archive.h"
#include "tests/domains/record_bytes.h"

namespace {

std::vector<std::string> Names(const CDomainArray& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetRecord(i)->m_strName);
    return out;
}

void Fill(CDomainArray& list, int count) {
    for (int i = 0; i < count; ++i) ASSERT_TRUE(list.AddName("d" + std::to_string(i) + ".com"));
}

std::string Store(const CDomainArray& list) {
    CArchive ar;
    list.Store(ar);
    return ar.Bytes();
}

}  // namespace

TEST(DomainArray, AddNameAcceptsOnlyTheSixExtensions) {
    struct Case {
        const char* name;
        bool accepted;
    } cases[] = {
        {"abc.com", true},    {"abc.net", true},     {"abc.org", true},    {"abc.edu", true},
        {"abc.biz", true},    {"abc.info", true},    {"ABC.COM", true},  // compared after lowering
        {"Mixed.InFo", true}, {"nodot", true},  // the lookup marks it an error later
        {".com", true},       {"www.abc.com", true}, {"abc.co.uk", false}, {"abc.de", false},
        {"abc.comm", false},  {"abc.co", false},     {"abc.com.", false},  // empty extension
        {"abc.", false},      {"abc.com ", false},                         // no trimming
        {"abc.c om", false},  {"abc.name", false},
    };
    for (const Case& c : cases) {
        CDomainArray list;
        EXPECT_EQ(list.AddName(c.name), c.accepted) << c.name;
        ASSERT_EQ(list.GetCount(), c.accepted ? 1 : 0) << c.name;
        if (c.accepted) {
            const CDomainData* r = list.GetRecord(0);
            EXPECT_EQ(r->m_strName, c.name) << "stored exactly as passed";
            EXPECT_EQ(r->m_nState, STATE_UNCHECKED);
            EXPECT_EQ(r->m_dtChecked.GetStatus(), CDateTime::null);
            EXPECT_TRUE(r->m_strStatus.empty());
        }
    }
}

TEST(DomainArray, FullListRefusesEveryNameAndRecord) {
    CDomainArray list;
    Fill(list, MAX_DOMAINS);
    ASSERT_EQ(list.GetCount(), MAX_DOMAINS);
    EXPECT_FALSE(list.AddName("more.com"));
    EXPECT_FALSE(list.AddName("nodot"));
    EXPECT_FALSE(list.Append(std::make_unique<CDomainData>("x.com")));
    EXPECT_FALSE(list.Append(nullptr));
    EXPECT_EQ(list.GetCount(), MAX_DOMAINS);
    ASSERT_TRUE(list.RemoveName("d0.com"));
    EXPECT_TRUE(list.AddName("more.com"));
    EXPECT_EQ(list.GetCount(), MAX_DOMAINS);
}

TEST(DomainArray, SameNameTwiceGivesTwoRecordsAndLookupsTakeTheFirst) {
    CDomainArray list;
    ASSERT_TRUE(list.AddName("other.com"));
    ASSERT_TRUE(list.AddName("Twice.com"));
    ASSERT_TRUE(list.AddName("twice.com"));
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.IndexOf("TWICE.COM"), 1);
    EXPECT_EQ(list.Find("twice.COM"), list.GetRecord(1));
    EXPECT_TRUE(list.SetRegistrar("twice.com", "first"));
    EXPECT_EQ(list.GetRecord(1)->m_strRegistrar, "first");
    EXPECT_TRUE(list.GetRecord(2)->m_strRegistrar.empty());
    EXPECT_TRUE(list.RemoveName("TWICE.com"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"other.com", "twice.com"}));
    EXPECT_FALSE(list.RemoveName("absent.com"));
    EXPECT_EQ(list.IndexOf("absent.com"), -1);
    EXPECT_EQ(list.Find("absent.com"), nullptr);
}

TEST(DomainArray, GetRecordOutsideTheListIsNone) {
    CDomainArray list;
    Fill(list, 3);
    const int indices[] = {-1, 3, 4, INT_MIN, INT_MAX};
    for (int i : indices) EXPECT_EQ(list.GetRecord(i), nullptr) << i;
    EXPECT_NE(list.GetRecord(0), nullptr);
    EXPECT_NE(list.GetRecord(2), nullptr);
}

// A setter that misses must not fall back on some other record.
TEST(DomainArray, SettersThatFindNothingChangeNothing) {
    const CDateTime when(38000.5, CDateTime::valid);
    struct Case {
        const char* what;
        std::function<bool(CDomainArray&, const std::string&)> set;
    } cases[] = {
        {"SetState",
         [&](CDomainArray& l, const std::string& n) { return l.SetState(n, STATE_FREE, when); }},
        {"SetStatusText",
         [](CDomainArray& l, const std::string& n) { return l.SetStatusText(n, "ok"); }},
        {"SetRegistrar",
         [](CDomainArray& l, const std::string& n) { return l.SetRegistrar(n, "reg"); }},
        {"SetWhoisServer",
         [](CDomainArray& l, const std::string& n) { return l.SetWhoisServer(n, "whois.x"); }},
        {"SetCreated",
         [&](CDomainArray& l, const std::string& n) { return l.SetCreated(n, when); }},
        {"SetExpires",
         [&](CDomainArray& l, const std::string& n) { return l.SetExpires(n, when); }},
        {"SetUpdated",
         [&](CDomainArray& l, const std::string& n) { return l.SetUpdated(n, when); }},
        {"SetWhoisText",
         [](CDomainArray& l, const std::string& n) { return l.SetWhoisText(n, "text"); }},
    };
    for (const Case& c : cases) {
        CDomainArray list;
        list.AddName("abc.com");
        list.AddName("def.com");
        const CDomainData before0 = *list.GetRecord(0);
        const CDomainData before1 = *list.GetRecord(1);
        EXPECT_FALSE(c.set(list, "abc.co")) << c.what;
        EXPECT_FALSE(c.set(list, "")) << c.what;
        EXPECT_FALSE(c.set(list, "abc.com.")) << c.what;
        EXPECT_TRUE(SameRecord(*list.GetRecord(0), before0)) << c.what;
        EXPECT_TRUE(SameRecord(*list.GetRecord(1), before1)) << c.what;
        EXPECT_TRUE(c.set(list, "DEF.com")) << c.what;
        EXPECT_TRUE(SameRecord(*list.GetRecord(0), before0)) << c.what;
        EXPECT_FALSE(SameRecord(*list.GetRecord(1), before1)) << c.what;
    }
}

TEST(DomainArray, SetStateTakesTheWholeDateIncludingItsStatus) {
    const CDateTime dates[] = {CDateTime(41000.75, CDateTime::valid),
                               CDateTime(5.0, CDateTime::invalid), CDateTime::Null()};
    for (const CDateTime& dt : dates) {
        CDomainArray list;
        list.AddName("abc.com");
        list.GetRecord(0)->m_dtChecked = CDateTime(1.0, CDateTime::valid);
        ASSERT_TRUE(list.SetState("abc.com", STATE_TAKEN, dt));
        EXPECT_EQ(list.GetRecord(0)->m_nState, STATE_TAKEN);
        EXPECT_EQ(list.GetRecord(0)->m_dtChecked, dt);
    }
}

TEST(DomainArray, OneNewRecordWritesTheEightyFiveByteExample) {
    CDomainArray list;
    ASSERT_TRUE(list.AddName("abc"));
    std::string expect;
    const unsigned char bytes[] = {
        0x01, 0x00, 0x00, 0x00,                                           // N = 1
        0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00,                               // new class
        'C',  'D',  'o',  'm',  'a',  'i',  'n',  'D', 'a', 't', 'a',     // name
        0x05, 0x00, 0x00, 0x00,                                           // state 5
        0x03, 'a',  'b',  'c',                                            // name
        0x02, 0x00, 0x00, 0x00, 0,    0,    0,    0,   0,   0,   0,   0,  // checked
        0x00,                                                             // status
        0x02, 0x00, 0x00, 0x00, 0,    0,    0,    0,   0,   0,   0,   0,  // created
        0x02, 0x00, 0x00, 0x00, 0,    0,    0,    0,   0,   0,   0,   0,  // expires
        0x02, 0x00, 0x00, 0x00, 0,    0,    0,    0,   0,   0,   0,   0,  // updated
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                         // seven texts
    };
    expect.assign(reinterpret_cast<const char*>(bytes), sizeof bytes);
    ASSERT_EQ(expect.size(), 85u);
    EXPECT_EQ(Store(list), expect);
}

TEST(DomainArray, LaterRecordsCarryAClassReferenceNotAnotherHeader) {
    CDomainArray list;
    list.AddName("abc.com");
    list.AddName("def.com");
    list.AddName("ghi.com");
    const std::string bytes = Store(list);
    CBytes expect;
    expect.U32(3).NewClassHeader().Body(*list.GetRecord(0));
    expect.U16(0x8001).Body(*list.GetRecord(1));
    expect.U16(0x8001).Body(*list.GetRecord(2));
    EXPECT_EQ(bytes, expect.Get());
    // After N, the class header and the first body (name "abc.com") comes 0x01 0x80.
    const size_t second = 4 + 17 + (4 + 8 + 12 + 1 + 36 + 7);
    EXPECT_EQ(static_cast<unsigned char>(bytes[second]), 0x01);
    EXPECT_EQ(static_cast<unsigned char>(bytes[second + 1]), 0x80);
}

TEST(DomainArray, EveryFieldRoundTrips) {
    CDomainArray list;
    std::vector<CDomainData> originals;
    originals.push_back(FilledRecord("full.com", STATE_TAKEN));
    CDomainData odd = FilledRecord("odd.net", -7);
    odd.m_dtChecked = CDateTime(-693594.5, CDateTime::valid);
    odd.m_dtCreated = CDateTime(12.0, CDateTime::null);
    odd.m_dtExpires = CDateTime(-1.0, CDateTime::invalid);
    odd.m_dtUpdated = CDateTime(2958465.99, static_cast<CDateTime::Status>(9));
    odd.m_strWhoisText = std::string(70000, 'w');
    odd.m_strStatus = std::string("\0\xFF\xFE binary", 10);
    odd.m_strRegistrar = std::string(255, 'r');
    odd.m_strWhoisServer = std::string(254, 's');
    originals.push_back(odd);
    originals.push_back(CDomainData("new.org"));
    for (int state : {0, 2, 3, 4, 6, 99, INT_MIN, INT_MAX}) {
        originals.push_back(FilledRecord("s" + std::to_string(state) + ".biz", state));
    }
    for (const CDomainData& r : originals)
        ASSERT_TRUE(list.Append(std::make_unique<CDomainData>(r)));

    const std::string bytes = Store(list);
    CDomainArray back;
    back.AddName("stale.com");
    CArchive in{std::string_view(bytes)};
    back.Serialize(in);
    EXPECT_TRUE(in.IsIntact());
    EXPECT_EQ(in.Remaining(), 0u);
    ASSERT_EQ(back.GetCount(), static_cast<int>(originals.size()));
    for (size_t i = 0; i < originals.size(); ++i) {
        EXPECT_TRUE(SameRecord(*back.GetRecord(static_cast<int>(i)), originals[i])) << i;
    }
}

TEST(DomainArray, SerializeInStoringModeWritesThroughSerialize) {
    CDomainArray list;
    list.AddName("abc.com");
    CArchive ar;
    list.Serialize(ar);
    EXPECT_EQ(ar.Bytes(), Store(list));
    EXPECT_EQ(list.GetCount(), 1) << "storing must not touch the list";
}
