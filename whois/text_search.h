// Substring search for whole WHOIS answers (up to some 64 KiB), where the plain search stalls on
// every occurrence of a common first letter.
#pragma once

#include <string>
#include <string_view>

// Position of the first occurrence of `needle` in `haystack`, std::string_view::npos when there is
// none; an empty needle is found at 0. The same result as haystack.find(needle).
size_t FindText(std::string_view haystack, std::string_view needle);
inline bool ContainsText(std::string_view haystack, std::string_view needle) {
    return FindText(haystack, needle) != std::string_view::npos;
}

// The scans behind FindText, for tests: each takes a needle of at least two bytes and a haystack
// at least as long. FindText uses the vector one where the processor has it.
namespace text_search_detail {
size_t FindEightAtATime(std::string_view haystack, std::string_view needle);
// Sixteen positions at a time with SSE2; the eight-at-a-time scan where SSE2 is missing.
size_t FindSixteenAtATime(std::string_view haystack, std::string_view needle);
}  // namespace text_search_detail
