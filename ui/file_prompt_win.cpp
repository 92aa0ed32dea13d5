#include "ui/file_prompt_win.h"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

#include "framework/file_io.h"
#include "framework/settings_store.h"

namespace {

FileDialogHook& Hook() {
    static FileDialogHook hook;
    return hook;
}

// Room for long paths; the dialog reports a short buffer as a failure rather than cutting.
constexpr size_t kPathBufferSize = 32768;

bool RunSystemDialog(bool open, const std::string& initialFile, const char* filter,
                     const char* defaultExtension, const char* title, std::string& path) {
    std::string filterParts = filter != nullptr ? filter : "";
    for (char& c : filterParts) {
        if (c == '|')
            c = '\0';
    }
    filterParts.push_back('\0');
    std::vector<char> file(kPathBufferSize, '\0');
    if (initialFile.size() < file.size())
        initialFile.copy(file.data(), initialFile.size());

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = nullptr;
    ofn.lpstrFilter = filterParts.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = defaultExtension;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ofn.Flags |= open ? (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST) : OFN_OVERWRITEPROMPT;
    BOOL ok = open ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (!ok && ::CommDlgExtendedError() == FNERR_INVALIDFILENAME && file[0] != '\0') {
        // The remembered folder is gone (or the value is damaged): start without it rather than
        // never showing the prompt at all.
        std::fill(file.begin(), file.end(), '\0');
        ok = open ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    }
    if (!ok)
        return false;
    file.back() = '\0';
    path = file.data();
    return true;
}

}  // namespace

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
    FileDialogHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

std::string RememberedFolderPattern(const std::string& path, const std::string& extension) {
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        return std::string();
    return path.substr(0, slash + 1) + "*." + extension;
}

bool PromptFileName(ISettingsStore& store, bool open, std::string& path, const char* filter,
                    const char* defaultExtension, const char* title) {
    const std::string extension = defaultExtension != nullptr ? defaultExtension : "";
    const std::string initial = store.GetString(kSectionFilePath, extension);
    std::string chosen;
    const FileDialogHook& hook = Hook();
    const bool ok = hook ? hook(open, initial, title != nullptr ? title : "", chosen)
                         : RunSystemDialog(open, initial, filter, defaultExtension, title, chosen);
    if (!ok || chosen.empty())
        return false;
    const std::string pattern = RememberedFolderPattern(chosen, extension);
    if (!pattern.empty())
        store.WriteString(kSectionFilePath, extension, pattern);
    path = chosen;
    return true;
}

bool PromptOpenFile(ISettingsStore& store, std::string& path, const char* title) {
    return PromptFileName(store, true, path, kTextFileFilter, kTextFileExtension, title);
}

bool PromptSaveFile(ISettingsStore& store, std::string& path, const char* title) {
    return PromptFileName(store, false, path, kTextFileFilter, kTextFileExtension, title);
}

int ReadTextFile(const std::string& path, std::string& text) {
    text.clear();
    CStdioFile file = OpenFileForReading(path);
    uint64_t size = 0;
    if (!file || !GetOpenFileSize(file.Get(), size))
        return 0;
    // The length travels as an int; a file beyond that is no list of names.
    if (size == 0 || size > static_cast<uint64_t>(INT_MAX))
        return 0;
    try {
        text.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        text.clear();
        return 0;
    }
    // A file that shrank while being read gives what it still held.
    const size_t got = std::fread(text.data(), 1, text.size(), file.Get());
    text.resize(got);
    const size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return static_cast<int>(got);
}

int ImportTextFile(ISettingsStore& store, std::string& text, const char* title) {
    std::string path;
    if (!PromptOpenFile(store, path, title))
        return 0;
    return ReadTextFile(path, text);
}
