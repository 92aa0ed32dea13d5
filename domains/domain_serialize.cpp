// Archive forms of the domain record, the domain list and the string array.
#include "domains/domain_array.h"
#include "domains/domain_data.h"
#include "domains/ser_string_array.h"
#include "framework/archive.h"

namespace {

// Schema 1, versionable: a reader accepts any stored schema number.
constexpr CRuntimeClass kDomainDataClass{"CDomainData", 1};

}  // namespace

void CDomainData::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteI32(m_nState) && ar.WriteString(m_strName) && ar.WriteDateTime(m_dtChecked) &&
            ar.WriteString(m_strStatus) && ar.WriteDateTime(m_dtCreated) &&
            ar.WriteDateTime(m_dtExpires) && ar.WriteDateTime(m_dtUpdated) &&
            ar.WriteString(m_strRegistrar) && ar.WriteString(m_strWhoisServer) &&
            ar.WriteString(m_strReserved1) && ar.WriteString(m_strReserved2) &&
            ar.WriteString(m_strReserved3) && ar.WriteString(m_strReserved4) &&
            ar.WriteString(m_strWhoisText);
        return;
    }
    // Each read leaves its field alone when the data ends inside it, and every later read fails,
    // so a cut record keeps the fields read completely and defaults for the rest.
    int32_t state = m_nState;
    ar.ReadI32(state);
    m_nState = state;
    ar.ReadString(m_strName) && ar.ReadDateTime(m_dtChecked) && ar.ReadString(m_strStatus) &&
        ar.ReadDateTime(m_dtCreated) && ar.ReadDateTime(m_dtExpires) &&
        ar.ReadDateTime(m_dtUpdated) && ar.ReadString(m_strRegistrar) &&
        ar.ReadString(m_strWhoisServer) && ar.ReadString(m_strReserved1) &&
        ar.ReadString(m_strReserved2) && ar.ReadString(m_strReserved3) &&
        ar.ReadString(m_strReserved4) && ar.ReadString(m_strWhoisText);
}

void CDomainArray::Store(CArchive& ar) const {
    if (!ar.IsStoring())
        return;
    if (!ar.WriteU32(static_cast<uint32_t>(m_records.size())))
        return;
    for (const auto& record : m_records) {
        if (!ar.WriteObjectHeader(kDomainDataClass))
            return;
        record->Serialize(ar);
    }
}

void CDomainArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        Store(ar);
        return;
    }
    RemoveAllRecords();
    uint32_t count = 0;
    if (!ar.ReadU32(count))
        return;
    // The count is not trusted for anything but the number of tries: each record must be there.
    for (uint32_t i = 0; i < count; ++i) {
        switch (ar.ReadObjectHeader(kDomainDataClass)) {
            case ObjectHeader::object:
                break;
            case ObjectHeader::nullObject:
                RemoveAllRecords();
                return;
            case ObjectHeader::backReference:  // would make two entries share one record
            case ObjectHeader::wrongClass:
            case ObjectHeader::endOfData:
                return;
        }
        auto record = std::make_unique<CDomainData>();
        record->Serialize(ar);
        Append(std::move(record));  // beyond MAX_DOMAINS the record is destroyed
    }
}

void CSerStringArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteU32(static_cast<uint32_t>(m_strings.size())) && ar.WriteI32(m_nCurrent);
        for (const std::string& s : m_strings) {
            if (!ar.WriteString(s))
                return;
        }
        return;
    }
    RemoveAll();
    uint32_t count = 0;
    int32_t current = -1;
    bool ok = ar.ReadU32(count) && ar.ReadI32(current);
    for (uint32_t i = 0; ok && i < count; ++i) {
        std::string s;
        ok = ar.ReadString(s);
        if (ok)
            Add(s);
    }
    if (!ok && !m_bQuiet)
        ReportArchiveError("Unexpected end of data while reading a list.");
    // Checked against what was kept: with duplicates dropped the stored count may be larger.
    m_nCurrent = (current >= 0 && current < GetSize()) ? current : -1;
}
