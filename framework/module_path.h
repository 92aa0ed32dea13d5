// Names derived from the running program's path, kept free of Windows headers so they are tested
// natively.
#pragma once

#include <string>
#include <string_view>

// The application name: the file name of the executable without folder and without its last
// extension ("C:\Tools\quorvix.exe" -> "quorvix"), cut to at most 255 characters. Folders may be
// separated by "\" or "/"; a name that is only an extension (".exe") is kept whole.
std::string AppNameFromModulePath(std::string_view path);

// The path up to and including its last "\" (or "/"); "\" when it has no separator.
std::string FolderOfPath(std::string_view path);
