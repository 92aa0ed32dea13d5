#include "whois/analysis.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "domains/domain_array.h"
#include "framework/text.h"
#include "whois/date_recognizer.h"
#include "whois/extension_table.h"
#include "whois/refusal_phrases.h"
#include "whois/text_search.h"

namespace {

// Label lists in the order the fields are read; alternatives are tried left to right and the first
// one present wins, so the modern labels at the ends only fill fields older answers left empty.
constexpr std::string_view kStatusLabels = "Status:";
constexpr std::string_view kRegistrarLabels = "Sponsoring Registrar:|Registrar:";
constexpr std::string_view kWhoisServerLabels = "Whois Server:|Registrar WHOIS Server:";
constexpr std::string_view kExpiresLabels =
    "Domain Expiration Date:|Expiration Date:|Registry Expiry Date:|"
    "Registrar Registration Expiration Date:";
constexpr std::string_view kCreatedLabels =
    "Domain Registration Date:|Creation Date:|Registered on:|Created On:";
constexpr std::string_view kUpdatedLabels =
    "Domain Last Updated Date:|Updated Date:|Last updated:|Last Updated On:";

constexpr std::string_view kAllLists[] = {kStatusLabels,  kRegistrarLabels, kWhoisServerLabels,
                                          kExpiresLabels, kCreatedLabels,   kUpdatedLabels};

// Every alternative of every list, each once.
const std::vector<std::string_view>& AllLabels() {
    static const std::vector<std::string_view> labels = [] {
        std::vector<std::string_view> out;
        for (std::string_view list : kAllLists) {
            while (!list.empty()) {
                const size_t bar = list.find('|');
                const std::string_view label = list.substr(0, bar);
                if (!label.empty() && std::find(out.begin(), out.end(), label) == out.end())
                    out.push_back(label);
                list = bar == std::string_view::npos ? std::string_view() : list.substr(bar + 1);
            }
        }
        return out;
    }();
    return labels;
}

// The value that follows a label ending at `valueStart`: up to the first line feed, or without
// one the first carriage return; a label with neither after it has no value.
bool ValueAt(std::string_view answer, size_t valueStart, std::string& value) {
    size_t end = answer.find('\n', valueStart);
    if (end == std::string_view::npos)
        end = answer.find('\r', valueStart);
    if (end == std::string_view::npos)
        return false;
    value.assign(TrimWhite(answer.substr(valueStart, end - valueStart)));
    return true;
}

// First occurrence of every label in one pass over the answer. All labels end in ":", so only the
// colons are visited, and each is compared only with the labels whose byte before the colon
// matches; this costs about one search for ":" instead of one search of the answer per label.
class CLabelIndex {
public:
    CLabelIndex(std::string_view answer, std::span<const std::string_view> labels)
        : m_answer(answer), m_labels(labels), m_positions(labels.size(), std::string_view::npos) {
        // The labels that could end at a colon, by the byte before it.
        uint64_t byPrevious[256] = {};
        uint64_t bareColon = 0;  // a label that is ":" alone ends at every colon
        uint64_t pending = 0;
        for (size_t i = 0; i < m_labels.size(); ++i) {
            const std::string_view label = m_labels[i];
            if (label.empty())
                continue;
            if (label.back() != ':' || i >= 64) {
                m_positions[i] = FindText(answer, label);
                continue;
            }
            const uint64_t bit = uint64_t{1} << i;
            pending |= bit;
            if (label.size() == 1)
                bareColon |= bit;
            else
                byPrevious[static_cast<unsigned char>(label[label.size() - 2])] |= bit;
        }
        for (size_t colon = answer.find(':'); colon != std::string_view::npos && pending;
             colon = answer.find(':', colon + 1)) {
            uint64_t candidates = bareColon & pending;
            if (colon > 0)
                candidates |= byPrevious[static_cast<unsigned char>(answer[colon - 1])] & pending;
            while (candidates) {
                const size_t i = static_cast<size_t>(std::countr_zero(candidates));
                candidates &= candidates - 1;
                const std::string_view label = m_labels[i];
                if (colon + 1 < label.size())
                    continue;
                const size_t start = colon + 1 - label.size();
                if (answer.compare(start, label.size(), label) == 0) {
                    m_positions[i] = start;
                    pending &= ~(uint64_t{1} << i);
                }
            }
        }
    }

    bool AnyLabelOccurs() const {
        return std::any_of(m_positions.begin(), m_positions.end(),
                           [](size_t p) { return p != std::string_view::npos; });
    }

    // The same result as ExtractField on the answer, from the positions found once.
    std::string Extract(std::string_view list) const {
        std::string value;
        while (true) {
            const size_t bar = list.find('|');
            const std::string_view label = list.substr(0, bar);
            const size_t pos = Position(label);
            if (pos != std::string_view::npos && ValueAt(m_answer, pos + label.size(), value))
                return value;
            if (bar == std::string_view::npos)
                return std::string();
            list.remove_prefix(bar + 1);
        }
    }

private:
    size_t Position(std::string_view label) const {
        for (size_t i = 0; i < m_labels.size(); ++i) {
            if (m_labels[i] == label)
                return m_positions[i];
        }
        // Not one of the indexed labels: search for it directly.
        return label.empty() ? std::string_view::npos : m_answer.find(label);
    }

    std::string_view m_answer;
    std::span<const std::string_view> m_labels;
    std::vector<size_t> m_positions;
};

}  // namespace

bool FindLabelValue(std::string_view answer, std::string_view label, std::string& value) {
    // An empty label would "occur" at the very start and pass off the first line as a value.
    if (label.empty())
        return false;
    const size_t pos = answer.find(label);
    if (pos == std::string_view::npos)
        return false;
    return ValueAt(answer, pos + label.size(), value);
}

std::string ExtractField(std::string_view answer, std::string_view labels) {
    std::string value;
    while (true) {
        const size_t bar = labels.find('|');
        if (bar == std::string_view::npos) {
            if (!FindLabelValue(answer, labels, value))
                value.clear();
            return value;
        }
        if (FindLabelValue(answer, labels.substr(0, bar), value))
            return value;
        labels.remove_prefix(bar + 1);
    }
}

bool IsRefusalAnswer(std::string_view answer) {
    if (CLabelIndex(answer, AllLabels()).AnyLabelOccurs())
        return false;
    return ContainsRefusalPhrase(ToLower(answer));
}

AnalysisResult AnalyseAnswer(CDomainArray& domains, const ISettingsStore& store,
                             const std::string& name, const std::string& answer,
                             const std::string& askedServer, const CDateTime& now,
                             const std::function<void(int row)>& repaintRow) {
    // The name may have been removed while its query ran; then there is nothing to write or paint.
    const int row = domains.IndexOf(name);
    CDomainData* record = domains.GetRecord(row);
    if (!record)
        return AnalysisResult::Analysed;
    auto repaint = [&] {
        if (repaintRow)
            repaintRow(row);
    };

    const std::string token = GetAvailableToken(store, name);
    if (token.empty()) {
        // Without a token nothing can be decided; keep the answer for the user to read.
        record->m_strWhoisText = answer;
        record->m_nState = STATE_ERROR;
        record->m_dtChecked = now;
        repaint();
        return AnalysisResult::Analysed;
    }

    const std::string lowered = ToLower(answer);
    const bool free = ContainsText(lowered, ToLower(token));
    const CLabelIndex labels(answer, AllLabels());
    // A rate-limit notice is no verdict: writing it would mark the name taken and wipe its fields.
    if (!free && !labels.AnyLabelOccurs() && ContainsRefusalPhrase(lowered))
        return AnalysisResult::Refused;

    record->m_strWhoisText = answer;
    record->m_nState = free ? STATE_FREE : STATE_TAKEN;
    record->m_dtChecked = now;
    record->m_strStatus = labels.Extract(kStatusLabels);
    record->m_strRegistrar = labels.Extract(kRegistrarLabels);
    std::string server = labels.Extract(kWhoisServerLabels);
    record->m_strWhoisServer = server.empty() ? askedServer : std::move(server);

    // The marker texts are looked for once per answer, and only when a date layout needs them.
    const std::string expires = labels.Extract(kExpiresLabels);
    const std::string created = labels.Extract(kCreatedLabels);
    const std::string updated = labels.Extract(kUpdatedLabels);
    const CDateMarkers markers(answer);
    CDateTime date;
    if (RecognizeDate(markers, expires, date))
        record->m_dtExpires = date;
    if (RecognizeDate(markers, created, date))
        record->m_dtCreated = date;
    if (RecognizeDate(markers, updated, date))
        record->m_dtUpdated = date;
    repaint();
    return AnalysisResult::Analysed;
}
