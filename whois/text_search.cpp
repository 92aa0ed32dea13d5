#include "whois/text_search.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

// The last positions, one at a time, after a scan has covered the first `from` start positions.
size_t FindTail(std::string_view haystack, std::string_view needle, size_t from) {
    const size_t m = needle.size();
    const size_t starts = haystack.size() - m + 1;
    const char* h = haystack.data();
    for (size_t i = from; i < starts; ++i) {
        if (h[i] == needle.front() && h[i + m - 1] == needle.back() &&
            std::memcmp(h + i, needle.data(), m) == 0)
            return i;
    }
    return std::string_view::npos;
}

}  // namespace

namespace text_search_detail {

// A position is a candidate when its byte equals the needle's first byte and the byte
// needle-length-1 further on equals its last byte; only candidates are compared in full.
size_t FindEightAtATime(std::string_view haystack, std::string_view needle) {
    const size_t m = needle.size();
    const size_t starts = haystack.size() - m + 1;
    const char* h = haystack.data();
    const uint64_t first = kOnes * static_cast<unsigned char>(needle.front());
    const uint64_t last = kOnes * static_cast<unsigned char>(needle.back());
    size_t i = 0;
    // Candidates come out lowest position first only when a word's low byte is its first.
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= starts; i += 8) {
            uint64_t a, b;
            std::memcpy(&a, h + i, 8);
            std::memcpy(&b, h + i + m - 1, 8);
            const uint64_t x = (a ^ first) | (b ^ last);
            // Flags every zero byte, and possibly a byte after one; the full compare sorts it out.
            uint64_t zeros = (x - kOnes) & ~x & kHighs;
            while (zeros) {
                const size_t k = static_cast<size_t>(std::countr_zero(zeros)) / 8;
                if (std::memcmp(h + i + k, needle.data(), m) == 0)
                    return i + k;
                zeros &= zeros - 1;
            }
        }
    }
    return FindTail(haystack, needle, i);
}

size_t FindSixteenAtATime(std::string_view haystack, std::string_view needle) {
#if defined(__SSE2__)
    const size_t m = needle.size();
    const size_t starts = haystack.size() - m + 1;
    const char* h = haystack.data();
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    size_t i = 0;
    for (; i + 16 <= starts; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        while (mask) {
            const size_t k = static_cast<size_t>(std::countr_zero(mask));
            if (std::memcmp(h + i + k + 1, needle.data() + 1, m - 2) == 0)
                return i + k;
            mask &= mask - 1;
        }
    }
    return FindTail(haystack, needle, i);
#else
    return FindEightAtATime(haystack, needle);
#endif
}

}  // namespace text_search_detail

size_t FindText(std::string_view haystack, std::string_view needle) {
    // Short texts and one-byte needles gain nothing from the candidate scans.
    if (needle.size() < 2 || haystack.size() < needle.size() || haystack.size() < 64)
        return haystack.find(needle);
    return text_search_detail::FindSixteenAtATime(haystack, needle);
}
