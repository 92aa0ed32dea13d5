#include "framework/registry_store.h"

#include "framework/module_path.h"

std::string ApplicationNameFromExePath(const std::string& path) {
    // One rule for the whole program: the same name captions the message boxes.
    return AppNameFromModulePath(path);
}

std::string ProfileKeyPath(const std::string& company, const std::string& application,
                           const std::string& section) {
    std::string path = "Software\\" + company + "\\" + application;
    if (!section.empty())
        path += "\\" + section;
    return path;
}
