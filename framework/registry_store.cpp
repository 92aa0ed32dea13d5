#include "framework/registry_store.h"

std::string ApplicationNameFromExePath(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = base.rfind('.');
    if (dot != std::string::npos)
        base.erase(dot);
    return base;
}

std::string ProfileKeyPath(const std::string& company, const std::string& application,
                           const std::string& section) {
    std::string path = "Software\\" + company + "\\" + application;
    if (!section.empty())
        path += "\\" + section;
    return path;
}
