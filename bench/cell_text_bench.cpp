// The cell texts of one screen of the list (40 rows x 9 columns), as a repaint asks for them.
// Compare with the baseline below, measured in the same run.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "ui/cell_text.h"
#include "ui/markup.h"

namespace {

constexpr int kRows = 40;

void FillList(CDomainArray& domains) {
    for (int i = 0; i < 2500; ++i) {
        auto r = std::make_unique<CDomainData>("some-domain-name-" + std::to_string(i) + ".com");
        r->m_nState = i % 7;
        if (i % 3 == 0)
            r->m_strStatus = "clientTransferProhibited";
        r->m_dtCreated = CDateTime::FromDate(1999, 1 + i % 12, 1 + i % 28);
        r->m_dtExpires = CDateTime::FromDate(2030, 1 + i % 12, 1 + i % 28);
        r->m_dtUpdated = CDateTime::FromDate(2024, 1 + i % 12, 1 + i % 28);
        r->m_dtChecked = CDateTime::FromDateTime(2024, 5, 17, 9, 30, i % 60);
        r->m_strWhoisServer = "whois.registrar.example.net";
        r->m_strRegistrar = "Example Registrar, Inc.";
        domains.Append(std::move(r));
    }
}

// Baseline: copying one screen's worth of cell strings.
void BM_Baseline_Copy360CellStrings(benchmark::State& state) {
    std::vector<std::string> cells;
    for (int i = 0; i < kRows * 9; ++i)
        cells.push_back("cell-text-of-typical-length-" + std::to_string(i));
    for (auto _ : state) {
        std::vector<std::string> copy = cells;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Baseline_Copy360CellStrings);

void BM_GetCellText_Screen40x9(benchmark::State& state) {
    CDomainArray domains;
    FillList(domains);
    const DateFormatter format = FormatNumericDate;
    char buffer[260];
    const int first = 1200;
    for (auto _ : state) {
        size_t total = 0;
        for (int row = first; row < first + kRows; ++row) {
            for (int column = 0; column < kListColumnCount; ++column) {
                const std::optional<std::string> text = GetCellText(domains, row, column, format);
                if (text)
                    total += CopyCellText(*text, buffer, sizeof buffer);
            }
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_GetCellText_Screen40x9);

// The same screen with the markup of every cell parsed, as the painting does.
void BM_GetCellTextAndMarkup_Screen40x9(benchmark::State& state) {
    CDomainArray domains;
    FillList(domains);
    const DateFormatter format = FormatNumericDate;
    const MarkupColours colours;
    for (auto _ : state) {
        size_t runs = 0;
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kListColumnCount; ++column) {
                const std::optional<std::string> text = GetCellText(domains, row, column, format);
                if (text)
                    runs += ParseMarkupRuns(*text, row % 5 == 0, colours).size();
            }
        }
        benchmark::DoNotOptimize(runs);
    }
}
BENCHMARK(BM_GetCellTextAndMarkup_Screen40x9);

}  // namespace
