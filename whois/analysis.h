// Reads one WHOIS answer into the name's record: free or taken, status, registrar, WHOIS server
// and three dates.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "framework/date_time.h"

class CDomainArray;
class ISettingsStore;

enum class AnalysisResult {
    Analysed,  // the record was written (including STATE_ERROR for an extension without token)
    Refused,   // the server refused to answer (rate limit); nothing was written, retry the name
};

// `repaintRow` is called with the record's row index (or not at all when no record has the name).
AnalysisResult AnalyseAnswer(CDomainArray& domains, const ISettingsStore& store,
                             const std::string& name, const std::string& answer,
                             const std::string& askedServer, const CDateTime& now,
                             const std::function<void(int row)>& repaintRow);

// Value after the first alternative of a "|"-separated label list that FindLabelValue accepts.
std::string ExtractField(std::string_view answer, std::string_view labels);
// First occurrence of `label` (case-sensitive) followed by a line end; the trimmed value before it.
// False, with `value` untouched, when the label is empty or absent or no line end follows it.
bool FindLabelValue(std::string_view answer, std::string_view label, std::string& value);
// True when the answer is a registry's refusal (rate limit) rather than registry data: it holds
// one of the refusal phrases (any case) and none of the field labels. AnalyseAnswer asks this only
// for answers without the availability token of an extension that has one.
bool IsRefusalAnswer(std::string_view answer);
