#include "framework/file_io.h"

#include <utility>

namespace {

const CFileFaults* g_faults = nullptr;

}  // namespace

void SetFileFaultsForTesting(const CFileFaults* faults) {
    g_faults = faults;
}

CStdioFile& CStdioFile::operator=(CStdioFile&& o) noexcept {
    if (this != &o) {
        Close();
        m_h = std::exchange(o.m_h, nullptr);
    }
    return *this;
}

bool CStdioFile::Close() {
    if (!m_h)
        return true;
    const bool ok = std::fclose(m_h) == 0;
    m_h = nullptr;
    return ok;
}

// ---------------------------------------------------------------------------------------------

CFileArchiveSource::CFileArchiveSource(FILE* f) : m_f(f) {
    uint64_t size = 0;
    if (!f || !GetOpenFileSize(f, size)) {
        m_bError = (f != nullptr);
        return;
    }
    std::rewind(f);
    m_nRemaining = size;
}

size_t CFileArchiveSource::ReadBytes(char* data, size_t size) {
    if (m_bError)
        return 0;
    if (size > m_nRemaining)
        size = static_cast<size_t>(m_nRemaining);
    const size_t got = size ? std::fread(data, 1, size, m_f) : 0;
    m_nRemaining -= got;
    if (got < size) {
        // The file shrank or the system failed; either way nothing more is to be trusted.
        m_bError = std::ferror(m_f) != 0;
        m_nRemaining = 0;
    }
    return got;
}

// ---------------------------------------------------------------------------------------------

CSafeFileWriter::CSafeFileWriter(std::string path)
    : m_strPath(std::move(path)), m_strTemp(TempPathFor(m_strPath)) {}

CSafeFileWriter::~CSafeFileWriter() {
    Abandon();
}

bool CSafeFileWriter::Open() {
    Abandon();
    m_bFailed = false;
    m_nWritten = 0;
    RemoveFileIfPresent(m_strTemp);
    m_file = OpenFileForWriting(m_strTemp);
    if (!m_file)
        m_bFailed = true;
    return !m_bFailed;
}

bool CSafeFileWriter::WriteBytes(const char* data, size_t size) {
    if (m_bFailed || !m_file)
        return false;
    if (g_faults && g_faults->m_nFailWriteAtByte >= 0 &&
        m_nWritten + size > static_cast<uint64_t>(g_faults->m_nFailWriteAtByte)) {
        m_bFailed = true;
        return false;
    }
    if (size && std::fwrite(data, 1, size, m_file.Get()) != size) {
        m_bFailed = true;
        return false;
    }
    m_nWritten += size;
    return true;
}

bool CSafeFileWriter::Commit() {
    if (m_bFailed || !m_file) {
        Abandon();
        return false;
    }
    bool ok = !(g_faults && g_faults->m_bFailFlush) && FlushFileToDisk(m_file.Get());
    ok = m_file.Close() && ok;
    ok = ok && !(g_faults && g_faults->m_bFailReplace) &&
         ReplaceFileAtomically(m_strTemp, m_strPath);
    if (!ok) {
        m_bFailed = true;
        RemoveFileIfPresent(m_strTemp);
    }
    return ok;
}

void CSafeFileWriter::Abandon() {
    if (!m_file)
        return;
    m_file.Close();
    RemoveFileIfPresent(m_strTemp);
    m_bFailed = true;
}
