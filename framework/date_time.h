// The date-time value that records and the data file carry: a day count since 30 December 1899
// midnight (the fraction is the time of day) together with a status.
#pragma once

#include <cstdint>

class CDateTime {
public:
    enum Status : uint32_t { valid = 0, invalid = 1, null = 2 };

    // A new value is null: no date at all.
    CDateTime() = default;
    CDateTime(double dt, Status status) : m_dt(dt), m_status(status) {}

    // A valid value at 00:00:00 when year is 0..9999, month 1..12 and day within the month
    // (Gregorian leap years); otherwise an invalid value.
    static CDateTime FromDate(int year, int month, int day);
    // As FromDate with a time of day; hour 0..23, minute and second 0..59.
    static CDateTime FromDateTime(int year, int month, int day, int hour, int minute, int second);
    static CDateTime Null() { return CDateTime(); }

    bool IsValid() const { return m_status == valid; }
    Status GetStatus() const { return m_status; }
    double GetDays() const { return m_dt; }

    // Calendar parts of a valid value; false (outputs untouched) for an invalid or null one or a
    // day count outside the years 0..9999.
    bool GetDate(int& year, int& month, int& day) const;
    bool GetDateTime(int& year, int& month, int& day, int& hour, int& minute, int& second) const;

    bool operator==(const CDateTime& o) const { return m_dt == o.m_dt && m_status == o.m_status; }
    bool operator!=(const CDateTime& o) const { return !(*this == o); }

    double m_dt = 0.0;
    Status m_status = null;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// Source of the current local time, to the whole second. The scheduler and the analysis take one
// so that tests can move time by hand.
class IClock {
public:
    virtual ~IClock() = default;
    virtual CDateTime Now() const = 0;
};

// The system's local clock.
const IClock& SystemClock();
