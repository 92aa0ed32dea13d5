// Saving and loading a full list (2500 records, each with a 16 KiB WHOIS text), each measured
// against a plain write or read of the same number of bytes in the same iteration, and the peak
// heap use of a load against the size of the file.
//
// Counters: x_plain is the time of the data file operation over the baseline's; a load's
// peak_over_file is the most heap held at once during the load over the file size.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include <unistd.h>

#include "domains/data_file.h"
#include "domains/domain_array.h"
#include "framework/archive.h"
#include "framework/file_io.h"

// ---------------------------------------------------------------------------------------------
// Heap accounting: every operator new of this program goes through here.

namespace {

std::atomic<size_t> g_heapNow{0};
std::atomic<size_t> g_heapPeak{0};

constexpr size_t kHeader = alignof(std::max_align_t);

void* CountedAlloc(size_t size) {
    void* raw = std::malloc(size + kHeader);
    if (!raw)
        return nullptr;
    *static_cast<size_t*>(raw) = size;
    const size_t now = g_heapNow.fetch_add(size, std::memory_order_relaxed) + size;
    size_t peak = g_heapPeak.load(std::memory_order_relaxed);
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
    return static_cast<char*>(raw) + kHeader;
}

void CountedFree(void* p) noexcept {
    if (!p)
        return;
    void* raw = static_cast<char*>(p) - kHeader;
    g_heapNow.fetch_sub(*static_cast<size_t*>(raw), std::memory_order_relaxed);
    std::free(raw);
}

void* CountedNew(size_t size) {
    if (void* p = CountedAlloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t size) {
    return CountedNew(size);
}
void* operator new[](size_t size) {
    return CountedNew(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return CountedAlloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return CountedAlloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
    CountedFree(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    CountedFree(p);
}

// ---------------------------------------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

std::string BenchPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            ("quorvix-bench-" + std::to_string(getpid()) + "-" + name))
        .string();
}

std::unique_ptr<CDomainArray> MakeFullList() {
    auto list = std::make_unique<CDomainArray>();
    uint32_t seed = 12345;
    for (int i = 0; i < MAX_DOMAINS; ++i) {
        auto r = std::make_unique<CDomainData>("bench-domain-" + std::to_string(i) + ".com");
        r->m_nState = STATE_TAKEN;
        r->m_dtChecked = CDateTime(45000.5 + i, CDateTime::valid);
        r->m_dtCreated = CDateTime(36000.0 + i, CDateTime::valid);
        r->m_strStatus = "clientTransferProhibited";
        r->m_strRegistrar = "Example Registrar, Inc.";
        r->m_strWhoisServer = "whois.example-registrar.com";
        r->m_strWhoisText.resize(16 * 1024);
        for (char& c : r->m_strWhoisText) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(' ' + (seed >> 16) % 95);
        }
        list->Append(std::move(r));
    }
    return list;
}

// The baseline: the same bytes written in one call and put on the disk, as the save does.
bool PlainWrite(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = FlushFileToDisk(f) && ok;
    return std::fclose(f) == 0 && ok;
}

// The baseline: the whole file read in one call into a buffer that is already there.
size_t PlainRead(const std::string& path, std::string& buffer) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    const size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
    std::fclose(f);
    benchmark::DoNotOptimize(buffer.data());
    return got;
}

void BM_SaveDomainFile(benchmark::State& state) {
    const auto list = MakeFullList();
    CArchive mem;
    list->Store(mem);
    const std::string bytes = mem.Bytes();
    const std::string path = BenchPath("save.dcd");
    const std::string plainPath = BenchPath("plain.bin");
    double save = 0, plain = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (!SaveDomainFile(path, *list))
            state.SkipWithError("save failed");
        const auto t1 = Clock::now();
        if (!PlainWrite(plainPath, bytes))
            state.SkipWithError("plain write failed");
        const auto t2 = Clock::now();
        save += Seconds(t0, t1);
        plain += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t0, t1));
    }
    state.counters["x_plain"] = plain > 0 ? save / plain : 0;
    state.counters["file_MiB"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    std::remove(path.c_str());
    std::remove(plainPath.c_str());
}
BENCHMARK(BM_SaveDomainFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_LoadDomainFile(benchmark::State& state) {
    const std::string path = BenchPath("load.dcd");
    {
        const auto list = MakeFullList();
        if (!SaveDomainFile(path, *list)) {
            state.SkipWithError("could not write the file");
            return;
        }
    }
    uint64_t fileSize = 0;
    {
        CStdioFile f = OpenFileForReading(path);
        GetOpenFileSize(f.Get(), fileSize);
    }
    std::string buffer(static_cast<size_t>(fileSize), '\0');
    double load = 0, plain = 0, peakRatio = 0;
    for (auto _ : state) {
        auto list = std::make_unique<CDomainArray>();
        const size_t before = g_heapNow.load();
        g_heapPeak.store(before);
        const auto t0 = Clock::now();
        const bool ok = LoadDomainFile(path, *list);
        const auto t1 = Clock::now();
        const size_t peak = g_heapPeak.load() - before;
        if (!ok || list->GetCount() != MAX_DOMAINS)
            state.SkipWithError("load lost records");
        list.reset();
        const auto t2 = Clock::now();
        if (PlainRead(path, buffer) != fileSize) {
            state.SkipWithError("plain read failed");
        }
        const auto t3 = Clock::now();
        load += Seconds(t0, t1);
        plain += Seconds(t2, t3);
        peakRatio = static_cast<double>(peak) / static_cast<double>(fileSize);
        state.SetIterationTime(Seconds(t0, t1));
    }
    state.counters["x_plain"] = plain > 0 ? load / plain : 0;
    state.counters["peak_over_file"] = peakRatio;
    state.counters["file_MiB"] = static_cast<double>(fileSize) / (1024.0 * 1024.0);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileSize));
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadDomainFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
