// Feeds arbitrary date texts, under every combination of marker texts, to the date recognizer,
// and checks the pattern reader against the C library's sscanf on the layouts' own patterns.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/text.h"
#include "whois/date_recognizer.h"

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

const char* const kMarkerTexts[] = {"Internet Domain Registrars", "TotalRegistrations",
                                    "Registrar: Domain people Inc", "NeuLevel, Inc.",
                                    "NeuStar, Inc."};

struct PatternCase {
    const char* pattern;
    const char* kinds;  // d integer, s word
};

const PatternCase kPatterns[] = {
    {"%d-%03s-%d", "dsd"},
    {"%d-%d-%d", "ddd"},
    {"%03s, %03s %d, %d", "ssdd"},
    {"%03s %d, %d", "sdd"},
    {"%01d/%02d/%d", "ddd"},
    {"%02d/%01d/%d", "ddd"},
    {"%d/%d/%d", "ddd"},
    {"%03s %03s %d %02d%02d%02d %d", "ssddddd"},
    {"%03s %03s %d %02d%02d%02d %03s %d", "ssddddsd"},
    {"%s %d %d", "sdd"},
    {"%s %d, %d", "sdd"},
    {"%03s %d %d", "sdd"},
    {"%02d/%02d/%d", "ddd"},
    {"%01d/%01d/%d", "ddd"},
    {"%d-%03s-%d", "dsd"},
    {"%02d %03s %04d", "dsd"},
    {"%d %s %d", "dsd"},
    {"%04d-%01d-%02d", "ddd"},
    {"%02d%02d%04d", "ddd"},
};

// The C library wraps numbers that do not fit an int where ours saturates; compare only texts
// whose digit runs fit.
bool DigitRunsFit(const std::string& text) {
    size_t run = 0;
    for (char c : text) {
        run = (c >= '0' && c <= '9') ? run + 1 : 0;
        if (run > 9)
            return false;
    }
    return true;
}

void CompareWithSscanf(const std::string& text) {
    if (text.find('\0') != std::string::npos || !DigitRunsFit(text))
        return;
    for (const PatternCase& p : kPatterns) {
        const size_t count = std::string(p.kinds).size();
        // Room for a whole-word "%s" and for the width plus terminator of "%03s".
        int cn[8] = {};
        std::vector<std::vector<char>> cs(8, std::vector<char>(text.size() + 4, 0));
        void* args[8];
        for (size_t i = 0; i < 8; ++i)
            args[i] = (i < count && p.kinds[i] == 's') ? static_cast<void*>(cs[i].data())
                                                       : static_cast<void*>(&cn[i]);
        int expected = std::sscanf(text.c_str(), p.pattern, args[0], args[1], args[2], args[3],
                                   args[4], args[5], args[6], args[7]);
        if (expected < 0)
            expected = 0;

        int n[8] = {};
        std::string s[8];
        auto t = [&](size_t i) -> ScanTarget {
            return p.kinds[i] == 's' ? ScanTarget(s[i]) : ScanTarget(n[i]);
        };
        int filled = 0;
        switch (count) {
            case 3:
                filled = ScanPattern(text, p.pattern, {t(0), t(1), t(2)});
                break;
            case 4:
                filled = ScanPattern(text, p.pattern, {t(0), t(1), t(2), t(3)});
                break;
            case 7:
                filled = ScanPattern(text, p.pattern, {t(0), t(1), t(2), t(3), t(4), t(5), t(6)});
                break;
            case 8:
                filled =
                    ScanPattern(text, p.pattern, {t(0), t(1), t(2), t(3), t(4), t(5), t(6), t(7)});
                break;
            default:
                Check(false);
        }
        Check(filled == expected);
        for (int i = 0; i < filled; ++i) {
            if (p.kinds[i] == 's')
                Check(s[i] == cs[static_cast<size_t>(i)].data());
            else
                Check(n[i] == cn[i]);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the marker texts the answer carries; the rest is the date text.
    std::string answer = "Domain Name: EXAMPLE.COM\n";
    for (int i = 0; i < 5; ++i) {
        if (data[0] & (1u << i))
            answer.append(kMarkerTexts[i]).append("\n");
    }
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    CDateTime byAnswer, byMarkers;
    const bool okAnswer = RecognizeDate(answer, text, byAnswer);
    const bool okMarkers = RecognizeDate(CDateMarkers(answer), text, byMarkers);
    Check(okAnswer == okMarkers);
    if (okAnswer) {
        Check(byAnswer == byMarkers);
        int y = 0, m = 0, d = 0, hh = 0, mi = 0, ss = 0;
        Check(byAnswer.GetDateTime(y, m, d, hh, mi, ss));
        Check(y >= 0 && y <= 9999 && hh == 0 && mi == 0 && ss == 0);
        Check(CDateTime::FromDate(y, m, d) == byAnswer);
    }

    const std::string cleaned = CleanDateText(text);
    Check(cleaned.size() <= text.size());
    // Word years lie in 1990..2020; the single eight-digit word carries any four-digit year.
    CDateTime byWords;
    if (RecognizeDateByWords(text, byWords)) {
        int y = 0, m = 0, d = 0;
        Check(byWords.GetDate(y, m, d) && y >= 1 && y <= 9999);
        std::string spaced(TrimWhite(text));
        ReplaceAll(spaced, "-", " ");
        const bool oneWord = TrimWhite(spaced).find(' ') == std::string_view::npos;
        Check(oneWord || (y >= 1990 && y <= 2020));
    }
    CompareWithSscanf(text);
    return 0;
}
