// Opening a domain's web site: the address, and the browser command line used when the shell
// cannot open the address itself.
#pragma once

#include <string>
#include <string_view>

// "http://www.%s" with the name; empty when the name is empty or holds a blank, a double quote or
// a control byte (below 0x20, or 0x7F), which could end the address early or smuggle arguments
// into the browser's command line. Such a name is not opened.
std::string BuildBrowseAddress(std::string_view name);

// Registry key under HKEY_CLASSES_ROOT holding the command that opens a file of the given type
// (the unnamed value of ".htm"): type + "\shell\open\command".
std::string OpenCommandKey(std::string_view fileType);

// The command line that opens `address` with the program of `openCommand` (the registered
// command for web pages): cut where the first "\"%1\"" begins, else at the first "%1", else kept
// whole; then a space and the address in double quotes. Whatever followed the placeholder is
// dropped.
std::string BuildBrowserCommandLine(std::string_view openCommand, std::string_view address);
