#include "whois/whois_worker.h"

#include <chrono>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "whois/extension_table.h"
#include "whois/lookup_scheduler.h"

void WhoisWorker(const WhoisJobPtr& job, const ISettingsStore& store, const PostCompletion& post,
                 int port, const WhoisLimits& limits) {
    if (!job)
        return;
    bool ok = false;
    try {
        // Only the prefix is used: the job keeps the server chosen when it started.
        std::string prefix;
        GetWhoisServer(store, job->m_strDomain, prefix);
        const std::string query =
            prefix.empty() ? job->m_strDomain : prefix + " " + job->m_strDomain;
        std::string answer;
        ok = WhoisQuery(query, job->m_strServer, answer, port, limits);
        if (ok)
            job->m_strAnswer = std::move(answer);
    } catch (...) {
        // Out of memory while building the query or the answer: report a failure so the name
        // is tried again.
        ok = false;
    }
    try {
        if (post)
            post(ok ? LOOKUP_ANSWERED : LOOKUP_FAILED, job);
    } catch (...) {
        // Nothing may leave a worker thread.
    }
}

bool StartWorkerThread(const WhoisJobPtr& job, const ISettingsStore& store, PostCompletion post,
                       int port, const WhoisLimits& limits) {
    if (!job)
        return false;
    try {
        std::thread worker([job, &store, post = std::move(post), port, limits]() {
            WhoisWorker(job, store, post, port, limits);
        });
        worker.detach();
        return true;
    } catch (...) {
        return false;
    }
}

namespace {

struct PostedJobs {
    std::mutex mutex;
    std::unordered_set<uintptr_t> tokens;
};

PostedJobs& Posted() {
    // Never destroyed: a worker may still hand over a job while the process ends.
    static PostedJobs* posted = new PostedJobs;
    return *posted;
}

}  // namespace

uintptr_t PackJobForPost(const WhoisJobPtr& job) {
    if (!job)
        return 0;
    try {
        auto* box = new WhoisJobPtr(job);
        const auto token = reinterpret_cast<uintptr_t>(box);
        PostedJobs& posted = Posted();
        std::lock_guard<std::mutex> lock(posted.mutex);
        posted.tokens.insert(token);
        return token;
    } catch (...) {
        return 0;
    }
}

WhoisJobPtr TakePostedJob(uintptr_t token) {
    if (token == 0)
        return nullptr;
    {
        PostedJobs& posted = Posted();
        std::lock_guard<std::mutex> lock(posted.mutex);
        if (posted.tokens.erase(token) == 0)
            return nullptr;
    }
    auto* box = reinterpret_cast<WhoisJobPtr*>(token);
    WhoisJobPtr job = std::move(*box);
    delete box;
    return job;
}

size_t PendingPostedJobs() {
    PostedJobs& posted = Posted();
    std::lock_guard<std::mutex> lock(posted.mutex);
    return posted.tokens.size();
}

void CCompletionQueue::Post(int code, const WhoisJobPtr& job) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_items.push_back(Item{code, job});
    }
    m_cv.notify_one();
}

bool CCompletionQueue::Wait(int timeoutMs, int& code, WhoisJobPtr& job) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                       [this] { return !m_items.empty(); })) {
        return false;
    }
    code = m_items.front().code;
    job = std::move(m_items.front().job);
    m_items.pop_front();
    return true;
}

bool CCompletionQueue::TryPop(int& code, WhoisJobPtr& job) {
    return Wait(0, code, job);
}
