// Files of bytes for the archive: an owned C stream, an archive source reading an open file, and a
// writer that replaces a file only once its new contents are complete and on the disk. Paths are
// ANSI text; nothing here throws.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/archive.h"

// Move-only owner of an open C stream.
class CStdioFile {
public:
    CStdioFile() = default;
    explicit CStdioFile(FILE* f) : m_h(f) {}
    ~CStdioFile() { Close(); }
    CStdioFile(CStdioFile&& o) noexcept : m_h(o.m_h) { o.m_h = nullptr; }
    CStdioFile& operator=(CStdioFile&& o) noexcept;
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    FILE* Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    // False when closing reported an error (buffered data may be lost); empty afterwards.
    bool Close();

private:
    FILE* m_h = nullptr;
};

// An existing regular file opened for binary reading; empty when it cannot be opened.
CStdioFile OpenFileForReading(const std::string& path);
// A file created (or truncated) for binary writing; empty when it cannot be.
CStdioFile OpenFileForWriting(const std::string& path);
// Size of an open file in bytes; false when the system cannot tell.
bool GetOpenFileSize(FILE* f, uint64_t& size);
// Writes the stream's buffer and has the system put the file's data on the disk.
bool FlushFileToDisk(FILE* f);
// Puts `from` in the place of `to` in one step, replacing `to` when it exists; both in one folder.
bool ReplaceFileAtomically(const std::string& from, const std::string& to);
// True when the file is gone afterwards (also when there was none).
bool RemoveFileIfPresent(const std::string& path);

// Reads an open file from its start up to the size it had when the source was made; after a read
// error it delivers nothing more and HasError() tells.
class CFileArchiveSource : public IArchiveSource {
public:
    explicit CFileArchiveSource(FILE* f);
    size_t ReadBytes(char* data, size_t size) override;
    uint64_t Remaining() const override { return m_nRemaining; }
    bool HasError() const { return m_bError; }

private:
    FILE* m_f;
    uint64_t m_nRemaining = 0;
    bool m_bError = false;
};

// Writes a whole file by way of a temporary beside it, "<path>.tmp". Commit() puts the complete
// temporary on the disk and then in the place of the old file; when any step fails, or the writer
// is destroyed without Commit(), the temporary is removed and the old file stays as it was.
class CSafeFileWriter : public IArchiveSink {
public:
    explicit CSafeFileWriter(std::string path);
    ~CSafeFileWriter() override;
    CSafeFileWriter(const CSafeFileWriter&) = delete;
    CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

    // Creates the temporary (a stale one from an earlier run is replaced).
    bool Open();
    // False once any write has failed; later writes are refused.
    bool WriteBytes(const char* data, size_t size) override;
    bool Commit();
    void Abandon();

    const std::string& TempPath() const { return m_strTemp; }
    static std::string TempPathFor(const std::string& path) { return path + ".tmp"; }

private:
    std::string m_strPath;
    std::string m_strTemp;
    CStdioFile m_file;
    uint64_t m_nWritten = 0;
    bool m_bFailed = false;
};

// Test seam: failures that a full disk or a busy file would cause, injected into CSafeFileWriter.
struct CFileFaults {
    int64_t m_nFailWriteAtByte = -1;  // a write that would reach this offset fails
    bool m_bFailFlush = false;
    bool m_bFailReplace = false;
};
// Installs the faults (nullptr: none). Tests only; not thread-safe.
void SetFileFaultsForTesting(const CFileFaults* faults);
