// The body of one lookup worker, shared by the Windows thread procedure and the command-line
// tool's std::thread, plus the hand-over of a job through a posted message.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "whois/whois_client.h"
#include "whois/whois_job.h"

class ISettingsStore;

// Delivers a completion (LOOKUP_ANSWERED or LOOKUP_FAILED with the job) to the scheduler's thread.
using PostCompletion = std::function<void(int code, const WhoisJobPtr& job)>;

// Sends "prefix name" (or "name" when the extension has no prefix) to the job's server, stores the
// answer in the job on success and posts the outcome. Never throws; `post` is called exactly once.
void WhoisWorker(const WhoisJobPtr& job, const ISettingsStore& store, const PostCompletion& post,
                 int port = kWhoisPort, const WhoisLimits& limits = WhoisLimits());

// Runs WhoisWorker on a detached std::thread. False (and `post` is not called) when no thread
// could be started. `store` must outlive the worker.
bool StartWorkerThread(const WhoisJobPtr& job, const ISettingsStore& store, PostCompletion post,
                       int port = kWhoisPort, const WhoisLimits& limits = WhoisLimits());

// A message parameter carries a job as a token: PackJobForPost keeps a reference alive until
// TakePostedJob gives it back. TakePostedJob returns null for 0, for a token it never handed out
// (a stray or forged message) and for a token already taken; call it also when posting failed.
uintptr_t PackJobForPost(const WhoisJobPtr& job);
WhoisJobPtr TakePostedJob(uintptr_t token);
// Tokens handed out and not yet taken.
size_t PendingPostedJobs();

// Thread-safe completion queue for hosts without a window message loop.
class CCompletionQueue {
public:
    void Post(int code, const WhoisJobPtr& job);
    // False when nothing arrived within the time.
    bool Wait(int timeoutMs, int& code, WhoisJobPtr& job);
    bool TryPop(int& code, WhoisJobPtr& job);
    PostCompletion Poster() {
        return [this](int code, const WhoisJobPtr& job) { Post(code, job); };
    }

private:
    struct Item {
        int code;
        WhoisJobPtr job;
    };
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Item> m_items;
};
