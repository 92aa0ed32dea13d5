#include "ui/export_win.h"

#include "framework/file_io.h"
#include "ui/file_prompt_win.h"

std::string ExportFailedMessage(const std::string& path) {
    return "The file \"" + path + "\" could not be written.";
}

bool SaveTextToFile(ISettingsStore& store, const std::string& text,
                    const std::function<void(const std::string& message)>& reportFailure) {
    std::string path;
    if (!PromptSaveFile(store, path, kSaveFileTitle))
        return false;
    // Through a temporary beside the file, so a failed write never leaves a half-written file
    // in the place of an older one.
    CSafeFileWriter writer(path);
    const bool written =
        writer.Open() && writer.WriteBytes(text.data(), text.size()) && writer.Commit();
    if (!written) {
        writer.Abandon();
        if (reportFailure)
            reportFailure(ExportFailedMessage(path));
    }
    return written;
}
