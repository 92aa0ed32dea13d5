#include "framework/archive.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

constexpr size_t kBlockSize = 4096;

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint16_t kWideTextMarker = 0xFFFE;

std::atomic<ArchiveErrorReporter> g_reporter{nullptr};

}  // namespace

CArchive::CArchive() : m_bStoring(true) {}

CArchive::CArchive(IArchiveSink& sink) : m_bStoring(true), m_pSink(&sink) {
    m_out.reserve(kBlockSize);
}

CArchive::CArchive(std::string_view bytes)
    : m_bStoring(false), m_pCur(bytes.data()), m_pEnd(bytes.data() + bytes.size()) {}

CArchive::CArchive(IArchiveSource& source)
    : m_bStoring(false), m_pSource(&source), m_buffer(kBlockSize) {
    m_pCur = m_pEnd = m_buffer.data();
}

// ---------------------------------------------------------------------------------------------
// storing

bool CArchive::FlushBuffer() {
    if (m_bWriteFailed)
        return false;
    if (!m_pSink || m_out.empty())
        return true;
    if (!m_pSink->WriteBytes(m_out.data(), m_out.size()))
        m_bWriteFailed = true;
    m_out.clear();
    return !m_bWriteFailed;
}

bool CArchive::Put(const void* data, size_t size) {
    if (!m_bStoring || m_bWriteFailed)
        return false;
    const char* p = static_cast<const char*>(data);
    if (m_pSink && m_out.size() + size > kBlockSize) {
        if (!FlushBuffer())
            return false;
        if (size >= kBlockSize) {
            // A long text goes straight to the sink rather than through the block.
            if (!m_pSink->WriteBytes(p, size))
                m_bWriteFailed = true;
            return !m_bWriteFailed;
        }
    }
    m_out.append(p, size);
    return true;
}

bool CArchive::Flush() {
    return FlushBuffer();
}

bool CArchive::WriteU8(uint8_t v) {
    return Put(&v, 1);
}

bool CArchive::WriteU16(uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    return Put(b, sizeof b);
}

bool CArchive::WriteU32(uint32_t v) {
    unsigned char b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
    return Put(b, sizeof b);
}

bool CArchive::WriteI32(int32_t v) {
    return WriteU32(static_cast<uint32_t>(v));
}

bool CArchive::WriteDouble(double v) {
    uint64_t bits = 0;
    static_assert(sizeof bits == sizeof v);
    std::memcpy(&bits, &v, sizeof bits);
    unsigned char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(bits >> (8 * i));
    return Put(b, sizeof b);
}

bool CArchive::WriteDateTime(const CDateTime& dt) {
    return WriteU32(static_cast<uint32_t>(dt.m_status)) && WriteDouble(dt.m_dt);
}

bool CArchive::WriteString(std::string_view s) {
    const size_t n = s.size();
    bool ok;
    if (n < 0xFF) {
        ok = WriteU8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        ok = WriteU8(0xFF) && WriteU16(static_cast<uint16_t>(n));
    } else if (n <= 0xFFFFFFFFu) {
        ok = WriteU8(0xFF) && WriteU16(0xFFFF) && WriteU32(static_cast<uint32_t>(n));
    } else {
        return false;  // no length form holds it
    }
    return ok && Put(s.data(), n);
}

bool CArchive::WriteObjectHeader(const CRuntimeClass& cls) {
    if (!m_bStoring)
        return false;
    auto it = std::find_if(m_writtenClasses.begin(), m_writtenClasses.end(),
                           [&](const KnownClass& k) { return k.name == cls.m_strClassName; });
    bool ok;
    if (it != m_writtenClasses.end()) {
        ok = it->index < kBigObjectTag
                 ? WriteU16(static_cast<uint16_t>(kClassTag | it->index))
                 : WriteU16(kBigObjectTag) && WriteU32(kBigClassTag | it->index);
    } else {
        const size_t len = cls.m_strClassName.size();
        if (len > 0xFFFF)
            return false;
        ok = WriteU16(kNewClassTag) && WriteU16(cls.m_nSchema) &&
             WriteU16(static_cast<uint16_t>(len)) && Put(cls.m_strClassName.data(), len);
        m_writtenClasses.push_back({m_nMapCount++, cls.m_nSchema, std::string(cls.m_strClassName)});
    }
    ++m_nMapCount;  // the object itself
    return ok;
}

bool CArchive::WriteNullObject() {
    return WriteU16(kNullTag);
}

// ---------------------------------------------------------------------------------------------
// loading

bool CArchive::Fail() {
    m_bReadFailed = true;
    m_bIntact = false;
    return false;
}

uint64_t CArchive::Remaining() const {
    if (m_bStoring)
        return 0;
    const uint64_t buffered = static_cast<uint64_t>(m_pEnd - m_pCur);
    return buffered + (m_pSource ? m_pSource->Remaining() : 0);
}

bool CArchive::Take(void* data, size_t size) {
    if (m_bStoring || m_bReadFailed)
        return false;
    if (size > Remaining())
        return Fail();
    char* out = static_cast<char*>(data);
    const size_t buffered = static_cast<size_t>(m_pEnd - m_pCur);
    const size_t first = std::min(size, buffered);
    if (first)
        std::memcpy(out, m_pCur, first);
    m_pCur += first;
    out += first;
    size -= first;
    if (size == 0)
        return true;
    // The buffer is empty here; only a source can supply the rest.
    if (size >= m_buffer.size()) {
        if (m_pSource->ReadBytes(out, size) != size)
            return Fail();
        return true;
    }
    const size_t want =
        static_cast<size_t>(std::min<uint64_t>(m_buffer.size(), m_pSource->Remaining()));
    const size_t got = m_pSource->ReadBytes(m_buffer.data(), want);
    m_pCur = m_buffer.data();
    m_pEnd = m_pCur + got;
    if (got < size)
        return Fail();
    std::memcpy(out, m_pCur, size);
    m_pCur += size;
    return true;
}

bool CArchive::ReadU8(uint8_t& v) {
    unsigned char b;
    if (!Take(&b, 1))
        return false;
    v = b;
    return true;
}

bool CArchive::ReadU16(uint16_t& v) {
    unsigned char b[2];
    if (!Take(b, sizeof b))
        return false;
    v = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool CArchive::ReadU32(uint32_t& v) {
    unsigned char b[4];
    if (!Take(b, sizeof b))
        return false;
    v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | b[i];
    return true;
}

bool CArchive::ReadI32(int32_t& v) {
    uint32_t u;
    if (!ReadU32(u))
        return false;
    v = static_cast<int32_t>(u);
    return true;
}

bool CArchive::ReadDouble(double& v) {
    unsigned char b[8];
    if (!Take(b, sizeof b))
        return false;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[i];
    std::memcpy(&v, &bits, sizeof v);
    return true;
}

bool CArchive::ReadDateTime(CDateTime& dt) {
    uint32_t status;
    double days;
    if (!ReadU32(status) || !ReadDouble(days))
        return false;
    dt.m_status = static_cast<CDateTime::Status>(status);
    dt.m_dt = days;
    return true;
}

bool CArchive::ReadString(std::string& s) {
    uint8_t b;
    if (!ReadU8(b))
        return false;
    uint64_t len = b;
    if (b == 0xFF) {
        uint16_t w;
        if (!ReadU16(w))
            return false;
        if (w == kWideTextMarker)
            return Fail();
        if (w < 0xFFFF) {
            len = w;
        } else {
            uint32_t d;
            if (!ReadU32(d))
                return false;
            len = d;
        }
    }
    // Checked before allocating: a damaged length must not reserve memory the data cannot fill.
    if (len > Remaining())
        return Fail();
    std::string text(static_cast<size_t>(len), '\0');
    if (!Take(text.data(), text.size()))
        return false;
    s = std::move(text);
    return true;
}

ObjectHeader CArchive::ReadObjectHeader(const CRuntimeClass& expected) {
    auto refuse = [this](ObjectHeader why) {
        m_bIntact = false;
        return why;
    };
    uint16_t tag;
    if (!ReadU16(tag))
        return refuse(ObjectHeader::endOfData);
    if (tag == kNullTag)
        return ObjectHeader::nullObject;

    if (tag == kNewClassTag) {
        uint16_t schema, len;
        if (!ReadU16(schema) || !ReadU16(len))
            return refuse(ObjectHeader::endOfData);
        if (len > Remaining()) {
            Fail();
            return ObjectHeader::endOfData;
        }
        std::string name(len, '\0');
        if (!Take(name.data(), name.size()))
            return refuse(ObjectHeader::endOfData);
        if (name != expected.m_strClassName)
            return refuse(ObjectHeader::wrongClass);
        m_loadedClasses.push_back({m_nMapCount++, schema, std::move(name)});
        m_nLastSchema = schema;
        ++m_nMapCount;
        return ObjectHeader::object;
    }

    uint32_t obTag;
    if (tag == kBigObjectTag) {
        if (!ReadU32(obTag))
            return refuse(ObjectHeader::endOfData);
    } else {
        obTag = (static_cast<uint32_t>(tag & kClassTag) << 16) | (tag & ~kClassTag & 0xFFFFu);
    }
    if (obTag == 0)
        return ObjectHeader::nullObject;
    if (!(obTag & kBigClassTag))
        return refuse(ObjectHeader::backReference);

    const uint32_t index = obTag & ~kBigClassTag;
    auto it = std::lower_bound(m_loadedClasses.begin(), m_loadedClasses.end(), index,
                               [](const KnownClass& k, uint32_t i) { return k.index < i; });
    if (it == m_loadedClasses.end() || it->index != index || it->name != expected.m_strClassName) {
        return refuse(ObjectHeader::wrongClass);
    }
    m_nLastSchema = it->schema;
    ++m_nMapCount;
    return ObjectHeader::object;
}

// ---------------------------------------------------------------------------------------------

void SetArchiveErrorReporter(ArchiveErrorReporter reporter) {
    g_reporter.store(reporter);
}

void ReportArchiveError(const char* message) {
    if (ArchiveErrorReporter r = g_reporter.load())
        r(message);
}
