#include "domains/intake.h"

#include <cstring>

#include "domains/domain_array.h"
#include "framework/text.h"

const char IMPORT_STATUS_START[] = "Importing Domain Names";
const char IMPORT_STATUS_COUNT_FORMAT[] = "%d names imported";

namespace {

// Removes every non-overlapping occurrence of `pattern`, left to right, in place: text joined by
// a removal is not searched again, so "http://www." inside "http://http://www.www." leaves one.
void RemoveAllInPlace(std::string& s, std::string_view pattern) {
    size_t hit = s.find(pattern);
    if (hit == std::string::npos)
        return;
    size_t write = hit;
    size_t read = hit + pattern.size();
    for (;;) {
        hit = s.find(pattern, read);
        const size_t end = hit == std::string::npos ? s.size() : hit;
        if (end > read)
            std::memmove(&s[write], s.data() + read, end - read);
        write += end - read;
        if (hit == std::string::npos)
            break;
        read = hit + pattern.size();
    }
    s.resize(write);
}

}  // namespace

std::string PrepareIntakeText(std::string_view text) {
    const size_t zero = text.find('\0');
    if (zero != std::string_view::npos)
        text = text.substr(0, zero);
    std::string s(text);
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    RemoveAllInPlace(s, "http://www.");
    RemoveAllInPlace(s, "http://");
    return s;
}

int ImportNames(CDomainArray& domains, std::string_view text, IImportProgress* progress) {
    if (progress)
        progress->ShowStatus(IMPORT_STATUS_START);
    const std::string prepared = PrepareIntakeText(text);

    int added = 0;
    int shownCount = -1;  // the status line only changes with the count
    std::string token;
    ForEachNameToken(prepared, [&](std::string_view t) {
        token.assign(t.data(), t.size());
        if (domains.AddName(token))
            ++added;
        if (progress) {
            if (progress->PollCancel())
                return false;
            if (added != shownCount) {
                progress->ShowStatus(FormatText(IMPORT_STATUS_COUNT_FORMAT, added));
                shownCount = added;
            }
        }
        return domains.GetCount() < MAX_DOMAINS;
    });
    return added;
}
