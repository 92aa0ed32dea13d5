// One running lookup, shared between the scheduler's active list and the worker that runs it, so
// that neither Stop nor the closing of the window can release a job while its worker still uses it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/date_time.h"

class CWhoisJob {
public:
    CWhoisJob() = default;
    CWhoisJob(std::string domain, std::string server, uintptr_t owner, const CDateTime& start)
        : m_strDomain(std::move(domain)),
          m_strServer(std::move(server)),
          m_hOwner(owner),
          m_dtStart(start) {}
    CWhoisJob(const CWhoisJob&) = delete;
    CWhoisJob& operator=(const CWhoisJob&) = delete;

    // Written before the worker starts and never changed afterwards.
    std::string m_strDomain;
    std::string m_strServer;
    uintptr_t m_hOwner = 0;  // the window (or other receiver) that the completion is posted to
    CDateTime m_dtStart;

    // Written by the worker only; read by the scheduler only after the completion has arrived.
    std::string m_strAnswer;
};

using WhoisJobPtr = std::shared_ptr<CWhoisJob>;
