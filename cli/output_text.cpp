#include "cli/output_text.h"

#include <cstdio>

namespace {

// Windows-1252 0x80..0x9F as Unicode code points; 0 marks the five unassigned bytes.
constexpr unsigned short kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::string EscapeTsvCell(std::string_view text) {
    // Bytes that need no escape are copied in runs: a WHOIS text is mostly such bytes.
    auto plain = [](unsigned char c) { return c >= 0x20 && c != 0x7F && c != '\\'; };
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    size_t i = 0;
    while (i < text.size()) {
        size_t run = i;
        while (run < text.size() && plain(static_cast<unsigned char>(text[run]))) ++run;
        out.append(text.data() + i, run - i);
        if (run == text.size())
            break;
        const unsigned char c = static_cast<unsigned char>(text[run]);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default: {
                static const char kHex[] = "0123456789ABCDEF";
                const char hex[4] = {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
                out.append(hex, 4);
            }
        }
        i = run + 1;
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        unsigned cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (n - i < len)
            return false;
        for (size_t k = 1; k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

std::string AnsiToUtf8(std::string_view text) {
    if (IsValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        unsigned cp = c;
        if (c >= 0x80 && c <= 0x9F && kCp1252High[c - 0x80] != 0)
            cp = kCp1252High[c - 0x80];
        AppendUtf8(out, cp);
    }
    return out;
}

std::string FormatIsoDate(const CDateTime& dt) {
    int y = 0, m = 0, d = 0;
    if (!dt.GetDate(y, m, d))
        return std::string();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

std::string FormatIsoDateTime(const CDateTime& dt) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!dt.GetDateTime(y, mo, d, h, mi, s))
        return std::string();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", y, mo, d, h, mi, s);
    return buf;
}
