// Turning a block of pasted or imported text into new records of the domain list: lower the case,
// drop web-address prefixes, split at separators and let AddName refuse what it cannot use.
#pragma once

#include <array>
#include <string>
#include <string_view>

class CDomainArray;

// The 34 bytes that separate names: 31 punctuation marks, then carriage return, line feed and tab.
// Letters, digits, ".", "-" and every byte of 128 or more belong to names.
inline constexpr std::string_view NAME_SEPARATORS(" #;:,!^*/={}()+&%$@~\"'<>_?|\\`[]\r\n\t", 34);

namespace intake_detail {
// One table lookup per byte keeps tokenizing of a large paste cheap.
inline constexpr std::array<bool, 256> kSeparatorTable = [] {
    std::array<bool, 256> t{};
    for (char c : NAME_SEPARATORS) t[static_cast<unsigned char>(c)] = true;
    return t;
}();
}  // namespace intake_detail

inline bool IsNameSeparator(char c) {
    return intake_detail::kSeparatorTable[static_cast<unsigned char>(c)];
}

// The text as the tokenizer sees it: ASCII letters lowered, then every "http://www." removed, then
// every "http://" (each removal one left-to-right pass). The text ends at its first zero byte, as
// it does in an edit box or a text file read whole.
std::string PrepareIntakeText(std::string_view text);

// Calls `visit(token)` for every maximal run of non-separator bytes, in order; stops early and
// returns false as soon as `visit` returns false.
template <typename Visit>
bool ForEachNameToken(std::string_view text, Visit&& visit) {
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        while (i < n && IsNameSeparator(text[i])) ++i;
        const size_t begin = i;
        while (i < n && !IsNameSeparator(text[i])) ++i;
        if (i > begin && !visit(text.substr(begin, i - begin)))
            return false;
    }
    return true;
}

// What the intake needs of the progress window; the Windows window implements it.
class IImportProgress {
public:
    virtual ~IImportProgress() = default;
    virtual void ShowStatus(const std::string& text) = 0;
    // Serves pending window messages; true once per press of Cancel since the last call.
    virtual bool PollCancel() = 0;
};

// "Importing Domain Names" while the text is prepared, "%d names imported" after each token.
extern const char IMPORT_STATUS_START[];
extern const char IMPORT_STATUS_COUNT_FORMAT[];

// Offers every token of the prepared text to `domains.AddName` and returns the number of records
// added. Stops at once when Cancel was pressed (keeping what was added) and when the list is full.
// `progress` may be null.
int ImportNames(CDomainArray& domains, std::string_view text, IImportProgress* progress);
