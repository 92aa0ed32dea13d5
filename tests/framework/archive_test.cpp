#include "framework/archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string B(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

const CRuntimeClass kRecord{"CDomainData", 1};
const CRuntimeClass kOther{"CSerStringArray", 1};

// Hands out its bytes in pieces of a fixed size, as a file read would near block ends; may claim
// more bytes than it has, as a file that shrank while being read.
class CChunkSource : public IArchiveSource {
public:
    CChunkSource(std::string data, size_t chunk, uint64_t claimedExtra = 0)
        : m_data(std::move(data)), m_nChunk(chunk), m_nExtra(claimedExtra) {}
    size_t ReadBytes(char* out, size_t size) override {
        size_t n = std::min({size, m_nChunk, m_data.size() - m_nPos});
        size_t total = 0;
        while (n) {
            std::memcpy(out + total, m_data.data() + m_nPos, n);
            m_nPos += n;
            total += n;
            n = std::min({size - total, m_nChunk, m_data.size() - m_nPos});
        }
        ++m_nCalls;
        return total;
    }
    uint64_t Remaining() const override { return m_data.size() - m_nPos + m_nExtra; }
    int m_nCalls = 0;

private:
    std::string m_data;
    size_t m_nChunk;
    size_t m_nPos = 0;
    uint64_t m_nExtra;
};

class CRecordingSink : public IArchiveSink {
public:
    explicit CRecordingSink(int failAtCall = -1) : m_nFailAtCall(failAtCall) {}
    bool WriteBytes(const char* data, size_t size) override {
        if (m_nCalls++ == m_nFailAtCall)
            return false;
        m_bytes.append(data, size);
        m_sizes.push_back(size);
        return true;
    }
    std::string m_bytes;
    std::vector<size_t> m_sizes;
    int m_nCalls = 0;
    int m_nFailAtCall;
};

}  // namespace

TEST(Archive, IntegersAndDoublesAreLittleEndian) {
    struct Case {
        const char* what;
        std::function<void(CArchive&)> write;
        std::string bytes;
    } cases[] = {
        {"u8", [](CArchive& a) { a.WriteU8(0xAB); }, B({0xAB})},
        {"u16", [](CArchive& a) { a.WriteU16(0x1234); }, B({0x34, 0x12})},
        {"u32", [](CArchive& a) { a.WriteU32(0x12345678); }, B({0x78, 0x56, 0x34, 0x12})},
        {"i32 -1", [](CArchive& a) { a.WriteI32(-1); }, B({0xFF, 0xFF, 0xFF, 0xFF})},
        {"i32 min", [](CArchive& a) { a.WriteI32(INT32_MIN); }, B({0, 0, 0, 0x80})},
        {"double 1", [](CArchive& a) { a.WriteDouble(1.0); }, B({0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
        {"double -2.5", [](CArchive& a) { a.WriteDouble(-2.5); },
         B({0, 0, 0, 0, 0, 0, 0x04, 0xC0})},
        {"date status first",
         [](CArchive& a) { a.WriteDateTime(CDateTime(1.0, CDateTime::invalid)); },
         B({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
        {"null date", [](CArchive& a) { a.WriteDateTime(CDateTime()); },
         B({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
    };
    for (const Case& c : cases) {
        CArchive ar;
        c.write(ar);
        EXPECT_EQ(Hex(ar.Bytes()), Hex(c.bytes)) << c.what;
    }
}

TEST(Archive, StringLengthFormsSwitchAtTheirBoundaries) {
    struct Case {
        size_t length;
        std::string prefix;
    } cases[] = {
        {0, B({0x00})},
        {1, B({0x01})},
        {254, B({0xFE})},
        {255, B({0xFF, 0xFF, 0x00})},
        {300, B({0xFF, 0x2C, 0x01})},
        {65533, B({0xFF, 0xFD, 0xFF})},
        {65534, B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {65535, B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {70000, B({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i * 7);
        CArchive out;
        ASSERT_TRUE(out.WriteString(text));
        ASSERT_EQ(out.Bytes().size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Hex(out.Bytes().substr(0, c.prefix.size())), Hex(c.prefix)) << c.length;
        EXPECT_EQ(out.Bytes().substr(c.prefix.size()), text) << c.length;

        CArchive in(std::string_view(out.Bytes()));
        std::string back = "sentinel";
        ASSERT_TRUE(in.ReadString(back)) << c.length;
        EXPECT_EQ(back, text) << c.length;
        EXPECT_EQ(in.Remaining(), 0u) << c.length;
    }
}

TEST(Archive, LongerLengthFormsAreReadEvenForShortText) {
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"16-bit form", B({0xFF, 0x03, 0x00, 'a', 'b', 'c'})},
        {"32-bit form", B({0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'})},
    };
    for (const Case& c : cases) {
        CArchive in{std::string_view(c.bytes)};
        std::string s;
        ASSERT_TRUE(in.ReadString(s)) << c.what;
        EXPECT_EQ(s, "abc") << c.what;
    }
}

TEST(Archive, TextKeepsZeroAndHighBytes) {
    const std::string text = B({0, 0xFF, 0xFE, 0x80, '\r', '\n', 0});
    CArchive out;
    out.WriteString(text);
    CArchive in(std::string_view(out.Bytes()));
    std::string back;
    ASSERT_TRUE(in.ReadString(back));
    EXPECT_EQ(back, text);
}

TEST(Archive, SpecialDoublesAndDatesRoundTripBitForBit) {
    const double values[] = {0.0,
                             -0.0,
                             -693594.0,
                             2958465.999988426,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::denorm_min()};
    const uint32_t statuses[] = {0, 1, 2, 7, 0xFFFFFFFF};
    for (double v : values) {
        for (uint32_t st : statuses) {
            CArchive out;
            out.WriteDateTime(CDateTime(v, static_cast<CDateTime::Status>(st)));
            ASSERT_EQ(out.Bytes().size(), 12u);
            CArchive in(std::string_view(out.Bytes()));
            CDateTime back(123.0, CDateTime::valid);
            ASSERT_TRUE(in.ReadDateTime(back));
            EXPECT_EQ(static_cast<uint32_t>(back.m_status), st);
            EXPECT_EQ(std::memcmp(&back.m_dt, &v, sizeof v), 0) << v;
        }
    }
}

// Each read given one byte too few must fail and leave its target as it was: a field cut by the
// end of the file must never hold bytes that were not there.
TEST(Archive, ShortReadFailsAndLeavesTargetUnchanged) {
    struct Case {
        const char* what;
        std::string bytes;  // complete value minus its last byte
        std::function<bool(CArchive&)> readAndCheckUnchanged;
    } cases[] = {
        {"u8", "",
         [](CArchive& a) {
             uint8_t v = 9;
             return !a.ReadU8(v) && v == 9;
         }},
        {"u16", B({1}),
         [](CArchive& a) {
             uint16_t v = 9;
             return !a.ReadU16(v) && v == 9;
         }},
        {"u32", B({1, 2, 3}),
         [](CArchive& a) {
             uint32_t v = 9;
             return !a.ReadU32(v) && v == 9;
         }},
        {"i32", B({1, 2, 3}),
         [](CArchive& a) {
             int32_t v = 9;
             return !a.ReadI32(v) && v == 9;
         }},
        {"double", B({1, 2, 3, 4, 5, 6, 7}),
         [](CArchive& a) {
             double v = 9;
             return !a.ReadDouble(v) && v == 9;
         }},
        {"date without its day count", B({0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7}),
         [](CArchive& a) {
             CDateTime v;
             return !a.ReadDateTime(v) && v.m_status == CDateTime::null && v.m_dt == 0.0;
         }},
        {"text cut", B({5, 'a', 'b', 'c', 'd'}),
         [](CArchive& a) {
             std::string v = "old";
             return !a.ReadString(v) && v == "old";
         }},
        {"16-bit length cut", B({0xFF, 0x10}),
         [](CArchive& a) {
             std::string v = "old";
             return !a.ReadString(v) && v == "old";
         }},
        {"32-bit length cut", B({0xFF, 0xFF, 0xFF, 1, 0, 0}),
         [](CArchive& a) {
             std::string v = "old";
             return !a.ReadString(v) && v == "old";
         }},
    };
    for (const Case& c : cases) {
        CArchive in{std::string_view(c.bytes)};
        EXPECT_TRUE(c.readAndCheckUnchanged(in)) << c.what;
        EXPECT_FALSE(in.IsIntact()) << c.what;
    }
}

// A length the data cannot fill is refused before anything is allocated for it (a 4 GiB request
// would exhaust memory long before the read could fail).
TEST(Archive, AbsurdLengthIsRefusedWithoutAllocating) {
    const std::string ten(10, 'z');
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"u32 0xFFFFFFF0", B({0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF}) + ten},
        {"u32 0xFFFFFFFF", B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + ten},
        {"u32 one past the end", B({0xFF, 0xFF, 0xFF, 11, 0, 0, 0}) + ten},
        {"u16 0xFFFD", B({0xFF, 0xFD, 0xFF}) + ten},
        {"byte 0xFE", B({0xFE}) + ten},
    };
    for (const Case& c : cases) {
        CArchive in{std::string_view(c.bytes)};
        std::string s = "old";
        EXPECT_FALSE(in.ReadString(s)) << c.what;
        EXPECT_EQ(s, "old") << c.what;
        EXPECT_LT(s.capacity(), 1000u) << c.what;
    }
    // The same through a source that reports the true remainder.
    for (const Case& c : cases) {
        CChunkSource source(c.bytes, 3);
        CArchive in(source);
        std::string s = "old";
        EXPECT_FALSE(in.ReadString(s)) << c.what;
        EXPECT_EQ(s, "old") << c.what;
    }
}

// After one failed read the position is inside damaged data; reading on would turn garbage into
// fields.
TEST(Archive, EveryReadAfterAFailureFails) {
    const std::string bytes = B({0xFF, 0x00, 0x10, 'a', 'b', 'c', 'd', 1, 0, 0, 0});
    CArchive in{std::string_view(bytes)};
    std::string s;
    EXPECT_FALSE(in.ReadString(s));
    uint8_t b = 0;
    uint32_t u = 0;
    EXPECT_FALSE(in.ReadU8(b));
    EXPECT_FALSE(in.ReadU32(u));
    EXPECT_EQ(in.ReadObjectHeader(kRecord), ObjectHeader::endOfData);
}

TEST(Archive, WideTextMarkerIsRefused) {
    // 0xFF, 0xFFFE, then a repeated length prefix and 16-bit characters "abc"; enough bytes follow
    // that 0xFFFE read as a plain length would be satisfied.
    const std::string bytes =
        B({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0, 0x01}) + std::string(70000, 'x');
    CArchive in{std::string_view(bytes)};
    std::string s = "old";
    EXPECT_FALSE(in.ReadString(s));
    EXPECT_EQ(s, "old");
    uint8_t next = 0;
    EXPECT_FALSE(in.ReadU8(next));
    EXPECT_FALSE(in.IsIntact());
}

TEST(Archive, ObjectHeadersAreWrittenWithFrameworkNumbering) {
    CArchive out;
    out.WriteObjectHeader(kRecord);  // class 1, object 2
    out.WriteObjectHeader(kRecord);  // object 3
    out.WriteObjectHeader(kOther);   // class 4, object 5
    out.WriteObjectHeader(kOther);   // object 6
    out.WriteObjectHeader(kRecord);  // object 7
    out.WriteNullObject();
    std::string expect = B({0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}) + "CDomainData" + B({0x01, 0x80});
    expect += B({0xFF, 0xFF, 0x01, 0x00, 0x0F, 0x00}) + "CSerStringArray";
    expect += B({0x04, 0x80, 0x01, 0x80, 0x00, 0x00});
    EXPECT_EQ(Hex(out.Bytes()), Hex(expect));
}

TEST(Archive, ObjectHeadersAreResolvedOrRefused) {
    const std::string rec = B({0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}) + "CDomainData";
    using H = ObjectHeader;
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<H> expect;  // one header read per entry against kRecord
        uint16_t lastSchema;
    } cases[] = {
        {"new class then references",
         rec + B({0x01, 0x80, 0x01, 0x80}),
         {H::object, H::object, H::object},
         1},
        {"schema 2 is accepted",
         B({0xFF, 0xFF, 0x02, 0x00, 0x0B, 0x00}) + "CDomainData",
         {H::object},
         2},
        {"null tag", B({0x00, 0x00}), {H::nullObject}, 0},
        {"reference to an earlier object", rec + B({0x02, 0x00}), {H::object, H::backReference}, 1},
        {"class reference naming an object", rec + B({0x02, 0x80}), {H::object, H::wrongClass}, 1},
        {"class reference beyond the map", rec + B({0x05, 0x80}), {H::object, H::wrongClass}, 1},
        {"class reference before any class", B({0x01, 0x80}), {H::wrongClass}, 0},
        {"class reference zero", rec + B({0x00, 0x80}), {H::object, H::wrongClass}, 1},
        {"name one letter off",
         B({0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}) + "CDomainDatb",
         {H::wrongClass},
         0},
        {"name one letter short",
         B({0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00}) + "CDomainDat",
         {H::wrongClass},
         0},
        {"name in other case",
         B({0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}) + "cdomaindata",
         {H::wrongClass},
         0},
        {"other known class",
         B({0xFF, 0xFF, 0x01, 0x00, 0x0F, 0x00}) + "CSerStringArray",
         {H::wrongClass},
         0},
        {"name cut", B({0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00}) + "CDomain", {H::endOfData}, 0},
        {"name length beyond the data",
         B({0xFF, 0xFF, 0x01, 0x00, 0xFF, 0xFF, 'C'}),
         {H::endOfData},
         0},
        {"tag cut", B({0xFF}), {H::endOfData}, 0},
        {"empty", "", {H::endOfData}, 0},
        {"schema cut", B({0xFF, 0xFF, 0x01}), {H::endOfData}, 0},
        {"big class reference",
         rec + B({0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80}),
         {H::object, H::object},
         1},
        {"big object reference",
         rec + B({0xFF, 0x7F, 0x02, 0x00, 0x00, 0x00}),
         {H::object, H::backReference},
         1},
        {"big null", B({0xFF, 0x7F, 0x00, 0x00, 0x00, 0x00}), {H::nullObject}, 0},
        {"big tag cut", B({0xFF, 0x7F, 0x01, 0x00}), {H::endOfData}, 0},
        {"repeated new-class header takes a new index",
         rec + rec + B({0x03, 0x80, 0x01, 0x80, 0x02, 0x80}),
         {H::object, H::object, H::object, H::object, H::wrongClass},
         1},
    };
    for (const Case& c : cases) {
        CArchive in{std::string_view(c.bytes)};
        bool intact = true;
        for (size_t i = 0; i < c.expect.size(); ++i) {
            const H got = in.ReadObjectHeader(kRecord);
            EXPECT_EQ(static_cast<int>(got), static_cast<int>(c.expect[i]))
                << c.what << ", header " << i;
            if (got != H::object && got != H::nullObject)
                intact = false;
        }
        EXPECT_EQ(in.IsIntact(), intact) << c.what;
        EXPECT_EQ(in.GetObjectSchema(), c.lastSchema) << c.what;
    }
}

TEST(Archive, HeadersWrittenAreReadBackAsTheSameObjects) {
    CArchive out;
    for (int i = 0; i < 5; ++i) {
        out.WriteObjectHeader(i % 2 ? kOther : kRecord);
        out.WriteU32(static_cast<uint32_t>(i));
    }
    CArchive in(std::string_view(out.Bytes()));
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(in.ReadObjectHeader(i % 2 ? kOther : kRecord), ObjectHeader::object) << i;
        uint32_t v = 99;
        ASSERT_TRUE(in.ReadU32(v));
        EXPECT_EQ(v, static_cast<uint32_t>(i));
    }
    EXPECT_TRUE(in.IsIntact());
}

// Values that straddle the 4096-byte buffer and sources that hand out odd pieces must read exactly
// as from memory.
TEST(Archive, SourceReadsMatchMemoryReadsAcrossBufferEnds) {
    CArchive out;
    const size_t lengths[] = {0, 1, 4090, 4095, 4096, 4097, 8191, 10000, 70000, 3};
    for (size_t n : lengths) {
        std::string s(n, '\0');
        for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + (i + n) % 26);
        out.WriteString(s);
        out.WriteU32(static_cast<uint32_t>(n));
        out.WriteDouble(static_cast<double>(n) + 0.5);
    }
    const size_t chunks[] = {1, 7, 4096, 100000};
    for (size_t chunk : chunks) {
        CChunkSource source(out.Bytes(), chunk);
        CArchive in(source);
        for (size_t n : lengths) {
            std::string s;
            uint32_t u = 0;
            double d = 0;
            ASSERT_TRUE(in.ReadString(s)) << chunk << "/" << n;
            ASSERT_TRUE(in.ReadU32(u));
            ASSERT_TRUE(in.ReadDouble(d));
            ASSERT_EQ(s.size(), n);
            for (size_t i = 0; i < n; ++i) {
                ASSERT_EQ(s[i], static_cast<char>('a' + (i + n) % 26)) << chunk << "/" << n;
            }
            EXPECT_EQ(u, n);
            EXPECT_EQ(d, static_cast<double>(n) + 0.5);
        }
        EXPECT_EQ(in.Remaining(), 0u);
        uint8_t b;
        EXPECT_FALSE(in.ReadU8(b));
    }
}

// A file that shrinks while being read delivers fewer bytes than it promised.
TEST(Archive, SourceThatEndsEarlyFailsTheRead) {
    const size_t lengths[] = {10, 5000, 20000};
    for (size_t n : lengths) {
        CArchive out;
        out.WriteString(std::string(n, 'q'));
        std::string bytes = out.Bytes();
        bytes.resize(bytes.size() - 1);
        CChunkSource source(bytes, 4096, /*claimedExtra=*/1);
        CArchive in(source);
        std::string s = "old";
        EXPECT_FALSE(in.ReadString(s)) << n;
        EXPECT_EQ(s, "old") << n;
    }
}

TEST(Archive, SinkGetsTheSameBytesAsMemory) {
    CArchive mem;
    CRecordingSink sink;
    CArchive out(sink);
    for (int i = 0; i < 300; ++i) {
        const std::string s(static_cast<size_t>(i * 37), static_cast<char>(i));
        for (CArchive* a : {&mem, &out}) {
            a->WriteObjectHeader(kRecord);
            a->WriteString(s);
            a->WriteI32(-i);
        }
    }
    ASSERT_TRUE(out.Flush());
    EXPECT_EQ(sink.m_bytes, mem.Bytes());
    for (size_t size : sink.m_sizes) EXPECT_GT(size, 0u);
    EXPECT_GT(sink.m_sizes.size(), 10u);
}

TEST(Archive, SinkFailureStopsEveryLaterWrite) {
    const int failAt[] = {0, 1, 3};
    for (int f : failAt) {
        CRecordingSink sink(f);
        CArchive out(sink);
        bool sawFailure = false;
        for (int i = 0; i < 50 && !sawFailure; ++i) {
            sawFailure = !out.WriteString(std::string(1000, 'x'));
        }
        if (!sawFailure)
            sawFailure = !out.Flush();
        EXPECT_TRUE(sawFailure) << f;
        EXPECT_TRUE(out.HasWriteFailed()) << f;
        const int calls = sink.m_nCalls;
        EXPECT_FALSE(out.WriteU8(1)) << f;
        EXPECT_FALSE(out.WriteString(std::string(9000, 'y'))) << f;
        EXPECT_FALSE(out.Flush()) << f;
        EXPECT_EQ(sink.m_nCalls, calls) << f;
    }
}

TEST(Archive, DirectionIsFixed) {
    CArchive out;
    EXPECT_TRUE(out.IsStoring());
    uint8_t b = 5;
    EXPECT_FALSE(out.ReadU8(b));
    EXPECT_EQ(b, 5);
    const std::string bytes = B({1, 2});
    CArchive in{std::string_view(bytes)};
    EXPECT_TRUE(in.IsLoading());
    EXPECT_FALSE(in.WriteU8(1));
    EXPECT_FALSE(in.WriteObjectHeader(kRecord));
    EXPECT_EQ(in.Remaining(), 2u);
}

namespace {
int g_reports = 0;
void CountReport(const char*) {
    ++g_reports;
}
}  // namespace

TEST(Archive, ErrorReporterIsCalledOnlyWhenInstalled) {
    g_reports = 0;
    ReportArchiveError("ignored");
    SetArchiveErrorReporter(&CountReport);
    ReportArchiveError("counted");
    SetArchiveErrorReporter(nullptr);
    ReportArchiveError("ignored");
    EXPECT_EQ(g_reports, 1);
}
