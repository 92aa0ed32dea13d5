#include "cli/ini_settings_store.h"

#include <ini.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "framework/text.h"

namespace {

// Hands inih one line at a time from memory, without the leading blanks that would otherwise make
// an indented line the continuation of the previous value.
struct LineReader {
    std::string_view text;
    size_t pos = 0;
    int line = 0;
    int firstSkipped = 0;  // number of the first line too long for the parser's buffer
};

char* ReadLine(char* str, int num, void* stream) {
    auto* reader = static_cast<LineReader*>(stream);
    if (reader->pos >= reader->text.size() || num < 2)
        return nullptr;
    size_t end = reader->text.find('\n', reader->pos);
    end = end == std::string_view::npos ? reader->text.size() : end + 1;
    std::string_view line = reader->text.substr(reader->pos, end - reader->pos);
    reader->pos = end;
    ++reader->line;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    // A line that does not fit the buffer is skipped whole: cut, it could name a different
    // server, and its tail must not be read as a line of its own.
    const size_t room = static_cast<size_t>(num) - 1;
    if (line.size() > room) {
        if (reader->firstSkipped == 0)
            reader->firstSkipped = reader->line;
        line = "\n";
    }
    std::memcpy(str, line.data(), line.size());
    str[line.size()] = '\0';
    return str;
}

}  // namespace

bool ParseIniInteger(std::string_view text, int& value) {
    text = TrimWhite(text);
    if (text.empty())
        return false;
    bool negative = false;
    size_t i = 0;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        i = 1;
    }
    if (i >= text.size())
        return false;
    long long n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        n = n * 10 + (text[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (negative)
        n = -n;
    if (n < INT_MIN || n > INT_MAX)
        return false;
    value = static_cast<int>(n);
    return true;
}

std::string CIniSettingsStore::Key(std::string_view section, std::string_view entry) {
    std::string key = ToLower(section);
    key.push_back('\0');
    key += ToLower(entry);
    return key;
}

int CIniSettingsStore::Handler(void* user, const char* section, const char* name,
                               const char* value) {
    auto* store = static_cast<CIniSettingsStore*>(user);
    if (!section || !name || !value)
        return 1;
    store->m_values[Key(section, name)] = value;
    return 1;
}

int CIniSettingsStore::LoadText(std::string_view text) {
    // Registry values may hold ";" (an availability token, say), and a line may be long: read
    // whole lines as they are. These switches are global to inih; this is its only user.
    ini_allow_multiline = false;
    ini_allow_inline_comments = false;
    // One heap buffer as large as the largest file read, so that every line of it fits; a longer
    // line of a longer text is cut (ReadLine), never continued into the next one.
    ini_use_stack = false;
    ini_allow_realloc = false;
    ini_initial_alloc = static_cast<int>(kMaxSettingsFileBytes) + 4;
    ini_max_line = static_cast<int>(kMaxSettingsFileBytes) + 4;
    LineReader reader{text};
    int result = ini_parse_stream(ReadLine, &reader, &CIniSettingsStore::Handler, this);
    if (result < 0)
        result = 0;  // no memory for the buffer: nothing was read
    if (reader.firstSkipped > 0 && (result == 0 || reader.firstSkipped < result)) {
        result = reader.firstSkipped;
    }
    return result;
}

std::string CIniSettingsStore::GetString(const std::string& section, const std::string& entry,
                                         const std::string& def) const {
    auto it = m_values.find(Key(section, entry));
    return it == m_values.end() ? def : it->second;
}

int CIniSettingsStore::GetInt(const std::string& section, const std::string& entry, int def) const {
    auto it = m_values.find(Key(section, entry));
    int value = 0;
    if (it == m_values.end() || !ParseIniInteger(it->second, value))
        return def;
    return value;
}

bool CIniSettingsStore::WriteString(const std::string& section, const std::string& entry,
                                    const std::string& value) {
    m_values[Key(section, entry)] = value;
    return true;
}

bool CIniSettingsStore::WriteInt(const std::string& section, const std::string& entry, int value) {
    m_values[Key(section, entry)] = std::to_string(value);
    return true;
}

SettingsFileResult LoadIniSettingsFile(const std::string& path, CIniSettingsStore& store,
                                       int& badLine) {
    badLine = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return errno == ENOENT ? SettingsFileResult::Missing : SettingsFileResult::Unreadable;
    std::string text;
    char buf[8192];
    bool failed = false;
    for (;;) {
        const size_t got = std::fread(buf, 1, sizeof buf, f);
        if (got > 0) {
            if (text.size() + got > kMaxSettingsFileBytes) {
                std::fclose(f);
                return SettingsFileResult::TooLarge;
            }
            text.append(buf, got);
        }
        if (got < sizeof buf) {
            failed = std::ferror(f) != 0;
            break;
        }
    }
    std::fclose(f);
    if (failed)
        return SettingsFileResult::Unreadable;
    badLine = store.LoadText(text);
    return SettingsFileResult::Loaded;
}
