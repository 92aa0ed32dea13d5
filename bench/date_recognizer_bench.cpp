// Cost of one RecognizeDate call over a mix of the layouts registries use, against one sscanf of
// "%d-%d-%d" on the same texts in the same run (the counter "x_sscanf" is that ratio of processor
// times).
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <string>
#include <vector>

#include "whois/date_recognizer.h"

namespace {

// Processor time of this thread: other processes on a busy machine do not inflate the ratio.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = {
        "07-Jan-2003",     "2027-08-14T04:00:00Z",
        "01-07-2003",      "Tue, Jan 07, 2003",
        "Jan 07, 2003",    "1/07/2003",
        "2003/01/07",      "Tue Jan 07 10:14:22 EST 2003",
        "January 7, 2003", "01/07/2003",
        "2003-Jan-07",     "07 Jan 2003",
        "07 January 2003", "07-JANUARY-2003",
        "2003-1-07",       "7 Jan 2003",
        "07.01.2003",      "31-Jul-2001 12:00:00 UTC",
    };
    return texts;
}

const char kAnswer[] = "Domain Name: EXAMPLE.COM\r\nRegistrar: Example Registrar, Inc.\r\n";

double SecondsPerSscanf() {
    const std::vector<std::string>& texts = Texts();
    const int reps = 20000;
    const auto start = ThreadSeconds();
    for (int i = 0; i < reps; ++i) {
        int a = 0, b = 0, c = 0;
        benchmark::DoNotOptimize(
            std::sscanf(texts[i % texts.size()].c_str(), "%d-%d-%d", &a, &b, &c));
        benchmark::DoNotOptimize(a + b + c);
    }
    const auto end = ThreadSeconds();
    return (end - start) / reps;
}

void BM_SscanfBaseline(benchmark::State& state) {
    const std::vector<std::string>& texts = Texts();
    size_t i = 0;
    for (auto _ : state) {
        int a = 0, b = 0, c = 0;
        benchmark::DoNotOptimize(
            std::sscanf(texts[i++ % texts.size()].c_str(), "%d-%d-%d", &a, &b, &c));
        benchmark::DoNotOptimize(a + b + c);
    }
}

void BM_RecognizeDateMixedLayouts(benchmark::State& state) {
    const double baseline = SecondsPerSscanf();
    const std::vector<std::string>& texts = Texts();
    size_t i = 0;
    const auto start = ThreadSeconds();
    for (auto _ : state) {
        CDateTime out;
        benchmark::DoNotOptimize(RecognizeDate(kAnswer, texts[i++ % texts.size()], out));
        benchmark::DoNotOptimize(out.m_dt);
    }
    const auto end = ThreadSeconds();
    const double perCall = (end - start) / static_cast<double>(state.iterations());
    state.counters["x_sscanf"] = perCall / baseline;
}

}  // namespace

BENCHMARK(BM_SscanfBaseline);
BENCHMARK(BM_RecognizeDateMixedLayouts);
