// Writing the list's text to a file the user names.
#pragma once

#include <functional>
#include <string>

class ISettingsStore;

inline constexpr const char* kSaveFileTitle = "Save File Name";

// Asks for a file name ("Save File Name", remembered folder) and writes every byte of `text`.
// False when the prompt was cancelled or the file could not be written; in the latter case
// `reportFailure` gets a message naming the file, and an existing file of that name is kept.
bool SaveTextToFile(ISettingsStore& store, const std::string& text,
                    const std::function<void(const std::string& message)>& reportFailure);

// The message shown when `path` could not be written.
std::string ExportFailedMessage(const std::string& path);
