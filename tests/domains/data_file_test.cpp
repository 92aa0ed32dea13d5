#include "domains/data_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "framework/archive.h"
#include "framework/file_io.h"
#include "tests/domains/record_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

// "<prefix><i>.com", built without operator+ on a literal (GCC 12 warns falsely about it).
std::string NumberedName(const char* prefix, uint32_t i) {
    std::string name(prefix);
    name += std::to_string(i);
    name += ".com";
    return name;
}

std::vector<std::string> Names(const CDomainArray& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetRecord(i)->m_strName);
    return out;
}

// Loads bytes the way the program loads its file, from memory.
void LoadBytes(const std::string& bytes, CDomainArray& list) {
    CArchive ar{std::string_view(bytes)};
    list.Serialize(ar);
}

const CDomainData kA = FilledRecord("alpha.com", STATE_TAKEN);
const CDomainData kB = FilledRecord("beta.net", STATE_FREE);
const CDomainData kC = FilledRecord("gamma.org", STATE_ERROR);

std::string ThreeRecordFile(std::vector<size_t>* headerEnds = nullptr) {
    CBytes b;
    b.U32(3).NewClassHeader();
    if (headerEnds)
        headerEnds->push_back(b.Size());
    b.Body(kA).U16(0x8001);
    if (headerEnds)
        headerEnds->push_back(b.Size());
    b.Body(kB).U16(0x8001);
    if (headerEnds)
        headerEnds->push_back(b.Size());
    b.Body(kC);
    return b.Get();
}

// Fields of `got` are either what `full` holds or what a new record holds: never anything else.
void ExpectOnlyFileOrDefaultFields(const CDomainData& got, const CDomainData& full,
                                   const std::string& where) {
    const CDomainData fresh;
    auto text = [&](const std::string& g, const std::string& f, const char* field) {
        EXPECT_TRUE(g == f || g.empty()) << where << " " << field;
    };
    auto date = [&](const CDateTime& g, const CDateTime& f, const char* field) {
        EXPECT_TRUE(g == f || g == CDateTime()) << where << " " << field;
    };
    EXPECT_TRUE(got.m_nState == full.m_nState || got.m_nState == fresh.m_nState) << where;
    text(got.m_strName, full.m_strName, "name");
    date(got.m_dtChecked, full.m_dtChecked, "checked");
    text(got.m_strStatus, full.m_strStatus, "status");
    date(got.m_dtCreated, full.m_dtCreated, "created");
    date(got.m_dtExpires, full.m_dtExpires, "expires");
    date(got.m_dtUpdated, full.m_dtUpdated, "updated");
    text(got.m_strRegistrar, full.m_strRegistrar, "registrar");
    text(got.m_strWhoisServer, full.m_strWhoisServer, "server");
    text(got.m_strReserved1, full.m_strReserved1, "reserved1");
    text(got.m_strReserved4, full.m_strReserved4, "reserved4");
    text(got.m_strWhoisText, full.m_strWhoisText, "whois text");
}

}  // namespace

TEST(DataFile, DamagedArchivesKeepTheRecordsBeforeTheDamage) {
    const std::string hdr = CBytes().NewClassHeader();
    const std::string a = CBytes().Body(kA), b = CBytes().Body(kB);
    const std::string ref = CBytes().U16(0x8001);
    auto n = [](uint32_t v) { return CBytes().U32(v).Get(); };
    // Everything of kB before its WHOIS text, then a length of 0x10000 with a few bytes of it.
    CDomainData bNoText = kB;
    bNoText.m_strWhoisText.clear();
    std::string bCutInText = CBytes().Body(bNoText);
    bCutInText.pop_back();
    bCutInText += CBytes().U8(0xFF).U16(0xFFFF).U32(0x10000).Raw("Domain Na").Get();
    // kB up to its state code and half of its name.
    const std::string bCutInName = CBytes().U32(0).U8(8).Raw("beta").Get();
    // kB with its checked date's status but not its day count.
    const std::string bCutInDate = CBytes().U32(0).Str("beta.net").U32(0).U16(0).Get();
    // kB whose WHOIS text claims 0xFFFFFFF0 bytes with ten left.
    std::string bAbsurd = CBytes().Body(bNoText);
    bAbsurd.pop_back();
    bAbsurd += CBytes().U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0).Raw("0123456789").Get();
    // kB whose status text carries the wide-text marker.
    const std::string bWide = CBytes()
                                  .U32(0)
                                  .Str("beta.net")
                                  .NullDate()
                                  .U8(0xFF)
                                  .U16(0xFFFE)
                                  .U8(2)
                                  .Raw(std::string("o\0k\0", 4))
                                  .Get();

    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> names;
        std::function<void(const CDomainArray&)> check;
    } cases[] = {
        {"empty file", "", {}, nullptr},
        {"three bytes", n(3).substr(0, 3), {}, nullptr},
        {"count 3 and nothing else", n(3), {}, nullptr},
        {"count 0 then junk", n(0) + hdr + a, {}, nullptr},
        {"two whole records", n(2) + hdr + a + ref + b, {"alpha.com", "beta.net"}, nullptr},
        {"count larger than the records",
         n(5) + hdr + a + ref + b,
         {"alpha.com", "beta.net"},
         nullptr},
        {"count 0xFFFFFFFF", n(0xFFFFFFFF) + hdr + a + ref + b, {"alpha.com", "beta.net"}, nullptr},
        {"count smaller than the records", n(1) + hdr + a + ref + b, {"alpha.com"}, nullptr},
        {"second cut inside its WHOIS text",
         n(2) + hdr + a + ref + bCutInText,
         {"alpha.com", "beta.net"},
         [&](const CDomainArray& l) {
             EXPECT_TRUE(SameRecord(*l.GetRecord(0), kA));
             EXPECT_TRUE(SameRecord(*l.GetRecord(1), bNoText)) << "every field before the text";
         }},
        {"second cut right after its header",
         n(2) + hdr + a + ref,
         {"alpha.com", ""},
         [](const CDomainArray& l) { EXPECT_TRUE(SameRecord(*l.GetRecord(1), CDomainData())); }},
        {"second cut inside its name",
         n(2) + hdr + a + ref + bCutInName,
         {"alpha.com", ""},
         [](const CDomainArray& l) {
             EXPECT_EQ(l.GetRecord(1)->m_nState, 0) << "the state was read completely";
         }},
        {"second cut inside a date",
         n(2) + hdr + a + ref + bCutInDate,
         {"alpha.com", "beta.net"},
         [](const CDomainArray& l) {
             EXPECT_EQ(l.GetRecord(1)->m_dtChecked, CDateTime()) << "half a date is no date";
         }},
        {"absurd text length",
         n(2) + hdr + a + ref + bAbsurd,
         {"alpha.com", "beta.net"},
         [&](const CDomainArray& l) { EXPECT_TRUE(SameRecord(*l.GetRecord(1), bNoText)); }},
        {"wide text",
         n(2) + hdr + a + ref + bWide,
         {"alpha.com", "beta.net"},
         [](const CDomainArray& l) { EXPECT_TRUE(l.GetRecord(1)->m_strStatus.empty()); }},
        {"class name one letter off",
         n(1) + CBytes().NewClassHeader(1, "CDomainDatA").Get() + a,
         {},
         nullptr},
        {"class name of another class",
         n(1) + CBytes().NewClassHeader(1, "CDomainArray").Get() + a,
         {},
         nullptr},
        {"schema 2",
         n(2) + CBytes().NewClassHeader(2).Get() + a + ref + b,
         {"alpha.com", "beta.net"},
         nullptr},
        {"schema 0xFFFF", n(1) + CBytes().NewClassHeader(0xFFFF).Get() + a, {"alpha.com"}, nullptr},
        {"null tag first", n(2) + CBytes().U16(0).Get() + hdr + a, {}, nullptr},
        {"null tag after two records",
         n(3) + hdr + a + ref + b + CBytes().U16(0).Get(),
         {},
         nullptr},
        {"reference back to the first record",
         n(2) + hdr + a + CBytes().U16(0x0002).Get(),
         {"alpha.com"},
         nullptr},
        {"big reference back to the first record",
         n(2) + hdr + a + CBytes().U16(0x7FFF).U32(2).Get(),
         {"alpha.com"},
         nullptr},
        {"class reference to a record",
         n(2) + hdr + a + CBytes().U16(0x8002).Get() + b,
         {"alpha.com"},
         nullptr},
        {"class reference out of range",
         n(2) + hdr + a + CBytes().U16(0x8005).Get() + b,
         {"alpha.com"},
         nullptr},
        {"class reference with no class", n(1) + ref + a, {}, nullptr},
        {"header cut", n(2) + hdr + a + CBytes().U8(0x01).Get(), {"alpha.com"}, nullptr},
        {"class header repeated", n(2) + hdr + a + hdr + b, {"alpha.com", "beta.net"}, nullptr},
    };
    for (const Case& c : cases) {
        CDomainArray list;
        list.AddName("stale.com");
        LoadBytes(c.bytes, list);
        EXPECT_EQ(Names(list), c.names) << c.what;
        if (c.check && Names(list) == c.names)
            c.check(list);
    }

    // The same table through a file on disk, which reads through the file buffer.
    CTempDir dir;
    const std::string path = dir.File("quorvix.dcd");
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        CDomainArray list;
        EXPECT_TRUE(LoadDomainFile(path, list)) << c.what;
        EXPECT_EQ(Names(list), c.names) << c.what << " (file)";
        if (c.check && Names(list) == c.names)
            c.check(list);
    }
}

TEST(DataFile, RecordsBeyondTheLimitAreDropped) {
    CBytes b;
    const uint32_t count = MAX_DOMAINS + 3;
    b.U32(count).NewClassHeader();
    for (uint32_t i = 0; i < count; ++i) {
        if (i)
            b.U16(0x8001);
        b.Body(CDomainData(NumberedName("n", i)));
    }
    CDomainArray list;
    LoadBytes(b.Get(), list);
    ASSERT_EQ(list.GetCount(), MAX_DOMAINS);
    EXPECT_EQ(list.GetRecord(0)->m_strName, "n0.com");
    EXPECT_EQ(list.GetRecord(MAX_DOMAINS - 1)->m_strName, "n2499.com");

    // A null tag after the limit still empties the list: the tag means "no list".
    CBytes withNull = b;
    CBytes header;
    header.U32(count + 1);
    std::string bytes = withNull.Get();
    bytes.replace(0, 4, header.Get());
    bytes += CBytes().U16(0).Get();
    LoadBytes(bytes, list);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(DataFile, EveryTruncationKeepsWholeRecordsAndNeverInventsBytes) {
    std::vector<size_t> headerEnds;
    const std::string file = ThreeRecordFile(&headerEnds);
    const CDomainData* full[] = {&kA, &kB, &kC};
    const size_t bodyEnds[] = {headerEnds[1] - 2, headerEnds[2] - 2, file.size()};
    for (size_t len = 0; len <= file.size(); ++len) {
        CDomainArray list;
        LoadBytes(file.substr(0, len), list);
        size_t expected = 0;
        for (size_t end : headerEnds) expected += len >= end ? 1 : 0;
        ASSERT_EQ(list.GetCount(), static_cast<int>(expected)) << "cut at " << len;
        for (size_t i = 0; i < expected; ++i) {
            const CDomainData& got = *list.GetRecord(static_cast<int>(i));
            const std::string where =
                "cut at " + std::to_string(len) + " record " + std::to_string(i);
            if (len >= bodyEnds[i]) {
                EXPECT_TRUE(SameRecord(got, *full[i])) << where;
            } else {
                ExpectOnlyFileOrDefaultFields(got, *full[i], where);
            }
        }
    }
}

TEST(DataFile, FlippedAndScrambledBytesNeverBreakTheLoader) {
    const std::string file = ThreeRecordFile();
    const unsigned char flips[] = {0x01, 0x80, 0xFF, 0x7F};
    for (size_t pos = 0; pos < file.size(); ++pos) {
        for (unsigned char f : flips) {
            std::string bad = file;
            bad[pos] = static_cast<char>(bad[pos] ^ f);
            CDomainArray list;
            LoadBytes(bad, list);
            EXPECT_LE(list.GetCount(), 3) << pos;
        }
    }
    std::mt19937 rng(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string bad = file.substr(0, rng() % (file.size() + 1));
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits && !bad.empty(); ++e) {
            bad[rng() % bad.size()] = static_cast<char>(rng());
        }
        CDomainArray list;
        LoadBytes(bad, list);
        EXPECT_LE(list.GetCount(), MAX_DOMAINS);
    }
}

TEST(DataFile, PathIsBesideTheExecutable) {
    const std::string longFolder(250, 'a');
    const std::string cutFolder = "C:\\dir\\" + std::string(260, 'b');
    struct Case {
        std::string exe;
        std::string expect;
    } cases[] = {
        {"C:\\Program Files\\Quorvix\\quorvix.exe", "C:\\Program Files\\Quorvix\\quorvix.dcd"},
        {"C:\\quorvix.exe", "C:\\quorvix.dcd"},
        {"\\\\server\\share\\q.exe", "\\\\server\\share\\quorvix.dcd"},
        {"quorvix.exe", "\\quorvix.dcd"},
        {"", "\\quorvix.dcd"},
        {"C:/tools/quorvix.exe", "\\quorvix.dcd"},  // only a backslash separates
        {"C:\\tools/x\\quorvix.exe", "C:\\tools/x\\quorvix.dcd"},
        {"C:\\dir\\", "C:\\dir\\quorvix.dcd"},
        // 3 + 250 + 1 + "q" is 255 characters: the last backslash survives the cut.
        {"C:\\" + longFolder + "\\quorvix.exe", "C:\\" + longFolder + "\\quorvix.dcd"},
        // The cut falls inside the long folder name, so its parent folder is taken.
        {cutFolder + "\\quorvix.exe", "C:\\dir\\quorvix.dcd"},
        // A backslash as the 256th character is cut off too.
        {"C:\\x\\" + std::string(250, 'c') + "\\q.exe", "C:\\x\\quorvix.dcd"},
    };
    for (const Case& c : cases) EXPECT_EQ(GetDataFilePath(c.exe), c.expect) << c.exe;
}

TEST(DataFile, MissingFileGivesAnEmptyListAndFalse) {
    CTempDir dir;
    CDomainArray list;
    list.AddName("stale.com");
    EXPECT_FALSE(LoadDomainFile(dir.File("absent.dcd"), list));
    EXPECT_EQ(list.GetCount(), 0);
    list.AddName("stale.com");
    EXPECT_EQ(LoadDomainFileChecked(dir.File("absent.dcd"), list), DataFileCondition::missing);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(DataFile, FolderInPlaceOfTheFileIsNotLoaded) {
    CTempDir dir;
    std::filesystem::create_directory(dir.File("quorvix.dcd"));
    CDomainArray list;
    list.AddName("stale.com");
    EXPECT_FALSE(LoadDomainFile(dir.File("quorvix.dcd"), list));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(DataFile, LoadTellsCompleteFromDamaged) {
    const std::string file = ThreeRecordFile();
    struct Case {
        const char* what;
        std::string bytes;
        DataFileCondition expect;
    } cases[] = {
        {"whole", file, DataFileCondition::complete},
        {"empty", "", DataFileCondition::damaged},
        {"cut", file.substr(0, file.size() - 1), DataFileCondition::damaged},
        {"trailing bytes", file + "x", DataFileCondition::damaged},
        {"null list", CBytes().U32(1).U16(0).Get(), DataFileCondition::complete},
        {"count 0", CBytes().U32(0).Get(), DataFileCondition::complete},
    };
    CTempDir dir;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(dir.File("q.dcd"), c.bytes));
        CDomainArray list;
        EXPECT_EQ(LoadDomainFileChecked(dir.File("q.dcd"), list), c.expect) << c.what;
    }
}

TEST(DataFile, SavedFileHoldsExactlyTheArchiveAndLoadsBack) {
    CDomainArray list;
    list.Append(std::make_unique<CDomainData>(kA));
    CDomainData big = kB;
    big.m_strWhoisText = std::string(70000, 'x');
    list.Append(std::make_unique<CDomainData>(big));
    for (size_t n : {4095u, 4096u, 4097u, 9000u}) {
        CDomainData r = kC;
        r.m_strWhoisText.assign(n, static_cast<char>('a' + n % 26));
        list.Append(std::make_unique<CDomainData>(r));
    }
    CArchive mem;
    list.Store(mem);

    CTempDir dir;
    const std::string path = dir.File("quorvix.dcd");
    ASSERT_TRUE(WriteFileBytes(path, "older contents"));
    ASSERT_TRUE(SaveDomainFile(path, list));
    EXPECT_EQ(ReadFileBytes(path), mem.Bytes());
    EXPECT_FALSE(FileExists(CSafeFileWriter::TempPathFor(path)));

    CDomainArray back;
    EXPECT_EQ(LoadDomainFileChecked(path, back), DataFileCondition::complete);
    ASSERT_EQ(back.GetCount(), list.GetCount());
    for (int i = 0; i < list.GetCount(); ++i) {
        EXPECT_TRUE(SameRecord(*back.GetRecord(i), *list.GetRecord(i))) << i;
    }
}

TEST(DataFile, EmptyListLeavesTheOldFileUntouched) {
    CTempDir dir;
    const std::string path = dir.File("quorvix.dcd");
    const std::string old = ThreeRecordFile();
    ASSERT_TRUE(WriteFileBytes(path, old));
    CDomainArray empty;
    EXPECT_TRUE(SaveDomainFile(path, empty));
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_TRUE(SaveDomainFile(dir.File("never.dcd"), empty));
    EXPECT_FALSE(FileExists(dir.File("never.dcd")));
    EXPECT_FALSE(FileExists(CSafeFileWriter::TempPathFor(dir.File("never.dcd"))));
}

TEST(DataFile, StaleTemporaryFromAnEarlierRunIsReplaced) {
    CTempDir dir;
    const std::string path = dir.File("quorvix.dcd");
    ASSERT_TRUE(WriteFileBytes(CSafeFileWriter::TempPathFor(path), std::string(100000, 'j')));
    CDomainArray list;
    list.AddName("abc");
    ASSERT_TRUE(SaveDomainFile(path, list));
    EXPECT_EQ(ReadFileBytes(path).size(), 85u);
    EXPECT_FALSE(FileExists(CSafeFileWriter::TempPathFor(path)));
}

namespace {

// Installs injected file faults for one scope.
class CFaultScope {
public:
    explicit CFaultScope(const CFileFaults& f) : m_faults(f) { SetFileFaultsForTesting(&m_faults); }
    ~CFaultScope() { SetFileFaultsForTesting(nullptr); }

private:
    CFileFaults m_faults;
};

}  // namespace

// A save that fails at any step must leave the old file exactly as it was and no temporary behind.
TEST(DataFile, FailedSaveKeepsTheOldFile) {
    namespace fs = std::filesystem;
    auto faults = [](int64_t writeAt, bool flush, bool replace) {
        CFileFaults f;
        f.m_nFailWriteAtByte = writeAt;
        f.m_bFailFlush = flush;
        f.m_bFailReplace = replace;
        return f;
    };
    struct Case {
        const char* what;
        CFileFaults faults;
        std::function<void(const std::string& path)> setup;
        bool tempIsFolder;
    } cases[] = {
        {"temporary cannot be created", CFileFaults(),
         [](const std::string& p) { fs::create_directory(CSafeFileWriter::TempPathFor(p)); }, true},
        {"first write fails", faults(0, false, false), nullptr, false},
        {"write fails inside the first block", faults(100, false, false), nullptr, false},
        {"write fails after some blocks", faults(20000, false, false), nullptr, false},
        {"flush to disk fails", faults(-1, true, false), nullptr, false},
        {"replace fails", faults(-1, false, true), nullptr, false},
    };
    CDomainArray list;
    for (int i = 0; i < 40; ++i) {
        CDomainData r = kA;
        r.m_strName = NumberedName("n", static_cast<uint32_t>(i));
        r.m_strWhoisText.assign(1000, 'w');
        list.Append(std::make_unique<CDomainData>(r));
    }
    const std::string old = ThreeRecordFile();
    for (const Case& c : cases) {
        CTempDir dir;
        const std::string path = dir.File("quorvix.dcd");
        ASSERT_TRUE(WriteFileBytes(path, old));
        if (c.setup)
            c.setup(path);
        {
            CFaultScope scope(c.faults);
            EXPECT_FALSE(SaveDomainFile(path, list)) << c.what;
        }
        EXPECT_EQ(ReadFileBytes(path), old) << c.what;
        const std::string temp = CSafeFileWriter::TempPathFor(path);
        if (c.tempIsFolder) {
            EXPECT_TRUE(fs::is_directory(temp)) << c.what;
        } else {
            EXPECT_FALSE(FileExists(temp)) << c.what;
        }
        // Without the fault the same save succeeds.
        if (!c.tempIsFolder) {
            EXPECT_TRUE(SaveDomainFile(path, list)) << c.what;
            EXPECT_NE(ReadFileBytes(path), old) << c.what;
        }
    }
}

TEST(DataFile, FolderInPlaceOfTheFileMakesTheSaveFail) {
    CTempDir dir;
    const std::string path = dir.File("quorvix.dcd");
    std::filesystem::create_directory(path);
    WriteFileBytes(dir.File("quorvix.dcd") + "/inside", "keep");
    CDomainArray list;
    list.AddName("abc.com");
    EXPECT_FALSE(SaveDomainFile(path, list));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_FALSE(FileExists(CSafeFileWriter::TempPathFor(path)));
}

TEST(DataFile, SaveIntoAMissingFolderFails) {
    CTempDir dir;
    CDomainArray list;
    list.AddName("abc.com");
    EXPECT_FALSE(SaveDomainFile(dir.File("no-such-folder") + "/quorvix.dcd", list));
}
