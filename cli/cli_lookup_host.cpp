#include "cli/cli_lookup_host.h"

#include "domains/domain_array.h"
#include "framework/date_time.h"
#include "framework/settings_store.h"
#include "framework/text.h"

CCliLookupHost::CCliLookupHost(std::shared_ptr<const ISettingsStore> store, int port,
                               int maxAttempts, const WhoisLimits& limits)
    : m_shared(std::make_shared<Shared>()), m_nMaxAttempts(maxAttempts < 1 ? 1 : maxAttempts) {
    m_shared->store = std::move(store);
    m_shared->port = port;
    m_shared->limits = limits;
}

CCliLookupHost::~CCliLookupHost() {
    for (auto& [job, thread] : m_threads) {
        if (thread.joinable())
            thread.detach();
    }
}

bool CCliLookupHost::StartWorker(const WhoisJobPtr& job) {
    if (!job)
        return false;
    // A name that has used up its attempts runs no exchange: its job comes straight back as an
    // answer without text, which the scheduler retires without queuing the name again.
    if (m_givenUp.count(ToLower(job->m_strDomain)) > 0) {
        try {
            m_stubJobs.insert(job.get());
            m_shared->completions.Post(LOOKUP_ANSWERED, job);
            return true;
        } catch (...) {
            m_stubJobs.erase(job.get());
            return false;
        }
    }
    try {
        std::shared_ptr<Shared> shared = m_shared;
        std::thread worker([shared, job]() {
            WhoisWorker(job, *shared->store, shared->completions.Poster(), shared->port,
                        shared->limits);
        });
        m_threads.emplace(job.get(), std::move(worker));
        return true;
    } catch (...) {
        return false;
    }
}

bool CCliLookupHost::DeliverNext(int timeoutMs, CLookupScheduler& scheduler, CDomainArray& domains,
                                 const IClock& clock) {
    int code = LOOKUP_FAILED;
    WhoisJobPtr job;
    if (!m_shared->completions.Wait(timeoutMs, code, job))
        return false;
    if (!job)
        return true;

    // The worker has posted its last word; joining only waits for its thread to return.
    auto thread = m_threads.find(job.get());
    if (thread != m_threads.end()) {
        if (thread->second.joinable())
            thread->second.join();
        m_threads.erase(thread);
    }

    const std::string name = job->m_strDomain;
    if (m_stubJobs.erase(job.get()) > 0) {
        scheduler.OnLookupDone(LOOKUP_ANSWERED, job);  // empty answer: retired, not queued again
        domains.SetState(name, STATE_ERROR, clock.Now());
        return true;
    }

    scheduler.OnLookupDone(code, job);
    // A failed exchange, or an answer the analysis refused (a rate limit), sends the name back
    // to the queue; count those.
    const bool retried = scheduler.GetQueue().Find(name) >= 0;
    if (retried && (code == LOOKUP_FAILED || code == LOOKUP_ANSWERED)) {
        const std::string key = ToLower(name);
        if (++m_attempts[key] >= m_nMaxAttempts)
            m_givenUp.insert(key);
    }
    return true;
}
