#include "framework/date_time.h"

#include <cmath>
#include <ctime>

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

constexpr long long kEpochOffset = 25569;  // 1970-01-01 is day 25569 after 1899-12-30

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

CDateTime CDateTime::FromDate(int year, int month, int day) {
    return FromDateTime(year, month, day, 0, 0, 0);
}

CDateTime CDateTime::FromDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        return CDateTime(0.0, invalid);
    }
    const double days = static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        kEpochOffset);
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before the epoch the day count is negative while the time of day stays a positive fraction.
    return CDateTime(days >= 0 ? days + fraction : days - fraction, valid);
}

bool CDateTime::GetDate(int& year, int& month, int& day) const {
    int h, mi, s;
    return GetDateTime(year, month, day, h, mi, s);
}

bool CDateTime::GetDateTime(int& year, int& month, int& day, int& hour, int& minute,
                            int& second) const {
    if (m_status != valid || !std::isfinite(m_dt))
        return false;
    // Day counts for 0000-01-01 .. 9999-12-31.
    if (m_dt < -693959.0 || m_dt >= 2958466.0)
        return false;
    const double whole = std::trunc(m_dt);
    double fraction = std::fabs(m_dt - whole);
    long long seconds = std::llround(fraction * 86400.0);
    long long dayNumber = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayNumber += m_dt >= 0 ? 1 : -1;
    }
    int y, m, d;
    CivilFromDays(dayNumber - kEpochOffset, y, m, d);
    year = y;
    month = m;
    day = d;
    hour = static_cast<int>(seconds / 3600);
    minute = static_cast<int>(seconds / 60 % 60);
    second = static_cast<int>(seconds % 60);
    return true;
}

namespace {

class CSystemClock : public IClock {
public:
    CDateTime Now() const override {
        const std::time_t t = std::time(nullptr);
        std::tm local{};
#if defined(_WIN32)
        localtime_s(&local, &t);
#else
        localtime_r(&t, &local);
#endif
        return CDateTime::FromDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                       local.tm_hour, local.tm_min,
                                       local.tm_sec > 59 ? 59 : local.tm_sec);
    }
};

}  // namespace

const IClock& SystemClock() {
    static const CSystemClock clock;
    return clock;
}
