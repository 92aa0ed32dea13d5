// The data file "quorvix.dcd" beside the executable: the archive of the whole domain list, read
// once at start and written once at exit.
#pragma once

#include <string>

class CDomainArray;

// The file name the list is kept in.
inline constexpr const char* DATA_FILE_NAME = "quorvix.dcd";

// The executable's path cut after its last backslash (which stays), followed by "quorvix.dcd".
// Only the first 255 characters of the executable's path count, as the system hands it over in a
// 256-byte buffer. A path without a backslash gives "\quorvix.dcd", the root of the current drive.
std::string GetDataFilePath(const std::string& exePath);

// Replaces the list with the records of the file. False (and an empty list) when the file cannot
// be opened; a missing file is the usual case at the first start. A damaged or cut file still
// gives true and keeps the records before the damage; an error of the system while reading gives
// false and keeps the records read before it.
bool LoadDomainFile(const std::string& path, CDomainArray& list);

// What a load made of the file, for callers that tell a damaged file apart.
enum class DataFileCondition {
    missing,    // could not be opened; the list is empty
    complete,   // every record was read and nothing followed them
    damaged,    // the records before the damage were kept
    readError,  // the system failed while reading; the records read before were kept
};
DataFileCondition LoadDomainFileChecked(const std::string& path, CDomainArray& list);

// Writes the list when it holds at least one record. The new file is written completely beside the
// old one ("<path>.tmp"), put on the disk and then moved into place in one step, so a failed save
// never damages the old file. An empty list leaves the old file untouched and returns true (there
// is nothing to save); false means the file could not be written and the old one is unchanged.
bool SaveDomainFile(const std::string& path, const CDomainArray& list);
