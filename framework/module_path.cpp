#include "framework/module_path.h"

namespace {

constexpr size_t kMaxAppName = 255;

size_t LastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

}  // namespace

std::string AppNameFromModulePath(std::string_view path) {
    const size_t sep = LastSeparator(path);
    std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    if (name.size() > kMaxAppName)
        name = name.substr(0, kMaxAppName);
    return std::string(name);
}

std::string FolderOfPath(std::string_view path) {
    const size_t sep = LastSeparator(path);
    if (sep == std::string_view::npos)
        return "\\";
    return std::string(path.substr(0, sep + 1));
}
