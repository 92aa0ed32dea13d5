// One domain name and the results of its last WHOIS lookup.
#pragma once

#include <string>

#include "framework/date_time.h"

class CArchive;

enum DomainState : int {
    STATE_FREE = 0,
    STATE_TAKEN = 1,
    STATE_RESERVED = 2,  // only ever read from a stored file
    STATE_RESOLVES = 3,  // only ever read from a stored file
    STATE_QUEUED = 4,    // only ever read from a stored file
    STATE_UNCHECKED = 5,
    STATE_ERROR = 6,
};

// The list never holds more records than this.
constexpr int MAX_DOMAINS = 2500;

class CDomainData {
public:
    CDomainData() = default;
    explicit CDomainData(std::string name) : m_strName(std::move(name)) {}

    // Back to the state of a new record; the name stays.
    void Reset();

    // Writes or reads the body fields in file order (the state code comes first).
    void Serialize(CArchive& ar);

    std::string m_strName;
    int m_nState = STATE_UNCHECKED;
    CDateTime m_dtChecked;
    std::string m_strStatus;
    CDateTime m_dtCreated;
    CDateTime m_dtExpires;
    CDateTime m_dtUpdated;
    std::string m_strRegistrar;
    std::string m_strWhoisServer;
    std::string m_strReserved1;
    std::string m_strReserved2;
    std::string m_strReserved3;
    std::string m_strReserved4;
    std::string m_strWhoisText;
};
