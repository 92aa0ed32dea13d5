// Sorting a full list by each column against the neighbour-exchange sort that defines the order.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "domains/domain_array.h"
#include "framework/text.h"

namespace {

std::vector<std::unique_ptr<CDomainData>> MakeRecords() {
    std::mt19937 rng(2500);
    auto text = [&](const char* stem) {
        std::string s = stem;
        s += std::to_string(rng() % 600);
        if (rng() % 2)
            s[0] = static_cast<char>(s[0] - 'a' + 'A');
        return rng() % 10 == 0 ? std::string() : s;
    };
    auto date = [&] {
        switch (rng() % 8) {
            case 0:
                return CDateTime();
            case 1:
                return CDateTime(1.0, CDateTime::invalid);
            default:
                return CDateTime(static_cast<double>(rng() % 60000) - 1000.0 + (rng() % 4) * 0.25,
                                 CDateTime::valid);
        }
    };
    std::vector<std::unique_ptr<CDomainData>> out;
    for (int i = 0; i < MAX_DOMAINS; ++i) {
        auto r = std::make_unique<CDomainData>(text("name") + ".com");
        r->m_strStatus = text("status");
        r->m_strWhoisServer = text("whois.server");
        r->m_strRegistrar = text("registrar");
        r->m_dtCreated = date();
        r->m_dtExpires = date();
        r->m_dtUpdated = date();
        r->m_dtChecked = date();
        out.push_back(std::move(r));
    }
    return out;
}

void Fill(CDomainArray& domains, const std::vector<std::unique_ptr<CDomainData>>& records) {
    domains.RemoveAllRecords();
    for (const auto& r : records) domains.Append(std::make_unique<CDomainData>(*r));
}

std::string TextOf(const CDomainData& r, int column) {
    switch (column) {
        case 1:
            return r.m_strName;
        case 2:
            return r.m_strStatus;
        case 7:
            return r.m_strWhoisServer;
        default:
            return r.m_strRegistrar;
    }
}

const CDateTime& DateOf(const CDomainData& r, int column) {
    switch (column) {
        case 3:
            return r.m_dtCreated;
        case 4:
            return r.m_dtExpires;
        case 5:
            return r.m_dtUpdated;
        default:
            return r.m_dtChecked;
    }
}

double Days(const CDateTime& dt) {
    double d = dt.GetDays();
    if (d < 0) {
        const double c = std::ceil(d);
        d = c - (d - c);
    }
    return d;
}

// Whole passes until one swaps nothing; each text comparison works on copies of both texts.
void ExchangeSort(std::vector<CDomainData*>& v, int column) {
    const bool text = column == 1 || column == 2 || column == 7 || column == 8;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i + 1 < v.size(); ++i) {
            bool after;
            if (text) {
                const std::string a = TextOf(*v[i], column), b = TextOf(*v[i + 1], column);
                after = CompareNoCase(a, b) > 0;
            } else {
                const CDateTime &a = DateOf(*v[i], column), &b = DateOf(*v[i + 1], column);
                after =
                    a.IsValid() && b.IsValid() ? Days(a) > Days(b) : !a.IsValid() && b.IsValid();
            }
            if (after) {
                std::swap(v[i], v[i + 1]);
                swapped = true;
            }
        }
    }
}

void BM_SortByColumn(benchmark::State& state) {
    static const auto records = MakeRecords();
    const int column = static_cast<int>(state.range(0));
    CDomainArray domains;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(domains, records);
        state.ResumeTiming();
        domains.SortByColumn(column, nullptr);
        benchmark::DoNotOptimize(domains.GetRecord(0));
    }
}
BENCHMARK(BM_SortByColumn)->DenseRange(1, 8)->Unit(benchmark::kMicrosecond);

void BM_ExchangeSortBaseline(benchmark::State& state) {
    static const auto records = MakeRecords();
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<CDomainData*> v;
        for (const auto& r : records) v.push_back(r.get());
        ExchangeSort(v, column);
        benchmark::DoNotOptimize(v.front());
    }
}
BENCHMARK(BM_ExchangeSortBaseline)->DenseRange(1, 8)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
