// Cost of reading one WHOIS answer into its record, against one lower-casing pass over the same
// answer measured in the same run (the counter "x_lower" is that ratio of processor times).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "framework/settings_store.h"
#include "framework/text.h"
#include "whois/analysis.h"

namespace {

// Processor time of this thread: other processes on a busy machine do not inflate the ratio.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

const char kHead[] =
    "   Domain Name: EXAMPLE.COM\r\n"
    "   Registry Domain ID: 2336799_DOMAIN_COM-VRSN\r\n"
    "   Registrar WHOIS Server: whois.example-registrar.com\r\n"
    "   Registrar URL: http://www.example-registrar.com\r\n"
    "   Updated Date: 2024-08-14T07:01:34Z\r\n"
    "   Creation Date: 1995-08-14T04:00:00Z\r\n"
    "   Registry Expiry Date: 2027-08-13T04:00:00Z\r\n"
    "   Registrar: Example Registrar, Inc.\r\n"
    "   Registrar IANA ID: 376\r\n"
    "   Domain Status: clientDeleteProhibited https://icann.org/epp#clientDeleteProhibited\r\n"
    "   Name Server: A.IANA-SERVERS.NET\r\n"
    ">>> Last update of whois database: 2025-01-20T10:11:12Z <<<\r\n\r\n";

const char kNotice[] =
    "TERMS OF USE: You are not authorized to access or query our Whois database through the use "
    "of electronic processes that are high-volume and automated except as reasonably necessary to "
    "register domain names or modify existing registrations; the Data in VeriSign Global "
    "Registry Services' (\"VeriSign\") Whois database is provided by VeriSign for information "
    "purposes only. Registrant Contact: see the Registrar. Updated: daily; Status: see above.\r\n";

// A taken answer of about `size` bytes: the labels at the top, a long legal notice below, as
// registries send them.
std::string TakenAnswer(size_t size) {
    std::string answer = kHead;
    while (answer.size() < size) answer += kNotice;
    answer.resize(size);
    return answer;
}

// An answer with no label at all: every label search runs to the end.
std::string LabelFreeAnswer(size_t size) {
    std::string answer;
    while (answer.size() < size)
        answer += "the quick brown fox jumps over the lazy dog; SEE ALSO http://example.net\n";
    answer.resize(size);
    return answer;
}

double SecondsPerLowering(const std::string& answer) {
    std::vector<double> runs;
    for (int r = 0; r < 7; ++r) {
        const int reps = 200;
        const auto start = ThreadSeconds();
        for (int i = 0; i < reps; ++i) {
            std::string lowered = ToLower(answer);
            benchmark::DoNotOptimize(lowered.data());
        }
        const auto end = ThreadSeconds();
        runs.push_back((end - start) / reps);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void BM_LowerCasePass(benchmark::State& state) {
    const std::string answer = TakenAnswer(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::string lowered = ToLower(answer);
        benchmark::DoNotOptimize(lowered.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
}

void RunAnalysis(benchmark::State& state, const std::string& answer) {
    const double baseline = SecondsPerLowering(answer);
    CDomainArray domains;
    domains.AddName("example.com");
    CMemorySettingsStore store;
    const CDateTime now = CDateTime::FromDateTime(2025, 1, 20, 10, 11, 12);
    int repaints = 0;
    const std::function<void(int)> repaint = [&](int) { ++repaints; };

    const auto start = ThreadSeconds();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            AnalyseAnswer(domains, store, "example.com", answer, "whois.asked", now, repaint));
    }
    const auto end = ThreadSeconds();
    const double perCall = (end - start) / static_cast<double>(state.iterations());
    state.counters["x_lower"] = perCall / baseline;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
}

void BM_AnalyseTakenAnswer(benchmark::State& state) {
    RunAnalysis(state, TakenAnswer(static_cast<size_t>(state.range(0))));
}

void BM_AnalyseLabelFreeAnswer(benchmark::State& state) {
    RunAnalysis(state, LabelFreeAnswer(static_cast<size_t>(state.range(0))));
}

void BM_AnalyseCarriageReturnOnlyAnswer(benchmark::State& state) {
    std::string answer = TakenAnswer(static_cast<size_t>(state.range(0)));
    ReplaceAll(answer, "\r\n", "\r");
    RunAnalysis(state, answer);
}

}  // namespace

BENCHMARK(BM_LowerCasePass)->Arg(4 << 10)->Arg(64 << 10);
BENCHMARK(BM_AnalyseTakenAnswer)->Arg(4 << 10)->Arg(64 << 10);
BENCHMARK(BM_AnalyseLabelFreeAnswer)->Arg(4 << 10)->Arg(64 << 10);
BENCHMARK(BM_AnalyseCarriageReturnOnlyAnswer)->Arg(64 << 10);
