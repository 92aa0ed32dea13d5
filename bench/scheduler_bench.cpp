// One scheduler step on a full list: 2500 names queued behind 50 running lookups on one server.
// Compare with the baseline below, measured in the same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "framework/settings_store.h"
#include "whois/extension_table.h"
#include "whois/lookup_scheduler.h"

namespace {

class CIdleHost : public ILookupHost {
public:
    bool StartWorker(const WhoisJobPtr& job) override {
        m_jobs.push_back(job);
        return true;
    }
    void RepaintRow(int) override {}
    void RepaintAll() override {}
    void ShowStatus(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
    std::vector<WhoisJobPtr> m_jobs;
};

std::vector<std::string> QueueNames() {
    std::vector<std::string> names;
    for (int i = 0; i < 2550; ++i) names.push_back("candidate-name-" + std::to_string(i) + ".com");
    return names;
}

// Baseline: copying the 2500 queue strings once.
void BM_Baseline_Copy2500QueueStrings(benchmark::State& state) {
    const std::vector<std::string> names = QueueNames();
    const std::vector<std::string> source(names.begin() + 50, names.end());
    for (auto _ : state) {
        std::vector<std::string> copy = source;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Baseline_Copy2500QueueStrings);

// The server is busy, so each of the 14 names taken walks the 50 running jobs and goes back to the
// queue: the step's most expensive path, and it leaves the state as it found it.
void BM_RunLookupTick_2500Queued50Running(benchmark::State& state) {
    const std::vector<std::string> names = QueueNames();
    CDomainArray domains;
    for (const std::string& n : names) {
        auto record = std::make_unique<CDomainData>(n);
        domains.Append(std::move(record));
    }
    CMemorySettingsStore store;
    store.WriteString("com", kValueServer, "whois.bench.test");
    store.WriteInt("whois.bench.test", kValueMaxConnections, 1000);
    store.WriteInt("whois.bench.test", kValueConnectionInterval, 0);
    CIdleHost host;
    CLookupScheduler scheduler(domains, store, SystemClock(), host);
    for (int i = 0; i < 50; ++i) scheduler.EnqueueLookup(names[static_cast<size_t>(i)]);
    while (scheduler.GetActiveCount() < 50) scheduler.RunLookupTick();
    store.WriteInt("whois.bench.test", kValueMaxConnections, 10);  // 50 running: every name waits
    for (size_t i = 50; i < names.size(); ++i) scheduler.EnqueueLookup(names[i]);
    if (scheduler.GetQueue().GetSize() != 2500 || scheduler.GetActiveCount() != 50) {
        state.SkipWithError("set-up did not reach 2500 queued and 50 running");
        return;
    }
    for (auto _ : state) {
        scheduler.RunLookupTick();
        benchmark::DoNotOptimize(scheduler.GetQueueStatus().data());
    }
    if (scheduler.GetActiveCount() != 50)
        state.SkipWithError("a lookup started");
}
BENCHMARK(BM_RunLookupTick_2500Queued50Running);

// Queueing the whole list again: EnqueueLookup refuses duplicates.
void BM_EnqueueLookup_2500IntoFullQueue(benchmark::State& state) {
    const std::vector<std::string> names = QueueNames();
    CDomainArray domains;
    CMemorySettingsStore store;
    CIdleHost host;
    CLookupScheduler scheduler(domains, store, SystemClock(), host);
    for (size_t i = 50; i < names.size(); ++i) scheduler.EnqueueLookup(names[i]);
    for (auto _ : state) benchmark::DoNotOptimize(scheduler.EnqueueLookup(names.back()));
}
BENCHMARK(BM_EnqueueLookup_2500IntoFullQueue);

}  // namespace
