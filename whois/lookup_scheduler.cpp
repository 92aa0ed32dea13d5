#include "whois/lookup_scheduler.h"

#include <cmath>

#include "domains/domain_array.h"
#include "framework/settings_store.h"
#include "framework/text.h"
#include "whois/analysis.h"
#include "whois/extension_table.h"

namespace {

bool IsQueueableState(int state) {
    return state == STATE_UNCHECKED || state == STATE_ERROR;
}

}  // namespace

long long SecondsSince(const CDateTime& latest, const CDateTime& now) {
    // The small addend keeps a whole number of seconds from being cut to one less by rounding.
    const double seconds = (now.GetDays() - latest.GetDays()) * 86400.0 + 0.000005787037037037037;
    if (!std::isfinite(seconds))
        return 0;
    if (seconds >= 9.0e18)
        return static_cast<long long>(9.0e18);
    if (seconds <= -9.0e18)
        return static_cast<long long>(-9.0e18);
    return static_cast<long long>(std::trunc(seconds));
}

CLookupScheduler::CLookupScheduler(CDomainArray& domains, const ISettingsStore& store,
                                   const IClock& clock, ILookupHost& host, uintptr_t owner)
    : m_domains(domains), m_store(store), m_clock(clock), m_host(host), m_hOwner(owner) {}

bool CLookupScheduler::EnqueueLookup(const std::string& name) {
    return m_queue.Add(name);
}

void CLookupScheduler::MarkError(const std::string& name, const CDateTime& now) {
    m_domains.SetState(name, STATE_ERROR, now);
    const int row = m_domains.IndexOf(name);
    if (row >= 0)
        m_host.RepaintRow(row);
}

bool CLookupScheduler::RemoveActive(const WhoisJobPtr& job) {
    for (auto it = m_active.begin(); it != m_active.end(); ++it) {
        if (*it == job) {
            m_active.erase(it);
            return true;
        }
    }
    return false;
}

void CLookupScheduler::RunLookupTick() {
    const CDateTime now = m_clock.Now();
    int taken = 0;
    int started = 0;
    while (!m_queue.IsEmpty()) {
        if (++taken > kMaxNamesTakenPerTick)
            break;
        const std::string name = m_queue.PopFront();

        if (name.find('.') == std::string::npos) {
            MarkError(name, now);
        } else {
            std::string prefix;
            const std::string server = GetWhoisServer(m_store, name, prefix);
            if (server.empty()) {
                ++started;
                MarkError(name, now);
            } else {
                int maxConnections = kDefaultMaxConnections;
                int interval = kDefaultConnectionInterval;
                GetConnectionLimits(m_store, name, maxConnections, interval);

                bool running = false;
                int count = 0;
                CDateTime latest;
                for (const WhoisJobPtr& job : m_active) {
                    if (EqualsNoCase(job->m_strDomain, name)) {
                        running = true;
                        break;
                    }
                    if (EqualsNoCase(job->m_strServer, server)) {
                        if (count == 0 || job->m_dtStart.GetDays() > latest.GetDays()) {
                            latest = job->m_dtStart;
                        }
                        ++count;
                    }
                }
                // A name queued again while it runs is dropped; its answer is on the way.
                if (!running) {
                    if (count > 0 && SecondsSince(latest, now) < interval) {
                        EnqueueLookup(name);
                    } else if (count > maxConnections) {
                        EnqueueLookup(name);
                    } else {
                        auto job = std::make_shared<CWhoisJob>(name, server, m_hOwner, now);
                        m_active.push_back(job);
                        ++started;
                        // A worker that cannot start would hold its server's slot forever;
                        // retire the job and let a later step try the name again.
                        if (!m_host.StartWorker(job)) {
                            RemoveActive(job);
                            EnqueueLookup(name);
                        }
                    }
                }
            }
        }
        if (started >= kMaxLookupsStartedPerTick)
            break;
    }

    if (m_bFeedOn)
        FeedLookupAll();

    m_strQueueStatus = FormatText("Domains in whois queue = %d (%d lookups active)",
                                  m_queue.GetSize(), GetActiveCount());
    m_host.ShowStatus(m_strQueueStatus);
}

void CLookupScheduler::FeedLookupAll() {
    int position = m_nFeedPosition < 0 ? 0 : m_nFeedPosition;
    int examined = 0;
    while (position < m_domains.GetCount()) {
        const CDomainData* record = m_domains.GetRecord(position);
        if (record && IsQueueableState(record->m_nState))
            EnqueueLookup(record->m_strName);
        // The 30th record is examined again next time; the queue refuses the duplicate.
        if (++examined >= kMaxRecordsFedPerTick)
            break;
        ++position;
    }
    m_nFeedPosition = position;
    if (position >= m_domains.GetCount())
        m_bFeedOn = false;
}

void CLookupScheduler::OnLookupDone(int code, const WhoisJobPtr& job) {
    if (code == LOOKUP_REPAINT) {
        m_host.RepaintAll();
        return;
    }
    if ((code != LOOKUP_FAILED && code != LOOKUP_ANSWERED) || !job)
        return;

    // Stopped, or already delivered: the record keeps its state.
    if (!RemoveActive(job))
        return;
    const std::string name = job->m_strDomain;
    const std::string server = job->m_strServer;
    const std::string answer = job->m_strAnswer;

    if (code == LOOKUP_FAILED) {
        EnqueueLookup(name);
        return;
    }
    if (answer.empty())
        return;
    const AnalysisResult result =
        AnalyseAnswer(m_domains, m_store, name, answer, server, m_clock.Now(),
                      [this](int row) { m_host.RepaintRow(row); });
    if (result == AnalysisResult::Refused)
        EnqueueLookup(name);
}

void CLookupScheduler::Lookup(const std::vector<std::string>& selectedNames) {
    for (const std::string& name : selectedNames) {
        const CDomainData* record = m_domains.Find(name);
        if (record && IsQueueableState(record->m_nState))
            EnqueueLookup(name);
    }
    RunLookupTick();
}

void CLookupScheduler::LookupAll() {
    m_nFeedPosition = 0;
    m_bFeedOn = true;
    RunLookupTick();
}

void CLookupScheduler::Stop() {
    m_bFeedOn = false;
    m_queue.RemoveAll();
    // Running workers keep their own reference to their job; their completions find nothing.
    m_active.clear();
    RunLookupTick();
}

void CLookupScheduler::Reset(const std::vector<std::string>& selectedNames) {
    for (const std::string& name : selectedNames) {
        CDomainData* record = m_domains.Find(name);
        if (!record)
            continue;
        record->Reset();
        m_host.RepaintRow(m_domains.IndexOf(name));
    }
}
