// Turns the free-form date text that follows a WHOIS date label into a calendar date.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "framework/date_time.h"

// True when a valid date (at 00:00:00) was stored in `out`; on false `out` must not be used.
// `answer` is the whole WHOIS answer, searched for a few registrar marker texts.
bool RecognizeDate(std::string_view answer, std::string_view dateText, CDateTime& out);
// The word-based fallback, on an already cleaned text.
bool RecognizeDateByWords(std::string_view cleaned, CDateTime& out);
int CountChar(std::string_view text, char c);

// Registrar and registry texts in the whole answer that change how a date text is read. Each is
// looked for at most once, and only when a layout asks for it, so that the analysis reads three
// dates from one answer without searching the whole answer again for each. The answer must
// outlive the object.
class CDateMarkers {
public:
    explicit CDateMarkers(std::string_view answer) : m_answer(answer) {}

    bool DayBeforeMonthDashed() const;   // "Internet Domain Registrars": dd-mm-yyyy
    bool DayBeforeMonthSlashed() const;  // "TotalRegistrations": dd/mm/yyyy
    bool FixedPositions() const;         // Domain People or NeuLevel/NeuStar time stamps

private:
    std::string_view m_answer;
    mutable int m_nDashed = -1;  // -1 not searched yet, else 0 or 1
    mutable int m_nSlashed = -1;
    mutable int m_nFixed = -1;
};
bool RecognizeDate(const CDateMarkers& markers, std::string_view dateText, CDateTime& out);

// The date text after trimming, separator clean-up and removal of filler words; empty when
// nothing is left to read.
std::string CleanDateText(std::string_view dateText);

// One output of ScanPattern: an integer for "%d", a word for "%s".
struct ScanTarget {
    ScanTarget(int& n) : m_pn(&n) {}                // NOLINT: implicit on purpose
    ScanTarget(std::string& str) : m_pstr(&str) {}  // NOLINT: implicit on purpose
    int* m_pn = nullptr;
    std::string* m_pstr = nullptr;
};
// Reads `text` as the C library's sscanf reads it with `pattern` ("%d", "%Nd", "%s", "%Ns", blanks
// matching any run of white space, other characters matching themselves), stopping at the first
// mismatch. Returns the number of targets filled; targets after the mismatch keep their values.
// Numbers too large for an int saturate instead of wrapping.
int ScanPattern(std::string_view text, std::string_view pattern,
                std::initializer_list<ScanTarget> targets);
