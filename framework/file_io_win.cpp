#include <windows.h>

#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "framework/file_io.h"

CStdioFile OpenFileForReading(const std::string& path) {
    // Others may read the file meanwhile but not change it under the reader.
    return CStdioFile(_fsopen(path.c_str(), "rb", _SH_DENYWR));
}

CStdioFile OpenFileForWriting(const std::string& path) {
    return CStdioFile(_fsopen(path.c_str(), "wb", _SH_DENYWR));
}

bool GetOpenFileSize(FILE* f, uint64_t& size) {
    struct _stati64 st;
    if (!f || _fstati64(_fileno(f), &st) != 0 || st.st_size < 0)
        return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool FlushFileToDisk(FILE* f) {
    return f && std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
}

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFileIfPresent(const std::string& path) {
    if (DeleteFileA(path.c_str()))
        return true;
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}
