// Decides when each queued domain name is looked up: per-server limits, the WHOIS queue, the
// active lookup list, the Lookup All feed and the four commands Lookup, Lookup All, Stop, Reset.
// Everything here runs on the user-interface thread; the platform starts the workers and delivers
// their completions back to OnLookupDone on that thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/date_time.h"
#include "whois/lookup_queue.h"
#include "whois/whois_job.h"

class CDomainArray;
class ISettingsStore;

// Completion codes (wParam of the completion message).
constexpr int LOOKUP_FAILED = 0;    // the exchange failed; the job holds no answer
constexpr int LOOKUP_ANSWERED = 1;  // the job holds the whole answer
constexpr int LOOKUP_REPAINT = 2;   // no job: repaint the whole list (posted by the sort)

constexpr unsigned LOOKUP_TIMER_ID = 1;
constexpr unsigned kLookupTimerPeriodMs = 2500;
constexpr int kMaxNamesTakenPerTick = 14;
constexpr int kMaxLookupsStartedPerTick = 5;
constexpr int kMaxRecordsFedPerTick = 30;

// What the scheduler needs from the platform. Windows starts a thread and posts WM_USER; the
// command-line tool uses std::thread; tests record the calls.
class ILookupHost {
public:
    virtual ~ILookupHost() = default;
    // Starts a worker on the job (the host keeps its own reference for the worker). False when no
    // worker could be started; the scheduler then puts the name back on the queue.
    virtual bool StartWorker(const WhoisJobPtr& job) = 0;
    virtual void RepaintRow(int row) = 0;
    virtual void RepaintAll() = 0;
    virtual void ShowStatus(const std::string& text) = 0;
};

class CLookupScheduler {
public:
    // All references must outlive the scheduler. `owner` goes into every job (see SetOwner).
    CLookupScheduler(CDomainArray& domains, const ISettingsStore& store, const IClock& clock,
                     ILookupHost& host, uintptr_t owner = 0);
    CLookupScheduler(const CLookupScheduler&) = delete;
    CLookupScheduler& operator=(const CLookupScheduler&) = delete;

    // The receiver recorded in jobs started from now on (the main window's handle).
    void SetOwner(uintptr_t owner) { m_hOwner = owner; }

    // One scheduler step: takes at most 14 names from the front of the queue, starts at most 5
    // lookups within the per-server limits, feeds Lookup All, rewrites and shows the status.
    void RunLookupTick();
    // Appends the name unless the queue already holds it (without regard to case).
    bool EnqueueLookup(const std::string& name);
    // Queues up to 30 records from the feed position; turns the feed off after the last record.
    void FeedLookupAll();
    // A worker's completion (or LOOKUP_REPAINT with no job). A job that is no longer on the active
    // list (Stop, a second delivery) and any unknown code change nothing.
    void OnLookupDone(int code, const WhoisJobPtr& job);

    // Commands. `selectedNames` are the "Domain" texts of the selected rows in row order.
    void Lookup(const std::vector<std::string>& selectedNames);
    void LookupAll();
    void Stop();
    void Reset(const std::vector<std::string>& selectedNames);

    const CLookupQueue& GetQueue() const { return m_queue; }
    const std::vector<WhoisJobPtr>& GetActiveJobs() const { return m_active; }
    int GetActiveCount() const { return static_cast<int>(m_active.size()); }
    bool IsFeedOn() const { return m_bFeedOn; }
    int GetFeedPosition() const { return m_nFeedPosition; }
    const std::string& GetQueueStatus() const { return m_strQueueStatus; }
    // Nothing queued, running or left to feed.
    bool IsIdle() const { return m_queue.IsEmpty() && m_active.empty() && !m_bFeedOn; }

private:
    void MarkError(const std::string& name, const CDateTime& now);
    bool RemoveActive(const WhoisJobPtr& job);  // by identity

    CDomainArray& m_domains;
    const ISettingsStore& m_store;
    const IClock& m_clock;
    ILookupHost& m_host;
    uintptr_t m_hOwner = 0;

    CLookupQueue m_queue;               // refuses duplicates
    std::vector<WhoisJobPtr> m_active;  // in start order
    bool m_bFeedOn = false;
    int m_nFeedPosition = 0;
    std::string m_strQueueStatus;
};

// Whole seconds from `latest` to `now` as the scheduler counts them for "Connection Interval".
long long SecondsSince(const CDateTime& latest, const CDateTime& now);
