// The scheduler's platform for quorvix-cli: one std::thread per lookup, completions handed back
// through a queue that the main loop serves, and a bound on the exchanges spent on one name.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "whois/lookup_scheduler.h"
#include "whois/whois_client.h"
#include "whois/whois_worker.h"

class CDomainArray;
class IClock;
class ISettingsStore;

class CCliLookupHost : public ILookupHost {
public:
    // `maxAttempts` failed or refused exchanges of one name make it an error instead of another
    // retry; a command-line run has to end.
    CCliLookupHost(std::shared_ptr<const ISettingsStore> store, int port, int maxAttempts,
                   const WhoisLimits& limits = WhoisLimits());
    // Threads still running are detached; each keeps what it uses alive by itself.
    ~CCliLookupHost() override;
    CCliLookupHost(const CCliLookupHost&) = delete;
    CCliLookupHost& operator=(const CCliLookupHost&) = delete;

    bool StartWorker(const WhoisJobPtr& job) override;
    void RepaintRow(int) override {}
    void RepaintAll() override {}
    void ShowStatus(const std::string& text) override { m_strStatus = text; }

    // Waits up to `timeoutMs` for one completion and hands it to the scheduler. False when none
    // arrived in time.
    bool DeliverNext(int timeoutMs, CLookupScheduler& scheduler, CDomainArray& domains,
                     const IClock& clock);

    // Worker threads started and not yet delivered.
    size_t RunningThreads() const { return m_threads.size(); }
    // Names given up after too many failed exchanges.
    const std::set<std::string>& GivenUp() const { return m_givenUp; }
    const std::string& Status() const { return m_strStatus; }

private:
    struct Shared {
        std::shared_ptr<const ISettingsStore> store;
        CCompletionQueue completions;
        int port = kWhoisPort;
        WhoisLimits limits;
    };

    std::shared_ptr<Shared> m_shared;
    int m_nMaxAttempts;
    std::map<const CWhoisJob*, std::thread> m_threads;
    std::map<std::string, int> m_attempts;  // lower-case name -> failed or refused exchanges
    std::set<std::string> m_givenUp;        // lower-case names
    std::set<const CWhoisJob*> m_stubJobs;  // jobs of given-up names that run no worker
    std::string m_strStatus;
};
