// Import of a large paste: tokenizing and prefix removal against one plain pass over the text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

#include "domains/domain_array.h"
#include "domains/intake.h"

namespace {

constexpr size_t kPasteBytes = 10u << 20;

// Mostly words the list refuses (foreign extensions, page names, web addresses; every one holds a
// dot, since a dotless word is accepted), with about two thousand good names spread through it so
// the list never fills and the whole text is read.
const std::string& Paste() {
    static const std::string text = [] {
        static const char* const refused[] = {
            "example.de",         "shop.co.uk",  "index.html", "http://www.site.fr/page.php",
            "Mixed.Case.NL",      "x.org.au",    "ends.with.", "ftp.site.jp/pub.dir/b.htm",
            "first.last@host.ch", "a.b.c.d.e.f", "readme.txt", "(note.ru)",
        };
        std::mt19937 rng(43);
        std::string s;
        s.reserve(kPasteBytes + 64);
        size_t good = 0;
        while (s.size() < kPasteBytes) {
            if (rng() % 300 == 0 && good < 2000) {
                s += "http://www.name" + std::to_string(good++) + ".com";
            } else {
                s += refused[rng() % (sizeof refused / sizeof refused[0])];
            }
            s += (rng() % 8 == 0) ? "\r\n" : ", ";
        }
        return s;
    }();
    return text;
}

class CNullProgress : public IImportProgress {
public:
    void ShowStatus(const std::string&) override {}
    bool PollCancel() override { return false; }
};

// Baseline: one pass over the same bytes, counting line feeds.
void BM_PlainPass(benchmark::State& state) {
    const std::string& text = Paste();
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::count(text.begin(), text.end(), '\n'));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

void BM_PrepareAndTokenize(benchmark::State& state) {
    const std::string& text = Paste();
    for (auto _ : state) {
        const std::string prepared = PrepareIntakeText(text);
        size_t tokens = 0;
        ForEachNameToken(prepared, [&](std::string_view) {
            ++tokens;
            return true;
        });
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PrepareAndTokenize)->Unit(benchmark::kMillisecond);

// The whole import: every token offered to AddName, the progress served after each one.
void BM_ImportNames(benchmark::State& state) {
    const std::string& text = Paste();
    CNullProgress progress;
    int added = 0;
    for (auto _ : state) {
        CDomainArray domains;
        added = ImportNames(domains, text, &progress);
        benchmark::DoNotOptimize(added);
    }
    state.counters["added"] = added;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ImportNames)->Unit(benchmark::kMillisecond);

}  // namespace
