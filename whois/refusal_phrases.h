// Texts by which WHOIS servers refuse a query (rate limits, overload) instead of answering it.
#pragma once

#include <span>
#include <string_view>

// The phrases in lower case; an answer is compared with them after lowering.
std::span<const std::string_view> RefusalPhrases();
// True when the lowered answer contains one of the phrases.
bool ContainsRefusalPhrase(std::string_view loweredAnswer);
