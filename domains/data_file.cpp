#include "domains/data_file.h"

#include "domains/domain_array.h"
#include "framework/archive.h"
#include "framework/file_io.h"

namespace {

// The system's executable path buffer holds 256 bytes, the last for the terminator.
constexpr size_t kMaxExePath = 255;

}  // namespace

std::string GetDataFilePath(const std::string& exePath) {
    const std::string exe = exePath.substr(0, kMaxExePath);
    const size_t slash = exe.rfind('\\');
    std::string path = slash == std::string::npos ? std::string("\\") : exe.substr(0, slash + 1);
    path += DATA_FILE_NAME;
    return path;
}

DataFileCondition LoadDomainFileChecked(const std::string& path, CDomainArray& list) {
    list.RemoveAllRecords();
    CStdioFile file = OpenFileForReading(path);
    if (!file)
        return DataFileCondition::missing;
    CFileArchiveSource source(file.Get());
    CArchive ar(source);
    list.Serialize(ar);
    if (source.HasError())
        return DataFileCondition::readError;
    if (!ar.IsIntact() || ar.Remaining() != 0)
        return DataFileCondition::damaged;
    return DataFileCondition::complete;
}

bool LoadDomainFile(const std::string& path, CDomainArray& list) {
    const DataFileCondition c = LoadDomainFileChecked(path, list);
    return c == DataFileCondition::complete || c == DataFileCondition::damaged;
}

bool SaveDomainFile(const std::string& path, const CDomainArray& list) {
    if (list.GetCount() == 0)
        return true;
    CSafeFileWriter writer(path);
    if (!writer.Open())
        return false;
    CArchive ar(writer);
    list.Store(ar);
    if (!ar.Flush()) {
        writer.Abandon();
        return false;
    }
    return writer.Commit();
}
