// Hand-written archive bytes for the data file tests, built without CArchive so that the tests
// compare the archive against the layout rather than against itself.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "domains/domain_data.h"

class CBytes {
public:
    CBytes& U8(uint8_t v) {
        m_s.push_back(static_cast<char>(v));
        return *this;
    }
    CBytes& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
    CBytes& U32(uint32_t v) {
        return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
    }
    CBytes& F64(double d) {
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        return U32(static_cast<uint32_t>(bits)).U32(static_cast<uint32_t>(bits >> 32));
    }
    CBytes& Raw(std::string_view s) {
        m_s.append(s);
        return *this;
    }
    CBytes& Date(uint32_t status, double days) { return U32(status).F64(days); }
    CBytes& NullDate() { return Date(2, 0.0); }
    // The counted string form with the shortest length prefix.
    CBytes& Str(std::string_view s) {
        if (s.size() < 0xFF) {
            U8(static_cast<uint8_t>(s.size()));
        } else if (s.size() < 0xFFFE) {
            U8(0xFF).U16(static_cast<uint16_t>(s.size()));
        } else {
            U8(0xFF).U16(0xFFFF).U32(static_cast<uint32_t>(s.size()));
        }
        return Raw(s);
    }
    CBytes& NewClassHeader(uint16_t schema = 1, std::string_view name = "CDomainData") {
        return U16(0xFFFF).U16(schema).U16(static_cast<uint16_t>(name.size())).Raw(name);
    }
    // The body of a record in file order.
    CBytes& Body(const CDomainData& r) {
        U32(static_cast<uint32_t>(r.m_nState)).Str(r.m_strName);
        Date(r.m_dtChecked.m_status, r.m_dtChecked.m_dt).Str(r.m_strStatus);
        Date(r.m_dtCreated.m_status, r.m_dtCreated.m_dt);
        Date(r.m_dtExpires.m_status, r.m_dtExpires.m_dt);
        Date(r.m_dtUpdated.m_status, r.m_dtUpdated.m_dt);
        Str(r.m_strRegistrar).Str(r.m_strWhoisServer);
        Str(r.m_strReserved1).Str(r.m_strReserved2).Str(r.m_strReserved3).Str(r.m_strReserved4);
        return Str(r.m_strWhoisText);
    }
    size_t Size() const { return m_s.size(); }
    const std::string& Get() const { return m_s; }
    operator const std::string&() const { return m_s; }

private:
    std::string m_s;
};

// A record with every field set to something distinct.
inline CDomainData FilledRecord(const std::string& name, int state = 1) {
    CDomainData r(name);
    r.m_nState = state;
    r.m_dtChecked = CDateTime(37000.5, CDateTime::valid);
    r.m_strStatus = "clientTransferProhibited";
    r.m_dtCreated = CDateTime(36000.0, CDateTime::valid);
    r.m_dtExpires = CDateTime(40000.25, CDateTime::valid);
    r.m_dtUpdated = CDateTime(-3.75, CDateTime::invalid);
    r.m_strRegistrar = "Example Registrar, Inc.";
    r.m_strWhoisServer = "whois.example.net";
    r.m_strReserved1 = "r1";
    r.m_strReserved2 = "r2";
    r.m_strReserved3 = "r3";
    r.m_strReserved4 = "r4";
    r.m_strWhoisText = "Domain Name: " + name + "\r\nRegistrar: Example\r\n";
    return r;
}

inline bool SameRecord(const CDomainData& a, const CDomainData& b) {
    auto sameDate = [](const CDateTime& x, const CDateTime& y) {
        return x.m_status == y.m_status && std::memcmp(&x.m_dt, &y.m_dt, sizeof x.m_dt) == 0;
    };
    return a.m_strName == b.m_strName && a.m_nState == b.m_nState &&
           sameDate(a.m_dtChecked, b.m_dtChecked) && a.m_strStatus == b.m_strStatus &&
           sameDate(a.m_dtCreated, b.m_dtCreated) && sameDate(a.m_dtExpires, b.m_dtExpires) &&
           sameDate(a.m_dtUpdated, b.m_dtUpdated) && a.m_strRegistrar == b.m_strRegistrar &&
           a.m_strWhoisServer == b.m_strWhoisServer && a.m_strReserved1 == b.m_strReserved1 &&
           a.m_strReserved2 == b.m_strReserved2 && a.m_strReserved3 == b.m_strReserved3 &&
           a.m_strReserved4 == b.m_strReserved4 && a.m_strWhoisText == b.m_strWhoisText;
}
