// The object archive that the data file is written in: little-endian integers, IEEE doubles,
// date-times, counted strings and class tags ahead of objects.
//
// A storing archive collects bytes in memory, or passes them on to a sink in blocks of 4096 bytes.
// A loading archive reads from a byte buffer, or from a source through a 4096-byte buffer. Loading
// never trusts a length or count read from the data: a read that needs more bytes than remain
// fails without allocating, leaves its target unchanged, and every later read fails too, so a
// damaged archive simply ends where the damage is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/date_time.h"

// The class record written ahead of the first object of a class: its name and schema number.
struct CRuntimeClass {
    std::string_view m_strClassName;
    uint16_t m_nSchema = 1;
};

// Where a storing archive's bytes go. False is a failed write; the archive then stops writing.
class IArchiveSink {
public:
    virtual ~IArchiveSink() = default;
    virtual bool WriteBytes(const char* data, size_t size) = 0;
};

// Where a loading archive's bytes come from.
class IArchiveSource {
public:
    virtual ~IArchiveSource() = default;
    // Up to `size` bytes into `data`; fewer only at the end of the data or on an error.
    virtual size_t ReadBytes(char* data, size_t size) = 0;
    // Bytes still to come; never more than ReadBytes will deliver.
    virtual uint64_t Remaining() const = 0;
};

// What ReadObjectHeader found ahead of an object.
enum class ObjectHeader {
    object,         // an object of the expected class follows
    nullObject,     // the null tag: no object here
    backReference,  // a reference to an object read earlier
    wrongClass,     // a class other than the expected one, or a class index that names none
    endOfData,      // the data ended inside the header (or an earlier read had failed)
};

class CArchive {
public:
    // Storing into memory; Bytes() holds the result.
    CArchive();
    // Storing into a sink; call Flush() at the end.
    explicit CArchive(IArchiveSink& sink);
    // Loading from bytes that outlive the archive.
    explicit CArchive(std::string_view bytes);
    // Loading from a source through a 4096-byte buffer.
    explicit CArchive(IArchiveSource& source);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_bStoring; }
    bool IsLoading() const { return !m_bStoring; }

    // --- storing: each returns false once a sink write has failed (nothing more is written) ---
    bool WriteU8(uint8_t v);
    bool WriteU16(uint16_t v);
    bool WriteU32(uint32_t v);
    bool WriteI32(int32_t v);
    bool WriteDouble(double v);
    // Status (32-bit) first, then the day count.
    bool WriteDateTime(const CDateTime& dt);
    // Length below 255: one byte; up to 65533: 0xFF and 16 bits; longer: 0xFF, 0xFFFF, 32 bits.
    bool WriteString(std::string_view s);
    // The new-class header the first time a class is written, a class reference afterwards.
    bool WriteObjectHeader(const CRuntimeClass& cls);
    bool WriteNullObject();
    // Passes buffered bytes to the sink; false when any write has failed. Nothing to do in memory.
    bool Flush();
    bool HasWriteFailed() const { return m_bWriteFailed; }
    // The bytes of a storing archive in memory (empty for one with a sink).
    const std::string& Bytes() const { return m_out; }

    // --- loading: false (target unchanged) when the data ends first or an earlier read failed ---
    bool ReadU8(uint8_t& v);
    bool ReadU16(uint16_t& v);
    bool ReadU32(uint32_t& v);
    bool ReadI32(int32_t& v);
    bool ReadDouble(double& v);
    // Both parts or nothing.
    bool ReadDateTime(CDateTime& dt);
    // Refuses the wide-text marker (0xFF, 0xFFFE): this program never writes 16-bit text.
    bool ReadString(std::string& s);
    // Reads the tag ahead of an object that should be of class `expected`; the stored schema
    // number is accepted whatever it is (GetObjectSchema() tells it).
    ObjectHeader ReadObjectHeader(const CRuntimeClass& expected);
    uint16_t GetObjectSchema() const { return m_nLastSchema; }
    // Bytes not yet read.
    uint64_t Remaining() const;
    // True until a read has failed or an object header was refused (anything but an object or
    // the null tag).
    bool IsIntact() const { return m_bIntact; }

private:
    bool Put(const void* data, size_t size);
    bool Take(void* data, size_t size);
    bool FlushBuffer();
    bool Fail();

    bool m_bStoring;

    // storing
    IArchiveSink* m_pSink = nullptr;
    std::string m_out;
    bool m_bWriteFailed = false;
    struct KnownClass {
        uint32_t index;
        uint16_t schema;
        std::string name;
    };
    std::vector<KnownClass> m_writtenClasses;

    // loading
    IArchiveSource* m_pSource = nullptr;
    std::vector<char> m_buffer;
    const char* m_pCur = nullptr;
    const char* m_pEnd = nullptr;
    bool m_bReadFailed = false;
    bool m_bIntact = true;
    uint16_t m_nLastSchema = 0;
    std::vector<KnownClass> m_loadedClasses;  // ascending by index

    // Both directions: index 0 is the null object; every class and object takes the next one.
    uint32_t m_nMapCount = 1;
};

// Reports a read error of a container whose quiet flag is clear. The user interface installs
// one that shows a message box; by default nothing is shown.
using ArchiveErrorReporter = void (*)(const char* message);
void SetArchiveErrorReporter(ArchiveErrorReporter reporter);
void ReportArchiveError(const char* message);
