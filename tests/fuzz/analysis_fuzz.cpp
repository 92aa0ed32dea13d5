// Feeds arbitrary answers to the analysis and checks the record against the field-by-field
// extraction: the one-pass reading must agree with it, refusals must write nothing, a name without
// a token must keep every field but the answer and the state, and the marker texts must be found
// exactly where the plain search finds them.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "domains/domain_array.h"
#include "framework/settings_store.h"
#include "framework/text.h"
#include "whois/analysis.h"
#include "whois/date_recognizer.h"
#include "whois/extension_table.h"

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

const char* const kNames[] = {"example.com",  "example.org", "example.biz",
                              "example.info", "nodot",       "EXAMPLE.NET"};
const char kAsked[] = "whois.asked.example";
const char kOld[] = "old";

// Expected date field: the recognised date of the list's value, else the earlier one.
void CheckDate(const std::string& answer, const char* labels, const CDateTime& got,
               const CDateTime& before) {
    CDateTime expected;
    if (!RecognizeDate(answer, ExtractField(answer, labels), expected))
        expected = before;
    Check(got == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string name = kNames[data[0] % (sizeof(kNames) / sizeof(kNames[0]))];
    const std::string answer(reinterpret_cast<const char*>(data) + 1, size - 1);
    const CDateTime before = CDateTime::FromDate(1999, 9, 9);
    const CDateTime now = CDateTime::FromDateTime(2025, 1, 20, 10, 11, 12);

    CDomainArray domains;
    auto record = std::make_unique<CDomainData>(name);
    record->m_strStatus = record->m_strRegistrar = record->m_strWhoisServer = kOld;
    record->m_strWhoisText = kOld;
    record->m_dtCreated = record->m_dtExpires = record->m_dtUpdated = before;
    domains.Append(std::move(record));
    const CDomainData& r = *domains.GetRecord(0);
    CMemorySettingsStore store;

    // The marker texts, found by the plain search.
    const CDateMarkers markers(answer);
    auto has = [&](const char* text) { return answer.find(text) != std::string::npos; };
    Check(markers.FixedPositions() ==
          (has("Registrar: Domain people Inc") || has("NeuLevel, Inc.") || has("NeuStar, Inc.")));
    Check(markers.DayBeforeMonthDashed() == has("Internet Domain Registrars"));
    Check(markers.DayBeforeMonthSlashed() == has("TotalRegistrations"));

    int repaints = 0;
    const AnalysisResult result =
        AnalyseAnswer(domains, store, name, answer, kAsked, now, [&](int row) {
            Check(row == 0);
            ++repaints;
        });
    const std::string token = GetAvailableToken(store, name);
    const bool untouchedFields = r.m_strStatus == kOld && r.m_strRegistrar == kOld &&
                                 r.m_strWhoisServer == kOld && r.m_dtCreated == before &&
                                 r.m_dtExpires == before && r.m_dtUpdated == before;

    if (result == AnalysisResult::Refused) {
        Check(!token.empty() && IsRefusalAnswer(answer));
        Check(untouchedFields && r.m_strWhoisText == kOld && r.m_nState == STATE_UNCHECKED);
        Check(repaints == 0);
        return 0;
    }
    Check(repaints == 1);
    Check(r.m_strWhoisText == answer && r.m_dtChecked == now);
    if (token.empty()) {
        Check(r.m_nState == STATE_ERROR && untouchedFields);
        return 0;
    }
    const bool free = ToLower(answer).find(ToLower(token)) != std::string::npos;
    Check(r.m_nState == (free ? STATE_FREE : STATE_TAKEN));
    Check(free || !IsRefusalAnswer(answer));
    Check(r.m_strStatus == ExtractField(answer, "Status:"));
    Check(r.m_strRegistrar == ExtractField(answer, "Sponsoring Registrar:|Registrar:"));
    const std::string server = ExtractField(answer, "Whois Server:|Registrar WHOIS Server:");
    Check(r.m_strWhoisServer == (server.empty() ? std::string(kAsked) : server));
    CheckDate(answer,
              "Domain Expiration Date:|Expiration Date:|Registry Expiry Date:|"
              "Registrar Registration Expiration Date:",
              r.m_dtExpires, before);
    CheckDate(answer,
              "Domain Registration Date:|Creation Date:|Registered on:|Created On:", r.m_dtCreated,
              before);
    CheckDate(answer, "Domain Last Updated Date:|Updated Date:|Last updated:|Last Updated On:",
              r.m_dtUpdated, before);
    return 0;
}
