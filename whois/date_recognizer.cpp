#include "whois/date_recognizer.h"

#include <climits>
#include <vector>

#include "framework/text.h"
#include "whois/text_search.h"

namespace {

constexpr std::string_view kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};

constexpr int kUnset = -1;

// 1..12 for a three-letter month word in any case, kUnset for anything else.
int MonthFromWord(std::string_view word) {
    if (word.size() != 3)
        return kUnset;
    for (int i = 0; i < 12; ++i) {
        if (EqualsNoCase(word, kMonths[i]))
            return i + 1;
    }
    return kUnset;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

// Accumulates one more digit, holding the magnitude just above INT_MAX so that any overflow
// saturates rather than wraps into a plausible-looking number.
long long AddDigit(long long value, char digit) {
    value = value * 10 + (digit - '0');
    return value > static_cast<long long>(INT_MAX) + 1 ? static_cast<long long>(INT_MAX) + 1
                                                       : value;
}

int ApplySign(long long magnitude, bool negative) {
    if (negative)
        return magnitude > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

// The integer a few characters hold, read the way "%d" reads; no digits give 0.
int IntValue(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsWhite(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long magnitude = 0;
    while (i < s.size() && IsDigit(s[i])) magnitude = AddDigit(magnitude, s[i++]);
    return ApplySign(magnitude, negative);
}

// A character test at a position that may lie outside the text (then it fails).
bool CharAt(std::string_view s, long long pos, char c) {
    return pos >= 0 && pos < static_cast<long long>(s.size()) && s[static_cast<size_t>(pos)] == c;
}

bool UpperAt(std::string_view s, long long pos) {
    return pos >= 0 && pos < static_cast<long long>(s.size()) &&
           IsUpperLetter(s[static_cast<size_t>(pos)]);
}

// The characters from `pos` on that exist, at most `count` of them.
std::string_view Slice(std::string_view s, size_t pos, size_t count) {
    return pos < s.size() ? s.substr(pos, count) : std::string_view();
}

std::string_view LastFour(std::string_view s) {
    return s.size() > 4 ? s.substr(s.size() - 4) : s;
}

struct DateFields {
    int year = kUnset;
    int month = kUnset;
    int day = kUnset;
    std::string monthWord;
};

// Widening of two-digit years, the month word, and the calendar check shared by every layout.
bool CompleteDate(DateFields f, CDateTime& out) {
    // WHOIS data holds no dates before the 1980s, so a year written as 70 means 1970 rather than
    // the year 70 of the calendar.
    if (f.year >= 70 && f.year <= 99)
        f.year += 1900;
    else if (f.year >= 0 && f.year <= 69)
        f.year += 2000;
    if (f.month == kUnset && f.monthWord.size() == 3)
        f.month = MonthFromWord(f.monthWord);
    if (f.year == kUnset || f.month == kUnset || f.day == kUnset)
        return false;
    const CDateTime date = CDateTime::FromDate(f.year, f.month, f.day);
    if (!date.IsValid())
        return false;
    out = date;
    return true;
}

// Reads a layout whose month is a word that may be longer than three letters; only its first
// three letters name the month.
void CutMonthWord(DateFields& f) {
    if (f.monthWord.size() > 3)
        f.monthWord.resize(3);
}

// Picks the layout of a cleaned, non-empty text and reads its fields. Returns false when no layout
// applies, so that the word reading gets its turn; once a layout applies, its reading is final.
bool ReadByLayout(std::string_view s, const CDateMarkers& markers, DateFields& f) {
    const long long n = static_cast<long long>(s.size());
    std::string weekday, zone;
    int hour = 0, minute = 0, second = 0;

    if (CharAt(s, 2, '-') && CharAt(s, 6, '-')) {
        ScanPattern(s, "%d-%03s-%d", {f.day, f.monthWord, f.year});
    } else if (markers.FixedPositions()) {
        f.monthWord = std::string(Slice(s, 4, 3));
        f.day = IntValue(Slice(s, 8, 2));
        f.year = IntValue(LastFour(s));
    } else if (CharAt(s, 4, '-') && CharAt(s, 7, '-')) {
        ScanPattern(s, "%d-%d-%d", {f.year, f.month, f.day});
    } else if (CharAt(s, 2, '-') && CharAt(s, 5, '-')) {
        if (markers.DayBeforeMonthDashed())
            ScanPattern(s, "%d-%d-%d", {f.day, f.month, f.year});
        else
            ScanPattern(s, "%d-%d-%d", {f.month, f.day, f.year});
    } else if (n > 12 && CharAt(s, 3, ',') && CharAt(s, 11, ',')) {
        ScanPattern(s, "%03s, %03s %d, %d", {weekday, f.monthWord, f.day, f.year});
    } else if (CharAt(s, 6, ',') && CharAt(s, 3, ' ')) {
        ScanPattern(s, "%03s %d, %d", {f.monthWord, f.day, f.year});
    } else if (CharAt(s, 4, '/') && CharAt(s, 1, '/')) {
        ScanPattern(s, "%01d/%02d/%d", {f.month, f.day, f.year});
    } else if (CharAt(s, 4, '/') && CharAt(s, 2, '/')) {
        ScanPattern(s, "%02d/%01d/%d", {f.month, f.day, f.year});
    } else if (CharAt(s, 4, '/')) {
        ScanPattern(s, "%d/%d/%d", {f.year, f.month, f.day});
    } else if (CharAt(s, 3, ' ') && CharAt(s, 4, ' ') && s.find(',') != std::string_view::npos &&
               s.find(',') > 4) {
        ScanPattern(s, "%03s %d, %d", {f.monthWord, f.day, f.year});
    } else if (n == 22 && CharAt(s, 3, ' ') && CharAt(s, 7, ' ') && CharAt(s, 10, ' ') &&
               CharAt(s, 17, ' ')) {
        ScanPattern(s, "%03s %03s %d %02d%02d%02d %d",
                    {weekday, f.monthWord, f.day, hour, minute, second, f.year});
    } else if (n == 26 && CharAt(s, 3, ' ') && CharAt(s, 7, ' ') && CharAt(s, 10, ' ') &&
               CharAt(s, 17, ' ') && CharAt(s, 21, ' ')) {
        ScanPattern(s, "%03s %03s %d %02d%02d%02d %03s %d",
                    {weekday, f.monthWord, f.day, hour, minute, second, zone, f.year});
    } else if (UpperAt(s, 0) && CharAt(s, n - 5, ' ') && CountChar(s, ',') == 0 &&
               CountChar(s, ' ') == 2) {
        ScanPattern(s, "%s %d %d", {f.monthWord, f.day, f.year});
        CutMonthWord(f);
    } else if (UpperAt(s, 0) && CharAt(s, n - 5, ' ') && CharAt(s, n - 6, ',')) {
        ScanPattern(s, "%s %d, %d", {f.monthWord, f.day, f.year});
        CutMonthWord(f);
    } else if (CharAt(s, 3, ' ') && CharAt(s, 4, ' ')) {
        ScanPattern(s, "%03s %d %d", {f.monthWord, f.day, f.year});
    } else if (CharAt(s, 2, '/') && CharAt(s, 5, '/')) {
        if (markers.DayBeforeMonthSlashed())
            ScanPattern(s, "%02d/%02d/%d", {f.day, f.month, f.year});
        else
            ScanPattern(s, "%02d/%02d/%d", {f.month, f.day, f.year});
        // US order is the default; a "month" above 12 can only be a day.
        if (f.month > 12)
            std::swap(f.month, f.day);
    } else if (CharAt(s, 1, '/') && CharAt(s, 3, '/')) {
        ScanPattern(s, "%01d/%01d/%d", {f.month, f.day, f.year});
    } else if (CharAt(s, 4, '-') && CharAt(s, 8, '-')) {
        ScanPattern(s, "%d-%03s-%d", {f.year, f.monthWord, f.day});
    } else if (n == 11 && CharAt(s, 2, ' ') && CharAt(s, 6, ' ')) {
        ScanPattern(s, "%02d %03s %04d", {f.day, f.monthWord, f.year});
    } else if (CharAt(s, 2, ' ') && n > 11 && CharAt(s, n - 5, ' ')) {
        f.monthWord = std::string(Slice(s, 3, 3));
        f.day = IntValue(Slice(s, 0, 2));
        f.year = IntValue(LastFour(s));
    } else if (UpperAt(s, 3) && CharAt(s, 2, '-') && CharAt(s, n - 5, '-')) {
        std::string spaced(s);
        ReplaceAll(spaced, "-", " ");
        ScanPattern(spaced, "%d %s %d", {f.day, f.monthWord, f.year});
        CutMonthWord(f);
    } else if (n == 9 && CharAt(s, 4, '-') && CharAt(s, 6, '-')) {
        ScanPattern(s, "%04d-%01d-%02d", {f.year, f.month, f.day});
    } else {
        return false;
    }
    return true;
}

bool HasNoLetterOrDash(std::string_view word) {
    for (char c : word) {
        if (IsUpperLetter(c) || c == '-')
            return false;
    }
    return true;
}

bool RecognizeCleaned(const CDateMarkers& markers, std::string_view cleaned, CDateTime& out) {
    DateFields fields;
    if (!ReadByLayout(cleaned, markers, fields))
        return RecognizeDateByWords(cleaned, out);
    return CompleteDate(std::move(fields), out);
}

}  // namespace

int ScanPattern(std::string_view text, std::string_view pattern,
                std::initializer_list<ScanTarget> targets) {
    size_t in = 0;
    int filled = 0;
    const ScanTarget* next = targets.begin();
    auto skipWhite = [&] {
        while (in < text.size() && IsWhite(text[in])) ++in;
    };

    for (size_t p = 0; p < pattern.size(); ++p) {
        const char pc = pattern[p];
        if (IsWhite(pc)) {
            skipWhite();
            continue;
        }
        if (pc != '%' || (p + 1 < pattern.size() && pattern[p + 1] == '%')) {
            if (pc == '%')
                ++p;  // "%%" matches one "%"
            if (in >= text.size() || text[in] != pc)
                return filled;
            ++in;
            continue;
        }

        // A conversion: optional width, then d or s.
        size_t width = 0;
        while (p + 1 < pattern.size() && IsDigit(pattern[p + 1])) {
            width = width * 10 + static_cast<size_t>(pattern[++p] - '0');
            if (width > 1000000)
                width = 1000000;
        }
        if (width == 0)
            width = static_cast<size_t>(-1);
        if (p + 1 >= pattern.size() || next == targets.end())
            return filled;
        const char conversion = pattern[++p];
        skipWhite();
        if (in >= text.size())
            return filled;

        if (conversion == 'd') {
            if (!next->m_pn)
                return filled;
            size_t taken = 0;
            bool negative = false;
            if (text[in] == '+' || text[in] == '-') {
                negative = text[in] == '-';
                ++in;
                ++taken;
            }
            long long magnitude = 0;
            size_t digits = 0;
            while (taken < width && in < text.size() && IsDigit(text[in])) {
                magnitude = AddDigit(magnitude, text[in++]);
                ++taken;
                ++digits;
            }
            if (digits == 0)
                return filled;
            *next->m_pn = ApplySign(magnitude, negative);
        } else if (conversion == 's') {
            if (!next->m_pstr)
                return filled;
            const size_t start = in;
            while (in - start < width && in < text.size() && !IsWhite(text[in])) ++in;
            next->m_pstr->assign(text.substr(start, in - start));
        } else {
            return filled;
        }
        ++next;
        ++filled;
    }
    return filled;
}

int CountChar(std::string_view text, char c) {
    int count = 0;
    for (char x : text) {
        if (x == c)
            ++count;
    }
    return count;
}

std::string CleanDateText(std::string_view dateText) {
    std::string_view v = TrimWhite(dateText);
    v = TrimChars(v, ".");
    v = TrimChars(v, ":=>");
    v = TrimWhite(v);
    if (v.empty())
        return std::string();
    if (v.front() == '-')
        v.remove_prefix(1);

    std::string s(v);
    // 07.01.2003 is read like 07-01-2003.
    if (CharAt(s, 2, '.') && CharAt(s, 5, '.'))
        ReplaceAll(s, ".", "-");
    // Filler words and time separators; a time such as 10:14:22 then reads 101422.
    for (std::string_view filler : {" on ", "Record ", "Date", "date", ":", ".", ">"})
        ReplaceAll(s, filler, "");
    return std::string(TrimWhite(s));
}

namespace {

// Looks for `text` in the answer the first time it is asked for.
bool Searched(std::string_view answer, int& cache, std::string_view text) {
    if (cache < 0)
        cache = ContainsText(answer, text) ? 1 : 0;
    return cache == 1;
}

// "NeuStar, Inc." counts only where "NeuLevel, Inc." is absent; either way the layout is the same,
// so finding any of the three texts is enough. Each holds "Inc" once, and "Inc" is rare in an
// answer: one search for it finds every place where one of them could start.
bool HasFixedPositionMarker(std::string_view answer) {
    constexpr std::string_view kAnchor = "Inc";
    constexpr std::string_view kTexts[] = {"Registrar: Domain people Inc", "NeuLevel, Inc.",
                                           "NeuStar, Inc."};
    size_t from = 0;
    while (true) {
        const size_t found = FindText(answer.substr(from), kAnchor);
        if (found == std::string_view::npos)
            return false;
        const size_t at = from + found;
        for (std::string_view text : kTexts) {
            const size_t offset = text.find(kAnchor);
            if (at >= offset && answer.substr(at - offset).starts_with(text))
                return true;
        }
        from = at + 1;
    }
}

}  // namespace

bool CDateMarkers::DayBeforeMonthDashed() const {
    return Searched(m_answer, m_nDashed, "Internet Domain Registrars");
}

bool CDateMarkers::DayBeforeMonthSlashed() const {
    return Searched(m_answer, m_nSlashed, "TotalRegistrations");
}

bool CDateMarkers::FixedPositions() const {
    if (m_nFixed < 0)
        m_nFixed = HasFixedPositionMarker(m_answer) ? 1 : 0;
    return m_nFixed == 1;
}

bool RecognizeDate(std::string_view answer, std::string_view dateText, CDateTime& out) {
    const std::string cleaned = CleanDateText(dateText);
    if (cleaned.empty())
        return false;
    return RecognizeCleaned(CDateMarkers(answer), cleaned, out);
}

bool RecognizeDate(const CDateMarkers& markers, std::string_view dateText, CDateTime& out) {
    const std::string cleaned = CleanDateText(dateText);
    if (cleaned.empty())
        return false;
    return RecognizeCleaned(markers, cleaned, out);
}

bool RecognizeDateByWords(std::string_view cleaned, CDateTime& out) {
    std::string text = ToUpper(TrimWhite(cleaned));
    ReplaceAll(text, "-", " ");
    const std::string_view v = TrimWhite(text);

    // Every blank ends a word, so two blanks in a row leave an empty word between them.
    std::vector<std::string_view> words;
    size_t start = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == ' ') {
            words.push_back(v.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < v.size())
        words.push_back(v.substr(start));

    int year = kUnset, month = kUnset, day = kUnset;
    if (words.size() == 1 && words[0].size() == 8) {
        ScanPattern(words[0], "%02d%02d%04d", {month, day, year});
    } else {
        std::vector<bool> used(words.size(), false);
        for (size_t i = 0; i < words.size() && month == kUnset; ++i) {
            month = MonthFromWord(words[i]);
            used[i] = month != kUnset;
        }
        auto takeNumber = [&](int low, int high) {
            for (size_t i = 0; i < words.size(); ++i) {
                if (used[i] || words[i].size() > 4 || !HasNoLetterOrDash(words[i]))
                    continue;
                const int value = IntValue(words[i]);
                if (value >= low && value <= high) {
                    used[i] = true;
                    return value;
                }
            }
            return kUnset;
        };
        year = takeNumber(1990, 2020);
        if (year != kUnset)
            day = takeNumber(1, 31);
    }

    if (year <= 0 || month <= 0 || day <= 0)
        return false;
    const CDateTime date = CDateTime::FromDate(year, month, day);
    if (!date.IsValid())
        return false;
    out = date;
    return true;
}
