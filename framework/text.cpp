#include "framework/text.h"

#include <cstdarg>
#include <cstdio>

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string ToLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = LowerChar(c);
    return out;
}

std::string ToUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpperChar(c);
    return out;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(LowerChar(a[i]));
        const unsigned char cb = static_cast<unsigned char>(LowerChar(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string_view TrimWhite(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsWhite(s[b])) ++b;
    while (e > b && IsWhite(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string_view TrimChars(std::string_view s, std::string_view set) {
    size_t b = 0, e = s.size();
    while (b < e && set.find(s[b]) != std::string_view::npos) ++b;
    while (e > b && set.find(s[e - 1]) != std::string_view::npos) --e;
    return s.substr(b, e - b);
}

size_t ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    if (from.empty())
        return 0;
    size_t pos = s.find(from);
    if (pos == std::string::npos)
        return 0;
    std::string out;
    out.reserve(s.size());
    size_t start = 0, count = 0;
    while (pos != std::string::npos) {
        out.append(s, start, pos - start);
        out.append(to);
        start = pos + from.size();
        ++count;
        pos = s.find(from, start);
    }
    out.append(s, start, std::string::npos);
    s.swap(out);
    return count;
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(n));
    }
    va_end(args);
    return out;
}
