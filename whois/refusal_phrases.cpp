#include "whois/refusal_phrases.h"

#include "whois/text_search.h"

namespace {

// Registries word their refusals freely; these are the wordings seen from rate-limited and
// overloaded servers. A refusal carries none of the field labels, so a phrase that also turns up in
// a registry's legal notice does no harm: that answer has labels and is read as data.
constexpr std::string_view kPhrases[] = {
    "whois limit exceeded", "connection limit exceeded",
    "query limit exceeded", "rate limit exceeded",
    "quota exceeded",       "allowed queries exceeded",
    "too many queries",     "too many requests",
    "too many connections", "try again later",
    "please slow down",     "maximum query rate",
    "access control limit", "temporarily unavailable",
};

}  // namespace

std::span<const std::string_view> RefusalPhrases() {
    return kPhrases;
}

bool ContainsRefusalPhrase(std::string_view loweredAnswer) {
    for (std::string_view phrase : kPhrases) {
        if (ContainsText(loweredAnswer, phrase))
            return true;
    }
    return false;
}
