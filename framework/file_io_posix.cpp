#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "framework/file_io.h"

CStdioFile OpenFileForReading(const std::string& path) {
    CStdioFile file(std::fopen(path.c_str(), "rbe"));
    // A folder opens for reading here but holds no data file.
    struct stat st;
    if (file && (fstat(fileno(file.Get()), &st) != 0 || !S_ISREG(st.st_mode)))
        file.Close();
    return file;
}

CStdioFile OpenFileForWriting(const std::string& path) {
    return CStdioFile(std::fopen(path.c_str(), "wbe"));
}

bool GetOpenFileSize(FILE* f, uint64_t& size) {
    struct stat st;
    if (!f || fstat(fileno(f), &st) != 0 || st.st_size < 0)
        return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool FlushFileToDisk(FILE* f) {
    if (!f || std::fflush(f) != 0)
        return false;
    int rc;
    do {
        rc = fsync(fileno(f));
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    // The new name must reach the disk too; a failure here leaves the complete new file in place,
    // so it is not reported.
    const size_t slash = to.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : to.substr(0, slash + 1);
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return true;
}

bool RemoveFileIfPresent(const std::string& path) {
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}
