#include "ui/integer_field.h"

#include <climits>
#include <cstdint>

const char INTEGER_FIELD_REFUSED[] = "Please enter an integer.";

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

bool ParseIntegerField(std::string_view text, int& value) {
    text = text.substr(0, INTEGER_FIELD_MAX_CHARS);
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsBlank(text[i])) ++i;
    const size_t numberStart = i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i >= n || !IsDigit(text[i]))
        return false;
    // Saturates once past the range; 31 characters cannot overflow the wider type before that.
    int64_t magnitude = 0;
    while (i < n && IsDigit(text[i])) {
        if (magnitude <= int64_t{INT_MAX} + 1)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    while (i < n && IsBlank(text[i])) ++i;
    if (i != n)
        return false;
    if (magnitude == 0 && text[numberStart] != '0')
        return false;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) {
        value = INT_MAX;
    } else if (signedValue < INT_MIN) {
        value = INT_MIN;
    } else {
        value = static_cast<int>(signedValue);
    }
    return true;
}
