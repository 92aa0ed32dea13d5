// Single-byte text helpers shared by every layer. Text is ANSI: bytes, not characters; case folding
// touches only the ASCII letters, which is all that domain names, WHOIS labels and registry names
// need.
#pragma once

#include <string>
#include <string_view>

// Space, tab, carriage return, line feed, vertical tab and form feed.
bool IsWhite(char c);
char LowerChar(char c);
char UpperChar(char c);

std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);

// Negative, zero or positive as a sorts before, equal to or after b, letters compared by their
// lower-case form and every other byte by its unsigned code.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);

// The view without leading and trailing white space.
std::string_view TrimWhite(std::string_view s);
// The view without leading and trailing bytes from the given set.
std::string_view TrimChars(std::string_view s, std::string_view set);

// Replaces every non-overlapping occurrence of `from` (left to right) in one linear pass; an empty
// `from` changes nothing. Returns the number of replacements.
size_t ReplaceAll(std::string& s, std::string_view from, std::string_view to);

// printf into a std::string of whatever length the result needs.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
