#include "whois/analysis.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "framework/settings_store.h"
#include "framework/text.h"
#include "whois/refusal_phrases.h"

namespace {

// Values the record holds before the analysis, so that a field left alone can be told from one
// that was written.
const char kOldStatus[] = "OLD STATUS";
const char kOldRegistrar[] = "Old Registrar";
const char kOldServer[] = "old.whois.example";
const char kOldText[] = "old answer";
const char kOldDate[] = "1999-09-09";

std::string DateText(const CDateTime& dt) {
    if (dt.GetStatus() == CDateTime::null)
        return "null";
    int y = 0, m = 0, d = 0;
    if (!dt.GetDate(y, m, d))
        return "invalid";
    return FormatText("%04d-%02d-%02d", y, m, d);
}

std::unique_ptr<CDomainData> OldRecord(const std::string& name) {
    auto r = std::make_unique<CDomainData>(name);
    r->m_nState = STATE_UNCHECKED;
    r->m_strStatus = kOldStatus;
    r->m_strRegistrar = kOldRegistrar;
    r->m_strWhoisServer = kOldServer;
    r->m_strWhoisText = kOldText;
    r->m_dtExpires = r->m_dtCreated = r->m_dtUpdated = CDateTime::FromDate(1999, 9, 9);
    return r;
}

class AnalysisTest : public ::testing::Test {
protected:
    AnalysisResult Analyse(const std::string& name, const std::string& answer,
                           const std::string& asked = "whois.asked.example") {
        return AnalyseAnswer(m_domains, m_store, name, answer, asked, m_now,
                             [this](int row) { m_repainted.push_back(row); });
    }
    CDomainData* Add(const std::string& name) {
        m_domains.Append(OldRecord(name));
        return m_domains.GetRecord(m_domains.GetCount() - 1);
    }
    void ExpectUntouched(const CDomainData& r) {
        EXPECT_EQ(r.m_nState, STATE_UNCHECKED);
        EXPECT_EQ(r.m_dtChecked.GetStatus(), CDateTime::null);
        EXPECT_EQ(r.m_strStatus, kOldStatus);
        EXPECT_EQ(r.m_strRegistrar, kOldRegistrar);
        EXPECT_EQ(r.m_strWhoisServer, kOldServer);
        EXPECT_EQ(r.m_strWhoisText, kOldText);
        EXPECT_EQ(DateText(r.m_dtExpires), kOldDate);
        EXPECT_EQ(DateText(r.m_dtCreated), kOldDate);
        EXPECT_EQ(DateText(r.m_dtUpdated), kOldDate);
    }

    CDomainArray m_domains;
    CMemorySettingsStore m_store;
    const CDateTime m_now = CDateTime::FromDateTime(2025, 1, 20, 10, 11, 12);
    std::vector<int> m_repainted;
};

// Line breaks of a whole answer written with "\n": CR LF, LF or CR alone.
std::string WithLineEnds(std::string text, const char* eol) {
    ReplaceAll(text, "\n", eol);
    return text;
}

// A thin registry answer of today: RFC 3339 time stamps, the registrar's WHOIS server under its
// modern label, and a long legal notice.
const std::string kThinModern = WithLineEnds(
    "   Domain Name: EXAMPLE.COM\n"
    "   Registry Domain ID: 2336799_DOMAIN_COM-VRSN\n"
    "   Registrar WHOIS Server: whois.example-registrar.com\n"
    "   Registrar URL: http://www.example-registrar.com\n"
    "   Updated Date: 2024-08-14T07:01:34Z\n"
    "   Creation Date: 1995-08-14T04:00:00Z\n"
    "   Registry Expiry Date: 2027-08-13T04:00:00Z\n"
    "   Registrar: Example Registrar, Inc.\n"
    "   Registrar IANA ID: 376\n"
    "   Registrar Abuse Contact Email: abuse@example-registrar.com\n"
    "   Registrar Abuse Contact Phone: +1.2125551212\n"
    "   Domain Status: clientDeleteProhibited https://icann.org/epp#clientDeleteProhibited\n"
    "   Domain Status: clientTransferProhibited https://icann.org/epp#clientTransferProhibited\n"
    "   Name Server: A.IANA-SERVERS.NET\n"
    "   Name Server: B.IANA-SERVERS.NET\n"
    "   DNSSEC: signedDelegation\n"
    "   URL of the ICANN Whois Inaccuracy Complaint Form: https://www.icann.org/wicf/\n"
    ">>> Last update of whois database: 2025-01-20T10:11:12Z <<<\n"
    "\n"
    "NOTICE: The expiration date displayed in this record is the date the\n"
    "registrar's sponsorship of the domain name registration in the registry is\n"
    "currently set to expire. This date does not necessarily reflect the expiration\n"
    "date of the domain name registrant's agreement with the sponsoring\n"
    "registrar.\n"
    "\n"
    "TERMS OF USE: You are not authorized to access or query our Whois\n"
    "database through the use of electronic processes that are high-volume and\n"
    "automated except as reasonably necessary to register domain names or\n"
    "modify existing registrations.\n",
    "\r\n");

// The same registry twenty years earlier: older labels, dd-mon-yyyy dates, LF only.
const std::string kThinOld =
    "   Domain Name: EXAMPLE.NET\n"
    "   Registrar: NETWORK SOLUTIONS, INC.\n"
    "   Whois Server: whois.networksolutions.com\n"
    "   Referral URL: http://www.networksolutions.com\n"
    "   Name Server: NS1.EXAMPLE.NET\n"
    "   Status: REGISTRAR-LOCK\n"
    "   Updated Date: 05-nov-2002\n"
    "   Creation Date: 15-aug-1995\n"
    "   Expiration Date: 14-aug-2010\n"
    "\n"
    ">>> Last update of whois database: Tue, 7 Jan 2003 05:04:34 EST <<<\n";

// A registry whose time stamps need the fixed-position reading, padded labels.
const std::string kNeuLevelBiz =
    "Domain Name:                                 EXAMPLE.BIZ\n"
    "Domain ID:                                   D1234567-BIZ\n"
    "Sponsoring Registrar:                        EXAMPLE REGISTRAR LLC\n"
    "Domain Status:                               clientTransferProhibited\n"
    "Domain Registration Date:                    Wed Nov 07 00:01:00 GMT 2001\n"
    "Domain Expiration Date:                      Fri Nov 06 23:59:00 GMT 2009\n"
    "Domain Last Updated Date:                    Tue Mar 26 23:59:00 GMT 2002\n"
    "\n"
    ">>>> Whois database was last updated on: Tue Jan 07 10:14:22 GMT 2003 <<<<\n"
    "NeuLevel, Inc., the Registry Operator for .BIZ, has collected this information\n"
    "for the WHOIS database through Accredited Registrars.\n";

// Labels glued to their values, carriage returns alone, final line ended by a carriage return.
const std::string kAfiliasInfoCr = WithLineEnds(
    "Domain ID:D1234567-LRMS\n"
    "Domain Name:EXAMPLE.INFO\n"
    "Created On:31-Jul-2001 12:00:00 UTC\n"
    "Last Updated On:02-Aug-2002 07:11:14 UTC\n"
    "Expiration Date:31-Jul-2004 12:00:00 UTC\n"
    "Sponsoring Registrar:R123-LRMS\n"
    "Status:DELETE PROHIBITED\n",
    "\r");

// A registrar's own layout with day-first dates; its last line has no line break.
const std::string kIdrRegistrar =
    "Registration Service Provided By: Internet Domain Registrars\n"
    "\n"
    "Domain Name: example.com\n"
    "Registrar: Internet Domain Registrars\n"
    "Registered on: 01-07-2003\n"
    "Expiration Date: 01-07-2005\n"
    "Last updated: 15-01-2004\n"
    "Status: ACTIVE";

const std::string kVerisignNotFound = WithLineEnds(
    "No match for \"FREE-EXAMPLE.COM\".\n"
    ">>> Last update of whois database: 2025-01-20T10:11:12Z <<<\n"
    "\n"
    "NOTICE: The expiration date displayed in this record is the date the\n"
    "registrar's sponsorship of the domain name registration in the registry is\n"
    "currently set to expire.\n",
    "\r\n");

struct AnswerCase {
    const char* what;
    const char* name;
    std::string answer;
    int state;
    const char* status;
    const char* registrar;
    const char* server;  // expected WHOIS server; the asked one is "whois.asked.example"
    const char* expires;
    const char* created;
    const char* updated;
};

const AnswerCase kAnswerCases[] = {
    {"modern thin registry answer, CR LF", "example.com", kThinModern, STATE_TAKEN,
     "clientDeleteProhibited https://icann.org/epp#clientDeleteProhibited",
     "Example Registrar, Inc.", "whois.example-registrar.com", "2027-08-13", "1995-08-14",
     "2024-08-14"},
    {"old thin registry answer, LF", "example.net", kThinOld, STATE_TAKEN, "REGISTRAR-LOCK",
     "NETWORK SOLUTIONS, INC.", "whois.networksolutions.com", "2010-08-14", "1995-08-15",
     "2002-11-05"},
    {"fixed-position time stamps", "example.biz", kNeuLevelBiz, STATE_TAKEN,
     "clientTransferProhibited", "EXAMPLE REGISTRAR LLC", "whois.asked.example", "2009-11-06",
     "2001-11-07", "2002-03-26"},
    {"carriage returns only", "example.info", kAfiliasInfoCr, STATE_TAKEN, "DELETE PROHIBITED",
     "R123-LRMS", "whois.asked.example", "2004-07-31", "2001-07-31", "2002-08-02"},
    {"day-first registrar, last line unterminated", "example.com", kIdrRegistrar, STATE_TAKEN, "",
     "Internet Domain Registrars", "whois.asked.example", "2005-07-01", "2003-07-01", "2004-01-15"},
    {"not found, fields cleared, dates kept", "free-example.com", kVerisignNotFound, STATE_FREE, "",
     "", "whois.asked.example", kOldDate, kOldDate, kOldDate},
    {"not found in capitals against a mixed-case token", "free-example.com",
     "NO MATCH FOR \"FREE-EXAMPLE.COM\".\r\n", STATE_FREE, "", "", "whois.asked.example", kOldDate,
     kOldDate, kOldDate},
    {"org not found", "free-example.org", "NOT FOUND\n", STATE_FREE, "", "", "whois.asked.example",
     kOldDate, kOldDate, kOldDate},
    {"free name with a status line", "free-example.com",
     "No match for \"FREE-EXAMPLE.COM\".\nStatus: AVAILABLE\n", STATE_FREE, "AVAILABLE", "",
     "whois.asked.example", kOldDate, kOldDate, kOldDate},
    {"older labels win over the modern ones", "example.com",
     "Registrar WHOIS Server: new.example\nWhois Server: old.example\n"
     "Registry Expiry Date: 2027-01-01T00:00:00Z\nExpiration Date: 2010-01-01\n",
     STATE_TAKEN, "", "", "old.example", "2010-01-01", kOldDate, kOldDate},
    {"registrar's own expiry label", "example.com",
     "Registrar Registration Expiration Date: 2026-03-04T05:06:07Z\n", STATE_TAKEN, "", "",
     "whois.asked.example", "2026-03-04", kOldDate, kOldDate},
    {"unreadable dates keep the earlier ones", "example.com",
     "Expiration Date: never\nCreation Date: 31-Apr-2003\nUpdated Date:\n", STATE_TAKEN, "", "",
     "whois.asked.example", kOldDate, kOldDate, kOldDate},
    {"day-first slashes", "example.com",
     "Registrar: TotalRegistrations\nCreated On: 01/07/2003\nUpdated Date: 01/07/2004\n",
     STATE_TAKEN, "", "TotalRegistrations", "whois.asked.example", kOldDate, "2003-07-01",
     "2004-07-01"},
    {"empty sponsoring registrar is not replaced by the plain label", "example.com",
     "Sponsoring Registrar:\nRegistrar: Other Registrar\n", STATE_TAKEN, "", "",
     "whois.asked.example", kOldDate, kOldDate, kOldDate},
    {"registrar label inside a longer label", "example.com",
     "Reseller Registrar: Resale Co\nRegistrar: Real Registrar\n", STATE_TAKEN, "", "Resale Co",
     "whois.asked.example", kOldDate, kOldDate, kOldDate},
    {"first of two status lines; capitals do not match", "example.com",
     "STATUS: WRONG\nStatus: first\nStatus: second\n", STATE_TAKEN, "first", "",
     "whois.asked.example", kOldDate, kOldDate, kOldDate},
    {"legal notice asks to try again later, labels make it data", "example.com",
     "Registrar: Example Registrar, Inc.\nStatus: ok\n\nIf this service is busy, try again "
     "later. Quota exceeded queries are answered with a notice.\n",
     STATE_TAKEN, "ok", "Example Registrar, Inc.", "whois.asked.example", kOldDate, kOldDate,
     kOldDate},
    {"free answer mentioning a limit stays free", "free-example.com",
     "No match for \"FREE-EXAMPLE.COM\".\nToo many queries will be refused.\n", STATE_FREE, "", "",
     "whois.asked.example", kOldDate, kOldDate, kOldDate},
    {"no token, no label, no refusal: taken", "example.com",
     "Something unexpected happened here.\n", STATE_TAKEN, "", "", "whois.asked.example", kOldDate,
     kOldDate, kOldDate},
};

}  // namespace

TEST_F(AnalysisTest, WholeAnswersWriteEveryFieldTheyCarryAndNoOther) {
    for (const AnswerCase& c : kAnswerCases) {
        SCOPED_TRACE(c.what);
        m_domains.RemoveAllRecords();
        m_repainted.clear();
        Add("other.com");
        const CDomainData* r = Add(c.name);
        EXPECT_EQ(Analyse(c.name, c.answer), AnalysisResult::Analysed);
        EXPECT_EQ(r->m_nState, c.state);
        EXPECT_EQ(r->m_dtChecked, m_now);
        EXPECT_EQ(r->m_strWhoisText, c.answer);
        EXPECT_EQ(r->m_strStatus, c.status);
        EXPECT_EQ(r->m_strRegistrar, c.registrar);
        EXPECT_EQ(r->m_strWhoisServer, c.server);
        EXPECT_EQ(DateText(r->m_dtExpires), c.expires);
        EXPECT_EQ(DateText(r->m_dtCreated), c.created);
        EXPECT_EQ(DateText(r->m_dtUpdated), c.updated);
        EXPECT_EQ(m_repainted, std::vector<int>{1});
        ExpectUntouched(*m_domains.GetRecord(0));

        // The one-pass reading agrees with the field-by-field extraction.
        EXPECT_EQ(ExtractField(c.answer, "Status:"), c.status);
        EXPECT_EQ(ExtractField(c.answer, "Sponsoring Registrar:|Registrar:"), c.registrar);
    }
}

TEST_F(AnalysisTest, ExtensionWithoutTokenIsAnErrorThatKeepsEveryOtherField) {
    for (const char* answer : {"Registrar: Someone\nStatus: ok\nCreation Date: 2001-01-01\n",
                               "WHOIS LIMIT EXCEEDED - SEE THE REGISTRY FOR DETAILS\n"}) {
        SCOPED_TRACE(answer);
        m_domains.RemoveAllRecords();
        m_repainted.clear();
        CDomainData* r = Add("nodot");
        EXPECT_EQ(Analyse("nodot", answer), AnalysisResult::Analysed);
        EXPECT_EQ(r->m_nState, STATE_ERROR);
        EXPECT_EQ(r->m_dtChecked, m_now);
        EXPECT_EQ(r->m_strWhoisText, answer);
        EXPECT_EQ(r->m_strStatus, kOldStatus);
        EXPECT_EQ(r->m_strRegistrar, kOldRegistrar);
        EXPECT_EQ(r->m_strWhoisServer, kOldServer);
        EXPECT_EQ(DateText(r->m_dtCreated), kOldDate);
        EXPECT_EQ(m_repainted, std::vector<int>{0});
    }
}

TEST_F(AnalysisTest, StoredTokenDecidesInsteadOfTheBuiltinOne) {
    m_store.WriteString("com", "Available Token", "Domain is AVAILABLE");
    CDomainData* r = Add("example.com");
    Analyse("example.com", "No match for \"EXAMPLE.COM\".\n");
    EXPECT_EQ(r->m_nState, STATE_TAKEN);
    Analyse("example.com", "domain is available\n");
    EXPECT_EQ(r->m_nState, STATE_FREE);
}

TEST_F(AnalysisTest, RefusalsWriteNothingAndAskForARetry) {
    struct Case {
        const char* name;
        std::string answer;
    } cases[] = {
        {"example.com",
         "Your connection limit exceeded. Please slow down and try again later.\r\n"},
        {"example.org", "WHOIS LIMIT EXCEEDED - SEE WWW.PIR.ORG/WHOIS FOR DETAILS\n"},
        {"example.info", "Quota Exceeded\n"},
        {"example.biz", "Too many queries from your address"},
        {"example.net", "%% Rate limit exceeded, try again later\n%%\n"},
        {"example.com", "ERROR: Too Many Requests\r\n"},
        {"example.com", std::string(60000, ' ').append("try again later")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        m_domains.RemoveAllRecords();
        m_repainted.clear();
        const CDomainData* r = Add(c.name);
        EXPECT_TRUE(IsRefusalAnswer(c.answer));
        EXPECT_EQ(Analyse(c.name, c.answer), AnalysisResult::Refused);
        ExpectUntouched(*r);
        EXPECT_TRUE(m_repainted.empty());
    }
}

TEST(RefusalAnswer, LabelsOrNoPhraseMakeAnAnswerData) {
    struct Case {
        const char* answer;
        bool refusal;
    } cases[] = {
        {"Registrar: X\nTry again later.\n", false},
        {"Too many queries. Status: see web site\n", false},  // a label occurs
        {"Creation Date: 2001-01-01\nquota exceeded\n", false},
        {"No such domain.\n", false},
        {"", false},
        {"TRY AGAIN LATER", true},
        {"try\nagain later", false},  // phrases are whole, line breaks included
        {"Service temporarily unavailable\n", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsRefusalAnswer(c.answer), c.refusal) << c.answer;
    for (std::string_view phrase : RefusalPhrases()) {
        EXPECT_EQ(ToLower(phrase), phrase) << "phrases are compared after lowering";
        EXPECT_TRUE(IsRefusalAnswer(ToUpper(phrase))) << phrase;
    }
}

TEST_F(AnalysisTest, OnlyTheFirstRecordOfARepeatedNameIsWrittenAndRepainted) {
    Add("first.com");
    CDomainData* a = Add("dup.com");
    CDomainData* b = Add("DUP.COM");
    Analyse("Dup.Com", kThinOld);
    EXPECT_EQ(a->m_nState, STATE_TAKEN);
    EXPECT_EQ(a->m_strRegistrar, "NETWORK SOLUTIONS, INC.");
    ExpectUntouched(*b);
    EXPECT_EQ(m_repainted, std::vector<int>{1});
}

TEST_F(AnalysisTest, RemovedRecordMeansNothingToWriteOrRepaint) {
    Add("other.com");
    EXPECT_EQ(Analyse("gone.com", kThinOld), AnalysisResult::Analysed);
    EXPECT_TRUE(m_repainted.empty());
    ExpectUntouched(*m_domains.GetRecord(0));
    // A missing repaint callback is allowed too.
    CDomainData* r = Add("gone.com");
    AnalyseAnswer(m_domains, m_store, "gone.com", kThinOld, "asked", m_now, nullptr);
    EXPECT_EQ(r->m_nState, STATE_TAKEN);
}

TEST_F(AnalysisTest, LaterAnswerWithoutDatesKeepsTheEarlierDates) {
    CDomainData* r = Add("example.net");
    Analyse("example.net", kThinOld);
    ASSERT_EQ(DateText(r->m_dtExpires), "2010-08-14");
    Analyse("example.net", "   Registrar: NEW REGISTRAR\n   Status: ACTIVE\n");
    EXPECT_EQ(r->m_strRegistrar, "NEW REGISTRAR");
    EXPECT_EQ(r->m_strWhoisServer, "whois.asked.example");
    EXPECT_EQ(DateText(r->m_dtExpires), "2010-08-14");
    EXPECT_EQ(DateText(r->m_dtCreated), "1995-08-15");
    EXPECT_EQ(DateText(r->m_dtUpdated), "2002-11-05");
}

TEST_F(AnalysisTest, HostileAnswersAreReadWithoutHarm) {
    std::string binary(64 * 1024, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 7919) >> 3);
    const std::string colons(64 * 1024, ':');
    const std::string labelsOnly = "Status:Registrar:Whois Server:Expiration Date:Creation Date:";
    std::string manyLabels;
    for (int i = 0; i < 2000; ++i) manyLabels += "Status: s" + std::to_string(i) + "\r\n";

    struct Case {
        const char* what;
        std::string answer;
        const char* status;
    } cases[] = {
        {"binary noise", binary, nullptr},
        {"nothing but colons", colons, ""},
        {"labels without line ends", labelsOnly, ""},
        {"two thousand status lines", manyLabels, "s0"},
        {"NUL bytes inside a value", std::string("Status: a\0b\n", 12), nullptr},
        {"label at the very end", "Status:", ""},
        {"label right before a lone CR", "Status:\r", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_domains.RemoveAllRecords();
        CDomainData* r = Add("example.com");
        EXPECT_EQ(Analyse("example.com", c.answer), AnalysisResult::Analysed);
        EXPECT_EQ(r->m_nState, STATE_TAKEN);
        EXPECT_EQ(r->m_strWhoisText, c.answer);
        const std::string status = c.status ? c.status : ExtractField(c.answer, "Status:");
        EXPECT_EQ(r->m_strStatus, status);
        EXPECT_EQ(r->m_strRegistrar, ExtractField(c.answer, "Sponsoring Registrar:|Registrar:"));
    }
}

TEST(LabelValue, LineEndTrimAndFirstOccurrenceRules) {
    struct Case {
        const char* answer;
        const char* label;
        bool found;
        const char* value;
    } cases[] = {
        {"Status: ok\n", "Status:", true, "ok"},
        {"Status: ok\r\n", "Status:", true, "ok"},
        {"Status: ok\r", "Status:", true, "ok"},  // lone CR still ends the line
        {"Status: ok", "Status:", false, ""},     // no line end: absent
        {"x Domain Status: ok\n", "Status:", true, "ok"},
        {"Status: \t ok \v\f\r\n", "Status:", true, "ok"},
        {"Status:\n", "Status:", true, ""},
        {"Status: first\nStatus: second\n", "Status:", true, "first"},
        {"status: lower\n", "Status:", false, ""},
        {"Status: a\rStatus: b\r", "Status:", true, "a"},
        {"Status: ok\n", "", false, ""},  // an empty label labels nothing
        {"", "Status:", false, ""},
    };
    for (const Case& c : cases) {
        std::string value = "unchanged";
        EXPECT_EQ(FindLabelValue(c.answer, c.label, value), c.found) << c.answer;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.answer;
        }
    }
}

TEST(LabelValue, AlternativesAreTriedLeftToRightUntilOneIsFound) {
    struct Case {
        const char* answer;
        const char* labels;
        const char* value;
    } cases[] = {
        {"Registrar: B\nSponsoring Registrar: A\n", "Sponsoring Registrar:|Registrar:", "A"},
        {"Sponsoring Registrar:\nRegistrar: B\n", "Sponsoring Registrar:|Registrar:", ""},
        {"Registrar: B\n", "Sponsoring Registrar:|Registrar:", "B"},
        {"Created On: 1\n",
         "Domain Registration Date:|Creation Date:|Registered on:|Created On:", "1"},
        {"Expiration Date: 1\n", "A:|B:|Expiration Date:", "1"},
        // a first alternative without a line end counts as absent and the next one is tried
        {"Updated Date: 2\nLast updated: 3", "Last updated:|Updated Date:", "2"},
        {"nothing here\n", "A:|B:", ""},
        {"Status: ok\n", "|Status:", "ok"},
        {"Status: ok\n", "Status:|", "ok"},
        {"Status: ok\n", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractField(c.answer, c.labels), c.value) << c.answer << " / " << c.labels;
}
