// Prompts for a text file name that remember the last folder (profile section "File Path", entry
// "txt", shared by import and export), and reading a whole text file.
#pragma once

#include <functional>
#include <string>

class ISettingsStore;

inline constexpr const char* kTextFileFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
inline constexpr const char* kTextFileExtension = "txt";
inline constexpr const char* kSectionFilePath = "File Path";

// Stands in for the system's open and save dialogs (tests): gets whether it is an open prompt,
// the initial file name and the title; true with the chosen full path in `path`.
using FileDialogHook = std::function<bool(bool open, const std::string& initialFile,
                                          const std::string& title, std::string& path)>;
// Installs the hook (an empty one restores the system dialogs); returns the previous one.
FileDialogHook SetFileDialogHook(FileDialogHook hook);

// "C:\dir\*.txt" for "C:\dir\names.txt": the part up to and including the last backslash, then
// "*." and the extension; empty when the path has no backslash.
std::string RememberedFolderPattern(const std::string& path, const std::string& extension);

// The system's open or save dialog (no owner) starting at the remembered folder. On OK the folder
// is remembered, `path` receives the full path and the result is true; on Cancel `path` stays.
// `filter` uses "|" between its parts, as in kTextFileFilter.
bool PromptFileName(ISettingsStore& store, bool open, std::string& path, const char* filter,
                    const char* defaultExtension, const char* title);
bool PromptOpenFile(ISettingsStore& store, std::string& path, const char* title);
bool PromptSaveFile(ISettingsStore& store, std::string& path, const char* title);

// Reads the whole file into `text`, which ends at the first zero byte. Returns the number of
// bytes read; 0 when the file cannot be opened or read (text then empty) or is empty.
int ReadTextFile(const std::string& path, std::string& text);
// PromptOpenFile with the title, then ReadTextFile; 0 when the prompt was cancelled.
int ImportTextFile(ISettingsStore& store, std::string& text, const char* title);
