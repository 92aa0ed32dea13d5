#include "ui/browse.h"

std::string BuildBrowseAddress(std::string_view name) {
    if (name.empty())
        return std::string();
    for (char ch : name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == ' ' || c == '"')
            return std::string();
    }
    std::string address = "http://www.";
    address.append(name);
    return address;
}

std::string OpenCommandKey(std::string_view fileType) {
    std::string key(fileType);
    key += "\\shell\\open\\command";
    return key;
}

std::string BuildBrowserCommandLine(std::string_view openCommand, std::string_view address) {
    // '"', '%' and '1' are never trail bytes of a double-byte character in the ANSI code pages,
    // so a byte search finds the same placeholder a character search would.
    size_t cut = openCommand.find("\"%1\"");
    if (cut == std::string_view::npos)
        cut = openCommand.find("%1");
    std::string line(openCommand.substr(0, cut));
    line += " \"";
    line.append(address);
    line += '"';
    return line;
}
